#include <algorithm>
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/Colours.h"
#include "RunValues/Entries/Entries.h"
#include "RunValues/Options.h"
#include "Engine/Listing/Summary.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

class DriverTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    FreshWorld("", 0);
  }

  // A configured installation with C:\R holding A, B and C (in that order)
  // and A holding A1; a .TXT and a .DOC file of 100 bytes in each.
  static void FreshWorld(const std::string& dateFormat, std::uint32_t freeSpaceError) {
    ResetWorld();
    Sim::Drive drive;
    drive.FreeSpaceError = freeSpaceError;
    Sim::AddDrive(drive);
    Sim::SetRedirected();
    Sim::AddConfiguration("", dateFormat);
    StartupLooks().DateFormat = dateFormat;
    for (const char* directory : {"C:\\R", "C:\\R\\A", "C:\\R\\B", "C:\\R\\C", "C:\\R\\A\\A1"})
      Sim::AddDirectory(directory);
    for (const char* directory : {"C:\\R", "C:\\R\\A", "C:\\R\\B", "C:\\R\\C", "C:\\R\\A\\A1"}) {
      Sim::AddFile(directory, "NOTE.TXT", 100);
      Sim::AddFile(directory, "NOTE.DOC", 100);
    }
  }

  static int Run(const Lines& words) {
    Lines arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    return RunOrvl();
  }

  static Lines PathLines() {
    Lines paths;
    for (const std::string& line : OutputLines())
      if (line.rfind("Path: ", 0) == 0) paths.push_back(line);
    return paths;
  }

  static int CountLines(const std::string& text) {
    Lines lines = OutputLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }

  static Lines LastLines(std::size_t count) {
    Lines lines = OutputLines();
    return Lines(lines.end() - static_cast<long>(std::min(count, lines.size())), lines.end());
  }

  static std::string FreeLine() { return FreeSpaceText() + " free"; }
};

TEST_F(DriverTest, WalkIsDepthFirstWithSiblingsInReverse) {
  EXPECT_EQ(Run({"C:\\R\\*.TXT", "/S"}), 0);
  EXPECT_EQ(PathLines(),
            (Lines{"Path: C:\\R\\*.TXT", "Path: C:\\R\\C\\*.TXT", "Path: C:\\R\\B\\*.TXT",
                   "Path: C:\\R\\A\\*.TXT", "Path: C:\\R\\A\\A1\\*.TXT"}));
  // The total counts the directories below the start: one fewer than shown.
  EXPECT_EQ(LastLines(4), (Lines{"Summary Total:", "500 bytes in 5 files and 4 dirs",
                                 "20,480 bytes (20.00KB) allocated", FreeLine()}));
}

TEST_F(DriverTest, OneShownDirectoryGetsNoGrandTotal) {
  Sim::AddFile("C:\\R", "ONLY.LOG", 5);
  EXPECT_EQ(Run({"C:\\R\\*.LOG", "/S"}), 0);
  EXPECT_EQ(PathLines(), Lines{"Path: C:\\R\\*.LOG"});
  EXPECT_EQ(CountLines("Summary Total:"), 0);
  EXPECT_EQ(OutputLines().back(), FreeLine());
}

TEST_F(DriverTest, WalkWithoutAnyMatchSaysSoOnce) {
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S"}), 1);
  EXPECT_EQ(PathLines(), Lines{});
  EXPECT_EQ(LastLines(2), (Lines{"No files found", FreeLine()}));
  EXPECT_EQ(CountLines("No files found"), 1);

  FreshWorld("", 21);  // no free-space figures
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S"}), 1);
  EXPECT_EQ(OutputLines().back(), "No files found");

  FreshWorld("", 0);
  EXPECT_EQ(Run({"C:\\R\\*.XYZ", "/S", "/B"}), 1);
  EXPECT_EQ(Sim::StdOut(), "");
}

// A link back to an ancestor is an entry of the listing, never a directory to walk.
TEST_F(DriverTest, RecursiveWalkDoesNotFollowLinks) {
  Sim::AddFile("C:\\R\\C\\LOOP", "NOTE.TXT", 100);
  Sim::AddDirectory("C:\\R\\C\\LOOP", Plat::AttrDirectory | Plat::AttrReparsePoint);
  EXPECT_EQ(Run({"C:\\R\\C", "/S", "/B"}), 0);
  EXPECT_EQ(OutputLines(), (Lines{"C:\\R\\C\\LOOP", "C:\\R\\C\\NOTE.DOC", "C:\\R\\C\\NOTE.TXT"}));
}

