// Text conversions for console output: code page and 7-bit line drawing.
#include "Platform/Platform.h"
#include "TurboScroll/ConsoleInternal.h"
#include "TurboScroll/TurboScroll.h"

char SevenBitChar(char character) {
  switch (static_cast<unsigned char>(character)) {
    case 179: return '|';
    case 196: return '-';
    case 219: return '*';
    case 170:
    case 180:
    case 192:
    case 193:
    case 194:
    case 195:
    case 217:
    case 218: return '+';
    default: return character;
  }
}

void SevenBit(std::string& text) {
  for (char& character : text) character = SevenBitChar(character);
}

// The whole text is converted, however long: a fixed work buffer would only
// add a way to overflow.
std::string AnsiToOem(const std::string& text) {
  std::string oem = text;
  if (!oem.empty()) Plat::CharToOem(oem.data(), oem.size());
  return oem;
}

std::string Spaces(int count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), ' ') : std::string();
}
