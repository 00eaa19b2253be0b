// Composing and finishing lines: text goes into the line buffer as cells; a
// finished line becomes one console row, or one plain text line when redirected.
#include <algorithm>
#include <string_view>

#include "Base/Utf8.h"
#include "RunValues/Options.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"

namespace {

constexpr std::uint16_t ScrollFillAttribute = 15;

void PlaceCell(int column, char16_t shown, char plain, std::uint8_t attribute) {
  ConsoleEngineState& engine = ConsoleEngine;
  const auto at = static_cast<std::size_t>(column - 1);
  engine.LineBuffer[at] = {shown, attribute};
  if (engine.Redirected) {
    // A character of one byte in the output (line drawing, most often) goes
    // in as that byte; the rest is converted with the line.
    engine.PlainBytes[at] = plain;
    engine.PlainHasMarks |= plain == NotAsciiMark;
  }
  engine.LineUsed = std::max(engine.LineUsed, column);
}

void PutCell(int column, char16_t character, std::uint8_t attribute) {
  const char16_t shown = Options.SevenBit ? SevenBitChar(character) : character;
  PlaceCell(column, shown, ConsoleEngine.Redirected ? PlainByteOf(shown) : 0, attribute);
}

// A character of one cell that shows as itself; it is remembered, as rows
// repeat their line-drawing glyphs.
void PutPlainWideCell(int column, char32_t code, std::uint8_t attribute) {
  LastWideChar& last = ConsoleEngine.LastWide;
  if (code != last.Code) {
    const auto unit = static_cast<char16_t>(code);
    last.Shown = Options.SevenBit ? SevenBitChar(unit) : unit;
    last.Plain = PlainByteOf(last.Shown);
    last.Code = code;
  }
  PlaceCell(column, last.Shown, last.Plain, attribute);
}

// Puts one character that is not ASCII at a column; returns the cells it took.
// A wide character takes two, the second showing nothing (or the low half of
// a character beyond 16 bits); a combining mark has no cell of its own.
int PutWideCell(int column, char32_t code, std::uint8_t attribute, int width) {
  if (code == ConsoleEngine.LastWide.Code && column >= 1 && column <= width) {
    PutPlainWideCell(column, code, attribute);
    return 1;
  }
  const int cells = CharCells(code);
  if (cells == 0 || column + cells - 1 > width) return cells;
  if (column < 1) return cells;
  // A C1 control would drive the terminal, a direction override would turn
  // the name around: shown as "?".
  if (code < 0xA0 || HidesItself(code)) {
    PutCell(column, u'?', attribute);
  } else if (code < 0x10000 && cells == 1) {
    PutPlainWideCell(column, code, attribute);
  } else if (code < 0x10000) {
    PutCell(column, static_cast<char16_t>(code), attribute);
    PutCell(column + 1, WideCharTrail, attribute);
  } else if (cells == 2) {  // the low half takes the second cell
    std::u16string pair;
    Utf8::AppendUtf16(pair, code);
    PutCell(column, pair[0], attribute);
    PutCell(column + 1, pair[1], attribute);
  } else {
    PutCell(column, u'\uFFFD', attribute);
  }
  return cells;
}

// Stores a run of ASCII bytes from a column, clipped to the line; ASCII has no
// 7-bit stand-in, so the bytes go in as they are, control characters aside.
void StoreAscii(std::string_view run, int column, std::uint8_t attribute, int width) {
  const int first = std::max(column, 1);
  const int last = std::min(column + static_cast<int>(run.size()) - 1, width);
  if (first > last) return;
  ConsoleEngineState& engine = ConsoleEngine;
  const char* bytes = run.data() + (first - column);
  const auto count = static_cast<std::size_t>(last - first + 1);
  if (engine.Redirected) {
    StorePlainAscii(bytes, count, static_cast<std::size_t>(first - 1));
  } else {
    // Control characters (below 32, and DEL) would drive the terminal: "?".
    Plat::Cell* cells = engine.LineBuffer.data() + (first - 1);
    for (std::size_t at = 0; at < count; ++at) {
      const auto byte = static_cast<unsigned char>(bytes[at]);
      const char16_t shown = byte >= 32 && byte != 127 ? byte : byte == 0 ? u' ' : u'?';
      cells[at] = Plat::Cell{shown, attribute};
    }
  }
  engine.LineUsed = std::max(engine.LineUsed, last);
}

// Stores a text from a 1-based column; anything outside the line is dropped.
// Returns the cells the text takes.
int StoreText(std::string_view text, int column, std::uint8_t attribute) {
  const int width = static_cast<int>(ConsoleEngine.LineBuffer.size());
  int at = column;
  for (std::size_t next = 0; next < text.size();) {
    const std::size_t end = AsciiRunEnd(text, next);
    if (end > next) {  // the common case, without decoding
      StoreAscii(text.substr(next, end - next), at, attribute, width);
      at += static_cast<int>(end - next);
      next = end;
    } else {
      at += PutWideCell(at, Utf8::Next(text, next), attribute, width);
    }
  }
  return at - column;
}

void ScrollUpOneRow() {
  ConsoleEngineState& engine = ConsoleEngine;
  Plat::Cell fill{u' ', ScrollFillAttribute};
  if (Plat::ConsoleScroll(engine.OutputHandle, 1, engine.MaxRow, 0, engine.MaxCol, 0, fill)) return;
  DiscardLine();
  FatalError("ERROR: Scroll [TurboScroll]", false);
}

void WriteConsoleLine() {
  ConsoleEngineState& engine = ConsoleEngine;
  ++engine.PageLines;
  if (engine.CurrentRow <= engine.MaxRow)
    ++engine.CurrentRow;
  else
    ScrollUpOneRow();
  engine.PenColumn = 1;
  if (engine.PageLines > ScreenHeight()) {
    // Restarted before the prompt, so that a failure it reports cannot prompt again.
    engine.PageLines = 2;
    if (Options.Pause && !engine.NonStop) MoreFiles();
  }
  WriteConsoleCells(engine.LineBuffer.data(), ScreenWidth(), engine.CurrentRow - 1);
  DiscardLine();
}

// Plain text, a whole text inside the line: copied and checked for ASCII in
// one pass. False when a character is not ASCII (the caller stores it anew).
bool WriteWithinPlainLine(std::string_view text, int column, int room) {
  ConsoleEngineState& engine = ConsoleEngine;
  const auto size = static_cast<int>(text.size());
  if (!engine.Redirected || size == 0 || size > room || column < 1 ||
      column - 1 + size > static_cast<int>(engine.LineBuffer.size()))
    return false;
  if (!StorePlainAscii(text.data(), text.size(), static_cast<std::size_t>(column - 1)))
    return false;
  engine.LineUsed = std::max(engine.LineUsed, column - 1 + size);
  engine.PenColumn += size;
  return true;
}

// A text of one character that fits (a separator, a line-drawing glyph):
// decoded once. False for any other text.
bool WriteOneCharacter(std::string_view text, int column, std::uint8_t attribute, int room) {
  if (text.size() < 2 || text.size() > 4) return false;
  std::size_t next = 0;
  const char32_t code = Utf8::Next(text, next);
  if (next != text.size() || CharCells(code) > room) return false;
  const int width = static_cast<int>(ConsoleEngine.LineBuffer.size());
  ConsoleEngine.PenColumn += PutWideCell(column, code, attribute, width);
  return true;
}

// WriteAt's cases beyond a plain text that fits, kept out of line so that
// the common case stays a short call.
[[gnu::noinline]] void WriteAtWithCare(std::string_view text, int column, std::uint8_t attribute,
                                       int room) {
  if (AsciiRunEnd(text, 0) == text.size()) {  // most fields: a byte is a cell
    const auto fits = static_cast<std::ptrdiff_t>(text.size()) <= room;
    const std::size_t shown = fits ? text.size() : static_cast<std::size_t>(std::max(room - 1, 0));
    StoreAscii(text.substr(0, shown), column, attribute,
               static_cast<int>(ConsoleEngine.LineBuffer.size()));
    ConsoleEngine.PenColumn += static_cast<int>(shown);
    return;
  }
  if (WriteOneCharacter(text, column, attribute, room)) return;
  std::string_view shown = text;
  if (TextCells(shown) > room) shown = CellPrefix(shown, std::max(room - 1, 0));
  ConsoleEngine.PenColumn += StoreText(shown, column, attribute);
}

}  // namespace

