// What the Win32 files share: <windows.h> itself, handle and stamp
// conversions, registry key paths, UTF-8 to and from the wide calls, and the
// wide form of a file path.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library of the toolchain may have set it already
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <string_view>

#include "Base/Utf8.h"
#include "Platform/Basics.h"

// winuser.h and winreg.h map these names onto the A/W variants; ours are the plain names.
#undef RegDeleteKey
#undef RegDeleteValue

namespace Plat {

inline HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
inline Handle FromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

inline HKEY AsKey(Handle key) { return reinterpret_cast<HKEY>(key); }

inline FileTime FromFiletime(const FILETIME& time) {
  return {time.dwLowDateTime, time.dwHighDateTime};
}
inline FILETIME ToFiletime(const FileTime& time) { return {time.Low, time.High}; }

inline std::wstring ToWide(std::string_view text) {
  const std::u16string wide = Utf8::ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string FromWide(const wchar_t* text, std::size_t length) {
  return Utf8::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

inline std::string FromWide(const wchar_t* text) { return FromWide(text, std::wcslen(text)); }

// A key path under HKEY_LOCAL_MACHINE without leading backslashes, wide.
inline std::wstring WideSubKey(const std::string& subKey) {
  return ToWide(subKey.substr(std::min(subKey.find_first_not_of('\\'), subKey.size())));
}

// The wide form of a path for the file calls, extended-length when the
// ordinary form would be altered or is too long (Win32FileSystem.cpp).
std::wstring FilePath(const std::string& path);

}  // namespace Plat
