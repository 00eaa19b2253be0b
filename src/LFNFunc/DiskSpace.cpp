#include "LFNFunc/DiskSpace.h"

#include <string>

#include "Platform/Platform.h"
#include "TurboScroll/TurboScroll.h"

// The platform layer loads the library and looks the entry up in one step, so
// only a missing entry can be reported.
bool QueryDiskSpace(char driveLetter, std::int64_t& total, std::int64_t& free) {
  if (!Plat::DiskFreeSpaceExAvailable())
    FatalError("Error obtaining pointer to FAT32 free space API. Please contact Orvalist staff.",
               false);
  Plat::DiskSpaceEx space;
  if (!Plat::DiskFreeSpaceEx(std::string(1, driveLetter) + ":\\", space)) return false;
  total = static_cast<std::int64_t>(space.TotalBytes);
  free = static_cast<std::int64_t>(space.TotalFree);
  return true;
}
