// The fields of one entry line. Each writer puts its text at the given write
// column; the caller advances the column by the field's planned advance.
#pragma once

#include <cstdint>
#include <string>

struct FileEntry;

// Writes every field of the entry, starting at its write column; the name
// field may use NameRoom characters in the last listing column of a row and
// NameCut elsewhere.
void WriteEntryFields(const FileEntry& entry, int column, bool lastInRow);

// Names, short names and descriptions (the text fields in the entry's colour
// or wrapped over several lines).
void WriteNameField(const FileEntry& entry, int column, bool lastInRow, std::uint8_t colour);
void WriteShortNameField(const FileEntry& entry, int column, std::uint8_t colour);
void WriteDescriptionField(const FileEntry& entry, int column);
// A description at the write column, wrapped into pieces of at most NameRoom
// cells; every piece but the last ends its line.
void WriteDescriptionText(const std::string& description, int column);
