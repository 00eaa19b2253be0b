// Listing columns: how many fit across the screen and how much room each
// leaves for the name.
#include "Engine/Listing/ListingLayout.h"

#include <algorithm>

#include "RunValues/Entries/DirectoryListing.h"
#include "Console/Console.h"
#include "Engine/Listing/ColumnTable.h"
#include "Format/NumberFormat.h"

namespace {

constexpr int MinNameRoom = 10;
constexpr int MaxColumnsAcross = 255;

// A time field left as "t" stands for the stamp chosen with /T.
char ResolvedKind(char kind) {
  return kind == 't' ? static_cast<char>('0' + Options.TimeKind) : kind;
}

// Byte counts take 11 characters; a directory holding a file of a gigabyte
// or more widens the field so that its figure is not overwritten by the
// next field.
int ByteSizeWidth(const DirectoryListing& listing) {
  std::int64_t largest = 0;
  for (const FileEntry* entry : listing.FileList)
    if (!entry->IsDirectory()) largest = std::max(largest, entry->Size);
  return std::max(11, static_cast<int>(ThousandsText(largest).size()));
}

int AdjustedWidth(const ListingLayoutRec& layout, const DirectoryListing& listing,
                  const ColumnKind& kind, int width) {
  switch (kind.Room) {
    case ColumnRoom::Size: return Options.SizesInBytes ? layout.ByteSizeWidth + 1 : width;
    case ColumnRoom::Stamp: return listing.TimeColumnWidth[kind.Stamp] + 1;
    default: return width;
  }
}

void CollectFields(ListingLayoutRec& layout, const DirectoryListing& listing,
                   DirectoryLayout directory) {
  const ColumnSlots& columns =
      directory.WithoutDescriptions ? Options.SavedColumns : Options.Columns;
  const int columnCount =
      directory.WithoutDescriptions ? Options.SavedColumnCount : Options.ColumnCount;
  layout.FieldCount = std::min<int>(columnCount, MaxColumnSlots);
  layout.FixedWidth = Options.HasNameColumn ? 1 : 0;
  layout.ByteSizeWidth = Options.SizesInBytes ? ByteSizeWidth(listing) : 11;
  for (int slot = 1; slot <= layout.FieldCount; ++slot) {
    const ColumnSpec& spec = columns[static_cast<std::size_t>(slot)];
    FieldPlan& field = layout.Fields[static_cast<std::size_t>(slot - 1)];
    field.Column = &ColumnKindOf(ResolvedKind(spec.Kind));
    field.Width = AdjustedWidth(layout, listing, *field.Column, spec.Width);
    layout.FixedWidth += field.Width;
  }
}

int WantedColumnWidth(ListingLayoutRec& layout, const DirectoryListing& listing) {
  layout.Squeezed = false;
  if (!Options.HasNameColumn) return layout.FixedWidth;
  int wanted = listing.MaxNameLength + layout.FixedWidth;
  if (wanted > layout.Width) {
    wanted = layout.Width;
    layout.Squeezed = true;
  }
  return wanted;
}

// Least room a name must keep in a listing column (nothing without a name).
int NameMinimum() { return Options.HasNameColumn ? MinNameRoom : 0; }

void CheckScreenWidth(const ListingLayoutRec& layout) {
  int needed = layout.FixedWidth + (Options.HasNameColumn ? MinNameRoom + 1 : 0);
  if (needed > layout.Width) FatalError("Insufficient screen width for display", false);
}

void ChooseColumns(ListingLayoutRec& layout, int wanted) {
  // A format of width 0 (only a description) must not divide by zero.
  int across = std::min(layout.Width / std::max(wanted, 1), MaxColumnsAcross);
  if (across < Options.MinColumns) {
    across = Options.MinColumns;
    layout.Squeezed = true;
  }
  if (Options.FixedColumns > 0) across = Options.FixedColumns;
  across = std::max(across, 1);
  while (across > 1 && layout.Width / across - layout.FixedWidth < NameMinimum()) --across;
  layout.ColumnsAcross = across;
  layout.ColumnWidth = layout.Width / across;
  // A forced column count can leave less than the longest name needs; the
  // name field then advances by its room, not into the next listing column.
  if (Options.HasNameColumn && layout.ColumnWidth < wanted) layout.Squeezed = true;
}

void SetAdvances(ListingLayoutRec& layout, const DirectoryListing& listing) {
  for (int index = 0; index < layout.FieldCount; ++index) {
    FieldPlan& field = layout.Fields[static_cast<std::size_t>(index)];
    switch (field.Column->Room) {
      case ColumnRoom::Name:
        field.Advance = layout.Squeezed ? layout.NameRoom + 1 : listing.MaxNameLength + 1;
        break;
      case ColumnRoom::Description: field.Advance = layout.NameRoom + 1; break;
      default: field.Advance = field.Width; break;
    }
    // A squeezed name leaves the separator column free in all but the last
    // listing column, so a field after it is not overwritten by the separator.
    const bool squeezedName = field.Column->Room == ColumnRoom::Name && layout.Squeezed;
    field.AdvanceWithin = field.Advance - (squeezedName ? layout.NameRoom - layout.NameCut : 0);
    field.Write = field.Column->Write;
    field.Stamp = field.Column->Stamp;
  }
}

}  // namespace

ListingLayoutRec PlanListingLayout(const DirectoryListing& listing, DirectoryLayout directory,
                                   int width, int height) {
  ListingLayoutRec layout;
  layout.Width = width;
  layout.Height = height;
  CollectFields(layout, listing, directory);
  int wanted = WantedColumnWidth(layout, listing);
  CheckScreenWidth(layout);
  ChooseColumns(layout, wanted);
  layout.NameRoom = layout.ColumnWidth - layout.FixedWidth + 1;
  layout.NameCut = layout.ColumnWidth - layout.FixedWidth;
  if (Options.ShowDescriptions && !directory.WithoutDescriptions) {
    layout.ColumnsAcross = 1;
    layout.ColumnWidth = layout.Width;
    layout.NameRoom = layout.Width - layout.FixedWidth + 1;
  }
  SetAdvances(layout, listing);
  if (!Options.Bare) MakeBorders(layout);
  return layout;
}
