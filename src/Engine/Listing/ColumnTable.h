// Every column kind defined once: the letter a display format holds it by,
// how /M selects it and the usage screen lists it, how its width is worked
// out, what the scan must fetch for it and what writes it. The custom-format
// parser, the usage screen, the layout, the scan's settings and the entry
// writer all read this one table.
#pragma once

#include <cstdint>
#include <span>

#include "RunValues/Options.h"

struct CompressionQuery;
struct FieldTexts;
struct DirectoryListing;
struct FileEntry;
struct ListingLayoutRec;

// How a field's width and its advance are worked out for a directory.
enum class ColumnRoom : std::uint8_t {
  Given,        // the width the format gives it
  Size,         // as given; with /BYTE the directory's widest byte count + 1
  Stamp,        // the directory's widest text of its time stamp + 1
  Name,         // the rest of the listing column: the longest name + 1, or the room + 1
  Description,  // the rest of the line (the name room + 1); always the last field
};

// What a field's writer is handed for one entry.
struct FieldWrite {
  const ListingLayoutRec& Layout;
  const DirectoryListing& Listing;  // the directory the entry is in
  const FileEntry& Entry;
  int Column;                     // the write column
  int Width;                      // the field's width as laid out
  std::uint8_t Stamp;             // the time stamp a date field shows
  bool LastInRow;                 // the entry is in the last listing column of its row
  std::uint8_t Colour;            // the entry's name colour
  CompressionQuery& Compression;  // asked at most once per entry
  FieldTexts& Texts;              // where the writer composes its text
};
using FieldWriter = void (*)(const FieldWrite& field);

struct ColumnKind {
  char Kind = 0;                     // the letter a ColumnSpec (and so every preset format) holds
  const char* Letters = nullptr;     // what selects it in /M; null: /M cannot
  const char* Meaning = nullptr;     // its line in the usage screen's /M details
  std::int32_t FormatWidth = 0;      // the width /M gives it (the default with WidthDigits)
  bool WidthDigits = false;          // /M reads its width from the digits after the letters
  bool Repeats = false;              // /M adds one per letter, else only the first counts
  char Companion = 0;                // a column /M places with it unless one is placed already
  bool Identifies = false;           // names the entry: without one, /M appends a name column
  bool OptionsRec::*Sets = nullptr;  // the option /M turns on with it
  ColumnRoom Room = ColumnRoom::Given;
  std::uint8_t Stamp = NoStamp;  // the time stamp it shows (TimeStampKind)
  bool NeedsAlias = false;       // shows the 8.3 name or asks the system by it
  FieldWriter Write = nullptr;   // null: the field stays blank
};

// In the order of the usage screen's /M details.
std::span<const ColumnKind> ColumnKinds();
// The row of a kind letter; an unknown letter gets a blank field of its given width.
const ColumnKind& ColumnKindOf(char kind);
// Whether a column of either description layout needs the 8.3 names, which
// the scan then keeps (settled once at start-up).
bool ListingUsesAliases();
