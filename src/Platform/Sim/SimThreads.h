// The simulated machine's processor count, which decides whether a walk reads
// ahead on worker threads.
#pragma once

namespace Sim {
// 1 (the default) means no worker threads.
void SetProcessorCount(unsigned count);
}  // namespace Sim
