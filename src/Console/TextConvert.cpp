// Text conversions for output: 7-bit line drawing, and cells to the bytes of
// plain text in the output code page.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "Base/ByteWords.h"
#include "Base/Utf8.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Platform/CodePages.h"
#include "Platform/Console.h"

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

namespace {

// The cache's place for a unit, converted there on first use; null for a unit
// whose bytes do not fit (it is converted every time).
const ConvertedChar* KnownConversion(char16_t unit) {
  ConvertedChar& known = ConsoleEngine.ConvertedChars[unit % ConsoleEngine.ConvertedChars.size()];
  if (known.Unit == unit && known.Length > 0) return &known;
  std::string bytes;
  AppendConverted(bytes, std::u16string_view(&unit, 1));
  if (bytes.size() > sizeof known.Bytes) return nullptr;
  known.Unit = unit;
  known.Length = static_cast<std::uint8_t>(bytes.size());
  bytes.copy(known.Bytes, bytes.size());
  return &known;
}

void AppendConvertedUnit(std::string& text, char16_t unit) {
  if (const ConvertedChar* known = KnownConversion(unit))
    text.append(known->Bytes, known->Length);
  else
    AppendConverted(text, std::u16string_view(&unit, 1));
}

// Where the next mark is from at, eight bytes at a time; count when none is.
std::size_t NextMark(const char* bytes, std::size_t at, std::size_t count) {
  constexpr std::uint64_t Marks = ByteWords::Ones * static_cast<unsigned char>(NotAsciiMark);
  for (std::uint64_t word; at + 8 <= count; at += 8) {
    std::memcpy(&word, bytes + at, sizeof word);
    if (ByteWords::BytesBelow(word ^ Marks, 1) != 0) break;  // a zero where a mark is
  }
  while (at < count && bytes[at] != NotAsciiMark) ++at;
  return at;
}

// Appends the bytes from at up to the next mark; returns where it stopped.
std::size_t AppendUnmarked(const char* bytes, std::size_t at, std::size_t count,
                           std::string& text) {
  const std::size_t end = NextMark(bytes, at, count);
  text.append(bytes + at, end - at);
  return end;
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xE000; }

}  // namespace

char PlainByteOf(char16_t unit) {
  if (IsSurrogate(unit) || unit == WideCharTrail) return NotAsciiMark;
  const ConvertedChar* known = KnownConversion(unit);
  return known && known->Length == 1 ? known->Bytes[0] : NotAsciiMark;
}

void ForgetConvertedChars() {
  ConsoleEngine.ConvertedChars.fill(ConvertedChar{});
  ConsoleEngine.LastWide = LastWideChar{};
}

namespace {

// The marks joined to the cell at index `cell`, appended after what its
// character made (from groupStart, over the cells from groupCell): a code
// page that cannot hold them shows the whole character as "?" in each cell.
void AppendJoinedMarks(std::size_t cell, std::size_t groupStart, std::size_t groupCell,
                       std::size_t& nextMark, std::string& text) {
  const std::vector<JoinedMark>& marks = ConsoleEngine.JoinedMarks;
  const auto column = static_cast<int>(cell + 1);
  while (nextMark < marks.size() && marks[nextMark].Column < column) ++nextMark;
  if (nextMark == marks.size() || marks[nextMark].Column != column) return;
  std::u16string units;
  for (; nextMark < marks.size() && marks[nextMark].Column == column; ++nextMark)
    Utf8::AppendUtf16(units, marks[nextMark].Code);
  const std::size_t start = text.size();
  if (Plat::WideToCodePage(ConsoleEngine.OutputCodePage, units, text)) return;
  text.resize(std::min(start, groupStart));
  text.append(cell - groupCell + 1, '?');
}

}  // namespace

void PlainLineText(const char* bytes, const Plat::Cell* cells, std::size_t count,
                   std::string& text) {
  text.clear();
  const std::vector<JoinedMark>& marks = ConsoleEngine.JoinedMarks;
  std::size_t nextMark = 0, groupStart = 0, groupCell = 0;
  for (std::size_t at = AppendUnmarked(bytes, 0, count, text); at < count;
       at = AppendUnmarked(bytes, at, count, text)) {
    const char16_t unit = cells[at].Char;
    const std::size_t start = text.size();
    if (unit != WideCharTrail) {
      groupStart = start;
      groupCell = at;
    }
    if (IsHighSurrogate(unit) && at + 1 < count) {
      const char16_t pair[2] = {unit, cells[at + 1].Char};
      AppendConverted(text, std::u16string_view(pair, 2));
      ++at;
      if (text.size() == start + 1 && text.back() == '?') text += '?';  // both its cells
    } else if (unit != WideCharTrail) {
      AppendConvertedUnit(text, unit);
    } else if (at > 0 && cells[at - 1].Char != u'?' && !text.empty() && text.back() == '?') {
      text += '?';  // a wide character the code page cannot hold keeps both its columns
    }
    if (!marks.empty()) AppendJoinedMarks(at, groupStart, groupCell, nextMark, text);
    ++at;
  }
}

std::string Spaces(int count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), ' ') : std::string();
}
