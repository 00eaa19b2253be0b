// Composing and finishing lines: text goes into the line buffer as cells; a
// finished line becomes one console row, or one plain text line when redirected.
#include <algorithm>

#include "Common/Options.h"
#include "TurboScroll/ConsoleInternal.h"
#include "TurboScroll/TurboScroll.h"

namespace {

constexpr char CutMarker = 16;
constexpr std::uint16_t ScrollFillAttribute = 15;

std::string PlainLine;  // reused for every redirected line

// Stores characters at a 1-based column; anything outside the line is dropped.
void StoreText(const char* text, int length, int column, std::uint8_t attribute) {
  int width = static_cast<int>(ConsoleEngine.LineBuffer.size());
  int first = std::max(column, 1);
  int last = std::min(column + length - 1, width);
  bool sevenBit = Options.SevenBit;
  for (int at = first; at <= last; ++at) {
    char character = text[at - column];
    Plat::Cell& cell = ConsoleEngine.LineBuffer[static_cast<std::size_t>(at - 1)];
    cell.Char = sevenBit ? SevenBitChar(character) : character;
    cell.Filler = 0;
    cell.Attr = attribute;
  }
}

// A control character from a name, path or argument (a line feed, an escape)
// would break the line or drive the terminal; only the cut marker is our own.
char PlainChar(char character) {
  if (character == 0) return ' ';
  if (static_cast<unsigned char>(character) < 32 && character != CutMarker) return '?';
  return character;
}

void WritePlainLine() {
  const std::vector<Plat::Cell>& cells = ConsoleEngine.LineBuffer;
  PlainLine.assign(cells.size(), ' ');
  for (std::size_t i = 0; i < cells.size(); ++i) PlainLine[i] = PlainChar(cells[i].Char);
  std::size_t last = PlainLine.find_last_not_of(' ');
  PlainLine.resize(last == std::string::npos ? 0 : last + 1);
  PlainLine += "\r\n";
  Plat::StdOutWrite(PlainLine.data(), PlainLine.size());
  DiscardLine();
}

void ScrollUpOneRow() {
  ConsoleEngineState& engine = ConsoleEngine;
  Plat::Cell fill{' ', 0, ScrollFillAttribute};
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
    if (Options.Pause) MoreFiles();
  }
  WriteConsoleCells(engine.LineBuffer.data(), ScreenWidth(), engine.CurrentRow - 1);
  DiscardLine();
}

}  // namespace

void WriteAt(const std::string& text, int column, std::uint8_t attribute) {
  EnsureOutput();
  int room = ScreenWidth() - ConsoleEngine.PenColumn;
  int length = static_cast<int>(text.size());
  if (length > room) length = std::max(room - 1, 0);
  StoreText(text.data(), length, column, attribute);
  ConsoleEngine.PenColumn += length;
}

void WriteText(const std::string& text, std::uint8_t attribute) {
  EnsureOutput();
  int width = ScreenWidth();
  int pen = ConsoleEngine.PenColumn;
  int length = static_cast<int>(text.size());
  if (pen <= width) {
    // A text that ends exactly in column W fits; only a longer one loses its
    // tail to the marker.
    if (pen + length - 1 > width) {
      int kept = width - pen;
      StoreText(text.data(), kept, pen, attribute);
      StoreText(&CutMarker, 1, pen + kept, attribute);
      length = kept + 1;
    } else {
      StoreText(text.data(), length, pen, attribute);
    }
  }
  ConsoleEngine.PenColumn += length;
}

void WriteLine(const std::string& text, int column, std::uint8_t attribute) {
  EnsureOutput();
  int length = static_cast<int>(text.size());
  if (length > ScreenWidth()) length = ScreenWidth() - 1;
  StoreText(text.data(), length, column, attribute);
  NewLine();
}

void NewLine() {
  EnsureOutput();
  if (ConsoleEngine.Redirected)
    WritePlainLine();
  else
    WriteConsoleLine();
}
