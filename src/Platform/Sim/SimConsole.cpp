// Simulated platform: the console screen buffer, keyboard queue and control
// handler.
#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "Platform/Sim/SimWorld.h"
#include "Base/Utf8.h"

using namespace Sim::Detail;

namespace {

constexpr std::uint32_t ErrorInvalidHandle = 6;
constexpr std::uint32_t ErrorInvalidParameter = 87;
constexpr std::uint32_t ErrorReadFault = 30;

// The thread the console runs the control handler on.
std::thread& ControlThread() {
  static std::thread thread;
  return thread;
}

bool IsScreen(Plat::Handle handle) { return handle == OutputHandle && !TheWorld().Redirected; }

bool Inside(int column, int row) {
  const Sim::ConsoleState& console = TheWorld().Console;
  return column >= 0 && column < console.Columns && row >= 0 && row < console.Rows;
}

Plat::Cell& CellRef(int column, int row) {
  Sim::ConsoleState& console = TheWorld().Console;
  return console.Cells[static_cast<std::size_t>(row) * console.Columns + column];
}

// The cursor moves down a row. On the bottom row it stays: the tests read the
// rows as the program left them, so text to standard output does not scroll.
void CursorDown() {
  Sim::ConsoleState& console = TheWorld().Console;
  console.CursorRow = std::min(console.CursorRow + 1, console.Rows - 1);
}

}  // namespace

void Sim::Detail::EchoToConsole(const char* data, std::size_t length) {
  Sim::ConsoleState& console = TheWorld().Console;
  for (std::size_t i = 0; i < length; ++i) {
    if (data[i] == '\r') {
      console.CursorColumn = 0;
    } else if (data[i] == '\n') {
      CursorDown();
    } else {
      if (Inside(console.CursorColumn, console.CursorRow))
        CellRef(console.CursorColumn, console.CursorRow) = Plat::Cell{
            static_cast<char16_t>(static_cast<unsigned char>(data[i])), console.Attribute};
      if (++console.CursorColumn == console.Columns) {
        console.CursorColumn = 0;
        CursorDown();
      }
    }
  }
}

// ================================================================ control API

