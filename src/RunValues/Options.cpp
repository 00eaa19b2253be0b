#include "RunValues/Options.h"

void SetColumns(OptionsRec& options, std::initializer_list<ColumnSpec> columns) {
  int slot = 0;
  for (const ColumnSpec& column : columns) options.Columns[++slot] = column;
  options.ColumnCount = static_cast<std::uint8_t>(slot);
}
