// Name-like fields: the long name cut to the room of its listing column, the
// 8.3 alias (optionally with its extension aligned), and the description,
// wrapped over as many lines as it needs.
#include <algorithm>

#include "Common/Colours.h"
#include "Common/Entries.h"
#include "Common/RunState.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ListingFields.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Sort/Sort.h"
#include "TurboScroll/TurboScroll.h"

namespace {

std::string NameText;  // reused for every name-like field

void ApplyNameCase(std::string& text) {
  if (Options.NameCase == 'U') {
    for (char& character : text)
      if (character >= 'a' && character <= 'z') character = static_cast<char>(character - 32);
  } else if (Options.NameCase == 'L') {
    for (char& character : text)
      if (character >= 'A' && character <= 'Z') character = static_cast<char>(character + 32);
  }
}

// The text of [start, end) of a source, in the console's code page.
const std::string& OemPiece(const std::string& source, std::size_t start, std::size_t end) {
  NameText.assign(source, start, end - start);
  ConvertToOem(NameText);
  return NameText;
}

// Where a description longer than the room breaks: at the last blank (or
// character 255) among the next room + 1 characters, which is dropped; npos
// when there is none and the piece is cut hard.
std::size_t BreakPosition(const std::string& text, std::size_t start, std::size_t room) {
  for (std::size_t at = start + room + 1; at-- > start;) {
    auto character = static_cast<unsigned char>(text[at]);
    if (character == ' ' || character == 255) return at;
  }
  return std::string::npos;
}

}  // namespace

void WriteNameField(const FileEntry& entry, int column, bool lastInRow, std::uint8_t colour) {
  const ListingLayoutRec& layout = ListingLayout;
  int limit = lastInRow ? layout.NameRoom : layout.NameCut;
  if (static_cast<int>(entry.Name.size()) > limit) {
    NameText.assign(entry.Name, 0, static_cast<std::size_t>(limit > 1 ? limit - 1 : 0));
    NameText += CutMarker;
  } else {
    NameText.assign(entry.Name);
  }
  ApplyNameCase(NameText);
  ConvertToOem(NameText);
  WriteAt(NameText, column, colour);
}

void WriteShortNameField(const FileEntry& entry, int column, std::uint8_t colour) {
  const std::string& name = entry.ShortName;
  std::size_t dot = name.rfind('.');
  bool justify = Options.Justify && name != "." && name != ".." && dot != std::string::npos;
  if (!justify) {
    WriteAt(OemPiece(name, 0, name.size()), column, colour);
    return;
  }
  WriteAt(OemPiece(name, 0, dot), column, colour);
  std::size_t extensionEnd = std::min(name.size(), dot + 4);
  WriteAt(OemPiece(name, dot + 1, extensionEnd), column + 9, colour);
}

void WriteDescriptionText(const std::string& description, int column) {
  std::uint8_t colour = Colours.DetailColour;
  std::size_t room =
      static_cast<std::size_t>(ListingLayout.NameRoom > 1 ? ListingLayout.NameRoom : 1);
  std::size_t start = 0;
  while (description.size() - start > room) {
    std::size_t at = BreakPosition(description, start, room);
    std::size_t end = at == std::string::npos ? start + room : at;
    WriteLine(OemPiece(description, start, end), column, colour);
    start = at == std::string::npos ? end : end + 1;
  }
  WriteAt(OemPiece(description, start, description.size()), column, colour);
}

void WriteDescriptionField(const FileEntry& entry, int column) {
  if (!DescriptionsHere) return;
  const std::string& description = LookupDescription(entry.Name);
  if (!description.empty())
    WriteDescriptionText(description, column);
  else if (FoldedCompare(entry.Name, entry.ShortName) != 0)
    WriteAt(OemPiece(entry.Name, 0, entry.Name.size()), column, Colours.DetailColour);
}
