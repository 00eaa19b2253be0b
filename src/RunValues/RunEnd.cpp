#include "RunValues/RunEnd.h"

#include <atomic>

#include "Platform/Console.h"
#include "Platform/Threads.h"

EndOfRunAction RunEndAction = nullptr;

namespace {
std::atomic<bool> ControlEndAsked{false};
// The control thread waits on this for the run's end.
Plat::Monitor& RunEndMonitor() {
  static Plat::Monitor monitor;
  return monitor;
}
bool RunOver = false;  // under RunEndMonitor
}  // namespace

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
    exitCode = static_cast<int>(ExitCode::Failed);
  Plat::MonitorLock hold(RunEndMonitor());
  RunOver = true;
  RunEndMonitor().WakeAll();
  return exitCode;
}

void AskForControlEnd() { ControlEndAsked.store(true); }
bool TakeControlEnd() { return ControlEndAsked.exchange(false); }
bool ControlEndPending() { return ControlEndAsked.load(); }

bool AwaitRunEnd(unsigned milliseconds) {
  Plat::MonitorLock hold(RunEndMonitor());
  const std::uint64_t deadline = Plat::TickMilliseconds() + milliseconds;
  while (!RunOver) {
    const std::uint64_t now = Plat::TickMilliseconds();
    if (now >= deadline) return false;
    RunEndMonitor().WaitFor(static_cast<unsigned>(deadline - now));
  }
  return true;
}

void ResetRunEnd() {
  ControlEndAsked.store(false);
  Plat::MonitorLock hold(RunEndMonitor());
  RunOver = false;
}
