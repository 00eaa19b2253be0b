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

// A cell written anew loses the marks that joined what it held.
void DropJoinedMarks(int first, int last) {
  std::vector<JoinedMark>& marks = ConsoleEngine.JoinedMarks;
  std::erase_if(marks, [&](const JoinedMark& mark) {
    return mark.Column >= first && mark.Column <= last;
  });
}

void PlaceCell(int column, char16_t shown, char plain, std::uint8_t attribute) {
  ConsoleEngineState& engine = ConsoleEngine;
  if (!engine.JoinedMarks.empty()) DropJoinedMarks(column, column);
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
// a character beyond 16 bits). A mark put here has no character to join
// (JoinMark joins the others): it shows as "?".
int PutWideCell(int column, char32_t code, std::uint8_t attribute, int width) {
  if (code == ConsoleEngine.LastWide.Code && column >= 1 && column <= width) {
    PutPlainWideCell(column, code, attribute);
    return 1;
  }
  const int cells = LeadCells(code);
  if (column + cells - 1 > width) return cells;
  if (column < 1) return cells;
  // A C1 control would drive the terminal, a direction override would turn
  // the name around: shown as "?".
  if (code < 0xA0 || HidesItself(code) || CharCells(code) == 0) {
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
  if (!engine.JoinedMarks.empty()) DropJoinedMarks(first, last);
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

// The character a mark joins, as StoreText goes along a text.
struct JoinBase {
  char32_t Code = 0;     // what the cell shows (0: nothing of this text yet)
  int LastColumn = 0;    // its last cell
  bool Marked = false;   // a mark already joins it: no composition after that
};

// A character of no cell of its own after another: composed with it into the
// one character that holds both where there is one (e + U+0301 is é), else
// shown right after it in its cell. Nothing is kept for a cell off the line.
void JoinMark(JoinBase& base, char32_t mark, std::uint8_t attribute, int width) {
  ConsoleEngineState& engine = ConsoleEngine;
  if (base.LastColumn < 1 || base.LastColumn > width) return;
  const char32_t composed = base.Marked ? 0 : ComposedPair(base.Code, mark);
  if (composed != 0) {
    PutWideCell(base.LastColumn - CharCells(composed) + 1, composed, attribute, width);
    base.Code = composed;
    return;
  }
  const auto at = static_cast<std::size_t>(base.LastColumn - 1);
  if (engine.Redirected && engine.PlainBytes[at] != NotAsciiMark) {
    // The cell's character was stored as its byte alone: it is read from its cell now.
    if (static_cast<unsigned char>(engine.PlainBytes[at]) < 0x80)
      engine.LineBuffer[at] = {static_cast<char16_t>(engine.PlainBytes[at]), attribute};
    engine.PlainBytes[at] = NotAsciiMark;
    engine.PlainHasMarks = true;
  }
  // Kept in column order (a later field may be written further left), marks
  // of one cell in the order written.
  std::vector<JoinedMark>& marks = engine.JoinedMarks;
  const auto place = std::upper_bound(
      marks.begin(), marks.end(), base.LastColumn,
      [](int column, const JoinedMark& joined) { return column < joined.Column; });
  marks.insert(place, {base.LastColumn, mark});
  base.Marked = true;
}

// Stores a text from a 1-based column; anything outside the line is dropped.
// Returns the cells the text takes.
int StoreText(std::string_view text, int column, std::uint8_t attribute) {
  const int width = static_cast<int>(ConsoleEngine.LineBuffer.size());
  int at = column;
  JoinBase base;
  for (std::size_t next = 0; next < text.size();) {
    const std::size_t end = AsciiRunEnd(text, next);
    if (end > next) {  // the common case, without decoding
      StoreAscii(text.substr(next, end - next), at, attribute, width);
      at += static_cast<int>(end - next);
      const auto last = static_cast<unsigned char>(text[end - 1]);
      base = {last >= 32 && last != 127 ? char32_t{last} : U'?', at - 1, false};
      next = end;
      continue;
    }
    const char32_t code = Utf8::Next(text, next);
    if (base.Code != 0 && CharCells(code) == 0 && !HidesItself(code)) {
      JoinMark(base, code, attribute, width);
      continue;
    }
    const int cells = PutWideCell(at, code, attribute, width);
    at += cells;
    const bool shownAsIs = code >= 0xA0 && !HidesItself(code) && CharCells(code) != 0;
    base = {shownAsIs ? code : U'?', at - 1, false};
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

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

std::vector<Plat::Cell> RowWithMarks;  // reused for the rare row with joined marks

// Cells of a row that end it as blanks of no background: room for marks.
int UsedCells(const std::vector<Plat::Cell>& cells, int width) {
  while (width > 0 && cells[static_cast<std::size_t>(width - 1)].Char == u' ' &&
         (cells[static_cast<std::size_t>(width - 1)].Attr & 0xF0) == 0)
    --width;
  return width;
}

// A row whose cells have marks joined: each mark goes into a console cell of
// its own right after its character, where a terminal shows it within that
// character's cell, and the blanks at the row's end give up the room. A
// character whose marks find no room shows as "?" in its cells instead.
const Plat::Cell* CellsWithMarks(int width) {
  ConsoleEngineState& engine = ConsoleEngine;
  std::vector<JoinedMark>& marks = engine.JoinedMarks;
  const auto unitsOf = [](const JoinedMark& mark) { return mark.Code < 0x10000 ? 1 : 2; };
  int extra = 0;
  for (const JoinedMark& mark : marks) extra += unitsOf(mark);
  // A mark may join a blank, which then is no room.
  const auto used = [&] {
    return std::max(UsedCells(engine.LineBuffer, width), marks.empty() ? 0 : marks.back().Column);
  };
  while (!marks.empty() && used() + extra > width) {
    const int column = marks.back().Column;
    for (; !marks.empty() && marks.back().Column == column; marks.pop_back())
      extra -= unitsOf(marks.back());
    auto at = static_cast<std::size_t>(column - 1);
    const char16_t last = engine.LineBuffer[at].Char;
    if ((last == WideCharTrail || IsLowSurrogate(last)) && at > 0)
      engine.LineBuffer[at - 1].Char = u'?';
    engine.LineBuffer[at].Char = u'?';
  }
  RowWithMarks.clear();
  std::size_t next = 0;
  for (int column = 1; column <= width && static_cast<int>(RowWithMarks.size()) < width; ++column) {
    const Plat::Cell cell = engine.LineBuffer[static_cast<std::size_t>(column - 1)];
    RowWithMarks.push_back(cell);
    for (; next < marks.size() && marks[next].Column == column; ++next) {
      std::u16string units;
      Utf8::AppendUtf16(units, marks[next].Code);
      for (const char16_t unit : units) RowWithMarks.push_back({unit, cell.Attr});
    }
  }
  RowWithMarks.resize(static_cast<std::size_t>(width), EmptyCell);
  return RowWithMarks.data();
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
  const Plat::Cell* cells = engine.JoinedMarks.empty() ? engine.LineBuffer.data()
                                                      : CellsWithMarks(ScreenWidth());
  WriteConsoleCells(cells, ScreenWidth(), engine.CurrentRow - 1);
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
  if (!engine.JoinedMarks.empty()) DropJoinedMarks(column, column - 1 + size);
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
  if (next != text.size() || LeadCells(code) > room) return false;
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
