#include "Engine/Scan/ScanEnumeration.h"

// With /R the program's own matcher selects the entries; otherwise the
// system's find-first does.

std::uint32_t EnumerateFirst(Enumeration& search, const std::string& path, Plat::FindData& data) {
  if (search.OwnMatcher) {
    std::uint32_t code = MatchFindFirst(search.Matching, path, EnumerationAttributes, data);
    search.Search = search.Matching.Search;
    return code;
  }
  search.Search = Plat::FindFirst(path, EnumerationAttributes, data);
  if (search.Search != Plat::InvalidHandle) return 0;
  std::uint32_t code = Plat::LastError();
  // A failing search that leaves no code behind still has to count as a failure.
  return code != 0 ? code : Plat::ErrorFileNotFound;
}

bool EnumerateNext(Enumeration& search, Plat::FindData& data) {
  if (search.OwnMatcher) return MatchFindNext(search.Matching, data) == 0;
  return Plat::FindNext(search.Search, data);
}

void EnumerateClose(Enumeration& search) {
  if (search.Search != Plat::InvalidHandle) Plat::FindEnd(search.Search);
  search.Search = Plat::InvalidHandle;
  search.Matching.Search = Plat::InvalidHandle;
}

bool IsWalkedInto(std::uint32_t attributes, std::string_view name) {
  if ((attributes & Plat::AttrDirectory) == 0) return false;
  if ((attributes & Plat::AttrReparsePoint) != 0) return false;
  return name.find_first_not_of(". ") != std::string_view::npos;
}

bool IsWalkedInto(const Plat::FindData& data) {
  return IsWalkedInto(data.Attributes, std::string_view(data.Name, data.NameLength));
}
