#pragma once
#include <cstdint>
#include <string>

// Bytes value that marks a directory without counts: only the free-space part.
constexpr std::int64_t NoCountsMarker = -99;

// The count line (with the free space at the right edge) and the allocation line.
void ShowSummary(std::int32_t files, std::int32_t dirs, std::int64_t bytes, std::int64_t allocated);
// What a listing of one directory that found nothing says, by the search's code.
void ShowNothingFound(std::uint32_t code);
// Free space of the current drive, such as "1.25GB" or "512B".
std::string FreeSpaceText();
// At the end of a walk: how many directories it passed over unread (none: nothing).
void WriteUnreadableCount(int count);
