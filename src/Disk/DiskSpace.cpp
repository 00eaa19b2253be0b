#include "Disk/DiskSpace.h"

#include <limits>
#include <string>

#include "Console/Console.h"
#include "Platform/Basics.h"
#include "Platform/Volumes.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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

DriveClusters QueryDriveClusters(char driveLetter) {
  DriveClusters drive;
  drive.Answered = Plat::DiskFreeSpace(std::string(1, driveLetter) + ":\\", drive.Geometry);
  if (!drive.Answered) {
    drive.Error = Plat::LastError();
    drive.DriveMissing =
        (drive.Error == Plat::ErrorInvalidDrive || drive.Error == Plat::ErrorPathNotFound) &&
        IsLetter(driveLetter);
    drive.Geometry = {};
    return drive;
  }
  const std::uint64_t cluster =
      std::uint64_t{drive.Geometry.BytesPerSector} * drive.Geometry.SectorsPerCluster;
  // Allocation is rounded to whole clusters: a zero size cannot be used.
  if (cluster > 0 && cluster <= std::numeric_limits<std::int32_t>::max())
    drive.ClusterSize = static_cast<std::int32_t>(cluster);
  return drive;
}

bool QueryDiskSpace(char driveLetter, std::int64_t& total, std::int64_t& free) {
  RequireDiskFreeSpaceEx();
  Plat::DiskSpaceEx space;
  if (!Plat::DiskFreeSpaceEx(std::string(1, driveLetter) + ":\\", space)) return false;
  total = static_cast<std::int64_t>(space.TotalBytes);
  free = static_cast<std::int64_t>(space.TotalFree);
  return true;
}
