// The summary lines under a listing and the free-space text.
#include "CellRows.h"
#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Engine/Listing/Summary.h"
#include "TestWorld.h"

namespace {

constexpr std::uint16_t F = 14;  // SummaryFigureColour
constexpr std::uint16_t T = 15;  // SummaryTextColour

class SummaryTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    StartupRunSpec().SearchSpec = "C:\\DOCS\\*.*";
    StartupRunSpec().ClusterSize = 4096;
    StartupRunSpec().FreeClusters = 327680;  // 1.25 GB
  }
};

std::string Line(const std::string& left, const std::string& right, int width = 80) {
  return left + std::string(width - left.size() - right.size(), ' ') + right;
}

TEST_F(SummaryTest, CountLineWithFreeSpaceAndAllocationLine) {
  ShowSummary(3, 2, 12345, 16384);
  EXPECT_EQ(Sim::RowText(0), Line("12,345 bytes (12.06KB) in 3 files and 2 dirs", "1.25GB free"));
  EXPECT_EQ(RowAttributes(0), AttributeRuns({{6, F},
                                             {8, T},
                                             {7, F},
                                             {5, T},
                                             {1, F},
                                             {11, T},
                                             {1, F},
                                             {5, T},
                                             {25, 0},
                                             {6, F},
                                             {1, 0},
                                             {4, T}},
                                            80));
  EXPECT_EQ(Sim::RowTrimmed(1), "16,384 bytes (16.00KB) allocated");
  EXPECT_EQ(RowAttributes(1), AttributeRuns({{6, F}, {8, T}, {7, F}, {11, T}}, 80));
}

TEST_F(SummaryTest, SingularWordsAndSmallFigures) {
  ShowSummary(1, 1, 0, 0);
  EXPECT_EQ(Sim::RowText(0), Line("0 bytes in 1 file and 1 dir", "1.25GB free"));
  EXPECT_EQ(Sim::RowTrimmed(1), "0 bytes allocated");
  ShowSummary(0, 4, 1023, 4096);
  EXPECT_EQ(Sim::RowText(2), Line("1,023 bytes in 4 dirs", "1.25GB free"));
  EXPECT_EQ(Sim::RowTrimmed(3), "4,096 bytes (4.00KB) allocated");
  ShowSummary(2, 0, 10, 8192);
  EXPECT_EQ(Sim::RowText(4), Line("10 bytes in 2 files", "1.25GB free"));
}

// A kilobyte is the first size with a unit; nothing counted keeps its blank
// after "in", which counts; the free space wants one blank after the counts,
// else it is left out.
TEST_F(SummaryTest, TheUnitTheEmptyCountAndTheRoomForTheFreeSpace) {
  struct Case {
    int Width;
    std::int32_t Files;
    std::vector<std::string> Rows;
  };
  const Case cases[] = {
      {36, 0, {Line("1,024 bytes (1.00KB) in", "1.25GB free", 36), "1,024 bytes (1.00KB) allocated"}},
      {35, 0, {"1,024 bytes (1.00KB) in", "1,024 bytes (1.00KB) allocated"}},
      {36, 1, {"1,024 bytes (1.00KB) in 1 file", "1,024 bytes (1.00KB) allocated"}},
      {42, 1, {"1,024 bytes (1.00KB) in 1 file 1.25GB free"}},
      {41, 1, {"1,024 bytes (1.00KB) in 1 file", "1,024 bytes (1.00KB) allocated"}},
  };
  for (const Case& test : cases) {
    ResetWorld();
    SetUp();
    Sim::SetConsole(test.Width, 25);
    ShowSummary(test.Files, 0, 1024, 1024);
    std::vector<std::string> rows;
    for (std::size_t row = 0; row < test.Rows.size(); ++row)
      rows.push_back(Sim::RowTrimmed(static_cast<int>(row)));
    std::vector<std::string> expected;
    for (const std::string& row : test.Rows) expected.push_back(row.substr(0, row.find_last_not_of(' ') + 1));
    EXPECT_EQ(rows, expected) << test.Width;
  }
}

TEST_F(SummaryTest, MarkerLeavesOnlyTheFreeSpace) {
  ShowSummary(0, 0, NoCountsMarker, 0);
  EXPECT_EQ(Sim::RowText(0), Line("", "1.25GB free"));
  EXPECT_EQ(Sim::Console().RowWrites, 1);
}

