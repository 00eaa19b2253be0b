#include "Engine/FileSpec.h"

#include "Common/FileSpecState.h"
#include "Platform/Platform.h"

void ParseFileSpec(const std::string& spec) {
  std::string full;
  Plat::FullPathName(spec.empty() ? "*" : spec, full);
  std::size_t slash = full.find_last_of("\\:");
  CurrentDir = full.substr(0, slash + 1);
  FileMask = full.substr(slash + 1);
  SearchSpec = full;
}
