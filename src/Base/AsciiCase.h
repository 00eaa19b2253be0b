// ASCII-only case folding, the one rule for switch words, masks, sort keys,
// description names and extensions: a to z and A to Z change, every other
// byte (UTF-8 sequences included) stays as it is.
#pragma once

#include <string>
#include <string_view>

constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr bool IsAsciiLetter(char c) { return UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z'; }

inline void UpperAsciiInPlace(std::string& text) {
  for (char& c : text) c = UpperAscii(c);
}
inline void LowerAsciiInPlace(std::string& text) {
  for (char& c : text) c = LowerAscii(c);
}
inline std::string UpperCaseAscii(std::string text) {
  UpperAsciiInPlace(text);
  return text;
}

// Equal but for the case of ASCII letters.
constexpr bool EqualAsciiFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (UpperAscii(a[k]) != UpperAscii(b[k])) return false;
  return true;
}
// text begins with start, but for the case of ASCII letters.
constexpr bool StartsAsciiFolded(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && EqualAsciiFolded(text.substr(0, start.size()), start);
}
