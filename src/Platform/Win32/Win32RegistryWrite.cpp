// Writing the registry, for the configuration program only.
#include <cstring>

#include "Platform/RegistryWrite.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

// UTF-8 bytes become wide string data with its terminating NUL.
std::vector<std::uint8_t> StringDataFromUtf8(const std::vector<std::uint8_t>& data) {
  std::u16string wide =
      Utf8::ToUtf16(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  wide.push_back(u'\0');
  std::vector<std::uint8_t> stored(wide.size() * 2);
  std::memcpy(stored.data(), wide.data(), stored.size());
  return stored;
}

}  // namespace

Handle RegCreate(const std::string& subKey) {
  HKEY key = nullptr;
  const LONG result =
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, WideSubKey(subKey).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return InvalidHandle;
  }
  return reinterpret_cast<Handle>(key);
}

bool RegWriteValue(Handle key, const std::string& name, RegType type,
                   const std::vector<std::uint8_t>& data) {
  DWORD rawType = type == RegType::Dword    ? REG_DWORD
                  : type == RegType::Binary ? REG_BINARY
                                            : REG_SZ;
  std::vector<std::uint8_t> stored = data;
  if (rawType == REG_SZ) stored = StringDataFromUtf8(data);
  const LONG result = RegSetValueExW(AsKey(key), ToWide(name).c_str(), 0, rawType, stored.data(),
                                     static_cast<DWORD>(stored.size()));
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteValue(Handle key, const std::string& name) {
  const LONG result = RegDeleteValueW(AsKey(key), ToWide(name).c_str());
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteKey(const std::string& subKey) {
  const LONG result = RegDeleteKeyW(HKEY_LOCAL_MACHINE, WideSubKey(subKey).c_str());
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

}  // namespace Plat
