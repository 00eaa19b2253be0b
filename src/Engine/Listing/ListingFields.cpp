// The detail fields of an entry (sizes, ratio, owner, dates, attributes), the
// column table that names every field's writer, and the walk over the planned
// fields. The texts are composed in the listing writer's FieldTexts.
#include "Engine/Listing/ListingFields.h"

#include <algorithm>
#include <cstdio>

#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Listing/ColumnTable.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Listing/NameColour.h"
#include "Engine/Scan/FileDetails.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"

// The compressed size is asked for at most once per entry, whether one or
// both of the "c" and "r" fields show it.
struct CompressionQuery {
  bool Asked = false;
  bool Known = false;
  std::int64_t Size = 0;
};

namespace {

const std::string& PathOf(const FieldWrite& field) {
  std::string& path = field.Texts.Path;
  path.assign(field.Listing.CurrentDir).append(field.Entry.ShortName());
  return path;
}

void AskCompression(const FieldWrite& field, CompressionQuery& query) {
  if (query.Asked) return;
  query.Asked = true;
  query.Known = QueryCompressedSize(PathOf(field), query.Size);
}

// A byte count as the size columns show it; the units text lives in the room.
std::string_view SizeFieldText(const FieldWrite& field, std::int64_t value, SizeFieldRoom& room) {
  if (Options.SizesInBytes) {
    field.Texts.Text = PadLeftBlank(ThousandsText(value), field.Layout.ByteSizeWidth);
    return field.Texts.Text;
  }
  return PaddedSizeFieldUnitText(value, room);
}

void WriteSizeField(const FieldWrite& field) {
  if (field.Entry.IsDirectory()) {
    WriteAt(" <DIR>", field.Column, Looks.Colours.DirectoryColour);
    return;
  }
  SizeFieldRoom room;
  WriteAt(SizeFieldText(field, field.Entry.Size, room), field.Column,
          Looks.Colours.DetailColour);
}

void WriteCompressedField(const FieldWrite& field) {
  if (field.Entry.IsDirectory()) return;
  CompressionQuery& query = field.Compression;
  AskCompression(field, query);
  SizeFieldRoom room;
  if (query.Known)
    WriteAt(SizeFieldText(field, query.Size, room), field.Column,
            Looks.Colours.DetailColour);
}

// The ratio in the four characters its field shows before the next column:
// two decimals, fewer as it grows, and past 9999 its first three digits and
// the marker.
const std::string& RatioText(double ratio, std::string& text) {
  constexpr std::size_t Room = 4;
  char digits[64];
  for (int decimals = 2; decimals >= 0; --decimals) {
    std::snprintf(digits, sizeof digits, "%.*f", decimals, ratio);
    text = digits;
    if (text.size() <= Room) return text;
  }
  text.resize(Room - 1);
  return text.append(Glyph::CutMarker);
}

void WriteRatioField(const FieldWrite& field) {
  CompressionQuery& query = field.Compression;
  AskCompression(field, query);
  if (query.Size <= 0) return;
  const double ratio = static_cast<double>(field.Entry.Size) / static_cast<double>(query.Size);
  WriteAt(PadLeftBlank(RatioText(ratio, field.Texts.Text), 4), field.Column,
          Looks.Colours.DetailColour);
}

void WriteOwnerField(const FieldWrite& field) {
  std::string& owner = field.Texts.Text;
  if (!LookupOwner(PathOf(field), owner)) return;
  const int width = field.Width;
  if (TextCells(owner) > width - 1) {
    owner.resize(PrefixForCells(owner, width > 2 ? width - 2 : 0));
    owner += Glyph::CutMarker;
  }
  WriteAt(owner, field.Column, Looks.Colours.DetailColour);
}

void WriteTimeField(const FieldWrite& field) {
  // A stamp that cannot be converted shows as 1 January 0001, the value the
  // scan measured the column with.
  const std::string_view scanned = field.Entry.TimeText(field.Stamp);
  if (!scanned.empty()) {
    WriteAt(scanned, field.Column, Looks.Colours.DateColour);
    return;
  }
  std::string& text = field.Texts.Text;
  text.clear();
  AppendDateTime(text, Looks.DateFormat, StampToLocalDateTime(field.Entry.Time(field.Stamp)));
  WriteAt(text, field.Column, Looks.Colours.DateColour);
}

void WriteAttributeField(const FieldWrite& field) {
  const FileEntry& entry = field.Entry;
  static const struct {
    std::uint32_t Bit;
    char Letter;
  } places[] = {{Plat::AttrReadOnly, 'r'},
                {Plat::AttrHidden, 'h'},
                {Plat::AttrSystem, 's'},
                {Plat::AttrArchive, 'a'},
                {Plat::AttrDirectory, 'd'}};
  char letters[5];
  for (std::size_t place = 0; place < 5; ++place)
    letters[place] = (entry.Attributes & places[place].Bit) ? places[place].Letter : '.';
  WriteAt(std::string_view(letters, sizeof letters), field.Column, Looks.Colours.DetailColour);
}

// Rows in the order of the usage screen's /M details.
constexpr ColumnKind Kinds[] = {
    {.Kind = 'n',
     .Letters = "N",
     .Meaning = "Filename",
     .Identifies = true,
     .Sets = &OptionsRec::HasNameColumn,
     .Room = ColumnRoom::Name,
     .Write = WriteNameField},
    {.Kind = 's',
     .Letters = "S",
     .Meaning = "File size",
     .FormatWidth = 7,
     .Room = ColumnRoom::Size,
     .Write = WriteSizeField},
    // Resolved to the digit of the stamp /T chooses before anything is listed.
    {.Kind = 't',
     .Letters = "T",
     .Meaning = "File date/time (based on /T; Win95/NT only)",
     .Repeats = true,
     .Room = ColumnRoom::Stamp},
    {.Kind = '1',
     .Letters = "T1",
     .Meaning = "Last accessed time (Win95/NT only)",
     .Repeats = true,
     .Room = ColumnRoom::Stamp,
     .Stamp = LastAccess,
     .Write = WriteTimeField},
    {.Kind = '2',
     .Letters = "T2",
     .Meaning = "Creation time (Win95/NT only)",
     .Repeats = true,
     .Room = ColumnRoom::Stamp,
     .Stamp = Creation,
     .Write = WriteTimeField},
    {.Kind = '3',
     .Letters = "T3",
     .Meaning = "Last write time (Win95/NT only)",
     .Repeats = true,
     .Room = ColumnRoom::Stamp,
     .Stamp = LastWrite,
     .Write = WriteTimeField},
    {.Kind = 'a',
     .Letters = "A",
     .Meaning = "File Attributes",
     .FormatWidth = 6,
     .Write = WriteAttributeField},
    {.Kind = 'f',
     .Letters = "F",
     .Meaning = "FAT alias",
     .FormatWidth = 13,
     .Identifies = true,
     .NeedsAlias = true,
     .Write = WriteShortNameField},
    {.Kind = 'd',
     .Letters = "D",
     .Meaning = "File description",
     .Companion = 'f',
     .Identifies = true,
     .Sets = &OptionsRec::ShowDescriptions,
     .Room = ColumnRoom::Description,
     .NeedsAlias = true,
     .Write = WriteDescriptionField},
    {.Kind = 'o',
     .Letters = "O",
     .Meaning = "File owner where x is column width (default 15) (NT only)",
     .FormatWidth = 15,
     .WidthDigits = true,
     .Repeats = true,
     .Sets = &OptionsRec::ShowOwner,
     .NeedsAlias = true,
     .Write = WriteOwnerField},
    {.Kind = 'c',
     .Letters = "C",
     .Meaning = "Compressed file size (NT only)",
     .FormatWidth = 7,
     .Repeats = true,
     .Sets = &OptionsRec::ShowCompression,
     .Room = ColumnRoom::Size,
     .NeedsAlias = true,
     .Write = WriteCompressedField},
    {.Kind = 'r',
     .Letters = "R",
     .Meaning = "Compression ratio (NT only)",
     .FormatWidth = 5,
     .Repeats = true,
     .Sets = &OptionsRec::ShowCompression,
     .NeedsAlias = true,
     .Write = WriteRatioField},
};

bool ColumnsUseAliases(const ColumnSlots& columns, int count) {
  for (int slot = 1; slot <= std::min(count, MaxColumnSlots); ++slot)
    if (ColumnKindOf(columns[static_cast<std::size_t>(slot)].Kind).NeedsAlias) return true;
  return false;
}

}  // namespace

