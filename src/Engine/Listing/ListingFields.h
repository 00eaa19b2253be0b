// The fields of one entry line. Each writer puts its text at the given write
// column; the caller advances the column by the field's planned advance.
#pragma once

#include <cstdint>
#include <string>

struct DirectoryListing;
struct FieldWrite;
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
// or wrapped over several lines): the column table's writers of n, f and d.
void WriteNameField(const FieldWrite& field);
void WriteShortNameField(const FieldWrite& field);
void WriteDescriptionField(const FieldWrite& field);
// A description at the write column, wrapped into pieces of at most nameRoom
// cells; every piece but the last ends its line.
void WriteDescriptionText(int nameRoom, const std::string& description, int column);
