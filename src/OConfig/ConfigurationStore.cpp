#include "OConfig/ConfigurationStore.h"

#include <algorithm>

#include "Configuration/RegistryValues.h"
#include "Platform/RegistryWrite.h"

namespace {

constexpr std::size_t AllValues = 1 << 20;
constexpr std::uint32_t MaxAttribute = 255;

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> TextBytes(const std::string& text) { return {text.begin(), text.end()}; }

bool WriteDisplay(const ConfigurationSet& set) {
  RegistryKey key(Plat::RegCreate(DisplayKey));
  return key.IsOpen() && Plat::RegWriteValue(key.Handle, EntitiesValue, Plat::RegType::Binary,
                                             {set.Display.begin(), set.Display.end()});
}

bool WriteSettings(const ConfigurationSet& set) {
  RegistryKey key(Plat::RegCreate(SettingsKey));
  return key.IsOpen() &&
         Plat::RegWriteValue(key.Handle, SwitchesValue, Plat::RegType::String,
                             TextBytes(set.Switches)) &&
         Plat::RegWriteValue(key.Handle, DateValue, Plat::RegType::String, TextBytes(set.Date));
}

bool InSet(const ConfigurationSet& set, const std::string& name) {
  return std::any_of(set.Extensions.begin(), set.Extensions.end(),
                     [&](const ColsType& slot) { return slot.Extension == name; });
}

// The key ends up holding exactly the set's extensions; values under any
// other spelling go, so that a "txt" left over cannot shadow "TXT".
bool WriteExtensions(const ConfigurationSet& set) {
  RegistryKey key(Plat::RegCreate(ExtensionsKey));
  if (!key.IsOpen()) return false;
  for (const std::string& name : ValueNames(key.Handle, AllValues))
    if (!InSet(set, name) && !Plat::RegDeleteValue(key.Handle, name)) return false;
  for (const ColsType& slot : set.Extensions)
    if (!Plat::RegWriteValue(key.Handle, slot.Extension, Plat::RegType::Dword,
                             DwordBytes(slot.Colour)))
      return false;
  return true;
}

// The Extensions key last: until it is there, nothing counts as configured.
bool WriteSet(const ConfigurationSet& set) {
  return WriteDisplay(set) && WriteSettings(set) && WriteExtensions(set);
}

}  // namespace

bool ConfigurationExists() { return RegistryKey(Plat::RegOpen(ExtensionsKey)).IsOpen(); }

ConfigurationSet LoadConfigurationSet() {
  ConfigurationSet set;
  set.Display = DefaultConfigurationSet().Display;
  RegistryKey extensions(Plat::RegOpen(ExtensionsKey));
  if (extensions.IsOpen())
    for (const std::string& name : ValueNames(extensions.Handle, AllValues)) {
      std::uint32_t colour = 0;
      if (ReadDwordValue(extensions.Handle, name, colour) == ValueRead::Ok &&
          colour <= MaxAttribute)
        set.Extensions.push_back({name, static_cast<std::uint8_t>(colour)});
    }
  RegistryKey display(Plat::RegOpen(DisplayKey));
  std::vector<std::uint8_t> bytes;
  if (display.IsOpen() &&
      ReadBinaryValue(display.Handle, EntitiesValue, DisplayColourCount, bytes) == ValueRead::Ok)
    std::copy(bytes.begin(), bytes.end(), set.Display.begin());
  RegistryKey settings(Plat::RegOpen(SettingsKey));
  if (settings.IsOpen()) {
    if (ReadStringValue(settings.Handle, SwitchesValue, set.Switches) != ValueRead::Ok)
      set.Switches.clear();
    if (ReadStringValue(settings.Handle, DateValue, set.Date) != ValueRead::Ok) set.Date.clear();
  }
  return set;
}

std::uint32_t StoreConfigurationSet(const ConfigurationSet& next,
                                    const ConfigurationSet* previous) {
  if (WriteSet(next)) return 0;
  std::uint32_t error = Plat::LastError();
  if (error == 0) error = Plat::ErrorAccessDenied;  // a failure is never reported as success
  // Best effort: the old configuration back, or none at all.
  if (!previous || !WriteSet(*previous)) Plat::RegDeleteKey(ExtensionsKey);
  return error;
}

std::uint32_t WriteDefaultConfiguration() {
  return StoreConfigurationSet(DefaultConfigurationSet(), nullptr);
}
