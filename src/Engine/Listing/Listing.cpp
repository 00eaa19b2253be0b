// One directory's listing: top line, the entries row by row with separators
// between the listing columns, bottom line and summary.
#include "Engine/Listing/Listing.h"

#include <algorithm>

#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Listing/ListingFields.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Listing/ListingOrder.h"
#include "Engine/Listing/Summary.h"

namespace {

const std::string Separator(Glyph::LineVertical);

// The separators of the listing columns that an incomplete last row leaves
// empty, from the one after the last entry written (at `column`) on.
void WriteMissingSeparators(const ListingLayoutRec& layout, int column) {
  while (column < layout.Width + 2 - 2 * layout.ColumnWidth) {
    WriteAt(Separator, layout.ColumnWidth + column - 1, Looks.Colours.LineColour);
    column += layout.ColumnWidth;
  }
  NewLine();
}

// Sorted entries lie all over memory: each record is fetched a few lines
// ahead of its own, and its texts once the record has arrived. Entries listed
// down the columns are not worth the walk ahead.
void PrefetchEntry(const std::vector<FileEntry*>& list, int written, int count) {
  constexpr int Distance = 8;
  if (Options.VerticalSort) return;
  const auto at = static_cast<std::size_t>(written);
  if (written + 2 * Distance < count) __builtin_prefetch(list[at + 2 * Distance]);
  if (written + Distance < count) __builtin_prefetch(list[at + Distance]->Name.data());
}

void WriteEntries(const ListingLayoutRec& layout, const DirectoryListing& listing) {
  const std::vector<FileEntry*>& list = listing.FileList;
  int count = std::min<int>(listing.ListedCount, static_cast<int>(list.size()));
  EntryOrderWalk walk;
  StartEntryOrder(walk, count, layout);
  int inRow = 0;  // entries already in the current row
  FieldTexts texts;
  for (int written = 0; written < count; ++written) {
    PrefetchEntry(list, written, count);
    const FileEntry& entry = *list[static_cast<std::size_t>(NextEntryPosition(walk))];
    ++inRow;
    bool lastInRow = inRow == layout.ColumnsAcross;
    WriteEntryFields(layout, listing, entry, layout.ColumnWidth * (inRow - 1) + 1, lastInRow,
                     texts);
    if (!lastInRow) {
      WriteAt(Separator, layout.ColumnWidth * inRow, Looks.Colours.LineColour);
    } else {
      NewLine();
      inRow = 0;
    }
  }
  if (inRow > 0) WriteMissingSeparators(layout, layout.ColumnWidth * inRow + 1);
}

// Bare names read by other programs: exact, one after the other.
void WriteNamesForPrograms(const DirectoryListing& listing) {
  const std::size_t head = listing.NameHead().size();
  const int count = std::min<int>(listing.ListedCount, static_cast<int>(listing.FileList.size()));
  for (int at = 0; at < count; ++at) {
    const FileEntry& entry = *listing.FileList[static_cast<std::size_t>(at)];
    const std::string_view name(entry.Name.data(), entry.Name.size());
    WriteNameForPrograms(name.substr(0, head), name.substr(head));
  }
}

}  // namespace

void WriteListing(const ListingLayoutRec& layout, const DirectoryListing& listing) {
  // With /B the entries are listed even when only a summary was asked for.
  const bool entriesShown = !Options.SummaryOnly || Options.Bare;
  if (entriesShown && ConsoleEngine.NamesForPrograms) {
    WriteNamesForPrograms(listing);
  } else if (entriesShown) {
    if (!Options.Bare) WriteBorderLine(layout, layout.TopBorder);
    WriteEntries(layout, listing);
  }
  if (!Options.Bare) {
    WriteBorderLine(layout, layout.BottomBorder);
    ShowSummary(listing.DirFileCount, listing.DirDirCount, listing.DirBytes, listing.DirAllocated);
  }
}
