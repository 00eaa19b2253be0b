// The drive statistics report: figures, percentages, the bar and the ways it
// refuses or fails.
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Engine/Reports/Reports.h"
#include "TestWorld.h"

namespace {

using Rows = std::vector<std::string>;

constexpr std::uint16_t F = 14;  // SummaryFigureColour
constexpr std::uint16_t T = 15;  // SummaryTextColour
constexpr std::uint16_t L = 3;   // LineColour

const std::string Scale =
    "0%    10%    20%    30%    40%    50%    60%    70%    80%    90%    100%";

std::string TopBorder() {
  std::string border = "\u251C";
  for (int tick = 0; tick < 9; ++tick) border += Repeat("\u2500", 6) + "\u2534";
  return border + Repeat("\u2500", 6) + "\u2524";
}

// The box with the given number of blocks.
std::string BarRow(int blocks) {
  return "\u2502" + Repeat("\u2588", blocks) + std::string(69 - blocks, ' ') + "\u2502";
}

const std::string BottomBorder = "\u2514" + Repeat("\u2500", 69) + "\u2518";

class DriveStatisticsTest : public TestWorld {
 protected:
  // Drive C with 512-byte clusters.
  static void Drive(std::uint32_t totalClusters, std::uint32_t freeClusters,
                    const std::string& label = "SYSTEM") {
    Sim::Drive drive;
    drive.Label = label;
    drive.FileSystem = "FAT32";
    drive.Geometry = {1, 512, freeClusters, totalClusters};
    Sim::AddDrive(drive);
  }

