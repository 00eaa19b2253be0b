// One reset for every simulated run (the unit tests, the fuzz driver and the
// benchmark): an empty simulated machine with one processor, and the run's
// values and console engine as they are before start-up. Tests set the run's
// values up as start-up does: this is the one place they take its writers.
#pragma once

#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Platform/Sim/SimPlatform.h"

inline void ResetWorld() {
  Sim::Reset();
  ResetSharedState();
  ResetConsoleEngine();
}

// The same, back to the machine kept by Sim::SaveWorld() rather than an empty one.
inline void RestoreSavedWorld() {
  Sim::RestoreWorld();
  ResetSharedState();
  ResetConsoleEngine();
}
