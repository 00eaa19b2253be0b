// Reading the registry under HKEY_LOCAL_MACHINE; string data arrives as UTF-8.
#include <cstring>

#include "Platform/Registry.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

// Wide string data becomes UTF-8 bytes, without the terminating NULs.
void StringDataToUtf8(std::vector<std::uint8_t>& data) {
  std::u16string wide(data.size() / 2, u'\0');
  std::memcpy(wide.data(), data.data(), wide.size() * 2);
  while (!wide.empty() && wide.back() == 0) wide.pop_back();
  const std::string text = Utf8::FromUtf16(wide);
  data.assign(text.begin(), text.end());
}

RegType TypeOf(DWORD type) {
  switch (type) {
    case REG_DWORD: return RegType::Dword;
    case REG_BINARY: return RegType::Binary;
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    default: return RegType::Other;
  }
}

}  // namespace

Handle RegOpen(const std::string& subKey) {
  HKEY key = nullptr;
  const LONG result =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideSubKey(subKey).c_str(), 0, KEY_READ, &key);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return InvalidHandle;
  }
  return reinterpret_cast<Handle>(key);
}

void RegClose(Handle key) { RegCloseKey(AsKey(key)); }

bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name) {
  static wchar_t text[16384];  // the longest value name the registry allows
  DWORD length = 16384;
  const LONG result =
      RegEnumValueW(AsKey(key), index, text, &length, nullptr, nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return false;
  }
  for (DWORD i = 0; i < length; ++i) {
    const bool high = text[i] >= 0xD800 && text[i] < 0xDC00;
    const bool paired = high && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (paired)
      ++i;
    else if (text[i] >= 0xD800 && text[i] < 0xE000) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
  }
  name = FromWide(text, length);
  return true;
}

RegRead RegReadValue(Handle key, const std::string& name, RegType& type,
                     std::vector<std::uint8_t>& data) {
  DWORD rawType = 0;
  DWORD size = static_cast<DWORD>(data.size());
  const LONG result = RegQueryValueExW(AsKey(key), ToWide(name).c_str(), nullptr, &rawType,
                                       data.empty() ? nullptr : data.data(), &size);
  if (result == ERROR_FILE_NOT_FOUND) {
    type = RegType::Missing;
    data.clear();
    return RegRead::Missing;
  }
  // Without a buffer the call only tells the size.
  if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && size > data.size())) {
    data.resize(size);
    return RegRead::MoreData;
  }
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return RegRead::Failed;
  }
  data.resize(size);
  type = TypeOf(rawType);
  if (type == RegType::String || type == RegType::ExpandString) StringDataToUtf8(data);
  return RegRead::Ok;
}

}  // namespace Plat
