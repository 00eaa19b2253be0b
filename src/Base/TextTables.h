// The generated Unicode tables behind TextCells (tools/text-tables.py writes
// TextTables.cpp from the Unicode data): each character's class in two
// stages, the same classes as ranges, and the pairs that compose.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TextTables {

struct CodeRange {
  char32_t First;
  char32_t Last;
};

// A character and a mark after it that make one character of the same cells.
struct Composition {
  char32_t Base;
  char32_t Mark;
  char32_t Composed;
};

// The class of a character: cells it takes, or Hidden (shown as "?" in one).
enum Class : std::uint8_t { Zero = 0, One = 1, Two = 2, Hidden = 3 };

extern const char UnicodeVersion[];
// Sorted, disjoint; every code point outside them is of class One.
extern const CodeRange ZeroRanges[];
extern const std::size_t ZeroRangesCount;
extern const CodeRange WideRanges[];
extern const std::size_t WideRangesCount;
extern const CodeRange HiddenRanges[];
extern const std::size_t HiddenRangesCount;
// BlockOfPage[code >> 8] names the block; its byte (code & 255) / 4 holds the
// class in bits 2 * (code & 3).
extern const std::uint8_t BlockOfPage[0x1100];
extern const std::uint8_t PackedBlocks[][64];
// Sorted by base, then mark.
extern const Composition Compositions[];
extern const std::size_t CompositionCount;

inline Class ClassOf(char32_t code) {
  const std::uint8_t packed = PackedBlocks[BlockOfPage[code >> 8]][(code & 0xFF) >> 2];
  return static_cast<Class>((packed >> (2 * (code & 3))) & 3);
}

}  // namespace TextTables