TEST_F(DriverTest, GrandTotalLinesAreColouredOnTheConsole) {
  constexpr std::uint16_t Heading = 0x0C, Figure = 0x0E, Text = 0x0B;
  auto console = [](const std::string& dateFormat) {
    FreshWorld(dateFormat, 0);
    Sim::SetConsole(80, 200);
    Sim::SetRegistryBinary("SOFTWARE\\Brackwater\\Orvalist\\Colours\\Display", "Entities",
                           {7, 15, 14, 3, Heading, 10, 15, 0x4E, Figure, Text, 15});
    StartupLooks().Colours.HeadingColour = Heading;  // as the configuration reads them
    StartupLooks().Colours.SummaryFigureColour = Figure;
    StartupLooks().Colours.SummaryTextColour = Text;
  };
  auto rowOf = [](const std::string& text) {
    for (int row = 0; row < Sim::Console().Rows; ++row)
      if (Sim::RowTrimmed(row) == text) return row;
    return -1;
  };
  console("");
  Run({"C:\\R\\*.TXT", "/S"});
  const std::string free = FreeSpaceText();
  const int total = rowOf("Summary Total:");
  ASSERT_GE(total, 0);
  EXPECT_EQ(RowAttributes(total), AttributeRuns({{15, Text}}, 80));
  EXPECT_EQ(Sim::RowTrimmed(total + 1), "500 bytes in 5 files and 4 dirs");
  EXPECT_EQ(RowAttributes(total + 1),
            AttributeRuns(
                {{3, Figure}, {10, Text}, {1, Figure}, {11, Text}, {1, Figure}, {5, Text}}, 80));
  EXPECT_EQ(Sim::RowTrimmed(total + 3), free + " free");
  EXPECT_EQ(RowAttributes(total + 3),
            AttributeRuns({{static_cast<int>(free.size()), Figure}, {5, Text}}, 80));

  console("");
  Run({"C:\\R\\*.XYZ", "/S"});
  const int none = rowOf("No files found");
  ASSERT_GE(none, 0);
  EXPECT_EQ(RowAttributes(none), AttributeRuns({{14, Heading}}, 80));
  EXPECT_EQ(Sim::RowTrimmed(none + 1), free + " free");
}

TEST_F(DriverTest, PlainListingWithoutMatchEndsInTheScan) {
  EXPECT_EQ(Run({"C:\\R\\*.XYZ"}), 1);
  const std::string free = FreeSpaceText();
  EXPECT_EQ(LastLines(2), (Lines{"Path: C:\\R\\*.XYZ",
                                 LineOf({{1, "No files found matching search specification"},
                                         {76 - static_cast<int>(free.size()), free + " free"}})}));
}

// Below the root, a directory that cannot be read is reported where the walk
// meets it and passed over; the totals hold what was read, and the run says
// at the end how many it missed, with the exit code of an error.
TEST_F(DriverTest, WalkGoesOnPastUnreadableDirectories) {
  Sim::FailDirectory("C:\\R\\A", Plat::ErrorAccessDenied);
  Sim::FailDirectory("C:\\R\\C", Plat::ErrorInvalidName);
  EXPECT_EQ(Run({"C:\\R\\*.TXT", "/S", "/B"}), 3);
  EXPECT_EQ(OutputLines(),
            (Lines{"C:\\R\\NOTE.TXT", "Path: C:\\R\\C\\*.TXT",
                   "The filename, directory name, or volume label syntax is incorrect",
                   "C:\\R\\B\\NOTE.TXT", "Path: C:\\R\\A\\*.TXT", "File access denied",
                   "2 directories could not be read"}));
  FreshWorld("", 0);
  Sim::FailDirectory("C:\\R\\B", Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({"C:\\R\\*.TXT", "/S"}), 3);
  const Lines lines = OutputLines();
  const auto failed = std::find(lines.begin(), lines.end(), "Path: C:\\R\\B\\*.TXT");
  ASSERT_NE(failed, lines.end());
  EXPECT_EQ(*(failed + 1), "File access denied");
  EXPECT_EQ(*(failed + 2), "");
  EXPECT_EQ(PathLines().size(), 5u);
  EXPECT_EQ(LastLines(1), (Lines{"1 directory could not be read"}));
  // The root itself still ends the run.
  FreshWorld("", 0);
  Sim::FailDirectory("C:\\R", Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({"C:\\R\\*.TXT", "/S"}), 3);
  EXPECT_EQ(LastLines(2), (Lines{"Path: C:\\R\\*.TXT", "File access denied"}));
}

