// Code pages: which ones the system and the console use, and conversion of
// text between them and UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Plat {

// GetACP, GetOEMCP, and GetConsoleOutputCP (0 when the process has no console).
std::uint32_t AnsiCodePage();
std::uint32_t OemCodePage();
std::uint32_t ConsoleOutputCodePage();
constexpr std::uint32_t Utf8CodePage = 65001;
// The code page whoever started the program asked plain output to be written
// in, 0 when none was: ORVL_PLAIN_UTF8=1 asks for UTF-8, as the Linux wrapper
// does for a pipe or a file, where the console's code page would lose names.
std::uint32_t RequestedPlainCodePage();
// How whoever started the program asked bare names to be written for other
// programs (the Linux wrapper, for a pipe or a file): ORVL_LINUX_PATHS=1
// writes Z: paths in Linux form, ORVL_NUL_ENDS=1 ends each name with NUL.
struct BareNamesRequest {
  bool LinuxPaths = false;
  bool NulEnds = false;
};
BareNamesRequest RequestedBareNames();

// WideCharToMultiByte without best-fit mapping: appends the bytes of text in
// the code page (an unmappable character becomes '?'); true when every
// character was held exactly.
bool WideToCodePage(std::uint32_t codePage, std::u16string_view text, std::string& bytes);
// MultiByteToWideChar: the bytes of a text in the code page as UTF-16.
std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes);

}  // namespace Plat
