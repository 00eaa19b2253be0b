// Masks with bracket sets: compiled once, then matched against names.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class MaskElementKind : std::uint8_t { Literal, Any, Set, End };

// Masks and names are matched a character (not a byte) at a time; a byte that
// starts no UTF-8 character stands for itself.
struct MaskElement {
  MaskElementKind Kind = MaskElementKind::End;
  bool Skip = false;         // any run of characters may come first (a "*" before it)
  bool Negated = false;      // a set matches the characters it does not hold
  char32_t Literal = 0;      // upper-cased (a to z only)
  std::bitset<256> Members;  // a set's characters below 256, upper-cased
  std::vector<std::pair<char32_t, char32_t>> WideMembers;  // its ranges above them
};

// Most elements of one mask that may follow a "*".
constexpr int MaxSkipElements = 30;

struct CompiledMask {
  std::vector<MaskElement> Elements;
};

// Compiles a mask; 0 on success, otherwise the 1-based position at which it
// is invalid.
int CompileMask(std::string_view mask, CompiledMask& compiled);
// True when the compiled mask matches the whole name.
bool MaskMatches(const CompiledMask& compiled, std::string_view name);
// Compiles and matches at once; an invalid mask ends the run with its report.
bool NameMatchesMask(std::string_view name, std::string_view mask);
// The report of an invalid mask, which ends the run.
[[noreturn]] void InvalidMaskError(std::string_view mask, int position);