namespace Sim {

void SetConsole(int columns, int rows, int cursorRow) {
  World& world = TheWorld();
  ConsoleState& console = world.Console;
  console.Columns = columns;
  console.Rows = rows;
  console.Cells.assign(static_cast<std::size_t>(columns) * rows, Plat::Cell());
  console.CursorColumn = 0;
  console.CursorRow = cursorRow;
  world.Redirected = false;
}

void SetRedirected() { TheWorld().Redirected = true; }

void SetOutputFile(const std::string& path, bool named) {
  SetRedirected();
  TheWorld().OutputFile = path;
  TheWorld().OutputFileUnnamed = !named;
  ShowInDirectory(path, 0);
}

void PushKeys(const std::string& keys) {
  auto& queue = TheWorld().Keys;
  queue.insert(queue.end(), keys.begin(), keys.end());
}

void FailNextConsoleWrite() { TheWorld().FailNextWrite = true; }
void FailKeyRead() { TheWorld().FailKeys = true; }
void ControlEventAtKeyRead() { TheWorld().ControlEventAtKeyRead = true; }
void KeepScreensAtKeyReads(bool keep) { TheWorld().KeepKeyReadScreens = keep; }
const std::vector<std::vector<Plat::Cell>>& ScreensAtKeyReads() {
  return TheWorld().KeyReadScreens;
}

const ConsoleState& Console() { return TheWorld().Console; }

std::string RowText(int row) {
  const ConsoleState& console = TheWorld().Console;
  if (row < 0 || row >= console.Rows) return std::string();
  std::u16string text;
  for (int column = 0; column < console.Columns; ++column) {
    const char16_t c = CellRef(column, row).Char;
    // The second cell of a wide character shows nothing of its own.
    if (c != u'\u200B') text += c == 0 ? u' ' : c;
  }
  return Utf8::FromUtf16(text);
}

std::string RowTrimmed(int row) {
  std::string text = RowText(row);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

const Plat::Cell& CellAt(int column, int row) {
  static const Plat::Cell outside;
  return Inside(column, row) ? CellRef(column, row) : outside;
}

void FireControlEvent() {
  JoinControlEvent();
  Plat::ControlHandler handler = nullptr;
  {
    const auto lock = LockWorld();
    handler = TheWorld().Handler;
  }
  if (handler == nullptr) return;
  Detail::ExpectControlRequest();
  ControlThread() = std::thread([handler] {
    Detail::MarkControlThread();
    try {
      handler();
    } catch (const ProcessExited& exited) {
      const auto lock = LockWorld();
      TheWorld().ControlThreadExitCode = exited.ExitCode;
    }
    Detail::NoteControlRequest();
  });
  Detail::AwaitControlRequest();
}

void JoinControlEvent() {
  if (ControlThread().joinable()) ControlThread().join();
}

std::size_t ConsoleWriterThreads() {
  const auto lock = LockWorld();
  return TheWorld().ConsoleWriters.size();
}

int ControlThreadExitCode() {
  const auto lock = LockWorld();
  return TheWorld().ControlThreadExitCode;
}

}  // namespace Sim

// ================================================================ platform calls

namespace {
// Every write to the screen or standard output notes its thread.
void NoteWriter() {
  auto& writers = TheWorld().ConsoleWriters;
  const std::thread::id self = std::this_thread::get_id();
  if (std::find(writers.begin(), writers.end(), self) == writers.end()) writers.push_back(self);
}

// A key read that a control event interrupts waits until the handler, on its
// own thread, wakes it (at most ten seconds: a handler that never does fails the test).
void AwaitKeyReadWake() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      const auto lock = LockWorld();
      if (TheWorld().KeyReadWoken) return;
    }
    std::this_thread::yield();
  }
}
}  // namespace

namespace Plat {

Handle StdHandle(StdStream which) { return which == StdStream::Input ? InputHandle : OutputHandle; }

bool ConsoleScreenInfo(Handle output, ScreenInfo& info) {
  const auto lock = LockWorld();
  if (!IsScreen(output)) return Fail(ErrorInvalidHandle);
  const Sim::ConsoleState& console = TheWorld().Console;
  info.Columns = console.Columns;
  info.Rows = console.Rows;
  info.CursorColumn = console.CursorColumn;
  info.CursorRow = console.CursorRow;
  info.Attributes = console.Attribute;
  return true;
}

bool ConsoleWriteRow(Handle output, const Cell* cells, int count, int column, int row) {
  const auto lock = LockWorld();
  NoteWriter();
  World& world = TheWorld();
  if (world.FailNextWrite) {
    world.FailNextWrite = false;
    return Fail(ErrorInvalidHandle);
  }
  if (!IsScreen(output)) return Fail(ErrorInvalidHandle);
  for (int i = 0; i < count; ++i)
    if (Inside(column + i, row)) CellRef(column + i, row) = cells[i];
  ++world.Console.RowWrites;
  return true;
}

bool ConsoleReadRow(Handle output, Cell* cells, int count, int row) {
  if (!IsScreen(output)) return Fail(ErrorInvalidHandle);
  for (int i = 0; i < count; ++i) cells[i] = Inside(i, row) ? CellRef(i, row) : Cell{};
  return true;
}

// As the Win32 call with the whole buffer as clipping rectangle: the source is
// clipped to the buffer, copied, its cells filled, and the copy written at the
// destination (clipped again).
bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow,
                   Cell fill) {
  const auto lock = LockWorld();
  NoteWriter();
  if (!IsScreen(output)) return Fail(ErrorInvalidHandle);
  Sim::ConsoleState& console = TheWorld().Console;
  const int clippedTop = std::max(top, 0);
  const int clippedLeft = std::max(left, 0);
  const int clippedBottom = std::min(bottom, console.Rows - 1);
  const int clippedRight = std::min(right, console.Columns - 1);
  if (clippedTop > clippedBottom || clippedLeft > clippedRight) return Fail(ErrorInvalidParameter);
  const int destTop = destRow + (clippedTop - top);
  const int destLeft = left + (clippedLeft - left);

  // Row by row: the source is taken and filled, then laid down clipped.
  const int width = clippedRight - clippedLeft + 1;
  const int height = clippedBottom - clippedTop + 1;
  const auto at = [&console](int row, int column) {
    return console.Cells.begin() + static_cast<std::ptrdiff_t>(row) * console.Columns + column;
  };
  std::vector<Cell>& copy = TheWorld().ScrollCopy;
  copy.resize(std::max(copy.size(), static_cast<std::size_t>(width) * height));
  for (int i = 0; i < height; ++i) {
    const auto source = at(clippedTop + i, clippedLeft);
    std::copy(source, source + width, copy.begin() + static_cast<std::ptrdiff_t>(i) * width);
    std::fill(source, source + width, fill);
  }
  const int firstColumn = std::max(destLeft, 0);
  const int lastColumn = std::min(destLeft + width - 1, console.Columns - 1);
  for (int i = 0; i < height && firstColumn <= lastColumn; ++i) {
    const int row = destTop + i;
    if (row < 0 || row >= console.Rows) continue;
    const auto from =
        copy.begin() + static_cast<std::ptrdiff_t>(i) * width + (firstColumn - destLeft);
    std::copy(from, from + (lastColumn - firstColumn + 1), at(row, firstColumn));
  }
  ++console.Scrolls;
  return true;
}

