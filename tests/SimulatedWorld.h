// One reset for every simulated run (the unit tests, the fuzz driver and the
// benchmark): an empty simulated machine with one processor, and the run's
// values and console engine as they are before start-up.
#pragma once

#include "Common/State.h"
#include "Console/Console.h"
#include "Platform/Sim/SimPlatform.h"

inline void ResetWorld() {
  Sim::Reset();
  ResetSharedState();
  ResetConsoleEngine();
}
