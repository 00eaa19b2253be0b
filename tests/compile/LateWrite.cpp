// A source file that writes a setting. Compiled twice by ctest: declared
// start-up code it compiles; left undeclared it must not, since only start-up
// code reaches the writers. Both ways the run's views stay read-only.
#ifdef DECLARED_STARTUP_CODE
#include "RunValues/StartupWriters.h"
#endif

#include <type_traits>

#include "RunValues/SettledValues.h"

template <class T>
concept FieldsReachable = requires(T& value) { value.options_; };

static_assert(!std::is_assignable_v<decltype((Options.Bare)), bool>, "the options are read-only");
static_assert(!std::is_assignable_v<decltype((RunSpec)), RunSpecRec>, "the file specifications are read-only");
static_assert(!std::is_assignable_v<decltype((Looks)), LooksRec>, "the looks are read-only");
static_assert(!std::is_copy_assignable_v<SettledValues>, "the storage cannot be overwritten");
static_assert(!FieldsReachable<SettledValues>, "the storage's fields are private");

void WriteASetting() { StartupOptions().Bare = true; }