TEST_F(DriverTest, EachEndTellsItsExitCode) {
  // Done, nothing matched, refused (a bad switch, a bad number), an error.
  const std::pair<Lines, int> ends[] = {
      {{"C:\\R"}, 0},
      {{"/?"}, 0},
      {{"C:\\R", "/TREE"}, 0},
      {{"/I"}, 0},
      {{"C:\\R\\*.XYZ", "/B"}, 1},
      {{"C:\\R\\NOTHERE\\*.*"}, 1},
      {{"/S/"}, 2},
      {{"/K12X"}, 2},
      {{"Q:\\"}, 3},
  };
  for (const auto& [words, code] : ends) {
    FreshWorld("", 0);
    EXPECT_EQ(Run(words), code) << words.back();
  }
}

// `orvl /S /B | head -1`: the first write the gone reader refuses ends the
// walk, quietly, and no success is claimed for output that was lost.
TEST_F(DriverTest, ReaderThatGoesAwayEndsTheRun) {
  for (const Lines& words : {Lines{"C:\\R", "/S", "/B"}, Lines{"C:\\R", "/S"}}) {
    FreshWorld("", 0);
    Sim::SetStdOutReaderRoom(20);
    EXPECT_EQ(Run(words), 3) << words.back();
    EXPECT_EQ(Sim::StdOutRefusedWrites(), 1) << words.back();
    EXPECT_LE(Sim::StdOut().size(), 20u);
  }
}

TEST_F(DriverTest, FourDigitYearsWidenTheFirstTwoDigitYear) {
  struct Case {
    std::string pattern, result;
    bool fourDigits;
  };
  const Case cases[] = {
      {"M/d/yy", "M/d/yyyy", true},   {"yy.MM.yy", "yyyy.MM.yy", true},
      {"d/M/yyyy", "d/M/yyyy", true}, {"M/d/YY", "M/d/YY", true},
      {"dd MMM", "dd MMM", true},     {"M/d/yy", "M/d/yy", false},
  };
  for (const Case& c : cases) {
    FreshWorld(c.pattern, 0);
    Run(c.fourDigits ? Lines{"C:\\R\\*.XYZ", "/Y2K"} : Lines{"C:\\R\\*.XYZ"});
    EXPECT_EQ(Looks.DateFormat, c.result) << c.pattern;
  }
}

TEST_F(DriverTest, DescriptionsBringTheirOwnFormatUnlessOneWasChosen) {
  auto kinds = [](const ColumnSlots& slots, int count) {
    std::string text;
    for (int slot = 1; slot <= count; ++slot) text += slots[slot].Kind;
    return text;
  };
  // Nothing matches, so each run ends before a directory could swap layouts.
  Run({"C:\\R\\*.XYZ", "/Z"});
  EXPECT_EQ(kinds(StartupOptions().Columns, StartupOptions().ColumnCount), "sfd");
  EXPECT_EQ(StartupOptions().Columns[2].Width, 13);
  EXPECT_EQ(kinds(StartupOptions().SavedColumns, StartupOptions().SavedColumnCount), "sn");

  FreshWorld("", 0);
  Run({"C:\\R\\*.XYZ", "/MAD"});
  EXPECT_EQ(kinds(StartupOptions().Columns, StartupOptions().ColumnCount), "afd");
  EXPECT_EQ(kinds(StartupOptions().SavedColumns, StartupOptions().SavedColumnCount), "afd");
}

