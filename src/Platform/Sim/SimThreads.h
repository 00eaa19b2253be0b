// The simulated machine's processor count, which decides whether a walk reads
// ahead on worker threads, and the pace of its find calls.
#pragma once

namespace Sim {
// 1 (the default) means no worker threads.
void SetProcessorCount(unsigned count);
// Each find call first sleeps a random time up to this many microseconds
// (0, the default: none), so that reads on workers finish in any order.
void SetFindDelay(unsigned maxMicroseconds);
// Find-first calls this thread has made so far: tells whose thread read.
unsigned SearchesStartedOnThisThread();
}  // namespace Sim
