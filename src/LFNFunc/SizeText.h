#pragma once
#include <cstdint>
#include <string>

// A byte count in K, M or G with the given decimals, right-aligned to width;
// below 1024 the plain number.
std::string SizeText(std::int64_t value, int width, int decimals);
// The short form callers show: SizeText at width 18 without its leading blanks.
std::string ShortSizeText(std::int64_t value, int decimals);
// The listing's size field: SizeText at the narrowest width with one decimal,
// but in T from 1,000 G on, so that the figure keeps within its field.
std::string SizeFieldUnitText(std::int64_t value);
