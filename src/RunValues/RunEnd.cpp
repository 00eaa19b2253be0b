#include "RunValues/RunEnd.h"

#include <atomic>

#include "Platform/Console.h"
#include "Platform/Threads.h"

namespace {
// Where the control event's thread meets the run's: it arrives on a thread of
// the console's making, which nothing can hand an object, so this one door
// holds all the two threads share.
struct ControlDoor {
  std::atomic<bool> EndAsked{false};        // a control event asked for the end
  std::atomic<bool> KeyReadUnderWay{false};  // the run's thread waits for a key
  Plat::Monitor Monitor;                     // the control thread waits here for the end
  bool RunOver = false;                      // under Monitor
};

// At namespace scope, not in a function: every line looks at it.
ControlDoor TheDoor;

ControlDoor& Door() { return TheDoor; }
}  // namespace

void EndProgram(ExitCode code) { throw ProgramEnded{static_cast<int>(code)}; }

bool JobDone(int exitCode) {
  return exitCode == static_cast<int>(ExitCode::Done) ||
         exitCode == static_cast<int>(ExitCode::NothingFound);
}

int EndRun(int exitCode) {
  // Output that could not all be written is no run that did its job.
  if (!Plat::StdOutFlush() && exitCode == static_cast<int>(ExitCode::Done))
    exitCode = static_cast<int>(ExitCode::Failed);
  ControlDoor& door = Door();
  Plat::MonitorLock hold(door.Monitor);
  door.RunOver = true;
  door.Monitor.WakeAll();
  return exitCode;
}

void AskForControlEnd() { Door().EndAsked.store(true); }
bool TakeControlEnd() { return Door().EndAsked.exchange(false); }
bool ControlEndPending() { return Door().EndAsked.load(); }

void MarkKeyRead(bool underWay) { Door().KeyReadUnderWay.store(underWay); }
bool KeyReadUnderWay() { return Door().KeyReadUnderWay.load(); }

bool AwaitRunEnd(unsigned milliseconds) {
  ControlDoor& door = Door();
  Plat::MonitorLock hold(door.Monitor);
  const std::uint64_t deadline = Plat::TickMilliseconds() + milliseconds;
  while (!door.RunOver) {
    const std::uint64_t now = Plat::TickMilliseconds();
    if (now >= deadline) return false;
    door.Monitor.WaitFor(static_cast<unsigned>(deadline - now));
  }
  return true;
}

void ResetRunEnd() {
  ControlDoor& door = Door();
  door.EndAsked.store(false);
  door.KeyReadUnderWay.store(false);
  Plat::MonitorLock hold(door.Monitor);
  door.RunOver = false;
}
