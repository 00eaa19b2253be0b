#pragma once
#include <cstdint>

#include "Platform/Volumes.h"

// What the cluster-based free-space query says about a drive. The run's drive
// figures and the /I report both ask through here.
struct DriveClusters {
  bool Answered = false;         // the query succeeded
  std::uint32_t Error = 0;       // its error code when it did not
  bool DriveMissing = false;     // it failed because the drive letter names no drive
  Plat::DiskGeometry Geometry;   // the counts, when answered
  std::int32_t ClusterSize = 0;  // bytes per cluster; 0 when unknown or out of range
};
// The drive of a letter (any other character, such as the "\" of a share
// path, gets the query's failure).
DriveClusters QueryDriveClusters(char driveLetter);

// The extended free-space query for a drive letter: true with total and free
// bytes; false (both untouched) when it fails.
bool QueryDiskSpace(char driveLetter, std::int64_t& total, std::int64_t& free);
