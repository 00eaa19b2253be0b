// The detail fields of an entry (sizes, ratio, owner, dates, attributes) and
// the walk over the planned fields. Buffers are reused from entry to entry.
#include "Engine/Listing/ListingFields.h"

#include <cstdio>

#include "Common/Colours.h"
#include "Common/Entries/Entries.h"
#include "Common/Text/TextCells.h"
#include "Console/Console.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Listing/NameColour.h"
#include "Engine/Scan/FileDetails.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"

namespace {

std::string FieldText;  // the text of the field being written
std::string EntryPath;  // ThisDir.CurrentDir + ShortName, for the platform queries

// The compressed size is asked for at most once per entry, whether one or
// both of the "c" and "r" fields show it.
struct CompressionQuery {
  bool Asked = false;
  bool Known = false;
  std::int64_t Size = 0;
};

const std::string& PathOf(const FileEntry& entry) {
  EntryPath.assign(ThisDir.CurrentDir).append(entry.ShortName());
  return EntryPath;
}

void AskCompression(const FileEntry& entry, CompressionQuery& query) {
  if (query.Asked) return;
  query.Asked = true;
  query.Known = QueryCompressedSize(PathOf(entry), query.Size);
}

void TrimLeadingBlanks(std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  text.erase(0, first == std::string::npos ? text.size() : first);
}

// A byte count as the size columns show it; the units text lives in the room.
std::string_view SizeFieldText(std::int64_t value, SizeFieldRoom& room) {
  if (Options.SizesInBytes) {
    FieldText = PadLeftBlank(ThousandsText(value), ListingLayout.ByteSizeWidth);
    return FieldText;
  }
  return PaddedSizeFieldUnitText(value, room);
}

void WriteSizeField(const FileEntry& entry, int column) {
  if (entry.IsDirectory()) {
    WriteAt(" <DIR>", column, Looks.Colours.DirectoryColour);
    return;
  }
  SizeFieldRoom room;
  WriteAt(SizeFieldText(entry.Size, room), column, Looks.Colours.DetailColour);
}

void WriteCompressedField(const FileEntry& entry, int column, CompressionQuery& query) {
  if (entry.IsDirectory()) return;
  AskCompression(entry, query);
  SizeFieldRoom room;
  if (query.Known) WriteAt(SizeFieldText(query.Size, room), column, Looks.Colours.DetailColour);
}

void WriteRatioField(const FileEntry& entry, int column, CompressionQuery& query) {
  AskCompression(entry, query);
  if (query.Size <= 0) return;
  char ratio[64];
  std::snprintf(ratio, sizeof ratio, "%5.2f",
                static_cast<double>(entry.Size) / static_cast<double>(query.Size));
  FieldText = ratio;
  TrimLeadingBlanks(FieldText);
  WriteAt(PadLeftBlank(FieldText, 4), column, Looks.Colours.DetailColour);
}

void WriteOwnerField(const FileEntry& entry, int column, int width) {
  if (!LookupOwner(PathOf(entry), FieldText)) return;
  if (TextCells(FieldText) > width - 1) {
    FieldText.resize(PrefixForCells(FieldText, width > 2 ? width - 2 : 0));
    FieldText += Glyph::CutMarker;
  }
  WriteAt(FieldText, column, Looks.Colours.DetailColour);
}

void WriteTimeField(const FileEntry& entry, int kind, int column) {
  // A stamp that cannot be converted shows as 1 January 0001, the value the
  // scan measured the column with.
  const std::string_view scanned = entry.TimeText(kind);
  if (!scanned.empty()) {
    WriteAt(scanned, column, Looks.Colours.DateColour);
    return;
  }
  FieldText.clear();
  AppendDateTime(FieldText, Looks.DateFormat, StampToLocalDateTime(entry.Time(kind)));
  WriteAt(FieldText, column, Looks.Colours.DateColour);
}

void WriteAttributeField(const FileEntry& entry, int column) {
  static const struct {
    std::uint32_t Bit;
    char Letter;
  } places[] = {{Plat::AttrReadOnly, 'r'},
                {Plat::AttrHidden, 'h'},
                {Plat::AttrSystem, 's'},
                {Plat::AttrArchive, 'a'},
                {Plat::AttrDirectory, 'd'}};
  FieldText.assign(5, '.');
  for (std::size_t place = 0; place < 5; ++place)
    if (entry.Attributes & places[place].Bit) FieldText[place] = places[place].Letter;
  WriteAt(FieldText, column, Looks.Colours.DetailColour);
}

}  // namespace

void WriteEntryFields(const FileEntry& entry, int column, bool lastInRow) {
  const ListingLayoutRec& layout = ListingLayout;
  // Plain text has no colours: the extension table is not worth a look.
  const std::uint8_t colour =
      ConsoleEngine.Redirected ? Looks.Colours.FileColour : NameColour(entry);
  CompressionQuery compression;
  for (int index = 0; index < layout.FieldCount; ++index) {
    const FieldPlan& field = layout.Fields[static_cast<std::size_t>(index)];
    switch (field.Kind) {
      case 'n': WriteNameField(entry, column, lastInRow, colour); break;
      case 's': WriteSizeField(entry, column); break;
      case 'c': WriteCompressedField(entry, column, compression); break;
      case 'r': WriteRatioField(entry, column, compression); break;
      case 'o': WriteOwnerField(entry, column, field.Width); break;
      case '1':
      case '2':
      case '3': WriteTimeField(entry, field.Kind - '0', column); break;
      case 'f': WriteShortNameField(entry, column, colour); break;
      case 'a': WriteAttributeField(entry, column); break;
      case 'd': WriteDescriptionField(entry, column); break;
      default: break;
    }
    column += field.Advance;
    // A squeezed name leaves the separator column free in all but the last
    // listing column, so a field after it is not overwritten by the separator.
    if (field.Kind == 'n' && layout.Squeezed && !lastInRow)
      column -= layout.NameRoom - layout.NameCut;
  }
}
