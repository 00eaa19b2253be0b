// The drive statistics: the figures gathered for one drive and the report
// written from them.
#pragma once

#include <cstdint>

#include "Platform/Volumes.h"

struct DriveFigures {
  char DriveLetter = 0;         // as the file specification wrote it
  bool VolumeKnown = false;     // the volume information query answered
  Plat::VolumeInfo Volume;      // label, file system, name length, flags
  std::int64_t TotalBytes = 0;  // always above 0 when the report is written
  std::int64_t FreeBytes = 0;
};

// Everything from the empty first line to the bar's bottom border.
void WriteDriveReport(const DriveFigures& drive);
// The scale and the box with the used share of 69 columns filled.
void WriteUsageBar(double usedPercent);
