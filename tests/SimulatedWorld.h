// One reset for every simulated run (the unit tests, the fuzz driver and the
// benchmark): an empty simulated machine with one processor, and the run's
// values and console engine as they are before start-up. Tests set the run's
// values up as start-up does: this is the one place they take its writers.
#pragma once

#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Engine/CommandLine/PresetLayouts.h"
#include "Platform/Sim/SimPlatform.h"

// The run's values as start-up begins them: the default layout in place.
inline void ResetRunValues() {
  ResetSharedState();
  SetPresetLayout(StartupOptions(), PresetLayout::SizeAndName);
}

inline void ResetWorld() {
  Sim::Reset();
  ResetRunValues();
  ResetConsoleEngine();
}

// The same, back to the machine kept by Sim::SaveWorld() rather than an empty one.
inline void RestoreSavedWorld() {
  Sim::RestoreWorld();
  ResetSharedState();
  ResetConsoleEngine();
}
