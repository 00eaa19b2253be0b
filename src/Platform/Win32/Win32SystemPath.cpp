// The machine-wide PATH in the registry, read and written through the wide
// calls so that no entry of another program is altered on the way.
#include "Platform/SystemPath.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace Plat {

namespace {

const wchar_t* const EnvironmentKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const wchar_t* const PathValue = L"Path";
constexpr UINT BroadcastTimeoutMs = 5000;

bool Failed(LONG code) {
  SetLastError(static_cast<DWORD>(code));
  return false;
}

std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// False for a text that is not valid UTF-8.
bool FromUtf8(const std::string& text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return true;
}

// The value and its type; a missing value is an empty REG_EXPAND_SZ, the
// type Windows gives it. Any other type is refused rather than rewritten.
LONG QueryPath(HKEY key, std::wstring& path, DWORD& type) {
  path.clear();
  type = REG_EXPAND_SZ;
  DWORD size = 0;
  LONG result = RegQueryValueExW(key, PathValue, nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) {
    type = REG_EXPAND_SZ;
    return ERROR_SUCCESS;
  }
  std::vector<wchar_t> buffer;
  while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    result = RegQueryValueExW(key, PathValue, nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_SUCCESS) break;
  }
  if (result != ERROR_SUCCESS) return result;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  path.assign(buffer.data(), size / sizeof(wchar_t));
  while (!path.empty() && path.back() == L'\0') path.pop_back();
  return ERROR_SUCCESS;
}

}  // namespace

bool ReadSystemPath(std::string& path) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, EnvironmentKey, 0, KEY_QUERY_VALUE, &key);
  if (result != ERROR_SUCCESS) return Failed(result);
  std::wstring wide;
  DWORD type = 0;
  result = QueryPath(key, wide, type);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return Failed(result);
  path = ToUtf8(wide);
  return true;
}

bool WriteSystemPath(const std::string& path) {
  std::wstring wide;
  if (!FromUtf8(path, wide)) return Failed(ERROR_NO_UNICODE_TRANSLATION);
  HKEY key = nullptr;
  LONG result =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, EnvironmentKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
  if (result != ERROR_SUCCESS) return Failed(result);
  std::wstring old;
  DWORD type = 0;
  result = QueryPath(key, old, type);
  if (result == ERROR_SUCCESS) {
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    result =
        RegSetValueExW(key, PathValue, 0, type, reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return Failed(result);
  // Consoles opened from Explorer after this see the new PATH; a hung window
  // only costs the timeout.
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                      SMTO_ABORTIFHUNG, BroadcastTimeoutMs, nullptr);
  return true;
}

}  // namespace Plat
