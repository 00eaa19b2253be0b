// Every end of output: the orderly finish, the fatal-error report (with its
// "Path: " line, which passed-over directories share, and the report that the
// configuration program could not start), and the console control event.
#include <algorithm>

#include "RunValues/Options.h"
#include "RunValues/Colours.h"
#include "RunValues/RunEnd.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Platform/System.h"

namespace {

constexpr std::uint16_t PlainAttribute = 7;

void RestoreAttribute() {
  if (!Plat::ConsoleSetAttribute(ConsoleEngine.OutputHandle, PlainAttribute))
    FatalError("ERROR: FWriteFinish [TextAttr]", false);
}

}  // namespace

void FWriteFinish() {
  ConsoleEngineState& engine = ConsoleEngine;
  if (!engine.Initialised || engine.Redirected) {
    FlushPlainOutput();
    ReportNamesLeftOut();
    return;
  }
  // The cursor goes to the start of the last line written (the top row when
  // none was) and a line end takes it below: writing any character on that
  // line would overwrite what the listing put there.
  int row = std::max(engine.CurrentRow - 1, 0);
  if (!Plat::ConsoleSetCursor(engine.OutputHandle, 0, row))
    FatalError("ERROR: FWriteFinish [CursorPosition]", false);
  RestoreAttribute();
  WritePlainOutput("\r\n", 2);
  FlushPlainOutput();
}

void FatalError(const std::string& message, bool showPath, ExitCode code) {
  ConsoleEngineState& engine = ConsoleEngine;
  if (engine.TriedFatal) {
    *engine.TriedFatal = message;
    EndProgram(code);
  }
  // A failure while reporting (say the console refusing every write) ends at once.
  if (engine.ReportingFatal) EndProgram(ExitCode::Failed);
  EnsureOutput();
  engine.ReportingFatal = true;
  // A line half composed is shown first, so the report starts on a line of its own.
  if (engine.PenColumn > 1) NewLine();
  if (showPath && !engine.ReportPath.empty()) WritePathLine(engine.ReportPath);
  WriteAt(message, 1, Looks.Colours.HeadingColour);
  NewLine();
  FWriteFinish();
  EndProgram(code);
}

void WritePathLine(std::string_view path) {
  WriteAt("Path: ", 1, Looks.Colours.HeadingColour);
  // At column 7 a text keeps at most W - 7 cells: a longer path keeps one
  // cell less and the marker.
  const int room = ScreenWidth() - 7;
  if (TextCells(path) <= room) {
    WriteAt(path, 7, Looks.Colours.HeadingValueColour);
  } else {
    std::string cut(CellPrefix(path, std::max(room - 1, 0)));
    WriteAt(cut.append(Glyph::CutMarker), 7, Looks.Colours.HeadingValueColour);
  }
  NewLine();
}

void ConfigurationProgramNotStarted(const std::string& path, std::uint32_t code) {
  // The message names the file; the next line says where it was looked for.
  std::string reason = Plat::SystemErrorText(code, path.substr(path.find_last_of("\\:/") + 1));
  if (reason.empty()) reason = "Error " + std::to_string(code);
  WriteLine("OConfig could not be started: " + reason + ".", 1, Looks.Colours.HeadingColour);
  FatalError("It was looked for as " + path, false);
}

void EndIfControlEvent() {
  if (!TakeControlEnd()) return;
  ConsoleEngineState& engine = ConsoleEngine;
  // The key that woke a read, and any typed ahead, do not reach the next program.
  if (engine.InputHandle != Plat::InvalidHandle) Plat::ConsoleDiscardKeys(engine.InputHandle);
  // A prompt waiting for a key is not left behind on the screen.
  if (engine.PromptShowing && !engine.Redirected) {
    engine.PromptShowing = false;
    WriteBlankRow(engine.MaxRow, PlainAttribute);
  }
  DiscardLine();
  FWriteFinish();
  // A batch file cut short is no job done: the run does not report success.
  EndProgram(Options.BatchMode ? ExitCode::Failed : ExitCode::Done);
}

// The console calls this on a thread of its own, which writes nothing: it asks
// the run's thread to end the run, wakes it from a key read, and waits. A run
// stuck in a read of a drive that does not answer is ended here after a while,
// without another write.
void ConsoleControlEvent() {
  constexpr unsigned EndWaitMilliseconds = 5000;
  AskForControlEnd();
  if (WaitingForKey()) Plat::ConsoleWakeKeyRead();
  if (!AwaitRunEnd(EndWaitMilliseconds)) Plat::ExitProcess(Options.BatchMode ? 3 : 0);
}
