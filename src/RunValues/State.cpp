#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/LocaleFormats.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"

void ResetSharedState() {
  StartupOptions() = OptionsRec{};
  StartupLooks() = LooksRec{};
  LocaleFormats = LocaleFormatsRec{};
  StartupRunSpec() = RunSpecRec{};
  ResetRunEnd();
}
