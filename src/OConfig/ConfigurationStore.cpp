#include "OConfig/ConfigurationStore.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "Base/AsciiCase.h"
#include "Configuration/ConfigurationKeys.h"
#include "Configuration/PresetCheck.h"
#include "Configuration/RegistryValues.h"
#include "Platform/ConfigLock.h"
#include "Platform/RegistryWrite.h"
#include "Platform/System.h"

namespace {

constexpr std::size_t AllValues = 1 << 20;

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> TextBytes(const std::string& text) { return {text.begin(), text.end()}; }

// ---------------------------------------------------------------- reading

std::string Stops(const std::string& message) { return "orvl stops with \"" + message + "\""; }

// Why the lister cannot use a value it read so; empty when it can.
std::string ReadProblem(ValueRead result, const std::string& name) {
  if (result == ValueRead::WrongType) return Stops("Invalid data type for '" + name + "'");
  if (result == ValueRead::Unfetchable) return Stops("Failed to get data for '" + name + "'");
  return {};
}

const ColsType* DefaultSlot(const std::string& name) {
  static const ConfigurationSet defaults = DefaultConfigurationSet();
  for (const ColsType& slot : defaults.Extensions)
    if (slot.Extension == name) return &slot;
  return nullptr;
}

std::string ExtensionRepair(const std::string& name) {
  const ColsType* slot = DefaultSlot(name);
  return slot ? "set to " + std::to_string(slot->Colour) + ", its default" : "removed";
}

// The registry ignores the case of value names, the lister does not: a name
// in another case is one value, held and written in upper case.
void LoadExtensions(Plat::Handle key, StoredConfiguration& stored) {
  for (const std::string& name : ValueNames(key, AllValues)) {
    const std::string upper = UpperCaseAscii(name);
    if (upper != name) stored.OtherCaseNames[upper] = name;
    std::uint32_t colour = 0;
    const ValueRead result = ReadDwordValue(key, name, colour);
    std::string problem = ReadProblem(result, name);
    if (result == ValueRead::Ok && colour > MaxColourAttribute)
      problem = "holds " + std::to_string(colour) + ", which is no colour: orvl ignores it";
    const std::string what = "'" + name + "' in Colours\\Extensions";
    if (problem.empty() && result == ValueRead::Ok) {
      stored.Set.Extensions.push_back({upper, static_cast<std::uint8_t>(colour)});
      if (upper != name)
        stored.Faults.push_back({what, "orvl matches upper-case names only and never uses it",
                                 "renamed " + upper});
    } else if (!problem.empty()) {
      stored.UnusableExtensions.push_back(upper);
      stored.Faults.push_back({what, problem, ExtensionRepair(upper)});
    }
  }
  // Names the registry holds but cannot hand over are counted, never read.
  std::string name;
  for (std::uint32_t index = 0;; ++index)
    if (!Plat::RegEnumValueName(key, index, name)) {
      if (Plat::LastError() != Plat::ErrorNoUnicodeTranslation) break;
      ++stored.UnconvertibleNames;
    }
}

void LoadDisplay(Plat::Handle key, StoredConfiguration& stored) {
  std::vector<std::uint8_t> bytes;
  const ValueRead result = ReadBinaryValue(key, EntitiesValue, DisplayColourCount, bytes);
  stored.EntitiesUsable = result == ValueRead::Ok || result == ValueRead::Missing;
  if (result == ValueRead::Ok) std::copy(bytes.begin(), bytes.end(), stored.Set.Display.begin());
  if (!stored.EntitiesUsable)
    stored.Faults.push_back({"Entities in Colours\\Display", ReadProblem(result, EntitiesValue),
                             "the default display colours"});
}

void LoadSettings(Plat::Handle key, StoredConfiguration& stored) {
  std::string problem =
      ReadProblem(ReadStringValue(key, SwitchesValue, stored.Set.Switches), SwitchesValue);
  std::string refusal;
  if (problem.empty() && !PresetSwitchesAccepted(stored.Set.Switches, refusal)) problem = refusal;
  stored.SwitchesUsable = problem.empty();
  if (!stored.SwitchesUsable) {
    stored.Faults.push_back({"DefaultSwitches in Settings", problem, "no preset switches"});
    stored.Set.Switches.clear();
  }
  problem = ReadProblem(ReadStringValue(key, DateValue, stored.Set.Date), DateValue);
  stored.DateUsable = problem.empty();
  if (!stored.DateUsable) {
    stored.Faults.push_back({"DefaultDate in Settings", problem, "the locale's date pattern"});
    stored.Set.Date.clear();
  }
  std::uint32_t mark = 0;
  stored.Unfinished = ReadDwordValue(key, UnfinishedValue, mark) != ValueRead::Missing;
  if (stored.Unfinished)
    stored.Faults.push_back({"The configuration",
                             "its first writing was stopped part-way: orvl starts OConfig on "
                             "every run",
                             "completed with the defaults"});
}

// Why a key did not open (it may be there all the same), and what the lister
// then does.
std::string KeyProblem(std::uint32_t error, const std::string& effect) {
  if (error == Plat::ErrorFileNotFound) return "the key is missing: " + effect;
  std::string reason = Plat::SystemErrorText(error);
  if (reason.empty()) reason = "Error " + std::to_string(error);
  return reason + ": " + effect;
}

// Opens a key; `error` says why it did not open.
Plat::Handle OpenKey(const char* path, std::uint32_t& error) {
  const Plat::Handle key = Plat::RegOpen(path);
  error = key == Plat::InvalidHandle ? Plat::LastError() : 0;
  return key;
}

// ---------------------------------------------------------------- writing

// One value to write (Type Missing: to delete), with what it held before when
// that can be put back (OldType Missing: it was not there).
struct ValueChange {
  const char* Key;
  std::string Name;
  Plat::RegType Type;
  std::vector<std::uint8_t> Data;
  bool Restorable;
  Plat::RegType OldType;
  std::vector<std::uint8_t> OldData;
};

bool Apply(const char* keyPath, const std::string& name, Plat::RegType type,
           const std::vector<std::uint8_t>& data) {
  RegistryKey key(Plat::RegCreate(keyPath));
  if (!key.IsOpen()) return false;
  if (type == Plat::RegType::Missing) return Plat::RegDeleteValue(key.Handle, name);
  return Plat::RegWriteValue(key.Handle, name, type, data);
}

const ColsType* FindSlot(const std::vector<ColsType>& slots, const std::string& name) {
  for (const ColsType& slot : slots)
    if (slot.Extension == name) return &slot;
  return nullptr;
}

std::vector<ValueChange> PlanSettings(const StoredConfiguration& stored,
                                      const ConfigurationSet& next) {
  std::vector<ValueChange> changes;
  const ConfigurationSet& old = stored.Set;
  const std::vector<std::uint8_t> display(next.Display.begin(), next.Display.end());
  // A first write, or its completion, writes every value, stored or not.
  const bool all = stored.Unfinished || !stored.HasExtensionsKey;
  if (next.Display != old.Display || !stored.EntitiesUsable || all)
    changes.push_back({DisplayKey,
                       EntitiesValue,
                       Plat::RegType::Binary,
                       display,
                       stored.EntitiesUsable,
                       Plat::RegType::Binary,
                       {old.Display.begin(), old.Display.end()}});
  if (next.Switches != old.Switches || !stored.SwitchesUsable || all)
    changes.push_back({SettingsKey, SwitchesValue, Plat::RegType::String, TextBytes(next.Switches),
                       stored.SwitchesUsable, Plat::RegType::String, TextBytes(old.Switches)});
  if (next.Date != old.Date || !stored.DateUsable || all)
    changes.push_back({SettingsKey, DateValue, Plat::RegType::String, TextBytes(next.Date),
                       stored.DateUsable, Plat::RegType::String, TextBytes(old.Date)});
  return changes;
}

using ColourByName = std::unordered_map<std::string, std::uint8_t>;

ColourByName ByName(const std::vector<ColsType>& slots) {
  ColourByName colours;
  for (const ColsType& slot : slots) colours.emplace(slot.Extension, slot.Colour);
  return colours;
}

ValueChange Removal(const std::string& name, bool restorable, std::uint8_t colour) {
  return {ExtensionsKey,     name, Plat::RegType::Missing, {}, restorable, Plat::RegType::Dword,
          DwordBytes(colour)};
}

// The name a value has in the registry.
std::string StoredName(const StoredConfiguration& stored, const std::string& upper) {
  const auto other = stored.OtherCaseNames.find(upper);
  return other == stored.OtherCaseNames.end() ? upper : other->second;
}

// Removals come from what this run read under the lock, never from a walk
// over the key as it is now. Lookups by name keep a long table linear. A
// value stored in another case is deleted before it is written: the registry
// would keep its old name.
void PlanExtensions(const StoredConfiguration& stored, const ConfigurationSet& next,
                    std::vector<ValueChange>& changes) {
  const ColourByName old = ByName(stored.Set.Extensions);
  const ColourByName kept = ByName(next.Extensions);
  const std::unordered_set<std::string> unusable(stored.UnusableExtensions.begin(),
                                                 stored.UnusableExtensions.end());
  for (const ColsType& slot : next.Extensions) {
    const auto before = old.find(slot.Extension);
    bool known = before != old.end();
    const bool broken = unusable.count(slot.Extension) > 0;
    const bool otherCase = stored.OtherCaseNames.count(slot.Extension) > 0;
    if (known && before->second == slot.Colour && !broken && !otherCase) continue;
    if (otherCase) {
      changes.push_back(Removal(StoredName(stored, slot.Extension), known && !broken,
                                known ? before->second : 0));
      known = false;
    }
    changes.push_back({ExtensionsKey, slot.Extension, Plat::RegType::Dword, DwordBytes(slot.Colour),
                       !broken || otherCase, known ? Plat::RegType::Dword : Plat::RegType::Missing,
                       known ? DwordBytes(before->second) : std::vector<std::uint8_t>{}});
  }
  for (const ColsType& slot : stored.Set.Extensions)
    if (!kept.count(slot.Extension))
      changes.push_back(Removal(StoredName(stored, slot.Extension), true, slot.Colour));
  for (const std::string& name : stored.UnusableExtensions)
    if (!kept.count(name)) changes.push_back(Removal(StoredName(stored, name), false, 0));
}

// Back to what was read, last change first; false when any value could not be.
bool PutBack(const std::vector<ValueChange>& changes, std::size_t done) {
  bool whole = true;
  while (done-- > 0) {
    const ValueChange& change = changes[done];
    if (change.Restorable && !Apply(change.Key, change.Name, change.OldType, change.OldData))
      whole = false;
  }
  return whole;
}

bool CreateKey(const char* path) { return RegistryKey(Plat::RegCreate(path)).IsOpen(); }

}  // namespace

