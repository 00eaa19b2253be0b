#pragma once
#include <string>
#include <string_view>

struct FileEntry;
struct DirectoryListing;

// Byte comparison with a..z folded to capitals; a prefix sorts first.
int FoldedCompare(std::string_view a, std::string_view b);
// Negative when a goes first, 0 when equal under the key, positive otherwise.
int CompareEntries(const FileEntry& a, const FileEntry& b);
// Sorts the listing's FileList in place.
void SortListing(DirectoryListing& listing);
