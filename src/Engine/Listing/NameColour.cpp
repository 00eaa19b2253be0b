// The colour of a name in the listing: by kind, and for files by the
// extension table, whose entries match only the upper-cased extension exactly.
#include "Engine/Listing/NameColour.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "Base/AsciiCase.h"
#include "Base/NameExtension.h"
#include "RunValues/Colours.h"
#include "RunValues/Entries/Entries.h"

namespace {

// The extension of a name (at most its first MaxExtensionChars bytes),
// upper-cased into the buffer given.
std::string_view UpperExtension(std::string_view name, char (&buffer)[MaxExtensionChars]) {
  const std::string_view extension = NameExtension(name).substr(0, MaxExtensionChars);
  for (std::size_t at = 0; at < extension.size(); ++at) buffer[at] = UpperAscii(extension[at]);
  return {buffer, extension.size()};
}

}  // namespace

std::uint8_t NameColour(const FileEntry& entry) {
  if (!Looks.ColourEnabled) return Looks.Colours.FileColour;
  if (entry.IsDirectory()) return Looks.Colours.DirectoryColour;
  // The table has room for MaxExtensionColours slots whatever the count says.
  const int slots = std::min(Looks.ExtensionColourCount, MaxExtensionColours);
  if (slots <= 0) return Looks.Colours.FileColour;
  char buffer[MaxExtensionChars];
  const std::string_view extension = UpperExtension(entry.Name, buffer);
  // The last match counts, so the walk goes from the end; length and first
  // letter rule out most slots before a comparison.
  for (int slot = slots; slot >= 1; --slot) {
    const ColsType& entryColour = Looks.ExtensionColours[static_cast<std::size_t>(slot)];
    const std::string& candidate = entryColour.Extension;
    if (candidate.size() != extension.size()) continue;
    if (!extension.empty() && candidate[0] != extension[0]) continue;
    if (candidate == extension) return entryColour.Colour;
  }
  return Looks.Colours.FileColour;
}
