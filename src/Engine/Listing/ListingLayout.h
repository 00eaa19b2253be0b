// The layout of one directory's listing: fields, listing columns and the room
// left for names, worked out once before the entries are written.
#pragma once

#include <array>
#include <string>

#include "RunValues/Options.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ColumnTable.h"

struct DirectoryListing;

// One field of an entry, as laid out for this directory. The writer and the
// stamp are its table row's, copied here so that writing an entry reads only
// the plan.
struct FieldPlan {
  const ColumnKind* Column = nullptr;  // its row of the column table
  int Width = 0;                       // after the per-directory adjustments
  int Advance = 0;        // columns the write column moves on after the field
  int AdvanceWithin = 0;  // the same in all but the last listing column of a row
  FieldWriter Write = nullptr;    // null: the field stays blank
  std::uint8_t Stamp = NoStamp;  // the time stamp a date field shows
};

struct ListingLayoutRec {
  int Width = 80;         // W, the screen width
  int Height = 25;        // H, the screen height
  int FixedWidth = 0;     // all fields but the name, plus its blank
  int ColumnWidth = 0;    // one listing column, separator included
  int ColumnsAcross = 1;  // listing columns per row
  int NameRoom = 0;       // name characters in the last listing column
  int NameCut = 0;        // name characters in the other listing columns
  bool Squeezed = false;  // names may not get their full length
  std::array<FieldPlan, MaxColumnSlots> Fields{};
  int FieldCount = 0;
  std::string TopBorder;     // border pieces of one listing column: a branch down at the end
  std::string BottomBorder;  // and a branch up
  int ByteSizeWidth = 11;    // /BYTE: characters of a size text, right-aligned
};

// Plans a listing's layout on a screen of the given size, with its borders;
// ends the program when the fixed fields do not fit.
ListingLayoutRec PlanListingLayout(const DirectoryListing& listing, DirectoryLayout directory,
                                   int width, int height);
// Builds TopBorder and BottomBorder for the layout.
void MakeBorders(ListingLayoutRec& layout);
// A whole border line across the screen made of the given piece.
void WriteBorderLine(const ListingLayoutRec& layout, const std::string& piece);