  static Rows Report(const std::string& currentDir = "C:\\") {
    StartupRunSpec().CurrentDir = currentDir;
    StartupRunSpec().SearchSpec = currentDir + "*";
    EXPECT_TRUE(EndsProgram([] { ShowDriveStatistics(); }));
    Rows rows;
    for (int row = 0; row < ConsoleEngine.CurrentRow; ++row) rows.push_back(Sim::RowTrimmed(row));
    return rows;
  }
};

TEST_F(DriveStatisticsTest, WorkedExampleWithItsFieldWidth) {
  Drive(8385866, 6288714);  // 4,293,563,392 bytes, 3,219,821,568 free
  EXPECT_EQ(Report(),
            (Rows{"", "Statistics for drive C", "Label : SYSTEM",
                  "Type  : FAT32 (255 characters maximum file length)", "",
                  "Total space on drive  : 4,293,563,392 bytes (4.00GB)",
                  "Space used on drive   : 1,073,741,824 bytes (1.00GB)",
                  "Space free on drive   : 3,219,821,568 bytes (3.00GB)",
                  "% of total space used :        25.01%", "% of space free       :        74.99%",
                  "", Scale, TopBorder(), BarRow(17), BottomBorder}));
  EXPECT_EQ(RowAttributes(3), AttributeRuns({{8, T}, {5, F}, {2, T}, {3, F}, {32, T}}, 80));
  EXPECT_EQ(RowAttributes(5), AttributeRuns({{24, T}, {13, F}, {8, T}, {6, F}, {1, T}}, 80));
  EXPECT_EQ(RowAttributes(8), AttributeRuns({{24, T}, {13, F}}, 80));
  EXPECT_EQ(RowAttributes(11), AttributeRuns({{73, F}}, 80));
  EXPECT_EQ(RowAttributes(13), AttributeRuns({{71, L}}, 80));
}

TEST_F(DriveStatisticsTest, EmptyFullAndHalfUsedDrives) {
  struct Case {
    std::uint32_t freeClusters;
    Rows figures;  // used line, both percentages
    int blocks;
  };
  const Case cases[] = {
      {2000,
       {"Space used on drive   :         0 bytes (0B)", "% of total space used :     0.00%",
        "% of space free       :   100.00%"},
       0},
      {0,
       {"Space used on drive   : 1,024,000 bytes (1000.00KB)", "% of total space used :   100.00%",
        "% of space free       :     0.00%"},
       69},
      {1000,
       {"Space used on drive   :   512,000 bytes (500.00KB)", "% of total space used :    50.00%",
        "% of space free       :    50.00%"},
       34},
  };
  for (const Case& c : cases) {
    Sim::Reset();
    ResetConsoleEngine();
    Drive(2000, c.freeClusters);
    Rows rows = Report();
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ((Rows{rows[6], rows[8], rows[9]}), c.figures);
    EXPECT_EQ(rows[13], BarRow(c.blocks));
  }
}

TEST_F(DriveStatisticsTest, NoLabelCompressedLowerCaseAndSevenBit) {
  Sim::Drive drive;
  drive.FileSystemFlags = 0x8000;
  drive.Geometry = {1, 512, 1000, 2000};
  Sim::AddDrive(drive);
  StartupOptions().SevenBit = true;
  Rows rows = Report("c:\\");
  EXPECT_EQ((Rows{rows[1], rows[2], rows[12], rows[13], rows[14]}),
            (Rows{"Statistics for drive c (compressed volume)", "Label :",
                  "+------+------+------+------+------+------+------+------+------+------+",
                  "|" + std::string(34, '*') + std::string(35, ' ') + "|",
                  "+" + std::string(69, '-') + "+"}));
}

// Where the report cannot be made: what the run ends with instead.
TEST_F(DriveStatisticsTest, RefusalsAndFailures) {
  struct Case {
    std::string currentDir;
    std::uint32_t freeSpaceError;
    Rows rows;
  };
  const Case cases[] = {
      {"\\\\SRV\\SHARE\\", 0, {"This feature is not supported on network volumes"}},
      {"Q:\\", 0, {"Invalid Drive Specification"}},
      {"C:\\", Plat::ErrorInvalidDrive, {"Invalid Drive Specification"}},
      {"C:\\", 21, {"Drive not ready"}},
  };
  for (const Case& c : cases) {
    ResetWorld();
    Sim::Drive drive;
    drive.FreeSpaceError = c.freeSpaceError;
    Sim::AddDrive(drive);
    EXPECT_EQ(Report(c.currentDir), c.rows) << c.currentDir << c.freeSpaceError;
    EXPECT_EQ(RowAttributes(0), AttributeRuns({{static_cast<int>(c.rows[0].size()), 12}}, 80));
  }
}

TEST_F(DriveStatisticsTest, FailedVolumeQueryLeavesLabelAndTypeEmpty) {
  Sim::Drive drive;
  drive.Label = "GONE";
  drive.VolumeQueryFails = true;
  Sim::AddDrive(drive);
  Rows rows = Report();
  EXPECT_EQ((Rows{rows[2], rows[3]}), (Rows{"Label :", "Type  :"}));
}

// On 95 OSR2 and 98 the extended query's figures replace the cluster counts
// when it answers; without the service the run ends.
TEST_F(DriveStatisticsTest, ExtendedQueryOnNinetyEight) {
  struct Case {
    bool answers;
    bool entry;
    bool library;
    Rows rows;  // the total line, or the only line
  };
  const Case cases[] = {
      {true, true, true, {"Total space on drive  : 8,589,934,592 bytes (8.00GB)"}},
      {false, true, true, {"Total space on drive  : 1,024,000 bytes (1000.00KB)"}},
      {true,
       false,
       true,
       {"Error obtaining pointer to FAT32 free space API. Please contact Orvalist staff."}},
      {true,
       true,
       false,
       {"Error obtaining handle to FAT32 free space API. Please contact Orvalist staff"}},
  };
  for (const Case& c : cases) {
    ResetWorld();
    Sim::SetVersion(1, 1998);
    Sim::SetFreeSpaceExService(c.entry);
    Sim::SetKernelLibrary(c.library);
    StartupOptions().IsWin95OSR2 = true;
    Sim::Drive drive;
    drive.Geometry = {1, 512, 1000, 2000};
    drive.HasFreeSpaceEx = c.answers;
    drive.SpaceEx = {1, 8ull << 30, 2ull << 30};
    Sim::AddDrive(drive);
    Rows rows = Report();
    EXPECT_EQ(Rows{rows[rows.size() > 1 ? 5 : 0]}, c.rows);
  }
}

}  // namespace
