// The writers of the settled values. Including this header declares a source
// file start-up code (command line, configuration, platform and preset checks,
// the programs' start-up, the tests' worlds); no header of the programs
// includes it, so a write from anywhere else does not compile.
#pragma once

#include <initializer_list>

#include "RunValues/SettledValues.h"

struct StartupWriters {
  static OptionsRec& Options() { return Settled.options_; }
  static RunSpecRec& RunSpec() { return Settled.runSpec_; }
  static LooksRec& Looks() { return Settled.looks_; }
};

inline OptionsRec& StartupOptions() { return StartupWriters::Options(); }
inline RunSpecRec& StartupRunSpec() { return StartupWriters::RunSpec(); }
inline LooksRec& StartupLooks() { return StartupWriters::Looks(); }

// Fills the settled options' columns from slot 1 and sets their count.
inline void SetColumns(std::initializer_list<ColumnSpec> columns) {
  SetColumns(StartupOptions(), columns);
}

// Puts every run value back as it is before start-up (for tests and the benchmark).
void ResetSharedState();