TEST_F(SummaryTest, NoFreeSpaceWhenRecursiveOrSwitchedOff) {
  StartupOptions().Recursive = true;
  ShowSummary(1, 0, 100, 4096);
  StartupOptions().Recursive = false;
  StartupOptions().ShowFree = false;
  ShowSummary(1, 0, 100, 4096);
  EXPECT_EQ(Sim::RowTrimmed(0), "100 bytes in 1 file");
  EXPECT_EQ(Sim::RowTrimmed(2), "100 bytes in 1 file");
}

TEST_F(SummaryTest, UnknownClusterSizeDropsFreeSpaceAndAllocation) {
  StartupRunSpec().NoClusterSize = true;
  ShowSummary(1, 0, 100, 4096);
  EXPECT_EQ(Sim::RowTrimmed(0), "100 bytes in 1 file");
  EXPECT_EQ(Sim::Console().RowWrites, 1);
}

TEST_F(SummaryTest, RedirectedFreeSpaceEndsAtTheTextWidth) {
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 60;
  ShowSummary(3, 0, 2048, 4096);
  EXPECT_EQ(Sim::StdOut(), Line("2,048 bytes (2.00KB) in 3 files", "1.25GB free", 60) + "\r\n" +
                               "4,096 bytes (4.00KB) allocated\r\n");
}

// A narrow screen cuts a summary line and marks the cut, also where it falls
// between two words; the free space is written only where it finds room.
TEST_F(SummaryTest, NarrowScreensCutTheLinesWithTheMarker) {
  struct Case {
    int width;
    std::int32_t files, dirs;
    std::int64_t bytes, allocated;
    std::string count, allocation;
  };
  const Case cases[] = {
      {40, 3, 2, 12345, 16384, "12,345 bytes (12.06KB) in 3 files and 2\u25BA",
       "16,384 bytes (16.00KB) allocated"},
      {40, 5, 1, 1507148, 1519616, "1,507,148 bytes (1.44MB) in 5 files and\u25BA",
       "1,519,616 bytes (1.45MB) allocated"},
      {40, 9, 0, 1500135, 1540096, "1,500,135 bytes (1.43MB) in 9 files",
       "1,540,096 bytes (1.47MB) allocated"},
      {40, 2, 0, 10, 8192, Line("10 bytes in 2 files", "1.25GB free", 40),
       "8,192 bytes (8.00KB) allocated"},
      {20, 12, 3, 1234567890123, 1234567892000, "1,234,567,890,123 b\u25BA",
       "1,234,567,892,000 b\u25BA"},
  };
  for (const Case& test : cases) {
    ResetWorld();
    SetUp();
    Sim::SetConsole(test.width, 25);
    ShowSummary(test.files, test.dirs, test.bytes, test.allocated);
    EXPECT_EQ(Sim::RowTrimmed(0), test.count) << test.count;
    EXPECT_EQ(Sim::RowTrimmed(1), test.allocation) << test.count;
    EXPECT_EQ(Sim::RowTrimmed(2), "") << test.count;
  }
  // The marker takes the colour of the words it cuts.
  EXPECT_EQ(RowAttributes(0), AttributeRuns({{17, F}, {3, T}}, 20));
  ResetWorld();
  SetUp();
  Sim::SetConsole(40, 25);
  ShowSummary(3, 2, 12345, 16384);
  EXPECT_EQ(RowAttributes(0),
            AttributeRuns({{6, F}, {8, T}, {7, F}, {5, T}, {1, F}, {11, T}, {1, F}, {1, T}}, 40));
}

TEST_F(SummaryTest, FreeSpaceTextUsesTheExtendedQueryWhereItExists) {
  Sim::Drive drive;
  drive.Letter = 'C';
  drive.SpaceEx = {1000, 8ull << 30, 3ull << 30};
  Sim::AddDrive(drive);
  EXPECT_EQ(FreeSpaceText(), "1.25GB");  // not a 95 OSR2 or 98 system: cluster figures
  StartupOptions().IsWin95OSR2 = true;
  EXPECT_EQ(FreeSpaceText(), "3.00GB");
  StartupRunSpec().ClusterSize = 512;
  StartupRunSpec().FreeClusters = 1;
  Sim::Reset();
  drive.HasFreeSpaceEx = false;
  Sim::AddDrive(drive);
  EXPECT_EQ(FreeSpaceText(), "512B");  // the extended query fails
}

TEST_F(SummaryTest, MissingExtendedServiceIsFatal) {
  StartupOptions().IsWin95OSR2 = true;
  Sim::SetVersion(1, 950);
  EXPECT_TRUE(EndsProgram([] { FreeSpaceText(); }));
  EXPECT_EQ(Sim::RowTrimmed(0),
            "Error obtaining pointer to FAT32 free space API. Please contact Orvalist staff.");
}

}  // namespace
