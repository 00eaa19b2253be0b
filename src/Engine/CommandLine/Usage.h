#pragma once
#include <cstdint>
#include <string>

// The usage screen; ends the program.
[[noreturn]] void ShowUsage();
// Items of a two-column group: left at column 1, right at column 40.
void WriteHelpPair(const std::string& text, std::uint8_t attribute);
// The next WriteHelpPair item starts a new line at column 1.
void StartHelpPairs();
