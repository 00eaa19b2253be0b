// Simulated platform: keys and values under HKEY_LOCAL_MACHINE.
#include <iterator>
#include <utility>

#include "Base/Utf8.h"
#include "Platform/Sim/SimWorld.h"

using namespace Sim::Detail;

namespace {

constexpr std::uint32_t ErrorInvalidHandle = 6;

// Keys compare case-insensitively, with or without surrounding backslashes.
std::string KeyPath(const std::string& subKey) {
  const std::size_t first = subKey.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  const std::size_t last = subKey.find_last_not_of('\\');
  return Upper(subKey.substr(first, last - first + 1));
}

// A key exists when it was added or lies above one that was.
bool KeyExists(const std::string& path) {
  const auto& registry = TheWorld().Registry;
  const auto next = registry.lower_bound(path);
  if (next == registry.end()) return false;
  return next->first == path || next->first.compare(0, path.size() + 1, path + "\\") == 0;
}

void SetValue(const std::string& subKey, const std::string& name, Plat::RegType type,
              const std::vector<std::uint8_t>& data) {
  auto& values = TheWorld().Registry[KeyPath(subKey)];
  for (RegValue& value : values)
    if (Upper(value.Name) == Upper(name)) {
      value.Type = type;
      value.Data = data;
      return;
    }
  values.push_back({name, type, data});
}

const std::vector<RegValue>* OpenValues(Plat::Handle key) {
  World& world = TheWorld();
  const auto open = world.OpenKeys.find(key);
  if (open == world.OpenKeys.end()) return nullptr;
  const auto found = world.Registry.find(open->second);
  static const std::vector<RegValue> none;
  return found == world.Registry.end() ? &none : &found->second;
}

}  // namespace

// ================================================================ control API

namespace Sim {

void AddRegistryKey(const std::string& subKey) { TheWorld().Registry[KeyPath(subKey)]; }

void SetRegistryDword(const std::string& subKey, const std::string& name, std::uint32_t value) {
  std::vector<std::uint8_t> data(4);
  for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(value >> (8 * i));
  SetValue(subKey, name, Plat::RegType::Dword, data);
}

void SetRegistryBinary(const std::string& subKey, const std::string& name,
                       const std::vector<std::uint8_t>& data) {
  SetValue(subKey, name, Plat::RegType::Binary, data);
}

void SetRegistryString(const std::string& subKey, const std::string& name,
                       const std::string& value) {
  SetValue(subKey, name, Plat::RegType::String, {value.begin(), value.end()});
}

}  // namespace Sim

// ================================================================ platform calls

namespace Plat {

Handle RegOpen(const std::string& subKey) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  const std::string path = KeyPath(subKey);
  const auto refusal = world.UnopenableKeys.find(path);
  if (refusal != world.UnopenableKeys.end() || !KeyExists(path)) {
    Fail(refusal != world.UnopenableKeys.end() ? refusal->second : ErrorFileNotFound);
    return InvalidHandle;
  }
  const Handle handle = world.NextHandle++;
  world.OpenKeys[handle] = path;
  return handle;
}

void RegClose(Handle key) {
  const auto lock = LockWorld();
  TheWorld().OpenKeys.erase(key);
  TheWorld().WritableKeys.erase(key);
}

bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name) {
  const auto lock = LockWorld();
  const std::vector<RegValue>* values = OpenValues(key);
  if (!values) return Fail(ErrorInvalidHandle);
  if (index >= values->size()) return Fail(259);  // ERROR_NO_MORE_ITEMS
  name = (*values)[index].Name;
  // A name that is not UTF-8 stands for one the real registry cannot convert.
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t start = at;
    if (Utf8::Next(name, at) == Utf8::Replacement && name.compare(start, 3, "\xEF\xBF\xBD") != 0)
      return Fail(ErrorNoUnicodeTranslation);
  }
  return true;
}

RegRead RegReadValue(Handle key, const std::string& name, RegType& type,
                     std::vector<std::uint8_t>& data) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  const std::vector<RegValue>* values = OpenValues(key);
  if (!values) {
    Fail(ErrorInvalidHandle);
    return RegRead::Failed;
  }
  const std::string id = world.OpenKeys[key] + "|" + Upper(name);
  const auto failure = world.UnreadableValues.find(id);
  if (failure != world.UnreadableValues.end()) {
    Fail(failure->second);
    return RegRead::Failed;
  }
  for (const RegValue& value : *values)
    if (Upper(value.Name) == Upper(name)) {
      type = value.Type;
      if (data.size() < value.Data.size()) {
        data.resize(value.Data.size());
        // Another writer's change lands between this answer and the next read.
        const auto growth = world.GrowingValues.find(id);
        if (growth != world.GrowingValues.end()) {
          const std::vector<std::uint8_t> grown = growth->second;
          world.GrowingValues.erase(growth);
          SetValue(world.OpenKeys[key], name, type, grown);
        }
        return RegRead::MoreData;
      }
      data = value.Data;
      return RegRead::Ok;
    }
  type = RegType::Missing;
  data.clear();
  return RegRead::Missing;
}

}  // namespace Plat

// ================================================================ writing side

