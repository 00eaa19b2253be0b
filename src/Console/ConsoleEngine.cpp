// Engine state and set-up: finds out whether output is a console or plain
// text, sizes the line buffer, and writes raw rows for the prompt and clear screen.
#include <algorithm>
#include <vector>

#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Platform/CodePages.h"

ConsoleEngineState ConsoleEngine;

namespace {

constexpr int RedirectedRows = 101;  // MaxRow 100: nothing pages or scrolls in plain text
constexpr int FallbackRedirectWidth = 80;
// No console line is wider than a 16-bit coordinate reaches; a /K beyond that
// would only ask for gigabytes of line buffer.
constexpr int MaxRedirectWidth = 32767;

void ReportInvalidOutputHandle() {
  static const char message[] = "ERROR: Invalid Handle Value\r\n";
  Plat::StdOutWrite(message, sizeof message - 1);
  Plat::StdOutFlush();
  EndProgram(ExitCode::Failed);
}

bool OutputIsConsole() {
  ConsoleEngineState& engine = ConsoleEngine;
  if (engine.ForceRedirect) return false;
  if (!Plat::ConsoleScreenInfo(engine.OutputHandle, engine.ScreenInfo)) return false;
  return engine.ScreenInfo.Columns > 0 && engine.ScreenInfo.Rows > 0;
}

void SetUpRedirected() {
  ConsoleEngineState& engine = ConsoleEngine;
  int width = Options.RedirectWidth > 0 ? Options.RedirectWidth : FallbackRedirectWidth;
  width = std::min(width, MaxRedirectWidth);
  engine.Redirected = true;
  // Plain text goes in the code page of the console the program belongs to,
  // unless whoever started the program asked for another.
  const std::uint32_t requested = Plat::RequestedPlainCodePage();
  const std::uint32_t consolePage = Plat::ConsoleOutputCodePage();
  engine.OutputCodePage = requested != 0     ? requested
                          : consolePage != 0 ? consolePage
                                             : Plat::OemCodePage();
  ForgetConvertedChars();
  engine.NamesForPrograms = Options.Bare && !Options.ShowHelp &&
                            engine.OutputCodePage == Plat::Utf8CodePage &&
                            requested == Plat::Utf8CodePage;
  if (requested == Plat::Utf8CodePage) engine.BareNames = Plat::RequestedBareNames();
  engine.MaxCol = width - 1;
  engine.MaxRow = RedirectedRows - 1;
  engine.NonStop = true;
}

void SetUpConsole() {
  ConsoleEngineState& engine = ConsoleEngine;
  engine.Redirected = false;
  engine.MaxCol = engine.ScreenInfo.Columns - 1;
  engine.MaxRow = engine.ScreenInfo.Rows - 1;
  engine.CurrentRow = engine.ScreenInfo.CursorRow;
}

}  // namespace

void InitialiseOutput() {
  ConsoleEngineState& engine = ConsoleEngine;
  engine.OutputHandle = Plat::StdHandle(Plat::StdStream::Output);
  if (engine.OutputHandle == Plat::InvalidHandle) ReportInvalidOutputHandle();
  engine.InputHandle = Plat::StdHandle(Plat::StdStream::Input);
  Plat::ConsoleSetControlHandler(ConsoleControlEvent);
  if (engine.InputHandle != Plat::InvalidHandle) Plat::ConsoleSetProcessedInput(engine.InputHandle);

  if (OutputIsConsole())
    SetUpConsole();
  else
    SetUpRedirected();
  // Same size on every re-initialisation, so the buffer keeps its first allocation.
  engine.LineBuffer.assign(static_cast<std::size_t>(engine.MaxCol + 1), EmptyCell);
  engine.PlainBytes.clear();
  if (engine.Redirected) ClearPlainLine();
  engine.LineUsed = 0;
  engine.PageLines = 1;
  engine.PenColumn = 1;
  engine.Initialised = true;

  // Reported only now: the message needs the engine that has just been set up.
  if (engine.InputHandle == Plat::InvalidHandle)
    FatalError("ERROR: Invalid Handle Value [MoreFiles]", false);
}

void ForceRedirected() {
  ConsoleEngine.ForceRedirect = true;
  ConsoleEngine.Redirected = true;
  if (ConsoleEngine.Initialised) ClearPlainLine();
}


void ResetConsoleEngine() { ConsoleEngine = ConsoleEngineState{}; }

// Only the cells written are cleared: the work follows the line, not the width.
void DiscardLine() {
  ConsoleEngineState& engine = ConsoleEngine;
  // A line grown for a whole text goes back to the screen width.
  engine.LineBuffer.resize(static_cast<std::size_t>(engine.MaxCol + 1), EmptyCell);
  if (engine.Redirected) {
    ClearPlainLine();  // marked cells are read only through their marks
  } else {
    const auto used = std::min(static_cast<std::size_t>(engine.LineUsed), engine.LineBuffer.size());
    std::fill(engine.LineBuffer.begin(),
              engine.LineBuffer.begin() + static_cast<std::ptrdiff_t>(used), EmptyCell);
  }
  engine.LineUsed = 0;
  engine.JoinedMarks.clear();
  ConsoleEngine.PenColumn = 1;
}

void WriteConsoleCells(const Plat::Cell* cells, int count, int row) {
  if (Plat::ConsoleWriteRow(ConsoleEngine.OutputHandle, cells, count, 0, row)) return;
  DiscardLine();
  FatalError("ERROR: WriteConsoleOutput [NewLine]", false);
}

void WriteBlankRow(int row, std::uint8_t attribute) {
  std::vector<Plat::Cell> blanks(static_cast<std::size_t>(ScreenWidth()),
                                 Plat::Cell{u' ', attribute});
  WriteConsoleCells(blanks.data(), ScreenWidth(), row);
}
