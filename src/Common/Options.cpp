#include "Common/Options.h"

OptionsRec OptionsStorage::Settled;

void SetColumns(std::initializer_list<ColumnSpec> columns) {
  int slot = 0;
  for (const ColumnSpec& column : columns) OptionsStorage::Settled.Columns[++slot] = column;
  OptionsStorage::Settled.ColumnCount = static_cast<std::uint8_t>(slot);
}
