// The bar chart under the drive statistics: a scale from 0% to 100% and a box
// of 69 columns filled from the left with the share of the space used.
#include <algorithm>
#include <string>

#include "RunValues/Colours.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Reports/DriveReport.h"

namespace {

constexpr char Scale[] =
    "0%    10%    20%    30%    40%    50%    60%    70%    80%    90%    100%";
static_assert(sizeof Scale - 1 == 73, "the scale is 73 characters wide");

constexpr int BoxInside = 69;
constexpr int TickSpacing = 7;
constexpr int Ticks = 10;  // between the two ends

// Line drawing glyphs; the engine turns them into 7-bit forms under /7BIT.
std::string TopBorder() {
  const std::string segment = RepeatGlyph(Glyph::LineHorizontal, TickSpacing - 1);
  std::string border = Glyph::LineBranchRight;
  for (int tick = 1; tick < Ticks; ++tick) border += segment + Glyph::LineBranchUp;
  return border + segment + Glyph::LineBranchLeft;
}

// Blocks for the used share, truncated; a figure outside 0..100 (free space
// reported above the total) still stays inside the box.
int FilledColumns(double usedPercent) {
  double filled = std::clamp(usedPercent * BoxInside / 100.0, 0.0, double{BoxInside});
  return static_cast<int>(filled);
}

}  // namespace

void WriteUsageBar(double usedPercent) {
  WriteLine(Scale, 1, Looks.Colours.SummaryFigureColour);
  WriteLine(TopBorder(), 1, Looks.Colours.LineColour);
  WriteAt(Glyph::LineVertical + Spaces(BoxInside) + Glyph::LineVertical, 1,
          Looks.Colours.LineColour);
  WriteLine(RepeatGlyph(Glyph::FullBlock, FilledColumns(usedPercent)), 2, Looks.Colours.LineColour);
  WriteLine(Glyph::LineCornerUpRight + RepeatGlyph(Glyph::LineHorizontal, BoxInside) +
                Glyph::LineCornerUpLeft,
            1, Looks.Colours.LineColour);
}
