#pragma once
#include <cstdint>
#include <string>

// The usage screen; ends the program.
[[noreturn]] void ShowUsage();
// Items of a two-column group: left at column 1, right at column 40, the
// first on a line of its own.
class HelpPairs {
 public:
  void Write(const std::string& text, std::uint8_t attribute);

 private:
  bool startsLine_ = true;
};
