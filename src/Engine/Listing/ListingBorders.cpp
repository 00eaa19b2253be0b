// The lines above and below the entries: horizontal rules with a branch at
// the end of every listing column but the last.
#include "Common/Colours.h"
#include "Engine/Listing/ListingLayout.h"
#include "TurboScroll/TurboScroll.h"

std::string TopBorder;
std::string BottomBorder;

void MakeBorders() {
  int length = ListingLayout.ColumnWidth > 0 ? ListingLayout.ColumnWidth - 1 : 0;
  TopBorder.assign(static_cast<std::size_t>(length), LineHorizontal);
  TopBorder += LineBranchDown;
  BottomBorder.assign(static_cast<std::size_t>(length), LineHorizontal);
  BottomBorder += LineBranchUp;
}

void WriteBorderLine(const std::string& piece) {
  const ListingLayoutRec& layout = ListingLayout;
  for (int column = 1; column < layout.ColumnsAcross; ++column)
    WriteAt(piece, (column - 1) * layout.ColumnWidth + 1, Colours.LineColour);
  int lastStart = (layout.ColumnsAcross - 1) * layout.ColumnWidth;
  std::string rest(static_cast<std::size_t>(layout.Width - lastStart), LineHorizontal);
  WriteLine(rest, lastStart + 1, Colours.LineColour);
}
