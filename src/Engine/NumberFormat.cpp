#include "Engine/NumberFormat.h"

std::string ThousandsText(std::int64_t value) { return std::to_string(value); }
std::string CharStr(char character, int count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), character) : std::string();
}
std::string PadLeft(const std::string& text, char fill, int width) {
  int missing = width - static_cast<int>(text.size());
  return missing > 0 ? std::string(static_cast<std::size_t>(missing), fill) + text : text;
}
std::string PadLeftBlank(const std::string& text, int width) { return PadLeft(text, ' ', width); }
