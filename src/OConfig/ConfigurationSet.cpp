#include "OConfig/ConfigurationSet.h"

#include "Configuration/DisplayColours.h"

namespace {

struct ExtensionGroup {
  std::uint8_t Colour;
  std::vector<const char*> Extensions;
};

// Kinds of files people tell apart at a glance, one colour per kind.
const ExtensionGroup DefaultGroups[] = {
    {10, {"EXE", "COM", "BAT", "CMD", "PIF", "VBS"}},                     // programs and scripts
    {13, {"ZIP", "ARJ", "LZH", "RAR", "CAB", "GZ", "TGZ", "TAR", "7Z"}},  // archives
    {11, {"TXT", "DOC", "RTF", "WRI", "HTM", "HTML", "PDF", "XLS"}},      // documents
    {6, {"BMP", "GIF", "JPG", "JPEG", "PNG", "ICO", "PCX", "TIF"}},       // images
    {9, {"C", "CPP", "H", "HPP", "PAS", "ASM", "BAS", "JAVA", "PY"}},     // sources
};

}  // namespace

ConfigurationSet DefaultConfigurationSet() {
  ConfigurationSet set;
  for (const ExtensionGroup& group : DefaultGroups)
    for (const char* extension : group.Extensions)
      set.Extensions.push_back({extension, group.Colour});
  set.Display = DefaultDisplayColours();
  return set;
}
