#include "Engine/Scan/ScanEnumeration.h"

// With /R the masks are to be matched by the program's own matcher; until that
// enumeration exists the system's matching serves both cases.

std::uint32_t EnumerateFirst(Enumeration& search, const std::string& path, Plat::FindData& data) {
  search.Search = Plat::FindFirst(path, EnumerationAttributes, data);
  if (search.Search != Plat::InvalidHandle) return 0;
  std::uint32_t code = Plat::LastError();
  // A failing search that leaves no code behind still has to count as a failure.
  return code != 0 ? code : Plat::ErrorFileNotFound;
}

bool EnumerateNext(Enumeration& search, Plat::FindData& data) {
  return Plat::FindNext(search.Search, data);
}

void EnumerateClose(Enumeration& search) {
  if (search.Search != Plat::InvalidHandle) Plat::FindEnd(search.Search);
  search.Search = Plat::InvalidHandle;
}
