#include "OConfig/OConfigArguments.h"

#include <algorithm>
#include <cctype>

#include "Base/AsciiCase.h"
#include "Configuration/ConfigurationKeys.h"
#include "Configuration/DisplayColours.h"
#include "Configuration/PresetCheck.h"

namespace {

// "N" (0-255) or "0xNN".
bool ParseColour(const std::string& text, std::uint8_t& colour, std::string& problem) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  unsigned value = 0;
  bool ok = !digits.empty() && digits.size() <= 3;
  for (char c : digits) {
    if (!ok) break;
    if (hex && std::isxdigit(static_cast<unsigned char>(c)))
      value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                     ? c - '0'
                                                     : std::toupper(c) - 'A' + 10);
    else if (!hex && std::isdigit(static_cast<unsigned char>(c)))
      value = value * 10 + static_cast<unsigned>(c - '0');
    else
      ok = false;
  }
  if (!ok || value > MaxColourAttribute) {
    problem = "'" + text + "' is not a colour: give a number from 0 to 255";
    return false;
  }
  colour = static_cast<std::uint8_t>(value);
  return true;
}

// NAME=VALUE; false when there is no "=".
bool SplitAssignment(const std::string& text, std::string& name, std::string& value) {
  std::size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  name = text.substr(0, equals);
  value = text.substr(equals + 1);
  return true;
}

bool ValidExtension(const std::string& extension, std::string& problem) {
  bool ok = !extension.empty() && extension.size() <= MaxExtensionChars &&
            extension.find_first_of(". \\/:*?\"<>|") == std::string::npos;
  if (!ok) problem = "'" + extension + "' is not an extension (give it without the dot)";
  return ok;
}

bool SetExtension(const std::string& text, ConfigurationSet& set, std::string& problem) {
  std::string name, value;
  std::uint8_t colour = 0;
  if (!SplitAssignment(text, name, value)) {
    problem = "give the extension and its colour, for example /EXT:TXT=11";
    return false;
  }
  name = UpperCaseAscii(name);
  if (!ValidExtension(name, problem) || !ParseColour(value, colour, problem)) return false;
  for (ColsType& slot : set.Extensions)
    if (slot.Extension == name) {
      slot.Colour = colour;
      return true;
    }
  if (set.Extensions.size() >= MaxExtensionColours) {
    problem = std::to_string(set.Extensions.size()) +
              " extensions are stored; orvl uses the first " + std::to_string(MaxExtensionColours);
    return false;
  }
  set.Extensions.push_back({name, colour});
  return true;
}

bool RemoveExtension(const std::string& text, ConfigurationSet& set, std::string& problem) {
  const std::string name = UpperCaseAscii(text);
  auto found = std::find_if(set.Extensions.begin(), set.Extensions.end(),
                            [&](const ColsType& slot) { return UpperCaseAscii(slot.Extension) == name; });
  if (found == set.Extensions.end()) {
    problem = "no colour is set for the extension '" + text + "'";
    return false;
  }
  set.Extensions.erase(found);
  return true;
}

// The name as shown ("DirectoryColour") or without its "Colour".
int DisplayColourIndex(const std::string& name) {
  const std::string wanted = UpperCaseAscii(name);
  for (std::size_t k = 0; k < DisplayColourCount; ++k) {
    const std::string full = UpperCaseAscii(DisplayColourRows[k].Name);
    if (wanted == full || wanted == full.substr(0, full.size() - 6)) return static_cast<int>(k);
  }
  return -1;
}

bool SetDisplayColour(const std::string& text, ConfigurationSet& set, std::string& problem) {
  std::string name, value;
  std::uint8_t colour = 0;
  if (!SplitAssignment(text, name, value)) {
    problem = "give the colour's name and its value, for example /COLOUR:Directory=14";
    return false;
  }
  const int index = DisplayColourIndex(name);
  if (index < 0) {
    problem = "there is no display colour called '" + name + "'";
    return false;
  }
  if (!ParseColour(value, colour, problem)) return false;
  set.Display[static_cast<std::size_t>(index)] = colour;
  return true;
}

// Text the lister would refuse would spoil every one of its runs.
bool SetSwitches(const std::string& text, ConfigurationSet& set, std::string& problem) {
  if (!PresetSwitchesAccepted(text, problem)) return false;
  set.Switches = text;
  return true;
}

// The text after "/NAME:" (or "/NAME=") when the argument starts with it.
bool Takes(const std::string& argument, const char* name, std::string& rest) {
  const std::string prefix = std::string("/") + name;
  const std::string upper = UpperCaseAscii(argument);
  if (upper.size() <= prefix.size() || upper.compare(0, prefix.size(), prefix) != 0) return false;
  const char separator = argument[prefix.size()];
  if (separator != ':' && separator != '=') return false;
  rest = argument.substr(prefix.size() + 1);
  return true;
}

}  // namespace

bool ApplyArgument(const std::string& argument, ConfigurationSet& set, ArgumentKind& kind,
                   std::string& problem) {
  kind = ArgumentKind::Change;
  std::string rest;
  const std::string upper = UpperCaseAscii(argument);
  if (upper == "/?" || upper == "-?" || upper == "/HELP") {
    kind = ArgumentKind::Help;
    return true;
  }
  if (upper == "/DEFAULTS") {
    set = DefaultConfigurationSet();
    return true;
  }
  if (Takes(argument, "EXT", rest)) return SetExtension(rest, set, problem);
  if (Takes(argument, "-EXT", rest)) return RemoveExtension(rest, set, problem);
  if (Takes(argument, "COLOUR", rest) || Takes(argument, "COLOR", rest))
    return SetDisplayColour(rest, set, problem);
  if (Takes(argument, "SWITCHES", rest)) return SetSwitches(rest, set, problem);
  if (Takes(argument, "DATE", rest)) {
    set.Date = rest;
    return true;
  }
  problem = "'" + argument + "' is not an OConfig switch";
  return false;
}
