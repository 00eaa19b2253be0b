#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/Options.h"
#include "Engine/CommandLine/CommandLine.h"
#include "Engine/CommandLine/SwitchTable.h"
#include "Engine/CommandLine/Usage.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

// A line of a two-column group: the right item starts at column 40.
std::string Pair(const std::string& left, const std::string& right) {
  return left + std::string(39 - left.size(), ' ') + right;
}

// A detail line: text from column 8.
std::string Detail(const std::string& text, const std::string& switchText = "") {
  return switchText + std::string(7 - switchText.size(), ' ') + text;
}

Lines Slice(const Lines& lines, std::size_t first, std::size_t count) {
  if (first + count > lines.size()) return {};
  return Lines(lines.begin() + first, lines.begin() + first + count);
}

class UsageTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetArguments({"C:\\TOOLS\\ORVL.EXE", "*.*", "/Q9"});
  }

  static Lines ShownLines() {
    Sim::SetRedirected();
    EXPECT_TRUE(EndsProgram([] { ShowUsage(); }));
    return OutputLines();
  }
};

const Lines Summary = {
    "",
    "USAGE: ORVL.EXE [drive:][path][filename] [ /A[[:][-]RHSDA] /B /BYTE /C /CLR",
    "       /D[:]AF /E /F /G[:]AF /FREE /H /I /J /K[:]x /L /M[:]NSDAFOCRT /N",
    "       /O[:][-]NDESU /P /Q(1-4) /R /S /SET /T[:]ACW /TREE /U /V /W /X /Y /Y2K",
    "       /7BIT /(1..9) /[range] /? ]",
};

TEST_F(UsageTest, HelpScreenWithoutTheErrorLine) {
  Lines lines = ShownLines();
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(lines[0], "Orvalist 98, Version 7.7 [16 May 98] - 32 bit for Windows 95, 98 and NT");
  EXPECT_EQ(Slice(lines, 1, 5), Summary);
  EXPECT_EQ(
      Slice(lines, 6, 9),
      (Lines{"", "Compatible DOS/NT options:",
             Pair("/A     Attribute specification", "/B     Bare display format"),
             Pair("/C     Display thousands separator", "/D     Same as wide, but sort vertically"),
             Pair("/L     Use lower case", "/N     New WinNT long list format"),
             Pair("/O     Sort order", "/P     Pause between screens"),
             Pair("/S     Recursive subdirectories", "/T     Select date/time format"),
             Pair("/V     Verbose display format", "/W     Wide display format"),
             Pair("/X     Show 8.3 filenames", "/?     this help information")}));
  EXPECT_EQ(Slice(lines, 15, 2), (Lines{"", "Common Orvalist options:"}));
  EXPECT_EQ(lines[22], Pair("/[range] Range specification", "/@cmd  Batch mode"));
  EXPECT_EQ(Slice(lines, 23, 3), (Lines{"", "", "Other Orvalist options:"}));
  EXPECT_EQ(
      Slice(lines, 30, 4),
      (Lines{Pair("/Y2K   display dates in 4 digit format", "/Z     display file descriptions"),
             "/7BIT  use 7 BIT ASCII", "DETAILS:", Detail("Attribute specification", "/A")}));
}

TEST_F(UsageTest, DetailsAndClosingLines) {
  Lines lines = ShownLines();
  EXPECT_EQ(
      Slice(lines, 33, 7),
      (Lines{Detail("Attribute specification", "/A"), Detail("  R Read only"), Detail("  H Hidden"),
             Detail("  S System"), Detail("  A Archive"), Detail("  D Directory"),
             Detail("Use bare mode (no header or summary information)", "/B")}));
  auto range = std::find(lines.begin(), lines.end(),
                         "/[range] Filter files based on a range of dates, times, or sizes");
  ASSERT_NE(range, lines.end());
  EXPECT_EQ(Lines(range + 1, range + 6),
            (Lines{Detail("  /[D...] Date filter"), Detail("  /[T...] Time filter"),
                   Detail("  /[S...] Size filter"),
                   Detail("  See the help file for full details on range specifications."),
                   Detail("Displays this help information", "/?")}));
  EXPECT_EQ(
      Lines(range + 6, lines.end()),
      (Lines{"NB: You can override preset switches by prefixing any switch with - (hyphen)", ""}));
}

