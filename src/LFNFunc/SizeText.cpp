#include "LFNFunc/SizeText.h"

std::string SizeText(std::int64_t value, int, int) { return std::to_string(value); }
