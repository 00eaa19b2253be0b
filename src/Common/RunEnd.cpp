#include "Common/RunEnd.h"

EndOfRunAction RunEndAction = nullptr;

void EndProgram() { throw ProgramEnded{0}; }

void FinishRun() {
  EndOfRunAction action = RunEndAction;
  RunEndAction = nullptr;
  if (action) action();
}
