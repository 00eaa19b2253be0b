// The lines that close a listing: bytes, files and directories with the free
// space at the right edge, then the space the files occupy.
#include "Engine/Listing/Summary.h"

#include <string_view>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Disk/DiskSpace.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
#include "Platform/Basics.h"

namespace {

constexpr int SummaryDecimals = 2;

// A figure, or the words between figures, in the colour of its kind.
struct SummaryRun {
  std::string Text;
  bool Figure = false;
};
using SummaryRuns = std::vector<SummaryRun>;

// "12,345 bytes (12.06KB)".
void AddByteFigure(SummaryRuns& runs, std::int64_t bytes) {
  runs.push_back({ThousandsText(bytes), true});
  runs.push_back({" bytes", false});
  if (bytes < KiloBytes) return;
  runs.push_back({" (", false});
  runs.push_back({ShortSizeText(bytes, SummaryDecimals) + "B", true});
  runs.push_back({")", false});
}

void AddCount(SummaryRuns& runs, std::int32_t count, const char* singular, const char* plural) {
  runs.push_back({std::to_string(count), true});
  runs.push_back({count == 1 ? singular : plural, false});
}

SummaryRuns CountRuns(std::int32_t files, std::int32_t dirs, std::int64_t bytes) {
  SummaryRuns runs;
  AddByteFigure(runs, bytes);
  runs.push_back({" in ", false});
  if (files > 0) AddCount(runs, files, " file", " files");
  if (dirs > 0) {
    if (files > 0) runs.push_back({" and ", false});
    AddCount(runs, dirs, " dir", " dirs");
  }
  return runs;
}

std::uint8_t RunColour(const SummaryRun& run) {
  return run.Figure ? Looks.Colours.SummaryFigureColour : Looks.Colours.SummaryTextColour;
}

// The runs from column 1. A line longer than the screen keeps its first W - 1
// cells and ends in the marker, in the colour of the run it cuts; so does one
// whose cut falls between two runs, which would otherwise end unmarked.
void WriteSummaryLine(const SummaryRuns& runs) {
  const int width = ScreenWidth();
  int total = 0;
  for (const SummaryRun& run : runs) total += TextCells(run.Text);
  const int room = total > width ? width - 1 : width;
  int used = 0;
  for (const SummaryRun& run : runs) {
    const std::string_view text = CellPrefix(run.Text, room - used);
    if (used == 0)
      WriteAt(text, 1, RunColour(run));
    else
      WriteText(text, RunColour(run));
    used += TextCells(text);
    if (text.size() < run.Text.size()) {
      WriteText(Glyph::CutMarker, RunColour(run));
      return;
    }
  }
}

// "1.25GB free" ending in the last column, one blank at least after what the
// line holds; a line that leaves no room for it keeps what it holds.
void WriteFreeSpace() {
  const int width = ScreenWidth();
  const std::string free = FreeSpaceText();
  const int used = ConsoleEngine.PenColumn - 1;
  const int freeCells = static_cast<int>(free.size()) + 5;  // "1.25GB free"
  if (used > 0 && used + 1 + freeCells > width) return;
  WriteAt("free", width - 3, Looks.Colours.SummaryTextColour);
  WriteAt(free, width - 4 - static_cast<int>(free.size()), Looks.Colours.SummaryFigureColour);
}

}  // namespace

void ShowSummary(std::int32_t files, std::int32_t dirs, std::int64_t bytes,
                 std::int64_t allocated) {
  EnsureOutput();
  const bool counted = bytes != NoCountsMarker;
  if (counted) WriteSummaryLine(CountRuns(files, dirs, bytes));
  if (Options.ShowFree && !Options.Recursive && !RunSpec.NoClusterSize) WriteFreeSpace();
  NewLine();
  if (!counted || RunSpec.NoClusterSize) return;
  SummaryRuns runs;
  AddByteFigure(runs, allocated);
  runs.push_back({" allocated", false});
  WriteSummaryLine(runs);
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
