#pragma once
#include <cstdint>
#include <string>

// Enumerates the directory once per file specification into the FileList,
// applying the filters, keeping the counters, writing the header line and, in
// recursive mode, pushing the subdirectories onto PendingDirs.
void ScanDirectory(const std::string& searchSpec);
// Reports a find-first result; may end the run.
void ReportFindError(std::uint32_t code);
