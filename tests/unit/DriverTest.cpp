#include <algorithm>
#include <string>
#include <vector>

#include "Common/Colours.h"
#include "Common/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunState.h"
#include "Engine/Summary.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

const std::string SettingsKey = "SOFTWARE\\Brackwater\\Orvalist\\Settings";

class DriverTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Configure("");
  }

  // A configured installation: the registry holds every key the start-up reads.
  static void Configure(const std::string& dateFormat) {
    Sim::AddRegistryKey("SOFTWARE\\Brackwater\\Orvalist\\Colours\\Extensions");
    Sim::SetRegistryBinary("SOFTWARE\\Brackwater\\Orvalist\\Colours\\Display", "Entities",
                           {7, 15, 14, 3, 12, 10, 15, 0x4E, 14, 15, 15});
    Sim::SetRegistryString(SettingsKey, "DefaultSwitches", "");
    Sim::SetRegistryString(SettingsKey, "DefaultDate", dateFormat);
    DateFormat = dateFormat;
  }

  static int Run(const std::vector<std::string>& words) {
    std::vector<std::string> arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    return RunOrvl();
  }

  static std::vector<std::string> PathLines() {
    std::vector<std::string> paths;
    for (const std::string& line : OutputLines())
      if (line.rfind("Path: ", 0) == 0) paths.push_back(line);
    return paths;
  }

  static int CountLines(const std::string& text) {
    std::vector<std::string> lines = OutputLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }

  static std::string FreeLine() { return FreeSpaceText() + " free"; }

  // C:\R holds A, B and C in that order, and A holds A1; a .TXT file in each.
  static void BuildTree() {
    for (const char* directory : {"C:\\R", "C:\\R\\A", "C:\\R\\B", "C:\\R\\C", "C:\\R\\A\\A1"})
      Sim::AddDirectory(directory);
    for (const char* directory : {"C:\\R", "C:\\R\\A", "C:\\R\\B", "C:\\R\\C", "C:\\R\\A\\A1"}) {
      Sim::AddFile(directory, "NOTE.TXT", 100);
      Sim::AddFile(directory, "NOTE.DOC", 100);
    }
  }
};

// ---------------------------------------------------------------- the walk

TEST_F(DriverTest, WalkIsDepthFirstWithSiblingsInReverse) {
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.TXT", "/S"}), 0);
  EXPECT_EQ(PathLines(), (std::vector<std::string>{"Path: C:\\R\\*.TXT", "Path: C:\\R\\C\\*.TXT",
                                                   "Path: C:\\R\\B\\*.TXT", "Path: C:\\R\\A\\*.TXT",
                                                   "Path: C:\\R\\A\\A1\\*.TXT"}));
  EXPECT_EQ(TotalFiles, 5);
  EXPECT_EQ(TotalBytes, 500);
  // The total counts the directories below the start: one fewer than shown.
  std::vector<std::string> lines = OutputLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"Summary Total:", "500 bytes in 5 files and 4 dirs",
                                      "20,480 bytes (20.00KB) allocated", FreeLine()}));
}

TEST_F(DriverTest, OneShownDirectoryGetsNoGrandTotal) {
  BuildTree();
  Sim::AddFile("C:\\R", "ONLY.LOG", 5);
  EXPECT_EQ(Run({"C:\\R\\*.LOG", "/S"}), 0);
  EXPECT_EQ(PathLines(), std::vector<std::string>{"Path: C:\\R\\*.LOG"});
  EXPECT_EQ(CountLines("Summary Total:"), 0);
  EXPECT_EQ(OutputLines().back(), FreeLine());
}

TEST_F(DriverTest, WalkWithoutAnyMatchSaysSoOnce) {
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S"}), 0);
  EXPECT_EQ(PathLines(), std::vector<std::string>{});
  EXPECT_EQ(CountLines("No files found"), 1);
  EXPECT_EQ(OutputLines().back(), FreeLine());
}

TEST_F(DriverTest, WalkWithoutMatchOnAnUnreadableDriveHasNoFreeLine) {
  Sim::Drive drive;
  drive.FreeSpaceError = 21;
  Sim::AddDrive(drive);
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S"}), 0);
  EXPECT_EQ(OutputLines().back(), "No files found");
}

TEST_F(DriverTest, BareWalkWithoutMatchWritesNothing) {
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S", "/B"}), 0);
  EXPECT_EQ(Sim::StdOut(), "");
}

