#include "Engine/CommandLine/PresetLayouts.h"

#include <string_view>

#include "Engine/Listing/ColumnTable.h"

namespace {

struct LayoutKinds {
  PresetLayout Layout;
  std::string_view Kinds;
};

constexpr LayoutKinds Layouts[] = {
    {PresetLayout::SizeAndName, "sn"}, {PresetLayout::Name, "n"},
    {PresetLayout::Verbose, "stafn"},  {PresetLayout::AliasFirst, "fsn"},
    {PresetLayout::LongList, "tsn"},   {PresetLayout::Descriptions, "sfd"},
};

}  // namespace

void SetPresetLayout(OptionsRec& options, PresetLayout layout) {
  for (const LayoutKinds& row : Layouts) {
    if (row.Layout != layout) continue;
    int slot = 0;
    for (const char kind : row.Kinds)
      options.Columns[static_cast<std::size_t>(++slot)] = {kind, ColumnKindOf(kind).FormatWidth};
    options.ColumnCount = static_cast<std::uint8_t>(slot);
  }
}
