#include "Disk/DiskSpace.h"

#include <string>

#include "Console/Console.h"
#include "Platform/Volumes.h"

namespace {

// The service may be absent on the first 95-family releases: say which step
// of reaching it failed.
void RequireDiskFreeSpaceEx() {
  switch (Plat::LookUpDiskFreeSpaceEx()) {
    case Plat::ServiceLookup::Found: return;
    case Plat::ServiceLookup::LibraryMissing:
      FatalError("Error obtaining handle to FAT32 free space API. Please contact Orvalist staff",
                 false);
    case Plat::ServiceLookup::EntryMissing:
      FatalError("Error obtaining pointer to FAT32 free space API. Please contact Orvalist staff.",
                 false);
  }
}

}  // namespace

bool QueryDiskSpace(char driveLetter, std::int64_t& total, std::int64_t& free) {
  RequireDiskFreeSpaceEx();
  Plat::DiskSpaceEx space;
  if (!Plat::DiskFreeSpaceEx(std::string(1, driveLetter) + ":\\", space)) return false;
  total = static_cast<std::int64_t>(space.TotalBytes);
  free = static_cast<std::int64_t>(space.TotalFree);
  return true;
}
