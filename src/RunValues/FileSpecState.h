// What the scan enumerates: the file specifications and the directory, mask
// and pattern derived from the first one, plus the drive's cluster figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The file specifications of the run, the first directory they name (where
// the walk starts), and the drive figures from the free-space query.
struct RunSpecRec {
  std::vector<std::string> FileSpecs;   // file specifications in command-line order
  std::string SearchSpec;               // first directory plus mask handed to find-first
  std::string CurrentDir;               // first directory listed, ends in "\"
  std::string FileMask;                 // name part of the file specification
  std::string FileExt;                  // extension of the name part with its dot, or empty
  std::string FileBase;                 // name part without the extension
  std::uint8_t DriveNumber = 255;       // 255 until the first ParseFileSpec; letter code - 64
  std::uint32_t SectorsPerCluster = 0;  // drive figures from the free-space query
  std::uint32_t BytesPerSector = 0;
  std::uint32_t FreeClusters = 0;
  std::uint32_t TotalClusters = 0;
  std::int32_t ClusterSize = 0;  // BytesPerSector x SectorsPerCluster
  bool NoClusterSize = false;    // the free-space query failed
  bool DriveInvalid = false;     // it failed because the drive does not exist
};
// The run reads it through the settled value's const view.
#include "RunValues/SettledValues.h"
