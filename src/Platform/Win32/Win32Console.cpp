// The console screen buffer, keys and the control handler, and buffered
// standard output.
#include <algorithm>

#include "Base/ByteWords.h"
#include "Platform/Console.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

Handle StdHandle(StdStream which) {
  return FromHandle(GetStdHandle(which == StdStream::Input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE));
}

namespace {
// Wine's console on a terminal starts at the top row, whatever the terminal
// shows there: the Linux wrapper names the first free row in ORVL_START_ROW
// when it keeps a line of its own above the listing.
int StartRowAsked() {
  char text[4];
  const DWORD length = GetEnvironmentVariableA("ORVL_START_ROW", text, sizeof text);
  return length == 1 && text[0] >= '0' && text[0] <= '9' ? text[0] - '0' : 0;
}
}  // namespace

bool ConsoleScreenInfo(Handle output, ScreenInfo& info) {
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (!GetConsoleScreenBufferInfo(AsHandle(output), &screen)) return false;
  info.Columns = screen.dwSize.X;
  info.Rows = screen.dwSize.Y;
  info.CursorColumn = screen.dwCursorPosition.X;
  info.CursorRow = std::max<int>(screen.dwCursorPosition.Y,
                                 std::min(StartRowAsked(), screen.dwSize.Y - 1));
  info.Attributes = screen.wAttributes;
  return true;
}

static_assert(sizeof(Cell) == sizeof(CHAR_INFO), "a cell has the layout of CHAR_INFO");

bool ConsoleWriteRow(Handle output, const Cell* cells, int count, int column, int row) {
  const COORD size = {static_cast<SHORT>(count), 1};
  const COORD origin = {0, 0};
  SMALL_RECT region = {static_cast<SHORT>(column), static_cast<SHORT>(row),
                       static_cast<SHORT>(column + count - 1), static_cast<SHORT>(row)};
  return WriteConsoleOutputW(AsHandle(output), reinterpret_cast<const CHAR_INFO*>(cells), size,
                             origin, &region);
}

bool ConsoleReadRow(Handle output, Cell* cells, int count, int row) {
  const COORD size = {static_cast<SHORT>(count), 1};
  const COORD origin = {0, 0};
  SMALL_RECT region = {0, static_cast<SHORT>(row), static_cast<SHORT>(count - 1),
                       static_cast<SHORT>(row)};
  return ReadConsoleOutputW(AsHandle(output), reinterpret_cast<CHAR_INFO*>(cells), size, origin,
                            &region);
}

bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow,
                   Cell fill) {
  const SMALL_RECT source = {static_cast<SHORT>(left), static_cast<SHORT>(top),
                             static_cast<SHORT>(right), static_cast<SHORT>(bottom)};
  const COORD destination = {static_cast<SHORT>(left), static_cast<SHORT>(destRow)};
  CHAR_INFO filler;
  filler.Char.UnicodeChar = static_cast<wchar_t>(fill.Char);
  filler.Attributes = fill.Attr;
  return ScrollConsoleScreenBufferW(AsHandle(output), &source, nullptr, destination, &filler);
}

bool ConsoleSetCursor(Handle output, int column, int row) {
  return SetConsoleCursorPosition(AsHandle(output),
                                  {static_cast<SHORT>(column), static_cast<SHORT>(row)});
}

bool ConsoleSetAttribute(Handle output, std::uint16_t attribute) {
  return SetConsoleTextAttribute(AsHandle(output), attribute);
}

bool ConsoleSetProcessedInput(Handle input) {
  return SetConsoleMode(AsHandle(input), ENABLE_PROCESSED_INPUT);
}

bool ConsoleReadKey(Handle input, char& key) {
  DWORD read = 0;
  return ReadConsoleA(AsHandle(input), &key, 1, &read, nullptr) && read == 1;
}

bool ConsoleWakeKeyRead() {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = TRUE;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
  record.Event.KeyEvent.uChar.UnicodeChar = L'\r';
  DWORD written = 0;
  return WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), &record, 1, &written) && written == 1;
}

void ConsoleDiscardKeys(Handle input) { FlushConsoleInputBuffer(AsHandle(input)); }

namespace {

ControlHandler InstalledHandler = nullptr;

// The console calls this on a thread of its own for Ctrl+C, Ctrl+Break and
// the like.
BOOL WINAPI ControlTrampoline(DWORD) {
  if (InstalledHandler) InstalledHandler();
  return TRUE;
}

}  // namespace

bool ConsoleSetControlHandler(ControlHandler handler) {
  InstalledHandler = handler;
  return SetConsoleCtrlHandler(ControlTrampoline, TRUE);
}

// ---------------------------------------------------------------- standard output

namespace {

char OutputBuffer[64 * 1024];
std::size_t OutputUsed = 0;
bool OutputFailed = false;  // a write failed: the reader is gone or the file is full

void WriteStdOut(const char* data, std::size_t length) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  while (length > 0 && !OutputFailed) {
    DWORD written = 0;
    if (!WriteFile(output, data, static_cast<DWORD>(length), &written, nullptr) || written == 0)
      OutputFailed = true;
    data += written;
    length -= written;
  }
}

}  // namespace

bool StdOutWrite(const char* data, std::size_t length) {
  while (length > 0 && !OutputFailed) {
    if (OutputUsed == sizeof OutputBuffer) StdOutFlush();
    const std::size_t part = std::min(length, sizeof OutputBuffer - OutputUsed);
    CopyShort(OutputBuffer + OutputUsed, data, part);  // mostly one line
    OutputUsed += part;
    data += part;
    length -= part;
  }
  return !OutputFailed;
}

bool StdOutFlush() {
  WriteStdOut(OutputBuffer, OutputUsed);
  OutputUsed = 0;
  return !OutputFailed;
}

void StdErrWrite(const char* data, std::size_t length) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (error != INVALID_HANDLE_VALUE && error != nullptr)
    WriteFile(error, data, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace Plat