std::span<const ColumnKind> ColumnKinds() { return Kinds; }

const ColumnKind& ColumnKindOf(char kind) {
  static constexpr ColumnKind Unknown{};
  for (const ColumnKind& row : Kinds)
    if (row.Kind == kind) return row;
  return Unknown;
}

// The description layouts swap only after a directory's scan, so both sets count.
bool ListingUsesAliases() {
  return ColumnsUseAliases(Options.Columns, Options.ColumnCount) ||
         ColumnsUseAliases(Options.SavedColumns, Options.SavedColumnCount);
}

void WriteEntryFields(const ListingLayoutRec& layout, const DirectoryListing& listing,
                      const FileEntry& entry, int column, bool lastInRow, FieldTexts& texts) {
  // Plain text has no colours: the extension table is not worth a look.
  const std::uint8_t colour =
      ConsoleEngine.Redirected ? Looks.Colours.FileColour : NameColour(entry);
  CompressionQuery compression;
  FieldWrite write{layout, listing,   entry,      column, 0, NoStamp, lastInRow,
                   colour, compression, texts};
  for (int index = 0; index < layout.FieldCount; ++index) {
    const FieldPlan& field = layout.Fields[static_cast<std::size_t>(index)];
    if (field.Write) {
      write.Column = column;
      write.Width = field.Width;
      write.Stamp = field.Stamp;
      field.Write(write);
    }
    column += lastInRow ? field.Advance : field.AdvanceWithin;
  }
}