TEST_F(DriverTest, ColourSwitchesActOnTheRegistryColours) {
  const std::string display = "SOFTWARE\\Brackwater\\Orvalist\\Colours\\Display";
  struct Case {
    const char* Switch;
    ColourRec Expected;
  };
  ColourRec all{1, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
  ColourRec files{7, 2, 7, 4, 5, 6, 8, 9, 10, 11, 13};
  ColourRec read{1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13};
  for (const Case& test : {Case{"/GA", all}, Case{"/GF", files}, Case{"/W", read}}) {
    FreshWorld("", 0);
    Sim::SetRegistryBinary(display, "Entities", {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13});
    Run({"C:\\R\\*.XYZ", test.Switch});
    const ColourRec& c = Looks.Colours;
    const ColourRec& e = test.Expected;
    EXPECT_EQ(
        std::vector<int>({c.FileColour, c.DateColour, c.DirectoryColour, c.LineColour,
                          c.HeadingColour, c.HeadingValueColour, c.DetailColour, c.PromptColour,
                          c.SummaryFigureColour, c.SummaryTextColour, c.BannerColour}),
        std::vector<int>({e.FileColour, e.DateColour, e.DirectoryColour, e.LineColour,
                          e.HeadingColour, e.HeadingValueColour, e.DetailColour, e.PromptColour,
                          e.SummaryFigureColour, e.SummaryTextColour, e.BannerColour}))
        << test.Switch;
    EXPECT_EQ(Looks.ColourEnabled, std::string(test.Switch) == "/W") << test.Switch;
  }
}

TEST_F(DriverTest, CommandLineOverridesRegistryPresets) {
  const std::string settings = "SOFTWARE\\Brackwater\\Orvalist\\Settings";
  Sim::SetRegistryString(settings, "DefaultSwitches", "/W /B");
  Run({"C:\\R\\*.TXT"});
  EXPECT_EQ(OutputLines(), Lines{"NOTE.TXT"});

  FreshWorld("", 0);
  Sim::SetRegistryString(settings, "DefaultSwitches", "/W /B");
  Run({"C:\\R\\*.TXT", "/-W", "/-B"});
  EXPECT_EQ(StartupOptions().Columns[1].Kind, 's');
  EXPECT_EQ(PathLines(), Lines{"Path: C:\\R\\*.TXT"});
}

// Stored switches the lister cannot apply end every run before its own
// arguments are looked at: they are shown, with why and how to repair them.
TEST_F(DriverTest, UnusablePresetSwitchesAreBlamedNotTheArguments) {
  const std::string settings = "SOFTWARE\\Brackwater\\Orvalist\\Settings";
  const struct {
    const char* Preset;
    const char* Reason;
  } rows[] = {
      {"/[D31-2-2026]", "orvl does not accept /[D31-2-2026]."},
      {"/W /EXT:LOG", "orvl does not accept /EXT:LOG."},
      {"/MO20000000000", "orvl stops on /MO20000000000."},
      {"/W /?", "/? cannot be a preset switch."},
      {"/SET", "/SET cannot be a preset switch."},
      {"/@del $", "/@ cannot be a preset switch."},
  };
  for (const auto& row : rows) {
    FreshWorld("", 0);
    Sim::SetRegistryString(settings, "DefaultSwitches", row.Preset);
    EXPECT_EQ(Run({"C:\\R\\*.TXT", "/B"}), 3) << row.Preset;
    EXPECT_EQ(OutputLines(),
              (Lines{"The default switches stored in the configuration cannot be used:",
                     std::string("  ") + row.Preset, row.Reason,
                     "Run OConfig alone to repair them, or store others with OConfig "
                     "/SWITCHES:..."}))
        << row.Preset;
    EXPECT_TRUE(Sim::LaunchedPrograms().empty()) << row.Preset;
  }
}

TEST_F(DriverTest, StartUpState) {
  Run({"C:\\R\\*.XYZ"});
  EXPECT_EQ(StartupOptions().ProgramDir, "C:\\ORVL\\");
  EXPECT_FALSE(StartupOptions().Turbo);
}

}  // namespace

// Every directory is entered as itself: names outside the ANSI code page, a
// trailing dot beside its sibling without one, and a path of 400 characters.
TEST_F(DriverTest, WalkEntersEveryDirectoryAsItself) {
  const std::string deep = "C:\\U\\" + std::string(200, 'p') + "\\" + std::string(194, 'q');
  for (const std::string& directory :
       {std::string("C:\\U\\\u03A9mega"), std::string("C:\\U\\\u65E5\u672C"),
        std::string("C:\\U\\dirtrail."), std::string("C:\\U\\dirtrail"), deep})
    Sim::AddFile(directory, "in.txt", 1);
  ASSERT_EQ(deep.size(), 400u);
  Sim::SetConsoleOutputCodePage(Plat::Utf8CodePage);
  Run({"C:\\U\\*.txt", "/S", "/B", "/K500"});
  EXPECT_EQ(OutputLines(),
            (Lines{deep + "\\in.txt", "C:\\U\\dirtrail\\in.txt", "C:\\U\\dirtrail.\\in.txt",
                   "C:\\U\\\u65E5\u672C\\in.txt", "C:\\U\\\u03A9mega\\in.txt"}));
}
