#include "Format/NumberFormat.h"

#include "RunValues/Options.h"

namespace {

constexpr int DigitsPerGroup = 3;

// Commas go between the digits only: a minus sign never gets one after it.
std::string GroupDigits(const std::string& number) {
  std::size_t firstDigit = (!number.empty() && number[0] == '-') ? 1 : 0;
  std::string grouped = number;
  for (std::size_t at = number.size(); at > firstDigit + DigitsPerGroup; at -= DigitsPerGroup)
    grouped.insert(at - DigitsPerGroup, 1, ',');
  return grouped;
}

}  // namespace

std::string ThousandsText(std::int64_t value) {
  std::string number = std::to_string(value);
  return Options.ThousandsSeparator ? GroupDigits(number) : number;
}

std::string CharStr(char character, int count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), character) : std::string();
}

std::string PadLeft(const std::string& text, char fill, int width) {
  int missing = width - static_cast<int>(text.size());
  return missing > 0 ? std::string(static_cast<std::size_t>(missing), fill) + text : text;
}

std::string PadLeftBlank(const std::string& text, int width) { return PadLeft(text, ' ', width); }

std::string TrimLeadingBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}
