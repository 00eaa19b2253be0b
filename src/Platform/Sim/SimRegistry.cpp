// Simulated platform: keys and values under HKEY_LOCAL_MACHINE.
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
  World& world = TheWorld();
  const std::string path = KeyPath(subKey);
  if (!KeyExists(path)) {
    Fail(ErrorFileNotFound);
    return InvalidHandle;
  }
  const Handle handle = world.NextHandle++;
  world.OpenKeys[handle] = path;
  return handle;
}

void RegClose(Handle key) { TheWorld().OpenKeys.erase(key); }

bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name) {
  const std::vector<RegValue>* values = OpenValues(key);
  if (!values) return Fail(ErrorInvalidHandle);
  if (index >= values->size()) return Fail(259);  // ERROR_NO_MORE_ITEMS
  name = (*values)[index].Name;
  return true;
}

bool RegReadValue(Handle key, const std::string& name, RegType& type,
                  std::vector<std::uint8_t>& data) {
  const std::vector<RegValue>* values = OpenValues(key);
  if (!values) return Fail(ErrorInvalidHandle);
  for (const RegValue& value : *values)
    if (Upper(value.Name) == Upper(name)) {
      type = value.Type;
      data = value.Data;
      return true;
    }
  type = RegType::Missing;
  data.clear();
  return true;
}

}  // namespace Plat
