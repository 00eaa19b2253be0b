// Name-like fields: the long name cut to the room of its listing column, the
// 8.3 alias (optionally with its extension aligned), and the description,
// wrapped over as many lines as it needs.
#include <algorithm>

#include "Base/AsciiCase.h"
#include "Base/NameExtension.h"
#include "Base/Utf8.h"
#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ColumnTable.h"
#include "Engine/Listing/ListingFields.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Sort/Sort.h"

namespace {

void ApplyNameCase(std::string& text) {
  if (Options.NameCase == 'U')
    UpperAsciiInPlace(text);
  else if (Options.NameCase == 'L')
    LowerAsciiInPlace(text);
}

// The name as the case option shows it: itself, without a copy, or a cased
// copy in text.
std::string_view CasedName(std::string_view name, std::string& text) {
  if (Options.NameCase == 'N') return name;
  text.assign(name);
  ApplyNameCase(text);
  return text;
}

// The text of [start, end) of a source.
std::string_view Piece(std::string_view source, std::size_t start, std::size_t end) {
  return source.substr(start, end - start);
}

// Where a description longer than the room breaks: at the last blank (or
// the character that is 255 in the ANSI code page) among the characters of the
// next room + 1 cells, which is dropped; npos when there is none and the piece
// is cut hard.
std::size_t BreakPosition(const std::string& text, std::size_t start, int room) {
  const std::string_view rest = std::string_view(text).substr(start);
  const std::size_t end = start + PrefixForCells(rest, room + 1);
  std::size_t found = std::string::npos;
  for (std::size_t at = start; at < end;) {
    const std::size_t here = at;
    const char32_t code = Utf8::Next(text, at);
    if (code == U' ' || code == U'\u00FF') found = here;
  }
  return found;
}

// The byte after a break character.
std::size_t AfterBreak(const std::string& text, std::size_t at) {
  Utf8::Next(text, at);
  return at;
}

}  // namespace

void WriteNameField(const FieldWrite& field) {
  const FileEntry& entry = field.Entry;
  // Bare plain text is read by other programs: a cut name or path names no file.
  if (Options.Bare && ConsoleEngine.Redirected) {
    WriteWholeAt(CasedName(entry.Name, field.Texts.Name), field.Column, field.Colour);
    return;
  }
  int limit = field.LastInRow ? field.Layout.NameRoom : field.Layout.NameCut;
  // A name has no more cells than bytes: only a long one needs counting.
  if (static_cast<int>(entry.Name.size()) > limit && TextCells(entry.Name) > limit) {
    std::string& text = field.Texts.Name;
    text.assign(CellPrefix(entry.Name, limit > 1 ? limit - 1 : 0));
    text += Glyph::CutMarker;
    ApplyNameCase(text);
    WriteAt(text, field.Column, field.Colour);
  } else {
    WriteAt(CasedName(entry.Name, field.Texts.Name), field.Column, field.Colour);
  }
}

void WriteShortNameField(const FieldWrite& field) {
  const int column = field.Column;
  const std::uint8_t colour = field.Colour;
  const std::string_view name = field.Entry.ShortName();
  // Only an aligned extension needs the dot looked for.
  const std::size_t dot = Options.Justify ? ExtensionDot(name) : std::string::npos;
  bool justify = dot != std::string::npos && name != "." && name != "..";
  if (!justify) {
    WriteAt(name, column, colour);
    return;
  }
  WriteAt(Piece(name, 0, dot), column, colour);
  std::size_t extensionEnd = dot + 1 + PrefixForCells(std::string_view(name).substr(dot + 1), 3);
  WriteAt(Piece(name, dot + 1, extensionEnd), column + 9, colour);
}

// A description with no cell of room at its column shows none: wrapping it
// would only give empty lines.
void WriteDescriptionText(int nameRoom, const std::string& description, int column) {
  std::uint8_t colour = Looks.Colours.DetailColour;
  const int room = std::min(nameRoom, ScreenWidth() - column + 1);
  if (room < 1) return;
  std::size_t start = 0;
  while (TextCells(std::string_view(description).substr(start)) > room) {
    std::size_t at = BreakPosition(description, start, room);
    // A hard cut takes at least one whole character, so the text moves on.
    std::size_t fits = PrefixForCells(std::string_view(description).substr(start), room);
    std::size_t end = at != std::string::npos ? at
                      : fits > 0              ? start + fits
                                              : AfterBreak(description, start);
    WriteLine(Piece(description, start, end), column, colour);
    start = at == std::string::npos ? end : AfterBreak(description, end);
  }
  WriteAt(Piece(description, start, description.size()), column, colour);
}

void WriteDescriptionField(const FieldWrite& field) {
  const FileEntry& entry = field.Entry;
  if (!field.Listing.Descriptions.Here) return;
  const std::string& description = LookupDescription(field.Listing.Descriptions, entry.Name);
  if (!description.empty())
    WriteDescriptionText(field.Layout.NameRoom, description, field.Column);
  else if (FoldedCompare(entry.Name, entry.ShortName()) != 0)
    WriteAt(entry.Name, field.Column, Looks.Colours.DetailColour);
}
