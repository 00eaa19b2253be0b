#include "Format/SizeText.h"

#include <cstdint>

#include "Format/NumberFormat.h"

namespace {

constexpr std::int64_t MegaBytes = 1024 * KiloBytes;
constexpr std::int64_t GigaBytes = 1024 * MegaBytes;
constexpr int KiloShift = 10;
constexpr int MegaShift = 20;
constexpr int GigaShift = 30;
// The size field's units, a power of 1,024 apart, from K on.
constexpr char FieldUnits[] = "KMGTPE";
constexpr int LastFieldUnit = 5;
// A figure of 1,000.0 or more (in tenths) would need a fourth digit before
// the point and push into the name: the next unit takes it.
constexpr std::uint64_t FirstTooWideTenths = 10000;
constexpr int ShortFormWidth = 18;
constexpr int SizeFieldWidth = 6;

std::uint64_t PowerOfTen(int exponent) {
  std::uint64_t power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// The value over a power of two is exact in binary, so rounding its decimals the way
// %.Nf does is a half-to-even decision on the remainder.
std::uint64_t RoundedFigure(std::uint64_t bits, int shift, std::uint64_t scale) {
  const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
  const std::uint64_t scaled = (bits & mask) * scale;
  const std::uint64_t rest = scaled & mask;
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  std::uint64_t figure = (bits >> shift) * scale + (scaled >> shift);
  if (rest > half || (rest == half && (figure & 1) != 0)) ++figure;
  return figure;
}

void AppendDigits(std::string& text, std::uint64_t number, int minimumDigits) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0 || count < minimumDigits);
  while (count > 0) text += digits[--count];
}

// The digits of a number, written backwards so that they end just before `end`;
// returns where they start.
char* DigitsBefore(char* end, std::uint64_t number) {
  do {
    *--end = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  return end;
}

std::string ScaledText(std::int64_t value, int shift, char unitLetter, int width, int decimals) {
  // Through double as the figure always went: past 2^53 bytes it keeps 53 bits.
  const auto bits = static_cast<std::uint64_t>(static_cast<double>(value));
  const std::uint64_t scale = PowerOfTen(decimals);
  const std::uint64_t figure = RoundedFigure(bits, shift, scale);
  std::string number;
  AppendDigits(number, figure / scale, 1);
  if (decimals > 0) {
    number += '.';
    AppendDigits(number, figure % scale, decimals);
  }
  std::string text;
  if (static_cast<int>(number.size()) < width) text.assign(width - number.size(), ' ');
  text += number;
  text += unitLetter;
  return text;
}

}  // namespace

// There is no unit above G: a terabyte shows as 1024.0G.
std::string SizeText(std::int64_t value, int width, int decimals) {
  if (value < KiloBytes) return std::to_string(value);
  if (value < MegaBytes) return ScaledText(value, KiloShift, 'K', width, decimals);
  if (value < GigaBytes) return ScaledText(value, MegaShift, 'M', width, decimals);
  return ScaledText(value, GigaShift, 'G', width, decimals);
}

std::string ShortSizeText(std::int64_t value, int decimals) {
  return TrimLeadingBlanks(SizeText(value, ShortFormWidth, decimals));
}

std::string SizeFieldUnitText(std::int64_t value) {
  SizeFieldRoom room;
  return TrimLeadingBlanks(std::string(PaddedSizeFieldUnitText(value, room)));
}

std::string_view PaddedSizeFieldUnitText(std::int64_t value, SizeFieldRoom& room) {
  char* const end = room.data() + room.size();
  char* first = end;
  if (value < KiloBytes) {
    const bool negative = value < 0;
    const auto bits = static_cast<std::uint64_t>(value);
    first = DigitsBefore(end, negative ? 0 - bits : bits);
    if (negative) *--first = '-';
  } else {
    // Through double and rounded as ScaledText does, with one decimal.
    const auto bits = static_cast<std::uint64_t>(static_cast<double>(value));
    int unit = 0;
    while (unit < LastFieldUnit && bits >> (KiloShift * (unit + 2)) != 0) ++unit;
    std::uint64_t figure = RoundedFigure(bits, KiloShift * (unit + 1), 10);
    if (figure >= FirstTooWideTenths && unit < LastFieldUnit)
      figure = RoundedFigure(bits, KiloShift * (++unit + 1), 10);
    *--first = FieldUnits[unit];
    *--first = static_cast<char>('0' + figure % 10);
    *--first = '.';
    first = DigitsBefore(first, figure / 10);
  }
  while (end - first < SizeFieldWidth) *--first = ' ';
  return {first, static_cast<std::size_t>(end - first)};
}
