// The display formats that switches and start-up choose by name. A layout is
// its column kinds in order; each column's width is the one the column table
// gives its kind, as /M would.
#pragma once

#include "RunValues/Options.h"

enum class PresetLayout {
  SizeAndName,   // the default, /-W, /-X and /-Z
  Name,          // /W and /B
  Verbose,       // /V: size, stamp, attributes, alias, name
  AliasFirst,    // /X: alias, size, name
  LongList,      // /L: stamp, size, name
  Descriptions,  // /Z without a chosen format: size, alias, description
};

void SetPresetLayout(OptionsRec& options, PresetLayout layout);
