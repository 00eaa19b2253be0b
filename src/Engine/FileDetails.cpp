#include "Engine/FileDetails.h"

#include "Platform/Platform.h"

std::int64_t CompressedSize(const std::string& path) {
  std::uint64_t size = 0;
  return Plat::CompressedFileSize(path, size) ? static_cast<std::int64_t>(size) : 0;
}

bool LookupOwner(const std::string& path, std::string& name) {
  return Plat::FileOwnerName(path, name);
}
