#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The first size shown with a unit; every unit is this many of the one below.
inline constexpr std::int64_t KiloBytes = 1024;

// A byte count in K, M or G with the given decimals, right-aligned to width;
// below 1024 the plain number.
std::string SizeText(std::int64_t value, int width, int decimals);
// The short form callers show: SizeText at width 18 without its leading blanks.
std::string ShortSizeText(std::int64_t value, int decimals);
// The listing's size field: below 1,024 the plain number, else one decimal in
// the smallest of K, M, G, T, P and E whose figure keeps to three digits
// before the point, so that the field never takes more than six columns.
std::string SizeFieldUnitText(std::int64_t value);
// Room for the size field below, whatever the value.
using SizeFieldRoom = std::array<char, 24>;
// SizeFieldUnitText right-aligned to six columns, written into the end of the
// room without a temporary (the listing writes one per entry); the text
// lives in the room.
std::string_view PaddedSizeFieldUnitText(std::int64_t value, SizeFieldRoom& room);
