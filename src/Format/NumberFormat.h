// Small text operations for figures: thousands separators, runs of a
// character and right alignment.
#pragma once
#include <cstdint>
#include <string>

// The value as a whole number, with "," between groups of three digits when
// the thousands separator is on.
std::string ThousandsText(std::int64_t value);
// count copies of the character.
std::string CharStr(char character, int count);
// The text preceded by fill characters up to width; never cut.
std::string PadLeft(const std::string& text, char fill, int width);
std::string PadLeftBlank(const std::string& text, int width);
// The text without its leading blanks.
std::string TrimLeadingBlanks(const std::string& text);