TEST_F(DriverTest, PlainListingWithoutMatchEndsInTheScan) {
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.XYZ"}), 0);
  const std::string free = FreeSpaceText();
  EXPECT_EQ(OutputLines().back(), LineOf({{1, "No files found matching search specification"},
                                          {76 - static_cast<int>(free.size()), free},
                                          {77, "free"}}));
  EXPECT_EQ(CountLines("No files found"), 0);
}

TEST_F(DriverTest, PlainListingShowsOneDirectory) {
  BuildTree();
  EXPECT_EQ(Run({"C:\\R\\*.TXT"}), 0);
  EXPECT_EQ(PathLines(), std::vector<std::string>{"Path: C:\\R\\*.TXT"});
  EXPECT_TRUE(Done);
  EXPECT_EQ(CountLines("Summary Total:"), 0);
}

// ---------------------------------------------------------------- every end returns 0

TEST_F(DriverTest, EveryEndReturnsZero) {
  BuildTree();
  Sim::FailDirectory("C:\\R\\B", Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({"C:\\R", "/S"}), 0);
  std::vector<std::string> lines = OutputLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{"Path: C:\\R\\B\\*", "File access denied"}));

  for (const std::vector<std::string>& words :
       std::vector<std::vector<std::string>>{{"/?"}, {"C:\\R", "/TREE"}, {"C:\\R", "/I"}}) {
    Sim::Reset();
    ResetSharedState();
    ResetConsoleEngine();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Configure("");
    BuildTree();
    EXPECT_EQ(Run(words), 0) << words.front();
  }
}

// ---------------------------------------------------------------- start-up settings

TEST_F(DriverTest, FourDigitYearsWidenTheFirstTwoDigitYear) {
  struct Case {
    std::string pattern;
    bool fourDigits;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"M/d/yy", true, "M/d/yyyy"},   {"yy.MM.yy", true, "yyyy.MM.yy"},
      {"d/M/yyyy", true, "d/M/yyyy"}, {"M/d/YY", true, "M/d/YY"},
      {"dd MMM", true, "dd MMM"},     {"M/d/yy", false, "M/d/yy"},
  };
  for (const Case& c : cases) {
    Sim::Reset();
    ResetSharedState();
    ResetConsoleEngine();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Configure(c.pattern);
    BuildTree();
    std::vector<std::string> words{"C:\\R\\*.XYZ"};
    if (c.fourDigits) words.push_back("/Y2K");
    EXPECT_EQ(Run(words), 0);
    EXPECT_EQ(DateFormat, c.result) << c.pattern;
  }
}

TEST_F(DriverTest, DescriptionsBringTheirOwnFormatUnlessOneWasChosen) {
  BuildTree();
  // Nothing matches, so the run ends before any directory could swap layouts.
  Run({"C:\\R\\*.XYZ", "/Z"});
  EXPECT_EQ(Options.ColumnCount, 3);
  EXPECT_EQ(Options.Columns[1].Kind, 's');
  EXPECT_EQ(Options.Columns[1].Width, 7);
  EXPECT_EQ(Options.Columns[2].Kind, 'f');
  EXPECT_EQ(Options.Columns[2].Width, 13);
  EXPECT_EQ(Options.Columns[3].Kind, 'd');
  EXPECT_EQ(Options.SavedColumnCount, 2);
  EXPECT_EQ(Options.SavedColumns[1].Kind, 's');
  EXPECT_EQ(Options.SavedColumns[2].Kind, 'n');

  Sim::Reset();
  ResetSharedState();
  ResetConsoleEngine();
  Sim::AddDrive(Sim::Drive{});
  Sim::SetRedirected();
  Configure("");
  BuildTree();
  // A custom format with a description column is kept as it is.
  Run({"C:\\R\\*.XYZ", "/MAD"});
  EXPECT_EQ(Options.ColumnCount, 3);
  EXPECT_EQ(Options.Columns[1].Kind, 'a');
  EXPECT_EQ(Options.Columns[2].Kind, 'f');
  EXPECT_EQ(Options.Columns[3].Kind, 'd');
  EXPECT_EQ(Options.SavedColumnCount, 3);
  EXPECT_EQ(Options.SavedColumns[1].Kind, 'a');
}

TEST_F(DriverTest, ProgramDirectoryComesFromTheProgramFile) {
  BuildTree();
  Run({"C:\\R\\*.XYZ"});
  EXPECT_EQ(ProgramDir, "C:\\ORVL\\");
  EXPECT_FALSE(Options.Turbo);
}

}  // namespace
