#pragma once
#include <cstdint>
#include <string>

// The message text for an enumeration error code.
std::string ErrorText(std::uint32_t code);
