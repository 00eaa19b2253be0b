#include "LFNFunc/SizeText.h"

#include <cstdio>

#include "LFNFunc/NumberFormat.h"

namespace {

constexpr std::int64_t KiloBytes = 1024;
constexpr std::int64_t MegaBytes = 1024 * KiloBytes;
constexpr std::int64_t GigaBytes = 1024 * MegaBytes;
constexpr std::int64_t TeraBytes = 1024 * GigaBytes;
// From 1,000 G on the figure would need a fifth digit and push into the name.
constexpr std::int64_t FirstFieldTeraBytes = 1000 * GigaBytes;
constexpr int ShortFormWidth = 18;

std::string ScaledText(std::int64_t value, std::int64_t unit, char unitLetter, int width,
                       int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f%c", width, decimals,
                static_cast<double>(value) / static_cast<double>(unit), unitLetter);
  return text;
}

}  // namespace

// There is no unit above G: a terabyte shows as 1024.0G.
std::string SizeText(std::int64_t value, int width, int decimals) {
  if (value < KiloBytes) return std::to_string(value);
  if (value < MegaBytes) return ScaledText(value, KiloBytes, 'K', width, decimals);
  if (value < GigaBytes) return ScaledText(value, MegaBytes, 'M', width, decimals);
  return ScaledText(value, GigaBytes, 'G', width, decimals);
}

std::string ShortSizeText(std::int64_t value, int decimals) {
  return TrimLeadingBlanks(SizeText(value, ShortFormWidth, decimals));
}

std::string SizeFieldUnitText(std::int64_t value) {
  if (value < FirstFieldTeraBytes) return SizeText(value, 1, 1);
  return ScaledText(value, TeraBytes, 'T', 1, 1);
}
