#include "Common/RunEnd.h"

#include "Platform/Console.h"

EndOfRunAction RunEndAction = nullptr;

void EndProgram() { throw ProgramEnded{0}; }

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
  Plat::StdOutFlush();
  return exitCode;
}
