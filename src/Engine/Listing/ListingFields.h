// The fields of one entry line. Each writer puts its text at the given write
// column; the caller advances the column by the field's planned advance.
#pragma once

#include <cstdint>
#include <string>

struct DirectoryListing;
struct FileEntry;
struct ListingLayoutRec;

// The texts an entry's fields are composed in, kept by the listing's writer
// from one entry to the next, so that no entry allocates.
struct FieldTexts {
  std::string Text;  // a detail field's text
  std::string Path;  // the directory and short name, for the system's queries
  std::string Name;  // a name as the case option shows it, or cut
};

// Writes every field of the listing's entry, starting at its write column; the
// name field may use NameRoom characters in the last listing column of a row
// and NameCut elsewhere.
void WriteEntryFields(const ListingLayoutRec& layout, const DirectoryListing& listing,
                      const FileEntry& entry, int column, bool lastInRow, FieldTexts& texts);

// Names, short names and descriptions (the text fields in the entry's colour
// or wrapped over several lines).
void WriteNameField(const ListingLayoutRec& layout, const FileEntry& entry, int column,
                    bool lastInRow, std::uint8_t colour, std::string& text);
void WriteShortNameField(const FileEntry& entry, int column, std::uint8_t colour);
void WriteDescriptionField(const ListingLayoutRec& layout, const DirectoryListing& listing,
                           const FileEntry& entry, int column);
// A description at the write column, wrapped into pieces of at most nameRoom
// cells; every piece but the last ends its line.
void WriteDescriptionText(int nameRoom, const std::string& description, int column);
