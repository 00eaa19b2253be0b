// Code pages of the system and the console, and conversion through them.
#include "Platform/CodePages.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

std::uint32_t AnsiCodePage() { return GetACP(); }
std::uint32_t OemCodePage() { return GetOEMCP(); }
std::uint32_t ConsoleOutputCodePage() { return GetConsoleOutputCP(); }

std::uint32_t RequestedPlainCodePage() {
  char text[4];
  const DWORD length = GetEnvironmentVariableA("ORVL_PLAIN_UTF8", text, sizeof text);
  return length == 1 && text[0] == '1' ? CP_UTF8 : 0;
}

namespace {
bool EnvironmentSwitch(const char* name) {
  char text[4];
  return GetEnvironmentVariableA(name, text, sizeof text) == 1 && text[0] == '1';
}
}  // namespace

BareNamesRequest RequestedBareNames() {
  return {EnvironmentSwitch("ORVL_LINUX_PATHS"), EnvironmentSwitch("ORVL_NUL_ENDS")};
}

bool WideToCodePage(std::uint32_t codePage, std::u16string_view text, std::string& bytes) {
  if (text.empty()) return true;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int count = static_cast<int>(text.size());
  // UTF-8 holds everything and takes neither flag nor default character.
  const bool utf8 = codePage == CP_UTF8;
  BOOL defaulted = FALSE;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  const char* fallback = utf8 ? nullptr : "?";
  const int length =
      WideCharToMultiByte(codePage, flags, wide, count, nullptr, 0, fallback, usedDefault);
  if (length <= 0) {
    bytes.append(text.size(), '?');
    return false;
  }
  const std::size_t start = bytes.size();
  bytes.resize(start + static_cast<std::size_t>(length));
  WideCharToMultiByte(codePage, flags, wide, count, bytes.data() + start, length, fallback,
                      usedDefault);
  return !defaulted;
}

std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  const int count = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
  if (length <= 0) return std::u16string();
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), count, reinterpret_cast<wchar_t*>(wide.data()),
                      length);
  return wide;
}

}  // namespace Plat
