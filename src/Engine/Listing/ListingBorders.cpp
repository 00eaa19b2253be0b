// The lines above and below the entries: horizontal rules with a branch at
// the end of every listing column but the last.
#include "RunValues/Colours.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Listing/ListingLayout.h"

void MakeBorders(ListingLayoutRec& layout) {
  int length = layout.ColumnWidth > 0 ? layout.ColumnWidth - 1 : 0;
  layout.TopBorder = RepeatGlyph(Glyph::LineHorizontal, length) + Glyph::LineBranchDown;
  layout.BottomBorder = RepeatGlyph(Glyph::LineHorizontal, length) + Glyph::LineBranchUp;
}

void WriteBorderLine(const ListingLayoutRec& layout, const std::string& piece) {
  for (int column = 1; column < layout.ColumnsAcross; ++column)
    WriteAt(piece, (column - 1) * layout.ColumnWidth + 1, Looks.Colours.LineColour);
  int lastStart = (layout.ColumnsAcross - 1) * layout.ColumnWidth;
  std::string rest = RepeatGlyph(Glyph::LineHorizontal, layout.Width - lastStart);
  WriteLine(rest, lastStart + 1, Looks.Colours.LineColour);
}
