#include "Common/RunEnd.h"

#include "Platform/Console.h"

EndOfRunAction RunEndAction = nullptr;

void EndProgram(ExitCode code) { throw ProgramEnded{static_cast<int>(code)}; }

void FinishRun() {
  EndOfRunAction action = RunEndAction;
  RunEndAction = nullptr;
  if (action) action();
}

int EndRun(int exitCode) {
  try {
    FinishRun();
  } catch (const ProgramEnded&) {
  }
  // Output that could not all be written is no run that did its job.
  if (!Plat::StdOutFlush() && exitCode == static_cast<int>(ExitCode::Done))
    return static_cast<int>(ExitCode::Failed);
  return exitCode;
}
