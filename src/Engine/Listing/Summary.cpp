// The lines that close a listing: bytes, files and directories with the free
// space at the right edge, then the space the files occupy.
#include "Engine/Listing/Summary.h"

#include "Common/Colours.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Console/Console.h"
#include "Disk/DiskSpace.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
#include "Platform/Basics.h"

namespace {

constexpr std::int64_t SizeUnitThreshold = 1024;
constexpr int SummaryDecimals = 2;

void WriteCountWord(std::int32_t count, const char* singular, const char* plural) {
  WriteText(std::to_string(count), Looks.Colours.SummaryFigureColour);
  WriteText(count == 1 ? singular : plural, Looks.Colours.SummaryTextColour);
}

// "12,345 bytes (12.06KB)" from column 1.
void WriteByteFigure(std::int64_t bytes) {
  WriteAt(ThousandsText(bytes), 1, Looks.Colours.SummaryFigureColour);
  WriteText(" bytes", Looks.Colours.SummaryTextColour);
  if (bytes < SizeUnitThreshold) return;
  WriteText(" (", Looks.Colours.SummaryTextColour);
  WriteText(ShortSizeText(bytes, SummaryDecimals) + "B", Looks.Colours.SummaryFigureColour);
  WriteText(")", Looks.Colours.SummaryTextColour);
}

void WriteCounts(std::int32_t files, std::int32_t dirs, std::int64_t bytes) {
  WriteByteFigure(bytes);
  WriteText(" in ", Looks.Colours.SummaryTextColour);
  if (files > 0) WriteCountWord(files, " file", " files");
  if (dirs > 0) {
    if (files > 0) WriteText(" and ", Looks.Colours.SummaryTextColour);
    WriteCountWord(dirs, " dir", " dirs");
  }
}

// "1.25GB free" ending in the last column.
void WriteFreeSpace() {
  int width = ScreenWidth();
  WriteAt("free", width - 3, Looks.Colours.SummaryTextColour);
  std::string free = FreeSpaceText();
  WriteAt(free, width - 4 - static_cast<int>(free.size()), Looks.Colours.SummaryFigureColour);
}

}  // namespace

void ShowSummary(std::int32_t files, std::int32_t dirs, std::int64_t bytes,
                 std::int64_t allocated) {
  EnsureOutput();
  bool counted = bytes != NoCountsMarker;
  if (counted) WriteCounts(files, dirs, bytes);
  if (Options.ShowFree && !Options.Recursive && !RunSpec.NoClusterSize) WriteFreeSpace();
  NewLine();
  if (!counted || RunSpec.NoClusterSize) return;
  WriteByteFigure(allocated);
  WriteText(" allocated", Looks.Colours.SummaryTextColour);
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
