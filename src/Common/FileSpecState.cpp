#include "Common/FileSpecState.h"

std::vector<std::string> FileSpecs;
std::string SearchSpec;
std::string CurrentDir;
std::string FileMask;
std::string FileExt;
std::string FileBase;
std::uint8_t DriveNumber = 255;
std::uint32_t SectorsPerCluster = 0;
std::uint32_t BytesPerSector = 0;
std::uint32_t FreeClusters = 0;
std::uint32_t TotalClusters = 0;
std::int32_t ClusterSize = 0;
bool NoClusterSize = false;
bool DriveInvalid = false;
