// Recursive walk: every subdirectory of the directory just scanned is pushed
// onto PendingDirs, whatever the masks and filters of the listing say.
#include <cstring>

#include "Common/FileSpecState.h"
#include "Common/RunState.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Scan/ScanSteps.h"
#include "Platform/Platform.h"

namespace {

// The path services drop the trailing dots and blanks of every component, so
// a directory named with nothing else ("...", " ") would be this directory
// once more and the walk would never end; "." and ".." are of this kind too.
bool VanishesFromPaths(const char* name) { return name[std::strspn(name, ". ")] == '\0'; }

// A link or junction may lead back to an ancestor: it is listed as an entry
// but never walked into.
bool IsWalkedInto(std::uint32_t attributes) {
  return (attributes & Plat::AttrDirectory) != 0 && (attributes & Plat::AttrReparsePoint) == 0;
}

}  // namespace

void CollectSubdirectories() {
  Plat::FindData data;
  // Always the system's enumeration: /R masks select entries, not directories to visit.
  Plat::Handle search = Plat::FindFirst(CurrentDir + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) return;
  do {
    data.Name[sizeof data.Name - 1] = '\0';
    if (IsWalkedInto(data.Attributes) && !VanishesFromPaths(data.Name))
      PendingDirs.push_back(CurrentDir + data.Name);
  } while (Plat::FindNext(search, data));
  Plat::FindEnd(search);
}
