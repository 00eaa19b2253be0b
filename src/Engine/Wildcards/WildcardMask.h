// Masks with bracket sets: compiled once, then matched against names.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class MaskElementKind : std::uint8_t { Literal, Any, Set, End };

struct MaskElement {
  MaskElementKind Kind = MaskElementKind::End;
  bool Skip = false;         // any run of characters may come first (a "*" before it)
  char Literal = 0;          // upper-cased (a to z only)
  std::bitset<256> Members;  // a set's characters, upper-cased; negation already applied
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
