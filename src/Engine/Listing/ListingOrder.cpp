#include "Engine/Listing/ListingOrder.h"

#include <algorithm>

#include "RunValues/Options.h"
#include "Engine/Listing/ListingLayout.h"
#include "Console/Console.h"

namespace {

// Rows still free on the current page of a recursive listing, where earlier
// directories have used part of it.
int FirstBlockRoom(int height) {
  if (!Options.Recursive) return height;
  int left = height - ConsoleEngine.PageLines;
  return left > 0 ? left : height;
}

int RowsFor(int entries, int columns) { return (entries + columns - 1) / columns; }

void StartFirstBlock(EntryOrderWalk& walk) {
  int room = FirstBlockRoom(walk.Height);
  walk.Rows = RowsFor(walk.Count, walk.Columns);
  if (walk.Rows > room) {
    // Outside recursive mode the banner and header lines share the first page.
    walk.Rows = std::max(Options.Recursive ? room : room - 4, 1);
    walk.FullColumns = walk.Columns;
  } else {
    walk.FullColumns = walk.Count - (walk.Rows - 1) * walk.Columns;
  }
}

void StartNextBlock(EntryOrderWalk& walk) {
  walk.BlockStart = walk.Written;
  int left = walk.Count - walk.BlockStart;
  if (left < walk.Height * walk.Columns) {
    walk.Rows = RowsFor(left, walk.Columns);
    walk.FullColumns = left - (walk.Rows - 1) * walk.Columns;
  } else {
    walk.Rows = std::max(walk.Height - 1, 1);
    walk.FullColumns = walk.Columns;
  }
  walk.Row = 0;
  walk.Offset = 0;
}

}  // namespace

void StartEntryOrder(EntryOrderWalk& walk, int count, const ListingLayoutRec& layout) {
  walk = EntryOrderWalk{};
  walk.Vertical = Options.VerticalSort;
  walk.Count = count;
  walk.Columns = std::max(layout.ColumnsAcross, 1);
  walk.Height = layout.Height;
  if (walk.Vertical && count > 0) StartFirstBlock(walk);
}

int NextEntryPosition(EntryOrderWalk& walk) {
  if (!walk.Vertical) return walk.Written++;
  int position = walk.BlockStart + walk.Offset;
  ++walk.Written;
  walk.Offset += walk.Column <= walk.FullColumns ? walk.Rows : walk.Rows - 1;
  if (++walk.Column > walk.Columns) {
    walk.Offset = walk.Row + 1;
    walk.Column = 1;
    ++walk.Row;
  }
  if (walk.Row == walk.Rows) StartNextBlock(walk);
  return position;
}
