#include "Common/Options.h"

OptionsRec Options;

void SetColumns(std::initializer_list<ColumnSpec> columns) {
  int slot = 0;
  for (const ColumnSpec& column : columns) Options.Columns[++slot] = column;
  Options.ColumnCount = static_cast<std::uint8_t>(slot);
}
