#include "Format/ErrorText.h"

#include "Platform/System.h"

namespace {

struct ErrorTextRow {
  std::uint32_t Code;
  const char* Text;
};

// The classic disk and network error numbers and their messages.
constexpr ErrorTextRow ErrorTexts[] = {
    {1, "Invalid function number"},
    {2, "No files found matching search specification"},
    {3, "Path not found"},
    {4, "Too many open files"},
    {5, "File access denied"},
    {6, "Invalid file handle"},
    {12, "Invalid file access code"},
    {15, "Invalid drive number"},
    {16, "Cannot remove current directory"},
    {17, "Cannot rename across drives"},
    {18, "No more files"},
    {21, "Drive not ready"},
    {50, "Network request not supported"},
    {51, "Remote computer not listening"},
    {52, "Duplicate name on network"},
    {53, "The computer name specified in the network path cannot be located"},
    {54, "Network busy"},
    {55, "Network device no longer exists"},
    {56, "Net BIOS command limit exceeded"},
    {57, "Network adapter hardware error"},
    {58, "Incorrect response from network"},
    {59, "Unexpected network error"},
    {60, "Incompatible remote adapter"},
    {65, "Access denied"},
    {66, "Network device type incorrect"},
    {67, "Shared network name was not found"},
    {70, "Temporarily paused"},
    {71, "Network request not accepted"},
    {86, "Invalid password"},
};

}  // namespace

// Above 86 the enumeration delivers Win32 codes, whose meaning only the
// system's own message table knows.
std::string ErrorText(std::uint32_t code) {
  for (const ErrorTextRow& row : ErrorTexts)
    if (row.Code == code) return row.Text;
  std::string text = code != 0 ? Plat::SystemErrorText(code) : std::string();
  return text.empty() ? "Error " + std::to_string(code) : text;
}
