#pragma once
#include <cstdint>

struct FileEntry;

// Reads colours, extension colours, preset switches and the date pattern.
void ReadConfiguration();
// The colour of an entry's name.
std::uint8_t NameColour(const FileEntry& entry);
