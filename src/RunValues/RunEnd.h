// The single way the program ends from deep inside: EndProgram() unwinds to
// the driver, whose EndRun() finishes the output and returns the exit code. Tests
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

[[noreturn]] void EndProgram(ExitCode code = ExitCode::Done);
// Whether an exit code says the run did its job (0, or 1: nothing matched).
bool JobDone(int exitCode);
// The last step of every end of a run, after the driver has settled the
// files the run writes: the output flushed; returns the exit code (output
// not all written turns a run that did its job into a failed one).
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
