// The single way the program ends from deep inside: EndProgram() unwinds to
// the driver, whose EndRun() runs FinishRun() and returns the exit code. Tests
// catch ProgramEnded. A console control event (Ctrl+C, Ctrl+Break, the console
// closing), which arrives on a thread of the console's making, only asks for
// the end: the run's thread ends it the same way at its next line, key or
// directory, so that one thread alone ever writes.
#pragma once

// What the exit status tells a script about the run.
enum class ExitCode : int {
  Done = 0,          // the run did its job (a quit at the page prompt and /? too)
  NothingFound = 1,  // nothing matched the file specification
  Refused = 2,       // the command line was refused
  Failed = 3,        // the run ended by an error
};

struct ProgramEnded {
  int ExitCode = 0;
};

// Work every end of the run must do once, whichever way it ends (the driver
// installs the batch file's close here), told the exit code; false when the
// work a run that did its job leaves behind did not get done. Null when none.
using EndOfRunAction = bool (*)(int exitCode);
extern EndOfRunAction RunEndAction;  // run once by FinishRun, then cleared

[[noreturn]] void EndProgram(ExitCode code = ExitCode::Done);
// Runs the end-of-run action, at most once per run; false when it failed.
bool FinishRun(int exitCode);
// The last step of every end of a run, in the driver's catch and at its normal
// end: the end-of-run action, then the output flushed; returns the exit code
// (a failure of either turns a run that did its job into a failed one).
int EndRun(int exitCode);

// From the control event's thread: the run is to end.
void AskForControlEnd();
// On the run's thread: true, once, after AskForControlEnd.
bool TakeControlEnd();
bool ControlEndPending();
// On the run's thread: a key read begins (true) or has ended; the control
// event's thread wakes a read under way.
void MarkKeyRead(bool underWay);
bool KeyReadUnderWay();
// From the control event's thread: waits at most so long for EndRun; false
// when the run has not ended by then.
bool AwaitRunEnd(unsigned milliseconds);
// A new run (the tests run many in one process).
void ResetRunEnd();