namespace {

// Counts a write; false (with the error recorded) when it is to fail.
bool WriteAllowed() {
  World& world = TheWorld();
  if (world.RegistryWritesBeforeStop == 0) {
    world.RegistryWritesBeforeStop = -1;
    throw Sim::ProcessExited{1};
  }
  if (world.RegistryWritesBeforeStop > 0) --world.RegistryWritesBeforeStop;
  if (world.RegistryWritesBeforeWriter == 0) {
    world.RegistryWritesBeforeWriter = -1;
    if (!world.ConfigLockHeld) std::exchange(world.OtherWriter, nullptr)();
  } else if (world.RegistryWritesBeforeWriter > 0) {
    --world.RegistryWritesBeforeWriter;
  }
  if (world.RegistryWritesBeforeFailure < 0) return true;
  if (world.RegistryWritesBeforeFailure > 0) {
    --world.RegistryWritesBeforeFailure;
    return true;
  }
  if (world.RegistryFailingWrites > 0 && --world.RegistryFailingWrites == 0)
    world.RegistryWritesBeforeFailure = -1;
  return Fail(world.RegistryWriteError);
}

std::vector<RegValue>* WritableValues(Plat::Handle key) {
  World& world = TheWorld();
  const auto open = world.OpenKeys.find(key);
  if (open == world.OpenKeys.end()) {
    Fail(ErrorInvalidHandle);
    return nullptr;
  }
  if (!world.WritableKeys.count(key)) {
    Fail(Plat::ErrorAccessDenied);
    return nullptr;
  }
  return &world.Registry[open->second];
}

const char* TypeName(Plat::RegType type) {
  switch (type) {
    case Plat::RegType::Dword: return "dword";
    case Plat::RegType::Binary: return "binary";
    case Plat::RegType::String: return "string";
    case Plat::RegType::ExpandString: return "expand";
    default: return "other";
  }
}

}  // namespace

namespace Sim {

void SetRegistryValue(const std::string& subKey, const std::string& name, Plat::RegType type,
                      const std::vector<std::uint8_t>& data) {
  SetValue(subKey, name, type, data);
}

void FailRegistryRead(const std::string& subKey, const std::string& name, std::uint32_t code) {
  TheWorld().UnreadableValues[KeyPath(subKey) + "|" + Upper(name)] = code;
}

void FailRegistryOpen(const std::string& subKey, std::uint32_t code) {
  TheWorld().UnopenableKeys[KeyPath(subKey)] = code;
}

void GrowRegistryValueOnRead(const std::string& subKey, const std::string& name,
                             const std::vector<std::uint8_t>& grown) {
  TheWorld().GrowingValues[KeyPath(subKey) + "|" + Upper(name)] = grown;
}

void FailRegistryWrites(std::uint32_t code, int successes, int count) {
  World& world = TheWorld();
  world.RegistryWriteError = code;
  world.RegistryWritesBeforeFailure = successes;
  world.RegistryFailingWrites = count;
}

std::string RegistryDump() {
  std::string text;
  for (const auto& [path, values] : TheWorld().Registry) {
    text += path + "\n";
    for (const RegValue& value : values) {
      text += "  " + value.Name + " " + TypeName(value.Type);
      for (std::uint8_t byte : value.Data) text += " " + std::to_string(byte);
      text += "\n";
    }
  }
  return text;
}

void AddConfiguration(const std::string& defaultSwitches, const std::string& defaultDate) {
  const std::string root = "SOFTWARE\\Brackwater\\Orvalist\\";
  AddRegistryKey(root + "Colours\\Extensions");
  SetRegistryBinary(root + "Colours\\Display", "Entities",
                    {7, 15, 14, 3, 12, 10, 15, 0x4E, 14, 15, 15});
  SetRegistryString(root + "Settings", "DefaultSwitches", defaultSwitches);
  SetRegistryString(root + "Settings", "DefaultDate", defaultDate);
}

}  // namespace Sim

namespace Plat {

Handle RegCreate(const std::string& subKey) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  const std::string path = KeyPath(subKey);
  const auto refusal = world.UnopenableKeys.find(path);
  if (refusal != world.UnopenableKeys.end()) {
    Fail(refusal->second);
    return InvalidHandle;
  }
  if (!WriteAllowed()) return InvalidHandle;
  world.Registry[path];
  const Handle handle = world.NextHandle++;
  world.OpenKeys[handle] = path;
  world.WritableKeys[handle] = true;
  return handle;
}

bool RegWriteValue(Handle key, const std::string& name, RegType type,
                   const std::vector<std::uint8_t>& data) {
  const auto lock = LockWorld();
  std::vector<RegValue>* values = WritableValues(key);
  if (!values || !WriteAllowed()) return false;
  SetValue(TheWorld().OpenKeys[key], name, type, data);
  return true;
}

bool RegDeleteValue(Handle key, const std::string& name) {
  const auto lock = LockWorld();
  std::vector<RegValue>* values = WritableValues(key);
  if (!values || !WriteAllowed()) return false;
  for (auto value = values->begin(); value != values->end(); ++value)
    if (Upper(value->Name) == Upper(name)) {
      values->erase(value);
      return true;
    }
  return Fail(ErrorFileNotFound);
}

bool RegDeleteKey(const std::string& subKey) {
  const auto lock = LockWorld();
  if (!WriteAllowed()) return false;
  World& world = TheWorld();
  const std::string path = KeyPath(subKey);
  const auto found = world.Registry.find(path);
  if (found == world.Registry.end()) return Fail(ErrorFileNotFound);
  const auto next = std::next(found);
  if (next != world.Registry.end() && next->first.compare(0, path.size() + 1, path + "\\") == 0)
    return Fail(ErrorAccessDenied);  // a key with subkeys is not deleted
  world.Registry.erase(found);
  return true;
}

}  // namespace Plat
