#include "LFNFunc/ErrorText.h"

std::string ErrorText(std::uint32_t code) { return "Error " + std::to_string(code); }
