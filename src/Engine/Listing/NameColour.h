#pragma once
#include <cstdint>

struct FileEntry;

// The colour of an entry's name.
std::uint8_t NameColour(const FileEntry& entry);
