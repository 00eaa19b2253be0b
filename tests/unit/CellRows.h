// Whole-row expectations for the simulated console: a row's attributes as runs.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "Platform/Sim/SimPlatform.h"

// The attributes of every cell of a console row.
inline std::vector<std::uint16_t> RowAttributes(int row) {
  std::vector<std::uint16_t> attributes;
  for (int column = 0; column < Sim::Console().Columns; ++column)
    attributes.push_back(Sim::CellAt(column, row).Attr);
  return attributes;
}

// Runs of (count, attribute), the rest of the row up to width filled with rest.
inline std::vector<std::uint16_t> AttributeRuns(
    std::initializer_list<std::pair<int, std::uint16_t>> runs, int width, std::uint16_t rest = 0) {
  std::vector<std::uint16_t> attributes;
  for (const auto& [count, attribute] : runs) attributes.insert(attributes.end(), count, attribute);
  attributes.resize(static_cast<std::size_t>(width), rest);
  return attributes;
}
