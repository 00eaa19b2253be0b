// The drive statistics report: captions in the summary text colour, values in
// the summary figure colour, byte figures aligned on the width of the total.
#include "Engine/Reports/DriveReport.h"

#include <cstdio>

#include "RunValues/Colours.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"

namespace {

constexpr std::uint32_t CompressedVolumeFlag = 0x8000;
constexpr int LetterColumn = 22;
constexpr int FigureDecimals = 2;

void WriteCaption(const std::string& caption) {
  WriteAt(caption, 1, Looks.Colours.SummaryTextColour);
}
void WriteWords(const std::string& words) { WriteText(words, Looks.Colours.SummaryTextColour); }
void WriteValue(const std::string& value) { WriteText(value, Looks.Colours.SummaryFigureColour); }

void WriteVolumeLines(const DriveFigures& drive) {
  NewLine();
  WriteCaption("Statistics for drive ");
  WriteAt(std::string(1, drive.DriveLetter), LetterColumn, Looks.Colours.SummaryFigureColour);
  if ((drive.Volume.FileSystemFlags & CompressedVolumeFlag) != 0)
    WriteValue(" (compressed volume)");
  NewLine();
  WriteCaption("Label : ");
  if (!drive.Volume.Label.empty()) WriteValue(drive.Volume.Label);
  NewLine();
  WriteCaption("Type  : ");
  // A volume that did not answer has no name length to show either.
  if (drive.VolumeKnown) {
    WriteValue(drive.Volume.FileSystem);
    WriteWords(" (");
    WriteValue(std::to_string(drive.Volume.MaxComponentLength));
    WriteWords(" characters maximum file length)");
  }
  NewLine();
  NewLine();
}

void WriteByteLine(const std::string& caption, std::int64_t bytes, int width) {
  WriteCaption(caption);
  WriteValue(PadLeftBlank(ThousandsText(bytes), width));
  WriteWords(" bytes");
  WriteWords(" (");
  WriteValue(ShortSizeText(bytes, FigureDecimals) + "B");
  WriteWords(")");
  NewLine();
}

void WritePercentLine(const std::string& caption, double percent, int width) {
  char figure[32];
  std::snprintf(figure, sizeof figure, "%.*f", FigureDecimals, percent);
  WriteCaption(caption);
  WriteValue(PadLeftBlank(figure, width - 1) + "%");
  NewLine();
}

}  // namespace

void WriteDriveReport(const DriveFigures& drive) {
  std::int64_t used = drive.TotalBytes - drive.FreeBytes;
  double usedPercent = static_cast<double>(used) * 100.0 / static_cast<double>(drive.TotalBytes);
  int width = TextCells(ThousandsText(drive.TotalBytes));
  WriteVolumeLines(drive);
  WriteByteLine("Total space on drive  : ", drive.TotalBytes, width);
  WriteByteLine("Space used on drive   : ", used, width);
  WriteByteLine("Space free on drive   : ", drive.FreeBytes, width);
  WritePercentLine("% of total space used : ", usedPercent, width);
  WritePercentLine("% of space free       : ", 100.0 - usedPercent, width);
  NewLine();
  WriteUsageBar(usedPercent);
}
