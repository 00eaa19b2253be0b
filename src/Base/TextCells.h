// How many console cells a UTF-8 text takes, and where to cut it: one cell
// per character, two for East Asian wide characters and emoji, none for
// combining marks and the format characters that join the character before
// them (they share its cell; one that opens a text shows as "?" in a cell of
// its own). Every width, cut and padding counts with these. The widths come
// from the Unicode data (TextTables.cpp, made by tools/text-tables.py).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's own glyphs, as the code page 437 glyph characters show them.
namespace Glyph {
inline constexpr const char* CutMarker = "\u25BA";            // 16
inline constexpr const char* Diamond = "\u2666";              // 4
inline constexpr const char* LineHorizontal = "\u2500";       // 196
inline constexpr const char* LineVertical = "\u2502";         // 179
inline constexpr const char* LineBranchDown = "\u252C";       // 194
inline constexpr const char* LineBranchUp = "\u2534";         // 193
inline constexpr const char* LineBranchRight = "\u251C";      // 195
inline constexpr const char* LineBranchLeft = "\u2524";       // 180
inline constexpr const char* LineCornerUpRight = "\u2514";    // 192
inline constexpr const char* LineCornerUpLeft = "\u2518";     // 217
inline constexpr const char* LineCornerDownRight = "\u250C";  // 218
inline constexpr const char* FullBlock = "\u2588";            // 219
inline constexpr const char* NotSign = "\u00AC";              // 170
}  // namespace Glyph

// Characters that change how a text looks without showing themselves:
// direction overrides, marks and isolates, invisible spaces, separators and
// operators, the byte-order mark, tags. A name must not hide behind them, so
// each shows as "?" in one cell, as a control character does. The joiners
// that shape scripts and emoji (U+200C, U+200D) are not among them.
bool HidesItself(char32_t code);
// Cells of one character after another: 0, 1 or 2.
int CharCells(char32_t code);
// Cells of the first character of a text: a mark with nothing to join shows as "?".
inline int LeadCells(char32_t code) {
  const int cells = CharCells(code);
  return cells == 0 ? 1 : cells;
}
// The one character that base followed by mark make (e + U+0301 is U+00E9,
// Hangul jamo make their syllable), with the cells of base; 0 when none.
char32_t ComposedPair(char32_t base, char32_t mark);
// Cells of a whole text.
int TextCells(std::string_view text);
// Where the run of ASCII bytes that starts at from ends.
std::size_t AsciiRunEnd(std::string_view text, std::size_t from);
// Bytes of the longest start of text that fits in cells; never half a character.
std::size_t PrefixForCells(std::string_view text, int cells);
// text cut to at most cells cells.
std::string_view CellPrefix(std::string_view text, int cells);
// count copies of a glyph.
std::string RepeatGlyph(const char* glyph, int count);
