#include "Common/Options.h"

namespace {
OptionsRec SettledOptions;
}

const OptionsRec& Options = SettledOptions;

OptionsRec& StartupOptions() { return SettledOptions; }

void SetColumns(std::initializer_list<ColumnSpec> columns) {
  int slot = 0;
  for (const ColumnSpec& column : columns) SettledOptions.Columns[++slot] = column;
  SettledOptions.ColumnCount = static_cast<std::uint8_t>(slot);
}
