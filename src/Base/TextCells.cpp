#include "Base/TextCells.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "Base/ByteWords.h"
#include "Base/TextTables.h"
#include "Base/Utf8.h"

namespace {

// Hangul syllables compose from their jamo by arithmetic, not by table.
constexpr char32_t SyllableBase = 0xAC00, LeadBase = 0x1100, VowelBase = 0x1161, TailBase = 0x11A7;
constexpr char32_t LeadCount = 19, VowelCount = 21, TailCount = 28;
constexpr char32_t SyllableCount = LeadCount * VowelCount * TailCount;

char32_t ComposedHangul(char32_t base, char32_t mark) {
  if (base - LeadBase < LeadCount && mark - VowelBase < VowelCount)
    return SyllableBase + ((base - LeadBase) * VowelCount + (mark - VowelBase)) * TailCount;
  if (base - SyllableBase < SyllableCount && (base - SyllableBase) % TailCount == 0 &&
      mark - TailBase - 1 < TailCount - 1)
    return base + (mark - TailBase);
  return 0;
}

}  // namespace

bool HidesItself(char32_t code) {
  return code >= 0xAD && code < 0x110000 && TextTables::ClassOf(code) == TextTables::Hidden;
}

int CharCells(char32_t code) {
  if (code < 0x300) return 1;
  if (code >= 0x110000) return 1;
  const TextTables::Class kind = TextTables::ClassOf(code);
  return kind == TextTables::Hidden ? 1 : static_cast<int>(kind);
}

char32_t ComposedPair(char32_t base, char32_t mark) {
  if (const char32_t hangul = ComposedHangul(base, mark)) return hangul;
  const TextTables::Composition* first = TextTables::Compositions;
  const TextTables::Composition* last = first + TextTables::CompositionCount;
  const TextTables::Composition* found =
      std::lower_bound(first, last, std::pair(base, mark),
                       [](const TextTables::Composition& entry, std::pair<char32_t, char32_t> key) {
                         return std::pair(entry.Base, entry.Mark) < key;
                       });
  return found != last && found->Base == base && found->Mark == mark ? found->Composed : 0;
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
    if (at == 0) {
      cells += LeadCells(Utf8::Next(text, at));
    } else if (at < text.size()) {
      cells += CharCells(Utf8::Next(text, at));
    }
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
    const char32_t code = Utf8::Next(text, next);
    const int width = at == 0 ? LeadCells(code) : CharCells(code);
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
