#include "Base/TextCells.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "Base/ByteWords.h"
#include "Base/Utf8.h"

namespace {

struct CodeRange {
  char32_t First;
  char32_t Last;
};

// Combining marks and other characters that take no cell of their own.
constexpr CodeRange ZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},   {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A},   {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8},   {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D},   {0x0E31, 0x0E31}, {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},   {0x200C, 0x200D}, {0x20D0, 0x20FF},
    {0x302A, 0x302D}, {0x3099, 0x309A}, {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0xE0100, 0xE01EF},
};

// Characters that change how a text looks without showing themselves.
constexpr CodeRange SelfHiding[] = {
    {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x061C, 0x061C},   {0x115F, 0x1160},
    {0x17B4, 0x17B5},   {0x180E, 0x180E},   {0x200B, 0x200B},   {0x200E, 0x200F},
    {0x2028, 0x202E},   {0x2060, 0x206F},   {0x3164, 0x3164},   {0xFEFF, 0xFEFF},
    {0xFFA0, 0xFFA0},   {0xFFF9, 0xFFFB},   {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
};

// East Asian wide and full-width characters, and the emoji blocks.
constexpr CodeRange DoubleWidth[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F5},   {0x26FA, 0x26FD},
    {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},   {0x274C, 0x274C},
    {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},
    {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
    {0x16FE0, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool InRanges(const CodeRange (&ranges)[N], char32_t code) {
  const CodeRange* after =
      std::upper_bound(std::begin(ranges), std::end(ranges), code,
                       [](char32_t c, const CodeRange& r) { return c < r.First; });
  return after != std::begin(ranges) && code <= (after - 1)->Last;
}

// The cells every code of a block of 128 (below 0x10000) takes: 1 or 2, or 0
// when the block is mixed and needs a search. Line drawing, most scripts and
// the large East Asian blocks are one look-up.
constexpr int BlockShift = 7;
constexpr std::size_t BlockCount = 0x10000 >> BlockShift;
constexpr char32_t BlockSize = char32_t{1} << BlockShift;

template <std::size_t N>
constexpr void MarkTouchedBlocks(std::array<std::int8_t, BlockCount>& cells,
                                 const CodeRange (&ranges)[N], std::int8_t whole) {
  for (const CodeRange& range : ranges)
    for (char32_t block = range.First & ~(BlockSize - 1); block <= range.Last && block < 0x10000;
         block += BlockSize) {
      const bool inside = block >= range.First && block + BlockSize - 1 <= range.Last;
      std::int8_t& cell = cells[block >> BlockShift];
      cell = inside && cell == 1 ? whole : 0;
    }
}

constexpr std::array<std::int8_t, BlockCount> BlockCells = [] {
  std::array<std::int8_t, BlockCount> cells{};
  cells.fill(1);
  MarkTouchedBlocks(cells, ZeroWidth, 0);
  MarkTouchedBlocks(cells, SelfHiding, 0);
  MarkTouchedBlocks(cells, DoubleWidth, 2);
  return cells;
}();

}  // namespace

bool HidesItself(char32_t code) { return code >= 0xAD && InRanges(SelfHiding, code); }

int CharCells(char32_t code) {
  if (code < 0x300) return 1;
  if (code < 0x10000) {
    const int cells = BlockCells[code >> BlockShift];
    if (cells != 0) return cells;
  }
  if (HidesItself(code)) return 1;  // shown as "?"
  if (InRanges(ZeroWidth, code)) return 0;
  return InRanges(DoubleWidth, code) ? 2 : 1;
}

// Eight bytes at a time: names are long enough for this to pay. The last
// eight bytes of a text are checked as one word, overlapping what was read.
std::size_t AsciiRunEnd(std::string_view text, std::size_t from) {
  using ByteWords::HighBits;
  std::uint64_t word;
  for (; from + 8 <= text.size(); from += 8) {
    std::memcpy(&word, text.data() + from, sizeof word);
    if ((word & HighBits) != 0) break;
  }
  if (from < text.size() && text.size() >= 8 && from + 8 > text.size()) {
    std::memcpy(&word, text.data() + text.size() - 8, sizeof word);
    if ((word & HighBits) == 0) return text.size();
  }
  while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) ++from;
  return from;
}

// ASCII runs are counted a word at a time, also between the other
// characters of a mostly ASCII text (a path with an accent in one folder).
int TextCells(std::string_view text) {
  int cells = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t runEnd = AsciiRunEnd(text, at);
    cells += static_cast<int>(runEnd - at);
    at = runEnd;
    if (at < text.size()) cells += CharCells(Utf8::Next(text, at));
  }
  return cells;
}

std::size_t PrefixForCells(std::string_view text, int cells) {
  if (cells <= 0) return 0;
  std::size_t at = 0;
  int used = 0;
  while (at < text.size()) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      if (used == cells) break;
      ++used;
      ++at;
      continue;
    }
    std::size_t next = at;
    int width = CharCells(Utf8::Next(text, next));
    if (used + width > cells) break;
    used += width;
    at = next;
  }
  return at;
}

std::string_view CellPrefix(std::string_view text, int cells) {
  // A cut inside the text's leading ASCII needs no decoding, unless a
  // combining mark right after the cut would belong to its last cell.
  const std::size_t ascii = AsciiRunEnd(text, 0);
  if (cells >= 0 && (ascii == text.size() || ascii > static_cast<std::size_t>(cells)))
    return text.substr(0, static_cast<std::size_t>(cells));
  return text.substr(0, PrefixForCells(text, cells));
}

std::string RepeatGlyph(const char* glyph, int count) {
  std::string text;
  const std::string_view one(glyph);
  if (count > 0) text.reserve(one.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) text += one;
  return text;
}
