#pragma once
#include <cstdint>

// The extended free-space query for a drive letter: true with total and free
// bytes; false (both untouched) when it fails.
bool QueryDiskSpace(char driveLetter, std::int64_t& total, std::int64_t& free);
