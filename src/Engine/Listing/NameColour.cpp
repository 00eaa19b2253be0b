// The colour of a name in the listing: by kind, and for files by the
// extension table, whose entries match only the upper-cased extension exactly.
#include "Engine/Listing/NameColour.h"

#include <algorithm>
#include <string>

#include "Common/Colours.h"
#include "Common/Entries.h"

namespace {

constexpr std::size_t MaxExtensionChars = 99;

// The upper-cased extension of the name part of a name, in a buffer reused
// from entry to entry.
const std::string& UpperExtension(std::string_view name) {
  static std::string extension;
  extension.clear();
  std::size_t nameStart = name.find_last_of("\\:");
  nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot >= nameStart)
    extension.assign(name.substr(dot + 1, MaxExtensionChars));
  for (char& c : extension)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return extension;
}

}  // namespace

std::uint8_t NameColour(const FileEntry& entry) {
  if (!ColourEnabled) return Colours.FileColour;
  if (entry.IsDirectory()) return Colours.DirectoryColour;
  const std::string& extension = UpperExtension(entry.Name);
  // The table has room for MaxExtensionColours slots whatever the count says.
  int slots = std::min(ExtensionColourCount, MaxExtensionColours);
  std::uint8_t colour = Colours.FileColour;
  // Every slot is walked: the last match counts.
  for (int slot = 1; slot <= slots; ++slot)
    if (ExtensionColours[static_cast<std::size_t>(slot)].Extension == extension)
      colour = ExtensionColours[static_cast<std::size_t>(slot)].Colour;
  return colour;
}