bool ConfigurationExists() { return RegistryKey(Plat::RegOpen(ExtensionsKey)).IsOpen(); }

StoredConfiguration LoadConfiguration() {
  StoredConfiguration stored;
  stored.Set = DefaultConfigurationSet();
  stored.Set.Extensions.clear();
  std::uint32_t extensionsError = 0, displayError = 0, settingsError = 0;
  RegistryKey extensions(OpenKey(ExtensionsKey, extensionsError));
  RegistryKey display(OpenKey(DisplayKey, displayError));
  RegistryKey settings(OpenKey(SettingsKey, settingsError));
  const std::string unreadable = Stops("Unable to read configuration data.");
  stored.HasExtensionsKey = extensions.IsOpen();
  stored.HasDisplayKey = display.IsOpen();
  stored.HasSettingsKey = settings.IsOpen();
  stored.AnyKey = stored.HasExtensionsKey || stored.HasDisplayKey || stored.HasSettingsKey;
  if (stored.HasExtensionsKey)
    LoadExtensions(extensions.Handle, stored);
  else
    stored.Faults.push_back({"Colours\\Extensions",
                             KeyProblem(extensionsError, "orvl starts OConfig on every run"),
                             "the default extension colours"});
  if (stored.HasDisplayKey)
    LoadDisplay(display.Handle, stored);
  else
    stored.Faults.push_back({"Colours\\Display", KeyProblem(displayError, unreadable),
                             "the default display colours"});
  if (stored.HasSettingsKey)
    LoadSettings(settings.Handle, stored);
  else
    stored.Faults.push_back({"Settings", KeyProblem(settingsError, unreadable),
                             "no preset switches and the locale's date pattern"});
  return stored;
}