// A word the parser accepts is named on the screen (as /WORD, not as the start
// of a longer word), but for the two switches never listed. A hyphen form is
// covered by the closing NB line, a lone digit by "/(1..9)".
TEST_F(UsageTest, EverySwitchWordIsOnTheScreen) {
  std::string screen;
  for (const std::string& line : ShownLines()) screen += line + "\n";
  auto named = [&screen](const std::string& text) {
    for (std::size_t at = screen.find(text); at != std::string::npos;
         at = screen.find(text, at + 1)) {
      const unsigned char next = static_cast<unsigned char>(screen[at + text.size()]);
      if (!std::isupper(next) && !std::isdigit(next)) return true;
    }
    return false;
  };
  for (std::string word : SwitchWordList()) {
    if (word == "TURBO" || word == "-TURBO" || word == "!") continue;
    if (word[0] == '-') word.erase(0, 1);
    const bool digit = word.size() == 1 && word[0] >= '1' && word[0] <= '9';
    EXPECT_TRUE(named(digit ? "/(1..9)" : "/" + word)) << word;
  }
}

TEST_F(UsageTest, BadOptionShowsTheFirstEightArguments) {
  StartupOptions().BadOption = true;
  Lines lines = ShownLines();
  EXPECT_EQ(Slice(lines, 1, 2), (Lines{"", "Incorrect command line option entered - *.* /Q9"}));
  EXPECT_EQ(Slice(lines, 3, 5), Summary);

  ResetConsoleEngine();
  Sim::Reset();
  Sim::SetArguments({"ORVL", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
  lines = ShownLines();
  EXPECT_EQ(lines[2], "Incorrect command line option entered - 1 2 3 4 5 6 7 8");
}

// A refused /K width must not narrow the screen that reports it.
TEST_F(UsageTest, RefusedWidthStillShowsTheWholeErrorLine) {
  Sim::SetArguments({"C:\\TOOLS\\ORVL.EXE", "/K10"});
  Sim::SetRedirected();
  SplitCommandLine();
  ASSERT_TRUE(StartupOptions().BadOption);
  Lines lines = ShownLines();
  EXPECT_EQ(lines[2], "Incorrect command line option entered - /K10");
  EXPECT_EQ(Slice(lines, 3, 5), Summary);
}

TEST_F(UsageTest, AttributesOfTheScreen) {
  StartupOptions().BadOption = true;
  StartupOptions().Pause = false;
  Sim::SetConsole(80, 200);
  EXPECT_TRUE(EndsProgram([] { ShowUsage(); }));
  EXPECT_EQ(RowAttributes(0), AttributeRuns({{24, 14}, {12, 14}, {35, 9}}, 80));
  EXPECT_EQ(RowAttributes(2), AttributeRuns({{53, 12}}, 80));  // trailing blanks included
  EXPECT_EQ(RowAttributes(4), AttributeRuns({{7, 11}, {68, 15}}, 80));
  EXPECT_EQ(RowAttributes(7), AttributeRuns({{7, 0}, {27, 15}}, 80));
  EXPECT_EQ(RowAttributes(9), AttributeRuns({{26, 11}}, 80));
  EXPECT_EQ(RowAttributes(10), AttributeRuns({{30, 15}, {9, 0}, {26, 15}}, 80));
  EXPECT_EQ(RowAttributes(33), AttributeRuns({{22, 15}}, 80));  // the lone last item
  EXPECT_EQ(RowAttributes(35), AttributeRuns({{2, 15}, {5, 0}, {23, 7}}, 80));
  EXPECT_EQ(Sim::RowTrimmed(2), "Incorrect command line option entered - *.* /Q9");
}

TEST_F(UsageTest, HelpPairsFillALineLeftThenRight) {
  Sim::SetRedirected();
  HelpPairs first;
  first.Write("LEFT", 15);
  first.Write("RIGHT", 15);
  first.Write("ALONE", 15);
  NewLine();
  HelpPairs second;  // its first item starts a line, whatever the group before left
  second.Write("X", 15);
  second.Write("Y", 15);
  EXPECT_EQ(OutputLines(), (Lines{Pair("LEFT", "RIGHT"), "ALONE", Pair("X", "Y")}));
}

}  // namespace
