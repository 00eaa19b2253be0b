// The scanning loop that the three range parsers share, and the small text
// readers their bounds use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What one range parser reads its bounds into.
class RangeBounds {
 public:
  // Reads one bound's text; sign is 0 for an absolute bound, else '+' or '-'.
  virtual bool ReadBound(const std::string& text, char sign, bool upper) = 0;
  // The end-of-text steps after at least one bound; false rejects.
  virtual bool Finish(bool commaSeen) = 0;

 protected:
  ~RangeBounds() = default;
};

// What distinguishes one range parser from another.
struct RangeRules {
  char Letter;          // the filter's own letter: D, T or S
  std::uint8_t* Stamp;  // receives the stamp letters A, C, W; nullptr: they stop the scan
  RangeBounds& Bounds;
};

// Walks the switch text ("[D-7]") and returns whether it is accepted.
bool ScanRangeText(const std::string& text, const RangeRules& rules);

bool IsDecimalDigit(char c);
// Up to four digits at text[at]; false when there is none.
bool ReadRangeNumber(const std::string& text, std::size_t& at, int& value);