ConfigurationSet RepairedSet(const StoredConfiguration& stored) {
  ConfigurationSet set = stored.Set;
  if (!stored.HasExtensionsKey) set.Extensions = DefaultConfigurationSet().Extensions;
  if (stored.Unfinished)
    for (const ColsType& slot : DefaultConfigurationSet().Extensions)
      if (!FindSlot(set.Extensions, slot.Extension)) set.Extensions.push_back(slot);
  for (const std::string& name : stored.UnusableExtensions)
    if (const ColsType* slot = DefaultSlot(name); slot && !FindSlot(set.Extensions, name))
      set.Extensions.push_back(*slot);
  return set;
}

StoreResult StoreConfiguration(const StoredConfiguration& stored, const ConfigurationSet& next) {
  std::vector<ValueChange> changes = PlanSettings(stored, next);
  PlanExtensions(stored, next, changes);
  // The lister takes the Extensions key for a whole configuration: a first
  // write is marked unfinished until its last value is in.
  const bool firstWrite = !stored.HasExtensionsKey || stored.Unfinished;
  const bool marked = !firstWrite || stored.Unfinished ||
                      Apply(SettingsKey, UnfinishedValue, Plat::RegType::Dword, DwordBytes(1));
  // Keys that are missing are made even when no value of theirs changes.
  const bool keysMade = marked && (stored.HasDisplayKey || CreateKey(DisplayKey)) &&
                        (stored.HasSettingsKey || CreateKey(SettingsKey));
  std::size_t done = 0;
  bool written = keysMade;
  for (; written && done < changes.size(); ++done)
    written = Apply(changes[done].Key, changes[done].Name, changes[done].Type, changes[done].Data);
  if (!written && done > 0) --done;  // the failed change wrote nothing
  if (written && (stored.HasExtensionsKey || CreateKey(ExtensionsKey)) &&
      (!firstWrite || Apply(SettingsKey, UnfinishedValue, Plat::RegType::Missing, {})))
    return {};
  std::uint32_t error = Plat::LastError();
  if (error == 0) error = Plat::ErrorAccessDenied;  // a failure is never reported as success
  return {error, PutBack(changes, done)};
}

ConfigurationLock::ConfigurationLock() : handle_(Plat::TakeConfigurationLock(TimeoutMs)) {
  if (!Taken()) error_ = Plat::LastError();
}

ConfigurationLock::~ConfigurationLock() {
  if (Taken()) Plat::ReleaseConfigurationLock(handle_);
}

bool ConfigurationLock::Taken() const { return handle_ != Plat::InvalidHandle; }
