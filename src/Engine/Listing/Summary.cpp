// The lines that close a listing: bytes, files and directories with the free
// space at the right edge, then the space the files occupy.
#include "Engine/Listing/Summary.h"

#include <string_view>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Console/Console.h"
#include "Disk/DiskSpace.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
#include "Platform/Basics.h"

namespace {

constexpr int SummaryDecimals = 2;

// A figure or a word of a summary line, with the blank that leads it.
struct SummaryRun {
  std::string Text;
  bool Figure = false;
};
// Runs kept together on one line, such as " 9 files": a narrow screen wraps a
// summary between pieces, never inside a figure.
using SummaryPiece = std::vector<SummaryRun>;
using SummaryPieces = std::vector<SummaryPiece>;

int PieceCells(const SummaryPiece& piece) {
  int cells = 0;
  for (const SummaryRun& run : piece) cells += static_cast<int>(run.Text.size());
  return cells;
}

void AddCountPiece(SummaryPieces& pieces, std::int32_t count, const char* singular,
                   const char* plural) {
  pieces.push_back(
      {{" ", false}, {std::to_string(count), true}, {count == 1 ? singular : plural, false}});
}

// "12,345 bytes", " (12.06KB)".
SummaryPieces ByteFigurePieces(std::int64_t bytes) {
  SummaryPieces pieces{{{ThousandsText(bytes), true}, {" bytes", false}}};
  if (bytes >= KiloBytes)
    pieces.push_back({{" (", false},
                      {ShortSizeText(bytes, SummaryDecimals) + "B", true},
                      {")", false}});
  return pieces;
}

SummaryPieces CountPieces(std::int32_t files, std::int32_t dirs, std::int64_t bytes) {
  SummaryPieces pieces = ByteFigurePieces(bytes);
  // Nothing counted keeps the blank after "in", as the line always had.
  pieces.push_back({{files > 0 || dirs > 0 ? " in" : " in ", false}});
  if (files > 0) AddCountPiece(pieces, files, " file", " files");
  if (dirs > 0) {
    if (files > 0) pieces.push_back({{" and", false}});
    AddCountPiece(pieces, dirs, " dir", " dirs");
  }
  return pieces;
}

// A piece wider than the whole line splits where its runs begin with a blank.
SummaryPieces SplitOverwide(const SummaryPieces& pieces, int width) {
  SummaryPieces fitted;
  for (const SummaryPiece& piece : pieces) {
    if (PieceCells(piece) <= width) {
      fitted.push_back(piece);
      continue;
    }
    for (const SummaryRun& run : piece) {
      if (fitted.empty() || run.Text.starts_with(' ') || &run == &piece.front())
        fitted.emplace_back();
      fitted.back().push_back(run);
    }
  }
  return fitted;
}

// Writes the pieces from column 1, starting a new line where the next piece
// would pass the right edge (its leading blank is dropped there); the last
// line is left open. Returns the cells used on it.
int WritePieces(const SummaryPieces& pieces) {
  const int width = ScreenWidth();
  int used = 0;
  for (const SummaryPiece& piece : SplitOverwide(pieces, width)) {
    bool wraps = used > 0 && used + PieceCells(piece) > width;
    if (wraps) {
      NewLine();
      used = 0;
    }
    for (const SummaryRun& run : piece) {
      std::string_view text = run.Text;
      if (used == 0 && text.starts_with(' ')) text.remove_prefix(1);
      std::uint8_t colour =
          run.Figure ? Looks.Colours.SummaryFigureColour : Looks.Colours.SummaryTextColour;
      if (used == 0) WriteAt(text, 1, colour);
      else WriteText(text, colour);
      used += static_cast<int>(text.size());
    }
  }
  return used;
}

// "1.25GB free" ending in the last column, one blank at least after the
// counts; on a line of its own when the counts leave no room.
void WriteFreeSpace(int used) {
  int width = ScreenWidth();
  std::string free = FreeSpaceText();
  const int freeCells = static_cast<int>(free.size()) + 5;  // "1.25GB free"
  if (used > 0 && used + 1 + freeCells > width) NewLine();
  WriteAt("free", width - 3, Looks.Colours.SummaryTextColour);
  WriteAt(free, width - 4 - static_cast<int>(free.size()), Looks.Colours.SummaryFigureColour);
}

}  // namespace

void ShowSummary(std::int32_t files, std::int32_t dirs, std::int64_t bytes,
                 std::int64_t allocated) {
  EnsureOutput();
  bool counted = bytes != NoCountsMarker;
  int used = counted ? WritePieces(CountPieces(files, dirs, bytes)) : 0;
  if (Options.ShowFree && !Options.Recursive && !RunSpec.NoClusterSize) WriteFreeSpace(used);
  NewLine();
  if (!counted || RunSpec.NoClusterSize) return;
  SummaryPieces pieces = ByteFigurePieces(allocated);
  pieces.push_back({{" allocated", false}});
  WritePieces(pieces);
  NewLine();
}

void ShowNothingFound(std::uint32_t code) {
  NewLine();
  WriteAt(code == Plat::ErrorFileNotFound ? "No files found matching search specification"
                                          : "No files found",
          1, Looks.Colours.HeadingColour);
  ShowSummary(0, 0, NoCountsMarker, 0);
}

std::string FreeSpaceText() {
  std::int64_t total = 0;
  std::int64_t free = 0;
  bool extended = Options.IsWin95OSR2 && !RunSpec.SearchSpec.empty() &&
                  QueryDiskSpace(RunSpec.SearchSpec[0], total, free);
  if (!extended) free = static_cast<std::int64_t>(RunSpec.FreeClusters) * RunSpec.ClusterSize;
  return ShortSizeText(free, SummaryDecimals) + "B";
}

void WriteUnreadableCount(int count) {
  if (count == 0) return;
  EnsureOutput();
  WriteLine(
      std::to_string(count) + (count == 1 ? " directory" : " directories") + " could not be read",
      1, Looks.Colours.HeadingColour);
}
