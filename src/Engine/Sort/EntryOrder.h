// The order a listing sorts by, one pair of entries at a time.
#pragma once

#include <string_view>

struct FileEntry;

// Byte comparison with a..z folded to capitals; a prefix sorts first.
int FoldedCompare(std::string_view a, std::string_view b);
// Negative when a goes first, 0 when equal under the key, positive otherwise.
int CompareEntries(const FileEntry& a, const FileEntry& b);
