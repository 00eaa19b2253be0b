#include "Engine/Ranges/RangeScanner.h"

#include "Base/AsciiCase.h"
#include "RunValues/Options.h"

namespace {

constexpr int MaxSmallNumberDigits = 4;

char UpperCase(char c) { return UpperAscii(c); }

std::uint8_t StampOfLetter(char c) {
  switch (c) {
    case 'A': return LastAccess;
    case 'C': return Creation;
    case 'W': return LastWrite;
    default: return NoStamp;
  }
}

// Where a bound's text ends: at the first comma of the whole text while no
// comma has been passed, otherwise at the first "]".
std::size_t BoundEnd(const std::string& text, bool commaSeen) {
  if (!commaSeen) {
    std::size_t comma = text.find(',');
    if (comma != std::string::npos) return comma;
  }
  return text.find(']');
}

struct ScanState {
  std::size_t At = 0;
  bool CommaSeen = false;
  bool BoundRead = false;
  bool Complete = false;
};

// Reads the bound that starts at text[state.At]; false rejects it.
bool ReadBoundAt(const std::string& text, const RangeRules& rules, ScanState& state) {
  state.BoundRead = true;
  char sign = text[state.At] == '+' || text[state.At] == '-' ? text[state.At] : 0;
  std::size_t start = sign ? state.At + 1 : state.At;
  std::size_t end = BoundEnd(text, state.CommaSeen);
  if (end == std::string::npos || end <= start) return false;
  if (!rules.Bounds.ReadBound(text.substr(start, end - start), sign, state.CommaSeen)) return false;
  state.At = end;
  return true;
}

}  // namespace

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool ReadRangeNumber(const std::string& text, std::size_t& at, int& value) {
  std::size_t start = at;
  value = 0;
  while (at < text.size() && IsDecimalDigit(text[at]) && at - start < MaxSmallNumberDigits)
    value = value * 10 + (text[at++] - '0');
  return at > start;
}

// A character that fits nowhere, or a rejected bound, stops the scan: the
// switch then stands exactly when its "]" has already been read.
bool ScanRangeText(const std::string& text, const RangeRules& rules) {
  ScanState state;
  while (state.At < text.size()) {
    char c = UpperCase(text[state.At]);
    if (c == '[' || c == rules.Letter) {
      ++state.At;
    } else if (StampOfLetter(c) != NoStamp) {
      if (!rules.Stamp) return state.Complete;
      *rules.Stamp = StampOfLetter(c);
      ++state.At;
    } else if (c == ',') {
      state.CommaSeen = true;
      ++state.At;
    } else if (c == ']') {
      state.Complete = true;
      ++state.At;
    } else if (IsDecimalDigit(c) || c == '+' || c == '-') {
      if (!ReadBoundAt(text, rules, state)) return state.Complete;
    } else {
      return state.Complete;
    }
  }
  if (!state.BoundRead) return false;
  bool finished = rules.Bounds.Finish(state.CommaSeen);
  return state.Complete && finished;
}
