// What the scan enumerates: the file specifications and the directory, mask
// and pattern derived from the first one, plus the drive's cluster figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern std::vector<std::string> FileSpecs;  // file specifications in command-line order
extern std::string SearchSpec;              // directory plus mask handed to find-first
extern std::string CurrentDir;              // directory being listed, ends in "\"
extern std::string FileMask;                // name part of the file specification
extern std::string FileExt;                 // extension of the name part with its dot, or empty
extern std::string FileBase;                // name part without the extension
extern std::uint8_t DriveNumber;            // 255 until the first ParseFileSpec; letter code - 64
extern std::uint32_t SectorsPerCluster;     // drive figures from the free-space query
extern std::uint32_t BytesPerSector;
extern std::uint32_t FreeClusters;
extern std::uint32_t TotalClusters;
extern std::int32_t ClusterSize;  // BytesPerSector x SectorsPerCluster
extern bool NoClusterSize;        // the free-space query failed
extern bool DriveInvalid;         // it failed because the drive does not exist
