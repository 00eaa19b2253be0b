#include "Engine/Scan.h"

void ScanDirectory(const std::string&) {}
void ReportFindError(std::uint32_t) {}
