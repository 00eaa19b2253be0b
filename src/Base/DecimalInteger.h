// Reading a whole decimal integer, as switch arguments and range bounds write it.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

// Optional sign and decimal digits only, within 32 bits.
inline bool IsDecimalInteger(const std::string& text, std::int32_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;  // from_chars takes only "-"
  if (first == last || (*first == '-' && first != text.data())) return false;
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}
