// Recursive walk: every subdirectory of the directory just scanned is pushed
// onto PendingDirs, whatever the masks and filters of the listing say.

#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunState.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Scan/ScanSteps.h"
#include "Platform/Files.h"

bool DeliversEveryEntry(const std::string& path) {
  // /R masks select entries through the program's matcher: keep the system's pass.
  if (Options.RegexWildcards) return false;
  std::string_view mask(path);
  mask.remove_prefix(mask.find_last_of('\\') + 1);
  return mask == "*" || mask == "*.*";
}

void CollectSubdirectory(const Plat::FindData& data) {
  if (!IsWalkedInto(data)) return;
  PendingDirs.push_back(CurrentDir);
  PendingDirs.back().append(data.Name, data.NameLength);
}

void CollectSubdirectories() {
  Plat::FindData data;
  // Always the system's enumeration: /R masks select entries, not directories to visit.
  Plat::Handle search = Plat::FindFirst(CurrentDir + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) return;
  do {
    CollectSubdirectory(data);
  } while (Plat::FindNext(search, data));
  Plat::FindEnd(search);
}
