// Text conversions for output: 7-bit line drawing, and cells to the bytes of
// plain text in the output code page.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "Platform/Platform.h"
#include "Platform/Utf8.h"
#include "TurboScroll/ConsoleInternal.h"
#include "TurboScroll/TurboScroll.h"

namespace {

// The program's own glyphs: their code page 437 byte and 7-bit stand-in.
struct GlyphRec {
  char16_t Unicode;
  unsigned char Page437;
  char SevenBit;
};
constexpr GlyphRec Glyphs[] = {
    {u'\u25BA', 16, 0},    {u'\u2666', 4, 0},     {u'\u2502', 179, '|'}, {u'\u2500', 196, '-'},
    {u'\u2588', 219, '*'}, {u'\u00AC', 170, '+'}, {u'\u2524', 180, '+'}, {u'\u2514', 192, '+'},
    {u'\u2534', 193, '+'}, {u'\u252C', 194, '+'}, {u'\u251C', 195, '+'}, {u'\u2518', 217, '+'},
    {u'\u250C', 218, '+'},
};

const GlyphRec* FindGlyph(char16_t character) {
  for (const GlyphRec& glyph : Glyphs)
    if (glyph.Unicode == character) return &glyph;
  return nullptr;
}

// One character that is not ASCII: exact in the code page, else the glyph's
// byte of code page 437 (what the program always wrote), else '?'.
void AppendConverted(std::string& text, std::u16string_view character) {
  const std::size_t start = text.size();
  if (Plat::WideToCodePage(ConsoleEngine.OutputCodePage, character, text)) return;
  text.resize(start);
  const char glyph = Glyph437Byte(character[0]);
  text += glyph != 0 ? glyph : '?';
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }

}  // namespace

char16_t SevenBitChar(char16_t character) {
  if (character < 0x80) return character;
  const GlyphRec* glyph = FindGlyph(character);
  return glyph && glyph->SevenBit != 0 ? static_cast<char16_t>(glyph->SevenBit) : character;
}

char Glyph437Byte(char16_t character) {
  const GlyphRec* glyph = FindGlyph(character);
  return glyph ? static_cast<char>(glyph->Page437) : '\0';
}

void SevenBit(std::string& text) {
  std::string sevenBit;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    const char32_t code = Utf8::Next(text, at);
    const char16_t replaced = code < 0x10000 ? SevenBitChar(static_cast<char16_t>(code)) : 0;
    if (replaced != 0 && replaced < 0x80 && code >= 0x80)
      sevenBit += static_cast<char>(replaced);
    else
      sevenBit.append(text, start, at - start);
  }
  text = sevenBit;
}

// A control character from a name, path or argument (a line feed, an escape)
// would break the line or drive the terminal; the program's own glyphs are
// never in this range.
namespace {
char PlainAscii(char16_t unit) {
  const char plain = unit < 32 ? '?' : static_cast<char>(unit);
  return unit == 0 ? ' ' : plain;
}
}  // namespace

namespace {
// Two cells at a time: a cell is four bytes, its character the low half.
std::size_t AsciiCellsEnd(const Plat::Cell* cells, std::size_t at, std::size_t count) {
  constexpr std::uint64_t NotAscii = 0x0000FF800000FF80u;
  static_assert(sizeof(Plat::Cell) == 4 && offsetof(Plat::Cell, Char) == 0);
  for (std::uint64_t pair; at + 2 <= count; at += 2) {
    std::memcpy(&pair, cells + at, sizeof pair);
    if ((pair & NotAscii) != 0) break;
  }
  while (at < count && cells[at].Char < 0x80) ++at;
  return at;
}

// Appends cells up to the first that is not ASCII; returns where it stopped.
std::size_t AppendAsciiCells(const Plat::Cell* cells, std::size_t at, std::size_t count,
                             std::string& text) {
  std::size_t end = AsciiCellsEnd(cells, at, count);
  const std::size_t start = text.size();
  text.resize(start + (end - at));
  char* out = text.data() + start;
  for (std::size_t from = at; from < end; ++from) *out++ = PlainAscii(cells[from].Char);
  return end;
}
}  // namespace

void CellsToPlainText(const Plat::Cell* cells, std::size_t count, std::string& text) {
  text.clear();
  for (std::size_t at = AppendAsciiCells(cells, 0, count, text); at < count;
       at = AppendAsciiCells(cells, at, count, text)) {
    const char16_t unit = cells[at].Char;
    if (unit != WideCharTrail) {
      const bool pair = IsHighSurrogate(unit) && at + 1 < count;
      const char16_t character[2] = {unit, pair ? cells[at + 1].Char : u'\0'};
      AppendConverted(text, std::u16string_view(character, pair ? 2 : 1));
      if (pair) ++at;
    }
    ++at;
  }
}

std::string Spaces(int count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), ' ') : std::string();
}
