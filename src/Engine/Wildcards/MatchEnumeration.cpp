// The mask is compiled once per search and every entry, the first included,
// is tested against that same mask: a name is selected or not whatever its
// place in the directory.
#include "Engine/Wildcards/MatchEnumeration.h"

namespace {

bool Selected(const MatchSearch& search, const Plat::FindData& data) {
  return MaskMatches(search.Mask, std::string_view(data.Name, data.NameLength));
}

}  // namespace

std::uint32_t MatchFindFirst(MatchSearch& search, const std::string& path, std::uint32_t attributes,
                             Plat::FindData& data) {
  std::size_t split = path.find_last_of("\\:");
  std::size_t maskStart = split == std::string::npos ? 0 : split + 1;
  std::string_view mask = std::string_view(path).substr(maskStart);
  search.InvalidMaskPosition = CompileMask(mask, search.Mask);
  if (search.InvalidMaskPosition != 0) return Plat::ErrorInvalidName;
  search.Search = Plat::FindFirst(path.substr(0, maskStart) + "*", attributes, data);
  if (search.Search == Plat::InvalidHandle) {
    std::uint32_t code = Plat::LastError();
    return code != 0 ? code : Plat::ErrorFileNotFound;
  }
  if (Selected(search, data) || MatchFindNext(search, data) == 0) return 0;
  // Nothing matched: the caller gets no search to close.
  Plat::FindEnd(search.Search);
  search.Search = Plat::InvalidHandle;
  return Plat::ErrorFileNotFound;
}

std::uint32_t MatchFindNext(MatchSearch& search, Plat::FindData& data) {
  while (Plat::FindNext(search.Search, data))
    if (Selected(search, data)) return 0;
  return Plat::ErrorFileNotFound;
}