void WriteAt(std::string_view text, int column, std::uint8_t attribute) {
  EnsureOutput();
  const int room = ScreenWidth() - ConsoleEngine.PenColumn;
  if (!WriteWithinPlainLine(text, column, room)) WriteAtWithCare(text, column, attribute, room);
}

void WriteText(std::string_view text, std::uint8_t attribute) {
  EnsureOutput();
  int width = ScreenWidth();
  int pen = ConsoleEngine.PenColumn;
  int length = TextCells(text);
  if (pen <= width) {
    // A text that ends exactly in column W fits; only a longer one loses its
    // tail to the marker.
    if (pen + length - 1 > width) {
      int kept = StoreText(CellPrefix(text, width - pen), pen, attribute);
      StoreText(Glyph::CutMarker, pen + kept, attribute);
      length = kept + 1;
    } else {
      StoreText(text, pen, attribute);
    }
  }
  ConsoleEngine.PenColumn += length;
}

void WriteWholeAt(std::string_view text, int column, std::uint8_t attribute) {
  ConsoleEngineState& engine = ConsoleEngine;
  EnsureOutput();
  if (!engine.Redirected) {
    WriteAt(text, column, attribute);
    return;
  }
  const auto end = static_cast<std::size_t>(column - 1 + TextCells(text));
  if (end > engine.LineBuffer.size()) GrowPlainLine(end);
  engine.PenColumn += StoreText(text, column, attribute);
}

void WriteLine(std::string_view text, int column, std::uint8_t attribute) {
  EnsureOutput();
  std::string_view shown = text;
  if (TextCells(shown) > ScreenWidth()) shown = CellPrefix(shown, ScreenWidth() - 1);
  StoreText(shown, column, attribute);
  NewLine();
}

void WriteWrappedLine(std::string_view text, int column, std::uint8_t attribute) {
  EnsureOutput();
  const int room = std::max(ScreenWidth() - column + 1, 1);
  while (TextCells(text) > room) {
    const std::size_t fits = CellPrefix(text, room).size();
    std::size_t end = text[fits] == ' ' ? fits : text.rfind(' ', fits);
    if (end == std::string_view::npos || end == 0) end = fits;
    if (end == 0) Utf8::Next(text, end);  // a wide character in a room of one cell
    StoreText(text.substr(0, end), column, attribute);
    NewLine();
    text.remove_prefix(std::min(text.find_first_not_of(' ', end), text.size()));
    if (text.empty()) return;
  }
  StoreText(text, column, attribute);
  NewLine();
}

void NewLine() {
  EnsureOutput();
  EndIfControlEvent();
  if (ConsoleEngine.Redirected)
    WritePlainLine();
  else
    WriteConsoleLine();
}
