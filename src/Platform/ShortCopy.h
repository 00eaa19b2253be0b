// Copies and fills of short texts by hand: the C runtime's copy is a call into a library
// (on Windows into a DLL), which costs more than copying a name or a field.
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
