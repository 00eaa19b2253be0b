#include "Engine/Scan/FileDetails.h"

#include "Platform/Files.h"

bool QueryCompressedSize(const std::string& path, std::int64_t& size) {
  std::uint64_t reported = 0;
  bool ok = Plat::CompressedFileSize(path, reported);
  size = ok ? static_cast<std::int64_t>(reported) : 0;
  return ok;
}

std::int64_t CompressedSize(const std::string& path) {
  std::int64_t size = 0;
  QueryCompressedSize(path, size);
  return size;
}

bool LookupOwner(const std::string& path, std::string& name) {
  return Plat::FileOwnerName(path, name);
}
