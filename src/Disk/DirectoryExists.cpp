#include "Disk/DirectoryExists.h"

#include "Platform/Files.h"

bool DirectoryExistsAt(const std::string& path) {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(path, 0x37, data);
  if (search == Plat::InvalidHandle) return false;
  Plat::FindEnd(search);
  return (data.Attributes & Plat::AttrDirectory) != 0;
}
