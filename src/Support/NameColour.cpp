#include <string>

#include "Common/Colours.h"
#include "Common/Entries.h"
#include "Support/Configuration.h"

std::uint8_t NameColour(const FileEntry& entry) {
  if (!ColourEnabled) return Colours.FileColour;
  if (entry.IsDirectory()) return Colours.DirectoryColour;
  const std::string& name = entry.Name;
  std::size_t nameStart = name.find_last_of("\\:");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  std::size_t dot = name.find_last_of('.');
  std::string extension;
  if (dot != std::string::npos && dot >= nameStart) extension = name.substr(dot + 1, 99);
  for (char& c : extension)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  std::uint8_t colour = Colours.FileColour;
  for (int slot = 1; slot <= ExtensionColourCount; ++slot)
    if (ExtensionColours[slot].Extension == extension) colour = ExtensionColours[slot].Colour;
  return colour;
}
