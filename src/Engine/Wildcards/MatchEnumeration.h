// The enumeration of /R: the whole directory from the system, each long name
// tested against the mask with the program's own matcher.
#pragma once

#include <cstdint>
#include <string>

#include "Engine/Wildcards/WildcardMask.h"
#include "Platform/Files.h"

struct MatchSearch {
  Plat::Handle Search = Plat::InvalidHandle;  // the system's search over "directory\*"
  CompiledMask Mask;                          // the file-name part of the path
  int InvalidMaskPosition = 0;                // where the mask is invalid (1-based); 0 valid
};

// Starts the search on a path (directory part and mask): 0 and the first
// matching entry in data, or the error code (2 when nothing matches). An
// invalid mask gives ErrorInvalidName and the position in InvalidMaskPosition.
std::uint32_t MatchFindFirst(MatchSearch& search, const std::string& path, std::uint32_t attributes,
                             Plat::FindData& data);
// The next matching entry: 0, or 2 at the end of the directory.
std::uint32_t MatchFindNext(MatchSearch& search, Plat::FindData& data);
