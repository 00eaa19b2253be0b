// Volumes and disks: a volume's label and file system, and its free space.
#pragma once

#include <cstdint>
#include <string>

namespace Plat {

// GetVolumeInformationW on a root such as "C:\".
struct VolumeInfo {
  std::string Label;
  std::string FileSystem;
  std::uint32_t MaxComponentLength = 0;
  std::uint32_t FileSystemFlags = 0;
};
bool VolumeInformation(const std::string& root, VolumeInfo& info);

// GetDiskFreeSpaceW on a root such as "C:\".
struct DiskGeometry {
  std::uint32_t SectorsPerCluster = 0;
  std::uint32_t BytesPerSector = 0;
  std::uint32_t FreeClusters = 0;
  std::uint32_t TotalClusters = 0;
};
bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry);

// GetDiskFreeSpaceExW, reached at run time (LoadLibraryA of "KERNEL32.DLL",
// then GetProcAddress): false when the service is missing or the call fails.
struct DiskSpaceEx {
  std::uint64_t FreeToCaller = 0;
  std::uint64_t TotalBytes = 0;
  std::uint64_t TotalFree = 0;
};
enum class ServiceLookup { Found, LibraryMissing, EntryMissing };
ServiceLookup LookUpDiskFreeSpaceEx();
bool DiskFreeSpaceEx(const std::string& root, DiskSpaceEx& space);

}  // namespace Plat
