// /[S...]: sizes in bytes with an optional unit K, M, G or T; a relative upper
// bound counts from the lower bound.
#include <charconv>
#include <cmath>

#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Ranges/RangeScanner.h"

namespace {

constexpr double TwoToThe63 = 9223372036854775808.0;

std::int64_t UnitOf(char letter) {
  switch (letter) {
    case 'K':
    case 'k': return std::int64_t{1} << 10;
    case 'M':
    case 'm': return std::int64_t{1} << 20;
    case 'G':
    case 'g': return std::int64_t{1} << 30;
    case 'T':
    case 't': return std::int64_t{1} << 40;
    default: return 1;
  }
}

std::size_t SkipDigits(const std::string& text, std::size_t at) {
  while (at < text.size() && IsDecimalDigit(text[at])) ++at;
  return at;
}

// Digits, an optional fraction and an optional exponent; nothing else.
bool IsPlainDecimal(const std::string& text) {
  std::size_t at = SkipDigits(text, 0);
  std::size_t mantissaDigits = at;
  if (at < text.size() && text[at] == '.') {
    std::size_t fractionStart = at + 1;
    at = SkipDigits(text, fractionStart);
    mantissaDigits += at - fractionStart;
  }
  if (mantissaDigits == 0) return false;
  if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t exponentStart = at;
    at = SkipDigits(text, exponentStart);
    if (at == exponentStart) return false;
  }
  return at == text.size();
}

// Whole numbers are read exactly; others are rounded (ties to even) before the
// unit is applied: 1.5M is 2M.
bool ReadNumber(const std::string& text, std::int64_t& number) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (SkipDigits(text, 0) == text.size()) {
    auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last;
  }
  double value = 0;
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return false;
  double rounded = std::nearbyint(value);
  if (!(rounded < TwoToThe63)) return false;
  number = static_cast<std::int64_t>(rounded);
  return true;
}

bool ReadSize(std::string text, std::int64_t& size) {
  if (text.empty()) return false;
  std::int64_t unit = UnitOf(text.back());
  if (unit != 1) text.pop_back();
  std::int64_t number = 0;
  if (!IsPlainDecimal(text) || !ReadNumber(text, number)) return false;
  return !__builtin_mul_overflow(number, unit, &size);
}

struct SizeBounds final : RangeBounds {
  explicit SizeBounds(SizeRangeRead from) : Read(from) {}

  // A relative lower bound counts from 0; the end-of-text check then rejects
  // a negative result.
  bool ReadBound(const std::string& text, char sign, bool upper) override {
    std::int64_t size = 0;
    if (!ReadSize(text, size)) return false;
    std::int64_t& bound = upper ? Read.High : Read.Low;
    if (sign == 0) {
      bound = size;
      return true;
    }
    std::int64_t base = upper ? Read.Low : 0;
    std::int64_t value = 0;
    bool overflow = sign == '+' ? __builtin_add_overflow(base, size, &value)
                                : __builtin_sub_overflow(base, size, &value);
    if (overflow) return false;
    bound = value;
    return true;
  }

  bool Finish(bool commaSeen) override {
    Read.OpenEnded = !commaSeen;
    return Read.Low >= 0 && Read.High >= 0;
  }

  SizeRangeRead Read;
};

}  // namespace

std::optional<SizeRangeRead> ReadSizeRange(const std::string& text, SizeRangeRead from) {
  SizeBounds bounds(from);
  if (!ScanRangeText(text, {'S', nullptr, bounds})) return std::nullopt;
  return bounds.Read;
}
