// The simulated machine's processor count, which decides whether a walk reads
// ahead on worker threads, the pace of its find calls, its clock, and thread
// starts that fail.
#pragma once

namespace Sim {
// 1 (the default) means no worker threads.
void SetProcessorCount(unsigned count);
// Each find call first sleeps a random time up to this many microseconds
// (0, the default: none), so that reads on workers finish in any order.
void SetFindDelay(unsigned maxMicroseconds);
// Find-first calls this thread has made so far: tells whose thread read.
unsigned SearchesStartedOnThisThread();
// Moves the tick clock on, as if that much time had passed.
void AdvanceTicks(unsigned milliseconds);
// After startsBefore more thread starts succeed, the next one fails: the
// system refuses it, or (throws) the allocation for it throws std::bad_alloc.
// A negative count: no start fails.
void FailThreadStart(int startsBefore, bool throws);
}  // namespace Sim