bool ConsoleSetCursor(Handle output, int column, int row) {
  const auto lock = LockWorld();
  NoteWriter();
  if (!IsScreen(output) || !Inside(column, row)) return Fail(ErrorInvalidParameter);
  Sim::ConsoleState& console = TheWorld().Console;
  console.CursorColumn = column;
  console.CursorRow = row;
  return true;
}

bool ConsoleSetAttribute(Handle output, std::uint16_t attribute) {
  const auto lock = LockWorld();
  NoteWriter();
  if (!IsScreen(output)) return Fail(ErrorInvalidHandle);
  TheWorld().Console.Attribute = attribute;
  return true;
}

bool ConsoleSetProcessedInput(Handle input) {
  const auto lock = LockWorld();
  if (input != InputHandle) return Fail(ErrorInvalidHandle);
  TheWorld().Console.ProcessedInput = true;
  return true;
}

bool ConsoleReadKey(Handle input, char& key) {
  bool controlEvent = false;
  {
    const auto lock = LockWorld();
    World& world = TheWorld();
    if (world.KeepKeyReadScreens) world.KeyReadScreens.push_back(world.Console.Cells);
    controlEvent = std::exchange(world.ControlEventAtKeyRead, false);
  }
  if (controlEvent) {
    Sim::FireControlEvent();
    AwaitKeyReadWake();
  }
  const auto lock = LockWorld();
  World& world = TheWorld();
  if (input != InputHandle || world.FailKeys || world.Keys.empty()) return Fail(ErrorReadFault);
  key = world.Keys.front();
  world.Keys.pop_front();
  return true;
}

bool ConsoleWakeKeyRead() {
  const auto lock = LockWorld();
  TheWorld().Keys.push_back('\r');
  TheWorld().KeyReadWoken = true;
  return true;
}

void ConsoleDiscardKeys(Handle input) {
  const auto lock = LockWorld();
  if (input == InputHandle) TheWorld().Keys.clear();
}

bool ConsoleSetControlHandler(ControlHandler handler) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  world.Handler = handler;
  world.Console.ControlHandlerSet = handler != nullptr;
  return true;
}

}  // namespace Plat
