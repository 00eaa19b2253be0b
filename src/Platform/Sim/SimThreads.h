// The simulated machine's processor count, which decides whether a walk reads
// ahead on worker threads, the pace of its find calls, its clock, and thread
// starts that fail.
#pragma once

#include <functional>
#include <string>

namespace Sim {
// 1 (the default) means no worker threads.
void SetProcessorCount(unsigned count);
// Each find call first sleeps a random time up to this many microseconds
// (0, the default: none), so that reads on workers finish in any order.
void SetFindDelay(unsigned maxMicroseconds);
// Find-first calls this thread has made so far: tells whose thread read.
unsigned SearchesStartedOnThisThread();
// Called with the pattern on the searching thread before every find-first
// (none: nothing), so that a test can hold a thread there until another has searched.
void SetSearchGate(std::function<void(const std::string& pattern)> gate);
// Moves the tick clock on, as if that much time had passed.
void AdvanceTicks(unsigned milliseconds);
// Holds the tick clock still (true), so that only AdvanceTicks moves it and a
// wait of a while on a monitor passes that while at once; false lets it run.
void HoldTicks(bool held);
// After startsBefore more thread starts succeed, the next one fails: the
// system refuses it, or (throws) the allocation for it throws std::bad_alloc.
// A negative count: no start fails.
void FailThreadStart(int startsBefore, bool throws);
}  // namespace Sim
