// The console: standard handles, the screen buffer written a row of cells at a
// time, keys, the control handler, and buffered plain standard output.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Platform/Basics.h"

namespace Plat {

enum class StdStream { Input, Output };
// GetStdHandle.
Handle StdHandle(StdStream which);

// GetConsoleScreenBufferInfo: false when the handle is not a console.
struct ScreenInfo {
  int Columns = 0;  // buffer size
  int Rows = 0;
  int CursorColumn = 0;
  int CursorRow = 0;
  std::uint16_t Attributes = 0;
};
bool ConsoleScreenInfo(Handle output, ScreenInfo& info);

// One console cell, laid out as CHAR_INFO with a UTF-16 character.
struct Cell {
  char16_t Char = 0;
  std::uint16_t Attr = 0;
};
static_assert(sizeof(Cell) == 4, "a cell is four bytes");

// WriteConsoleOutputW of one row of cells at (column, row), 0-based.
bool ConsoleWriteRow(Handle output, const Cell* cells, int count, int column, int row);
// ReadConsoleOutputW of one row of cells from column 0: what the screen shows.
bool ConsoleReadRow(Handle output, Cell* cells, int count, int row);
// ScrollConsoleScreenBufferW: moves the rectangle rows top..bottom, columns
// left..right to start at row destRow (same columns); uncovered cells are
// filled with fill.
bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow, Cell fill);
// SetConsoleCursorPosition (0-based).
bool ConsoleSetCursor(Handle output, int column, int row);
// SetConsoleTextAttribute.
bool ConsoleSetAttribute(Handle output, std::uint16_t attribute);
// SetConsoleMode on the input handle to processed input only.
bool ConsoleSetProcessedInput(Handle input);
// ReadConsoleA of one byte; false when the read fails.
bool ConsoleReadKey(Handle input, char& key);
// WriteConsoleInputW of an Enter key to standard input, so that a key read
// waiting there returns (from another thread).
bool ConsoleWakeKeyRead();
// FlushConsoleInputBuffer: keys typed and not read are dropped.
void ConsoleDiscardKeys(Handle input);
// SetConsoleCtrlHandler: the handler runs for every console control event.
using ControlHandler = void (*)();
bool ConsoleSetControlHandler(ControlHandler handler);

// ---------------------------------------------------------------- standard output

// Plain bytes to standard output (buffered; StdOutFlush pushes them out).
// Both return false once a write has failed (a pipe whose reader is gone, a
// full disk); everything after that is dropped.
bool StdOutWrite(const char* data, std::size_t length);
bool StdOutFlush();
// A line for whoever started the program, on standard error, at once.
void StdErrWrite(const char* data, std::size_t length);

}  // namespace Plat
