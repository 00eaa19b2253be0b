#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A byte count in K, M or G with the given decimals, right-aligned to width;
// below 1024 the plain number.
std::string SizeText(std::int64_t value, int width, int decimals);
// The short form callers show: SizeText at width 18 without its leading blanks.
std::string ShortSizeText(std::int64_t value, int decimals);
// The listing's size field: SizeText at the narrowest width with one decimal,
// but in T from 1,000 G on, so that the figure keeps within its field.
std::string SizeFieldUnitText(std::int64_t value);
// Room for the size field below, whatever the value.
using SizeFieldRoom = std::array<char, 24>;
// SizeFieldUnitText right-aligned to six columns, written into the end of the
// room without a temporary (the listing writes one per entry); the text
// lives in the room.
std::string_view PaddedSizeFieldUnitText(std::int64_t value, SizeFieldRoom& room);
