// The order in which the entries fill the rows of the listing: list order
// across the rows, or down the listing columns in blocks of rows.
#pragma once

struct ListingLayoutRec;

struct EntryOrderWalk {
  bool Vertical = false;
  int Count = 0;        // N, entries to write
  int Columns = 1;      // C, listing columns
  int Height = 25;      // H, screen rows
  int Written = 0;      // entries handed out so far
  int BlockStart = 0;   // B, first entry of the current block
  int Rows = 0;         // R, rows of the current block
  int FullColumns = 0;  // F, columns of the block that have R entries (the rest R - 1)
  int Row = 0;          // r
  int Column = 1;       // c
  int Offset = 0;       // o, position in the block of the next entry
};

// Starts a walk over `count` entries for the layout and options.
void StartEntryOrder(EntryOrderWalk& walk, int count, const ListingLayoutRec& layout);
// The 0-based FileList position of the next entry to write.
int NextEntryPosition(EntryOrderWalk& walk);
