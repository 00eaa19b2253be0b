#include "LFNFunc/ErrorText.h"

namespace {

struct ErrorTextRow {
  std::uint32_t Code;
  const char* Text;
};

// System, disk and runtime error numbers and their messages.
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
    {100, "Disk read error"},
    {101, "Disk write error"},
    {102, "File not assigned"},
    {103, "File not open"},
    {104, "File not open for input"},
    {105, "File not open for output"},
    {106, "Invalid numeric format"},
    {150, "Disk is write-protected"},
    {151, "Bad drive request struct length"},
    {152, "Drive not ready"},
    {154, "CRC error in data"},
    {156, "Disk seek error"},
    {157, "Unknown media type"},
    {158, "Sector Not Found"},
    {159, "Printer out of paper"},
    {160, "Device write fault"},
    {161, "Device read fault"},
    {162, "Hardware failure"},
    {200, "Division by zero"},
    {201, "Range check error"},
    {202, "Stack overflow error"},
    {203, "Heap overflow error (out of memory)"},
    {204, "Invalid pointer operation"},
    {205, "Floating point overflow"},
    {206, "Floating point underflow"},
    {207, "Invalid floating point operation"},
    {208, "Overlay manager not installed"},
    {209, "Overlay file read error"},
    {210, "Object not initialized"},
    {211, "Call to abstract method"},
    {212, "Stream registration error"},
    {213, "Collection index out of range"},
    {214, "Collection overflow error"},
    {215, "Arithmetic overflow error"},
    {216, "General Protection fault"},
};

}  // namespace

std::string ErrorText(std::uint32_t code) {
  for (const ErrorTextRow& row : ErrorTexts)
    if (row.Code == code) return row.Text;
  return "Error " + std::to_string(code);
}
