// Recursive walk: every subdirectory of the directory just scanned is pushed
// onto PendingDirs, whatever the masks and filters of the listing say.
#include "Common/FileSpecState.h"
#include "Common/RunState.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Scan/ScanSteps.h"
#include "Platform/Platform.h"

void CollectSubdirectories() {
  Plat::FindData data;
  // Always the system's enumeration: /R masks select entries, not directories to visit.
  Plat::Handle search = Plat::FindFirst(CurrentDir + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) return;
  do {
    data.Name[sizeof data.Name - 1] = '\0';
    if (IsWalkedInto(data)) PendingDirs.push_back(CurrentDir + data.Name);
  } while (Plat::FindNext(search, data));
  Plat::FindEnd(search);
}
