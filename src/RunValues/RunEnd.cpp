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

bool FinishRun(int exitCode) {
  EndOfRunAction action = RunEndAction;
  RunEndAction = nullptr;
  return !action || action(exitCode);
}

int EndRun(int exitCode) {
  const bool jobDone = exitCode == static_cast<int>(ExitCode::Done) ||
                       exitCode == static_cast<int>(ExitCode::NothingFound);
  try {
    if (!FinishRun(exitCode) && jobDone) exitCode = static_cast<int>(ExitCode::Failed);
  } catch (const ProgramEnded&) {
    if (jobDone) exitCode = static_cast<int>(ExitCode::Failed);
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
