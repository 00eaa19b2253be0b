// Short texts eight bytes at a time: copies and fills by hand (the C runtime's
// copy is a call into a library, on Windows into a DLL, which costs more than
// copying a name or a field) and the flags that find bytes in a word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies count bytes; the two ranges must not overlap. The fixed-size copies
// compile to single moves, the last one overlapping what came before.
inline void CopyShort(char* to, const char* from, std::size_t count) {
  if (count >= 8) {
    for (std::size_t at = 0; at + 8 < count; at += 8) std::memcpy(to + at, from + at, 8);
    std::memcpy(to + count - 8, from + count - 8, 8);
  } else if (count >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + count - 4, from + count - 4, 4);
  } else if (count >= 2) {
    std::memcpy(to, from, 2);
    std::memcpy(to + count - 2, from + count - 2, 2);
  } else if (count == 1) {
    *to = *from;
  }
}

// Sets count bytes to value, eight at a time, the last eight overlapping.
inline void FillShort(char* to, char value, std::size_t count) {
  std::uint64_t word = 0x0101010101010101u * static_cast<unsigned char>(value);
  if (count < 8) {
    for (std::size_t at = 0; at < count; ++at) to[at] = value;
    return;
  }
  for (std::size_t at = 0; at + 8 < count; at += 8) {
    std::memcpy(to + at, &word, 8);
    __asm__("" : "+r"(word));  // keeps the compiler from making this loop a memset call
  }
  std::memcpy(to + count - 8, &word, 8);
}

namespace ByteWords {
inline constexpr std::uint64_t Ones = 0x0101010101010101u;
inline constexpr std::uint64_t HighBits = 0x8080808080808080u;

// The high bit of each byte below limit (at most 128) in a word of bytes below
// 128, or of each zero byte in any word when limit is 1. Bytes above a flagged
// one may be flagged too (taking the limit from a low byte borrows), so only
// the lowest flag is exact: on a little-endian machine, the first such byte.
constexpr std::uint64_t BytesBelow(std::uint64_t word, unsigned limit) {
  return (word - Ones * limit) & ~word & HighBits;
}
}  // namespace ByteWords
