// Listing layouts against the simulated console: column counts, entry order,
// every field kind with its colour and advance, cut names, borders and the
// ways a listing ends.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Base/Utf8.h"
#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Base/TextCells.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Listing/Listing.h"
#include "Engine/Listing/ListingFields.h"
#include "Engine/Listing/ListingLayout.h"
#include "ORVL/DirectorySteps.h"
#include "ListingBuilder.h"
#include "TestWorld.h"

namespace {

const std::string V = Glyph::LineVertical;
const std::string Marker = Glyph::CutMarker;

// A line of text with pieces at 1-based columns, without trailing blanks; every
// character of the pieces takes one cell.
std::string Cells(std::initializer_list<std::pair<int, std::string>> pieces) {
  std::vector<std::string> cells;
  for (const auto& [column, text] : pieces) {
    std::size_t at = static_cast<std::size_t>(column - 1);
    for (std::size_t next = 0; next < text.size(); ++at) {
      const std::size_t start = next;
      Utf8::Next(text, next);
      if (cells.size() <= at) cells.resize(at + 1, " ");
      cells[at] = text.substr(start, next - start);
    }
  }
  while (!cells.empty() && cells.back() == " ") cells.pop_back();
  std::string line;
  for (const std::string& cell : cells) line += cell;
  return line;
}

// A border line of the given listing columns with the branch glyph.
std::string Rule(int width, int columnWidth, int columns, const char* branch) {
  std::string line;
  for (int column = 1; column <= width; ++column)
    line += column % columnWidth == 0 && column / columnWidth < columns ? branch
                                                                        : Glyph::LineHorizontal;
  return line;
}

struct Span {
  int Column;  // 1-based
  int Length;
  std::uint16_t Attribute;
};

// Attributes of a whole console row: the spans, 0 (empty cells) elsewhere.
std::vector<std::uint16_t> Attributes(std::initializer_list<Span> spans, int width = 80) {
  std::vector<std::uint16_t> row(static_cast<std::size_t>(width), 0);
  for (const Span& span : spans)
    std::fill_n(row.begin() + span.Column - 1, span.Length, span.Attribute);
  return row;
}

std::vector<std::uint16_t> RowAttributes(int row) {
  std::vector<std::uint16_t> attributes;
  for (int column = 0; column < Sim::Console().Columns; ++column)
    attributes.push_back(Sim::CellAt(column, row).Attr);
  return attributes;
}

std::vector<std::string> StdOutLines() {
  std::vector<std::string> lines;
  const std::string& out = Sim::StdOut();
  std::size_t start = 0;
  for (std::size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(out.substr(start, end - start));
  return lines;
}

class ListingTest : public TestWorld {
 protected:
  // The listing under test, built as the filter leaves one, and the layout
  // its last write planned.
  static inline ListingBuilder Built;
  static inline DirectoryListing& Listing = Built.Listing;
  static inline ListingLayoutRec Layout;

  void SetUp() override {
    TestWorld::SetUp();
    StartupRunSpec().NoClusterSize = true;  // one summary line, no free-space part
    Built = ListingBuilder{};
    Layout = ListingLayoutRec{};
  }

  static FileEntry& Add(const std::string& name, std::int64_t size = 100,
                        std::uint32_t attributes = Plat::AttrArchive,
                        const std::string& shortName = "") {
    return Built.Add(name, size, attributes, shortName);
  }
  static DirectoryListing& Listed() { return Built.Listed(); }
  static void ClearEntries() { Built.ClearEntries(); }

  static ListingLayoutRec Plan() {
    EnsureOutput();
    return PlanListingLayout(Listed(), {}, ScreenWidth(), ScreenHeight());
  }

  static void ListDirectory() { Layout = ShowDirectory(Listed()); }

  void AddNumbered(int count, const char* format = "F%03d") {
    char name[32];
    for (int number = 1; number <= count; ++number) {
      std::snprintf(name, sizeof name, format, number);
      Add(name);
    }
  }
};

// ---------------------------------------------------------------- layout

TEST_F(ListingTest, ColumnCountFollowsTheWidestNameAndTheMinimum) {
  struct Case {
    int Longest;
    int MinColumns;
    int FixedColumns;
    int Across, Width, Room, Cut;
    bool Squeezed;
  };
  // W = 80, default format (size 7, name): FixedWidth 8.
  const Case cases[] = {
      {12, 2, 0, 4, 20, 13, 12, false},  // the worked example
      {5, 2, 0, 4, 20, 13, 12, false},   // six of 13 would leave names under 10
      {100, 2, 0, 2, 40, 33, 32, true},  // longer than the screen: squeezed to MinColumns
      {25, 3, 0, 3, 26, 19, 18, true},   // /Q3 where only two would fit
      {25, 4, 0, 4, 20, 13, 12, true},   // /Q4: 20 - 8 still leaves 12 for names
      {5, 2, 9, 4, 20, 13, 12, false},   // /9 falls back while names get under 10
      {5, 2, 3, 3, 26, 19, 18, false},   // /3 with room to spare
      {25, 2, 4, 4, 20, 13, 12, true},   // /4 narrower than the longest name
      {40, 2, 1, 1, 80, 73, 72, true},   // /1 after squeezing to two
      {72, 1, 0, 1, 80, 73, 72, false},  // /Q1: a name that fills the line exactly is not squeezed
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.Longest * 100 + test.FixedColumns * 10 + test.MinColumns);
    Listing.MaxNameLength = test.Longest;
    StartupOptions().MinColumns = static_cast<std::uint8_t>(test.MinColumns);
    StartupOptions().FixedColumns = static_cast<std::uint8_t>(test.FixedColumns);
    Layout = Plan();
    EXPECT_EQ(Layout.FixedWidth, 8);
    EXPECT_EQ(Layout.ColumnsAcross, test.Across);
    EXPECT_EQ(Layout.ColumnWidth, test.Width);
    EXPECT_EQ(Layout.NameRoom, test.Room);
    EXPECT_EQ(Layout.NameCut, test.Cut);
    EXPECT_EQ(Layout.Squeezed, test.Squeezed);
  }
}

TEST_F(ListingTest, AColumnKeepsTenCellsForNames) {
  // /5 on 85 columns would leave 17 - 8 = 9 cells for names: four are made.
  Sim::SetConsole(85, 25);
  Listing.MaxNameLength = 5;
  StartupOptions().FixedColumns = 5;
  Layout = Plan();
  EXPECT_EQ(Layout.ColumnsAcross, 4);
  EXPECT_EQ(Layout.ColumnWidth, 21);
}

TEST_F(ListingTest, WideFixedFieldsLeaveFewerColumnsThanAsked) {
  // /V with a 19-character date: 7 + 20 + 6 + 13 + 1 = 47 fixed columns.
  SetColumns({{'s', 7}, {'3', 0}, {'a', 6}, {'f', 13}, {'n', 0}});
  Listing.TimeColumnWidth[3] = 19;
  Listing.MaxNameLength = 12;
  StartupOptions().MinColumns = 4;
  Layout = Plan();
  EXPECT_EQ(Layout.FixedWidth, 47);
  EXPECT_EQ(Layout.ColumnsAcross, 1);
  EXPECT_EQ(Layout.NameRoom, 34);
  EXPECT_TRUE(Layout.Squeezed);
}

TEST_F(ListingTest, BytesWidenTheSizeFieldsAndDescriptionsTakeTheWholeLine) {
  SetColumns({{'s', 7}, {'f', 13}, {'d', 0}});
  StartupOptions().SizesInBytes = true;
  StartupOptions().ShowDescriptions = true;
  Listing.MaxNameLength = 8;
  Layout = Plan();
  EXPECT_EQ(Layout.FixedWidth, 12 + 13 + 1);
  EXPECT_EQ(Layout.ColumnsAcross, 1);
  EXPECT_EQ(Layout.ColumnWidth, 80);
  EXPECT_EQ(Layout.NameRoom, 80 - 26 + 1);
}

TEST_F(ListingTest, FormatsWithoutANameNeedOnlyTheirFixedWidth) {
  SetColumns({{'a', 6}});
  StartupOptions().HasNameColumn = false;
  Layout = Plan();
  EXPECT_EQ(Layout.ColumnsAcross, 13);
  EXPECT_EQ(Layout.ColumnWidth, 6);

  // Only a description: nothing fixed, one line per entry.
  SetColumns({{'d', 0}});
  StartupOptions().ShowDescriptions = true;
  Layout = Plan();
  EXPECT_EQ(Layout.ColumnsAcross, 1);
  EXPECT_EQ(Layout.NameRoom, 81);
}

TEST_F(ListingTest, TooNarrowAScreenEndsTheRun) {
  Sim::SetConsole(40, 25);
  SetColumns({{'s', 7}, {'3', 0}, {'n', 0}});
  Listing.TimeColumnWidth[3] = 21;  // 7 + 22 + 1 = 30; 30 + 11 > 40
  Add("A");
  EXPECT_TRUE(EndsProgram([] { ListDirectory(); }));
  EXPECT_EQ(Sim::RowTrimmed(0), "Insufficient screen width for display");
  EXPECT_EQ(Sim::CellAt(0, 0).Attr, Looks.Colours.HeadingColour);

  // One column less and it fits.
  Sim::Reset();
  ResetConsoleEngine();
  Sim::SetConsole(40, 25);
  Listing.TimeColumnWidth[3] = 20;
  EXPECT_FALSE(EndsProgram([] { ListDirectory(); }));
}

// ---------------------------------------------------------------- whole listings

TEST_F(ListingTest, DefaultLayoutWritesFourColumnsBetweenBorders) {
  Add("SUB", 0, Plat::AttrDirectory);
  Add("alpha.txt", 1536);
  Add("BETA.DOC", 5);
  Add("gamma12345.c", 1048575);
  Add("delta", 0);
  ListDirectory();

  EXPECT_EQ(Sim::RowTrimmed(0), Rule(80, 20, 4, Glyph::LineBranchDown));
  EXPECT_EQ(RowAttributes(0), Attributes({{1, 80, Looks.Colours.LineColour}}));
  // Sorted: the directory first, then the files by name.
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{1, " <DIR> SUB"},
                                       {20, V},
                                       {21, "  1.5K alpha.txt"},
                                       {40, V},
                                       {41, "     5 BETA.DOC"},
                                       {60, V},
                                       {61, "     0 delta"}}));
  // 1,048,575 bytes would round up to 1024.0K: the next unit keeps the field.
  EXPECT_EQ(Sim::RowTrimmed(2),
            Cells({{1, "  1.0M"}, {8, "gamma12345.c"}, {20, V}, {40, V}, {60, V}}));
  EXPECT_EQ(RowAttributes(1), Attributes({{1, 6, Looks.Colours.DirectoryColour},
                                          {8, 3, Looks.Colours.DirectoryColour},
                                          {20, 1, Looks.Colours.LineColour},
                                          {21, 6, Looks.Colours.DetailColour},
                                          {28, 9, Looks.Colours.FileColour},
                                          {40, 1, Looks.Colours.LineColour},
                                          {41, 6, Looks.Colours.DetailColour},
                                          {48, 8, Looks.Colours.FileColour},
                                          {60, 1, Looks.Colours.LineColour},
                                          {61, 6, Looks.Colours.DetailColour},
                                          {68, 5, Looks.Colours.FileColour}}));
  EXPECT_EQ(Sim::RowTrimmed(3), Rule(80, 20, 4, Glyph::LineBranchUp));
  EXPECT_EQ(Sim::RowTrimmed(4), "1,050,116 bytes (1.00MB) in 4 files and 1 dir");
}

TEST_F(ListingTest, IncompleteLastRowsKeepEverySeparator) {
  SetColumns({{'n', 0}});
  Listing.MaxNameLength = 25;  // 80 div 26: three columns
  for (int count : {1, 2, 3, 4}) {
    SCOPED_TRACE(count);
    Sim::Reset();
    ResetConsoleEngine();
    ClearEntries();
    AddNumbered(count, "N%d");
    Listing.MaxNameLength = 25;
    ListDirectory();
    const std::string bar = V;
    std::vector<std::string> expected = {
        Cells({{1, "N1"}, {26, bar}, {52, bar}}),
        Cells({{1, "N1"}, {26, bar}, {27, "N2"}, {52, bar}}),
        Cells({{1, "N1"}, {26, bar}, {27, "N2"}, {52, bar}, {53, "N3"}}),
        Cells({{1, "N1"}, {26, bar}, {27, "N2"}, {52, bar}, {53, "N3"}}),
    };
    EXPECT_EQ(Sim::RowTrimmed(1), expected[static_cast<std::size_t>(count - 1)]);
    if (count == 4) {
      EXPECT_EQ(Sim::RowTrimmed(2), Cells({{1, "N4"}, {26, bar}, {52, bar}}));
      EXPECT_EQ(Sim::CellAt(51, 2).Attr, Looks.Colours.LineColour);
    }
    EXPECT_EQ(Sim::RowTrimmed(count == 4 ? 3 : 2), Rule(80, 26, 3, Glyph::LineBranchUp));
  }
}

TEST_F(ListingTest, MissingSeparatorsSitAtColumnEndsWhenNamesAreShort) {
  // Names of two: wanted 10, but names need 10 characters: four columns of 20,
  // so the fields of an entry end well before its separator.
  AddNumbered(5, "F%d");
  ListDirectory();
  ASSERT_EQ(Layout.ColumnWidth, 20);
  const std::string bar = V;
  EXPECT_EQ(Sim::RowTrimmed(2), Cells({{1, "   100 F5"}, {20, bar}, {40, bar}, {60, bar}}));
  EXPECT_EQ(RowAttributes(2), Attributes({{1, 6, Looks.Colours.DetailColour},
                                          {8, 2, Looks.Colours.FileColour},
                                          {20, 1, Looks.Colours.LineColour},
                                          {40, 1, Looks.Colours.LineColour},
                                          {60, 1, Looks.Colours.LineColour}}));
}

TEST_F(ListingTest, VerticalOrderRunsDownTheColumns) {
  SetColumns({{'n', 0}});
  StartupOptions().VerticalSort = true;
  AddNumbered(10, "E%02d");
  Listing.MaxNameLength = 25;
  ListDirectory();
  const std::string bar = V;
  EXPECT_EQ(Sim::RowTrimmed(1),
            Cells({{1, "E01"}, {26, bar}, {27, "E05"}, {52, bar}, {53, "E08"}}));
  EXPECT_EQ(Sim::RowTrimmed(2),
            Cells({{1, "E02"}, {26, bar}, {27, "E06"}, {52, bar}, {53, "E09"}}));
  EXPECT_EQ(Sim::RowTrimmed(3),
            Cells({{1, "E03"}, {26, bar}, {27, "E07"}, {52, bar}, {53, "E10"}}));
  EXPECT_EQ(Sim::RowTrimmed(4), Cells({{1, "E04"}, {26, bar}, {52, bar}}));
}

// Redirected output: W = 80, H = 101. Outside recursive mode the first block
// keeps four rows for the banner and header (97 rows); the rest forms a block
// sized to what is left.
TEST_F(ListingTest, VerticalBlocksAreLimitedByThePage) {
  Sim::SetRedirected();
  SetColumns({{'n', 0}});
  StartupOptions().VerticalSort = true;
  AddNumbered(400);
  Listing.MaxNameLength = 25;
  ListDirectory();
  std::vector<std::string> lines = StdOutLines();
  const std::string bar = "\xB3";  // code page 437
  auto row = [&](const char* a, const char* b, const char* c) {
    return Cells({{1, a}, {26, bar}, {27, b}, {52, bar}, {53, c}});
  };
  ASSERT_GE(lines.size(), 136u);
  EXPECT_EQ(lines[1], row("F001", "F098", "F195"));
  EXPECT_EQ(lines[97], row("F097", "F194", "F291"));
  EXPECT_EQ(lines[98], row("F292", "F329", "F365"));
  EXPECT_EQ(lines[134], Cells({{1, "F328"}, {26, bar}, {52, bar}}));
  EXPECT_EQ(lines[135], std::string(25, '\xC4') + '\xC1' + std::string(25, '\xC4') + '\xC1' +
                            std::string(28, '\xC4'));
}

TEST_F(ListingTest, RecursiveVerticalBlocksUseTheRowsLeftOnThePage) {
  Sim::SetRedirected();
  SetColumns({{'n', 0}});
  StartupOptions().VerticalSort = true;
  StartupOptions().Recursive = true;
  AddNumbered(400);
  Listing.MaxNameLength = 25;
  ListDirectory();
  std::vector<std::string> lines = StdOutLines();
  const std::string bar = "\xB3";  // code page 437
  ASSERT_GE(lines.size(), 136u);
  // 101 - PageLines (1) = 100 rows in the first block, then 100 entries in 34 rows.
  EXPECT_EQ(lines[1], Cells({{1, "F001"}, {26, bar}, {27, "F101"}, {52, bar}, {53, "F201"}}));
  EXPECT_EQ(lines[101], Cells({{1, "F301"}, {26, bar}, {27, "F335"}, {52, bar}, {53, "F368"}}));
  EXPECT_EQ(lines[134], Cells({{1, "F334"}, {26, bar}, {52, bar}}));
  // The summary is followed by one empty line before the next directory.
  EXPECT_EQ(lines.back(), "");
}

TEST_F(ListingTest, NamesAreCutToTheRoomOfTheirColumn) {
  // Names of 40: squeezed to two columns of 40, room 33 in the last column, 32 elsewhere.
  std::string exact32(32, 'a'), exact33(33, 'b'), over32(33, 'c'), over33(34, 'd');
  Add(exact32);  // column 1: whole
  Add(exact33);  // column 2 (last): whole
  Add(over32);   // column 1: cut
  Add(over33);   // column 2: cut
  Listing.MaxNameLength = 40;
  ListDirectory();
  EXPECT_EQ(Layout.ColumnsAcross, 2);
  EXPECT_EQ(Layout.ColumnWidth, 40);
  const std::string bar = V;
  EXPECT_EQ(Sim::RowTrimmed(1),
            Cells({{1, "   100"}, {8, exact32}, {40, bar}, {41, "   100"}, {48, exact33}}));
  EXPECT_EQ(Sim::RowTrimmed(2), Cells({{1, "   100"},
                                       {8, std::string(31, 'c') + Marker},
                                       {40, bar},
                                       {41, "   100"},
                                       {48, std::string(32, 'd') + Marker}}));
  EXPECT_EQ(RowAttributes(2), Attributes({{1, 6, Looks.Colours.DetailColour},
                                          {8, 32, Looks.Colours.FileColour},
                                          {40, 1, Looks.Colours.LineColour},
                                          {41, 6, Looks.Colours.DetailColour},
                                          {48, 33, Looks.Colours.FileColour}}));
}

// Columns count cells: a wide character takes two, and a cut keeps whole
// characters only, the marker right after them.
TEST_F(ListingTest, NamesOfEveryScriptAreLaidOutByCells) {
  SetColumns({{'n', 0}});
  StartupOptions().FixedColumns = 7;
  for (const char* name : {"abc.txt", "caf\u00E9.txt", "\u03A9mega", "\u65E5\u672C\u8A9E.txt",
                           "\U0001F600smile", "\u65E5\u672C\u8A9E\u65E5\u672C\u8A9E\u65E5"})
    Add(name);
  ListDirectory();
  EXPECT_EQ(Layout.ColumnWidth, 11);
  const std::string bar = V;
  EXPECT_EQ(Sim::RowTrimmed(1), "abc.txt   " + bar + "caf\u00E9.txt  " + bar + "\u03A9mega     " +
                                    bar + "\u65E5\u672C\u8A9E.txt" + bar +
                                    "\u65E5\u672C\u8A9E\u65E5" + Marker + " " + bar +
                                    "\U0001F600smile   " + bar);
  EXPECT_EQ(Sim::CellAt(34, 1).Char, u'\u200B');  // the second half of a wide character
  EXPECT_EQ(RowAttributes(1), Attributes({{1, 7, Looks.Colours.FileColour},
                                          {11, 1, Looks.Colours.LineColour},
                                          {12, 8, Looks.Colours.FileColour},
                                          {22, 1, Looks.Colours.LineColour},
                                          {23, 5, Looks.Colours.FileColour},
                                          {33, 1, Looks.Colours.LineColour},
                                          {34, 10, Looks.Colours.FileColour},
                                          {44, 1, Looks.Colours.LineColour},
                                          {45, 9, Looks.Colours.FileColour},
                                          {55, 1, Looks.Colours.LineColour},
                                          {56, 7, Looks.Colours.FileColour},
                                          {66, 1, Looks.Colours.LineColour}}));
}

// Names of many scripts, marks and all: each mark is shown with the
// character before it (composed where one character holds both) and takes
// no column, so every separator stands where a terminal puts it.
struct ScriptName {
  const char* Name;
  const char* Shown;  // as the row carries it: composed, marks after their character
  int Cells;          // the columns a terminal gives it
};
const ScriptName ScriptNames[] = {
    {"\u0939\u093F\u0902\u0926\u0940", nullptr, 4},                     // Devanagari
    {"\u09AC\u09BE\u0982\u09B2\u09BE\u0981", nullptr, 5},               // Bengali
    {"\u0A2A\u0A70\u0A1C\u0A3E\u0A2C\u0A40", nullptr, 5},               // Gurmukhi
    {"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD", nullptr, 4},                      // Tamil
    {"\u0C24\u0C46\u0C32\u0C41\u0C17\u0C41", nullptr, 5},               // Telugu
    {"\u1781\u17D2\u1798\u17C2\u179A", nullptr, 4},                      // Khmer
    {"\u1019\u103C\u1014\u103A\u1019\u102C", nullptr, 5},               // Myanmar
    {"\u07D2\u07DE\u07CF\u07EB", nullptr, 3},                             // NKo
    {"\u0723\u0718\u072A\u071D\u071D\u0710\u0730", nullptr, 6},        // Syriac
    {"\u078B\u07A8\u0788\u07AC\u0780\u07A8", nullptr, 3},               // Thaana
    {"\u0F56\u0F7C\u0F51\u0F0B\u0F61\u0F72\u0F42", nullptr, 5},        // Tibetan
    {"\u182E\u1823\u180B\u1829", nullptr, 3},                             // Mongolian
    {"\u1112\u1161\u11AB\u1100\u116E\u11A8\u110B\u1165", "\uD55C\uAD6D\uC5B4", 6},  // NFD
    {"\u4DC0\u4DC1", nullptr, 4},                                           // hexagrams
    {"\u05E2\u05B4\u05D1\u05B0\u05E8\u05B4\u05D9\u05EA", nullptr, 5}, // Hebrew
    {"\u0639\u064E\u0631\u064E\u0628\u0650\u064A\u0651", nullptr, 4}, // Arabic
    {"cafe\u0301", "caf\u00E9", 4},                                         // Latin, NFD
    {"\u03B1\u0313\u03BB\u03C6\u03B1", "\u1F00\u03BB\u03C6\u03B1", 4},  // Greek, NFD
    {"\u0E01\u0E34\u0E19", nullptr, 2},                                    // Thai
    {"\U0001F468\u200D\U0001F469\u200D\U0001F467", nullptr, 6},          // joined emoji
};

// The rows four names a row, each in 19 columns and a separator.
std::vector<std::string> ScriptRows() {
  std::vector<std::string> rows(1);
  int inRow = 0;
  for (const ScriptName& name : ScriptNames) {
    std::string shown = name.Shown ? name.Shown : name.Name;
    rows.back() += shown + std::string(static_cast<std::size_t>(19 - name.Cells), ' ');
    if (++inRow < 4) {
      rows.back() += V;
    } else {
      inRow = 0;
      while (rows.back().back() == ' ') rows.back().pop_back();
      rows.emplace_back();
    }
  }
  rows.pop_back();
  return rows;
}

TEST_F(ListingTest, NamesOfTwentyScriptsKeepEveryCharacterAndTheirColumns) {
  SetColumns({{'n', 0}});
  StartupOptions().FixedColumns = 4;
  StartupOptions().SortKey = 'U';  // as added
  for (const ScriptName& name : ScriptNames) Add(name.Name);
  ListDirectory();
  ASSERT_EQ(Layout.ColumnWidth, 20);
  const std::vector<std::string> expected = ScriptRows();
  for (std::size_t row = 0; row < expected.size(); ++row)
    EXPECT_EQ(Sim::RowTrimmed(static_cast<int>(row) + 1), expected[row]) << row;

  // Plain UTF-8 carries the same characters in the same columns.
  Sim::Reset();
  ResetConsoleEngine();
  Sim::SetRedirected();
  Sim::SetRequestedPlainCodePage(Plat::Utf8CodePage);
  ListDirectory();
  const std::vector<std::string> plain = ScriptRows();
  const std::vector<std::string> lines = StdOutLines();
  ASSERT_GE(lines.size(), plain.size() + 1);
  for (std::size_t row = 0; row < plain.size(); ++row) EXPECT_EQ(lines[row + 1], plain[row]) << row;
}

TEST_F(ListingTest, NamesTakeCaseAndExtensionColour) {
  SetColumns({{'n', 0}});
  StartupOptions().FixedColumns = 1;
  StartupOptions().NameCase = 'U';
  StartupLooks().ExtensionColours[1] = {"TXT", 10};
  StartupLooks().ExtensionColourCount = 1;
  Add("caf\u00E9.txt");
  Add("Read.me");
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), "CAF\u00E9.TXT");
  EXPECT_EQ(RowAttributes(1), Attributes({{1, 8, 10}}));
  EXPECT_EQ(Sim::RowTrimmed(2), "READ.ME");
  EXPECT_EQ(RowAttributes(2), Attributes({{1, 7, Looks.Colours.FileColour}}));

  Sim::Reset();
  ResetConsoleEngine();
  StartupOptions().NameCase = 'L';
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(2), "read.me");
}

// ---------------------------------------------------------------- fields

class ListingFieldTest : public ListingTest {
 protected:
  void SetUp() override {
    ListingTest::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::AddDirectory("C:\\DATA");
    StartupRunSpec().CurrentDir = Listing.CurrentDir = "C:\\DATA\\";
    StartupOptions().FixedColumns = 1;
  }

  // A file known to the simulated disk as well as to the listing.
  FileEntry& AddOnDisk(const std::string& name, std::int64_t size, std::int64_t compressed,
                       const std::string& owner = "",
                       std::uint32_t attributes = Plat::AttrArchive) {
    Sim::Entry disk;
    disk.Name = name;
    disk.Size = static_cast<std::uint64_t>(size);
    disk.Compressed = compressed;
    disk.Owner = owner;
    disk.Attributes = attributes;
    Sim::AddEntry("C:\\DATA", disk);
    return Add(name, size, attributes);
  }
};

// From 1,000 G on the unit is T, so the figure never reaches into the name.
TEST_F(ListingFieldTest, HugeSizesKeepTheirUnitAndBlank) {
  SetColumns({{'s', 7}, {'n', 0}});
  Add("a_nearly", 999LL << 30);
  Add("b_five", 5LL << 40);
  Add("c_ten", 10LL << 40);
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), "999.0G a_nearly");
  EXPECT_EQ(Sim::RowTrimmed(2), "  5.0T b_five");
  EXPECT_EQ(Sim::RowTrimmed(3), " 10.0T c_ten");
}

TEST_F(ListingFieldTest, SizeFieldsInUnitsAndInBytes) {
  SetColumns({{'s', 7}, {'n', 0}});
  Add("D", 0, Plat::AttrDirectory);
  Add("big", 1234567);
  Add("huge", 5000000000LL);
  Add("tiny", 1023);
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), " <DIR> D");
  EXPECT_EQ(Sim::RowTrimmed(2), "  1.2M big");
  EXPECT_EQ(Sim::RowTrimmed(3), "  4.7G huge");
  EXPECT_EQ(Sim::RowTrimmed(4), "  1023 tiny");
  EXPECT_EQ(RowAttributes(2),
            Attributes({{1, 6, Looks.Colours.DetailColour}, {8, 3, Looks.Colours.FileColour}}));

  Sim::Reset();
  ResetConsoleEngine();
  StartupOptions().SizesInBytes = true;
  ListDirectory();
  // The 13-character figure of the huge file widens the field for the whole directory.
  EXPECT_EQ(Sim::RowTrimmed(1), " <DIR>        D");
  EXPECT_EQ(Sim::RowTrimmed(2), "    1,234,567 big");
  EXPECT_EQ(Sim::RowTrimmed(3), "5,000,000,000 huge");
  EXPECT_EQ(Sim::RowTrimmed(4), "        1,023 tiny");
  EXPECT_EQ(RowAttributes(2),
            Attributes({{1, 13, Looks.Colours.DetailColour}, {15, 3, Looks.Colours.FileColour}}));

  // Without it the field keeps its 11 characters.
  Sim::Reset();
  ResetConsoleEngine();
  Listing.FileList.erase(Listing.FileList.begin() + 2);
  Listing.ListedCount = 3;
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), " <DIR>      D");
  EXPECT_EQ(Sim::RowTrimmed(2), "  1,234,567 big");
  EXPECT_EQ(Sim::RowTrimmed(3), "      1,023 tiny");
}

TEST_F(ListingFieldTest, CompressionFieldsStayBlankWhenTheQueryFails) {
  SetColumns({{'c', 7}, {'r', 5}, {'n', 0}});
  AddOnDisk("a", 3000, 1000);
  AddOnDisk("b", 30000, 1000);
  AddOnDisk("c", 500, -1);  // the query fails
  AddOnDisk("d", 0, 0);     // an empty file: size 0, no ratio
  AddOnDisk("z", 0, 2048, "", Plat::AttrDirectory);
  ListDirectory();
  // A directory has no compressed-size field, but a ratio when the platform reports a size.
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{8, "0.00"}, {13, "z"}}));
  EXPECT_EQ(Sim::RowTrimmed(2), Cells({{1, "  1000"}, {8, "3.00"}, {13, "a"}}));
  EXPECT_EQ(Sim::RowTrimmed(3), Cells({{1, "  1000"}, {8, "30.0"}, {13, "b"}}));
  EXPECT_EQ(Sim::RowTrimmed(4), Cells({{13, "c"}}));
  EXPECT_EQ(Sim::RowTrimmed(5), Cells({{1, "     0"}, {13, "d"}}));
  EXPECT_EQ(RowAttributes(2), Attributes({{1, 6, Looks.Colours.DetailColour},
                                          {8, 4, Looks.Colours.DetailColour},
                                          {13, 1, Looks.Colours.FileColour}}));
}

// The ratio keeps to four characters and the blank before the next column:
// fewer decimals as it grows, past 9999 three digits and the marker.
TEST_F(ListingFieldTest, RatiosNeverReachIntoTheName) {
  SetColumns({{'r', 5}, {'n', 0}});
  const struct {
    const char* Name;
    std::int64_t Size, Compressed;
    const char* Ratio;
  } rows[] = {
      {"a", 9994, 1000, "9.99"},  {"b", 9996, 1000, "10.0"},
      {"c", 99949, 1000, "99.9"}, {"d", 99960, 1000, " 100"},
      {"e", 9999, 1, "9999"},     {"f", std::int64_t{1} << 30, 65536, "163\u25BA"},
  };
  for (const auto& row : rows) AddOnDisk(row.Name, row.Size, row.Compressed);
  ListDirectory();
  for (std::size_t at = 0; at < std::size(rows); ++at)
    EXPECT_EQ(Sim::RowTrimmed(static_cast<int>(at) + 1),
              Cells({{1, rows[at].Ratio}, {6, rows[at].Name}}));
}

TEST_F(ListingFieldTest, OwnerIsCutWithTheMarker) {
  SetColumns({{'o', 15}, {'n', 0}});
  AddOnDisk("a", 1, 0, "fourteen_chars");
  AddOnDisk("b", 1, 0, "fifteen_letters");
  AddOnDisk("c", 1, 0, "");  // no owner known
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{1, "fourteen_chars"}, {16, "a"}}));
  EXPECT_EQ(Sim::RowTrimmed(2), Cells({{1, "fifteen_lette" + Marker}, {16, "b"}}));
  EXPECT_EQ(Sim::RowTrimmed(3), Cells({{16, "c"}}));
  EXPECT_EQ(RowAttributes(2),
            Attributes({{1, 14, Looks.Colours.DetailColour}, {16, 1, Looks.Colours.FileColour}}));
}

TEST_F(ListingFieldTest, TimeFieldsUseThePatternAndTheMeasuredWidth) {
  SetColumns({{'1', 0}, {'3', 0}, {'n', 0}});
  StartupLooks().DateFormat = "yyyy-mm-dd hh:nn";
  Listing.TimeColumnWidth[1] = 16;
  Listing.TimeColumnWidth[3] = 18;  // wider than the text: the advance still follows it
  Sim::SetTimeZoneBias(60);
  FileEntry& entry = Add("x");
  entry.AccessTime = Sim::MakeFileTime(2024, 3, 5, 14, 7);
  entry.WriteTime = Sim::MakeFileTime(1999, 12, 31, 23, 30);
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1),
            Cells({{1, "2024-03-05 15:07"}, {18, "2000-01-01 00:30"}, {37, "x"}}));
  EXPECT_EQ(RowAttributes(1), Attributes({{1, 16, Looks.Colours.DateColour},
                                          {18, 16, Looks.Colours.DateColour},
                                          {37, 1, Looks.Colours.FileColour}}));

  // A stamp the platform cannot convert shows as 1 January 0001.
  Sim::Reset();
  ResetConsoleEngine();
  Sim::FailTimeConversion(true);
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1),
            Cells({{1, "0001-01-01 00:00"}, {18, "0001-01-01 00:00"}, {37, "x"}}));
}

TEST_F(ListingFieldTest, ShortNamesAndAttributes) {
  SetColumns({{'f', 13}, {'a', 6}, {'n', 0}});
  Add("Long file name.text", 1, Plat::AttrReadOnly | Plat::AttrArchive, "LONGFI~1.TEX");
  Add("..", 0, Plat::AttrDirectory | Plat::AttrHidden | Plat::AttrSystem, "..");
  Add("NOEXT", 0, 0);
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{1, ".."}, {14, ".hs.d"}, {20, ".."}}));
  EXPECT_EQ(Sim::RowTrimmed(2),
            Cells({{1, "LONGFI~1.TEX"}, {14, "r..a."}, {20, "Long file name.text"}}));
  EXPECT_EQ(Sim::RowTrimmed(3), Cells({{1, "NOEXT"}, {14, "....."}, {20, "NOEXT"}}));
  EXPECT_EQ(RowAttributes(1), Attributes({{1, 2, Looks.Colours.DirectoryColour},
                                          {14, 5, Looks.Colours.DetailColour},
                                          {20, 2, Looks.Colours.DirectoryColour}}));

  Sim::Reset();
  ResetConsoleEngine();
  StartupOptions().Justify = true;
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{1, ".."}, {14, ".hs.d"}, {20, ".."}}));
  EXPECT_EQ(Sim::RowTrimmed(2),
            Cells({{1, "LONGFI~1"}, {10, "TEX"}, {14, "r..a."}, {20, "Long file name.text"}}));
  EXPECT_EQ(Sim::RowTrimmed(3), Cells({{1, "NOEXT"}, {14, "....."}, {20, "NOEXT"}}));
}

TEST_F(ListingFieldTest, NameAdvanceDependsOnSqueezing) {
  // Fields after the name start after the longest name, or after the room when
  // squeezed (one less where a separator follows).
  SetColumns({{'n', 0}, {'s', 7}});
  StartupOptions().FixedColumns = 0;
  Add("ab", 5);
  Add("cd", 7);
  Listing.MaxNameLength = 12;  // wanted 20: four columns
  ListDirectory();
  EXPECT_EQ(
      Sim::RowTrimmed(1),
      Cells({{1, "ab"}, {14, "     5"}, {20, V}, {21, "cd"}, {34, "     7"}, {40, V}, {60, V}}));

  Sim::Reset();
  ResetConsoleEngine();
  Listing.MaxNameLength = 100;  // squeezed into two columns of 40: room 33
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1),
            Cells({{1, "ab"}, {34, "     5"}, {40, V}, {41, "cd"}, {75, "     7"}}));
}

TEST_F(ListingFieldTest, DescriptionColumnShowsTheLongNameWhenThereIsNoDescription) {
  SetColumns({{'f', 13}, {'d', 0}});
  StartupOptions().ShowDescriptions = true;
  Add("Annual report.doc", 1, Plat::AttrArchive, "ANNUAL~1.DOC");
  Add("readme.txt", 1, Plat::AttrArchive, "README.TXT");
  ListDirectory();  // no descriptions for this directory: the column stays blank
  EXPECT_EQ(Sim::RowTrimmed(1), "ANNUAL~1.DOC");
  EXPECT_EQ(Sim::RowTrimmed(2), "README.TXT");

  Sim::Reset();
  ResetConsoleEngine();
  Listing.Descriptions.Here = true;
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(1), Cells({{1, "ANNUAL~1.DOC"}, {14, "Annual report.doc"}}));
  EXPECT_EQ(RowAttributes(1),
            Attributes({{1, 12, Looks.Colours.FileColour}, {14, 17, Looks.Colours.DetailColour}}));
  EXPECT_EQ(Sim::RowTrimmed(2), "README.TXT");  // same name in another case: nothing more
}

TEST_F(ListingFieldTest, LongDescriptionsWrapAtBlanksOrHard) {
  Layout = Plan();
  Layout.NameRoom = 10;
  WriteDescriptionText(Layout.NameRoom, "the quick brown fox jumps", 5);
  NewLine();
  WriteDescriptionText(Layout.NameRoom, "abcdefghijklmnopqrstuvw xy", 5);
  NewLine();
  WriteDescriptionText(Layout.NameRoom, "exactly10c", 5);  // fits whole
  NewLine();
  WriteDescriptionText(Layout.NameRoom, "0123456789 next", 5);  // the blank is the eleventh character
  NewLine();
  std::vector<std::string> expected = {"    the quick",  "    brown fox",  "    jumps",
                                       "    abcdefghij", "    klmnopqrst", "    uvw xy",
                                       "    exactly10c", "    0123456789", "    next"};
  for (std::size_t row = 0; row < expected.size(); ++row)
    EXPECT_EQ(Sim::RowTrimmed(static_cast<int>(row)), expected[row]) << row;
  EXPECT_EQ(RowAttributes(1), Attributes({{5, 9, Looks.Colours.DetailColour}}));
}

// ---------------------------------------------------------------- ends of a listing

TEST_F(ListingTest, SummaryOnlyWritesTheBottomLineAndSummaryUnsorted) {
  StartupOptions().SummaryOnly = true;
  Add("b");
  Add("a");
  ListDirectory();
  EXPECT_EQ(Sim::RowTrimmed(0), Rule(80, 20, 4, Glyph::LineBranchUp));
  EXPECT_EQ(Sim::RowTrimmed(1), "200 bytes in 2 files");
  EXPECT_EQ(Sim::RowTrimmed(2), "");
  EXPECT_EQ(Listing.FileList[0]->Name, "b");
}

TEST_F(ListingTest, BareListsEntriesWithoutBordersOrSummary) {
  Sim::SetRedirected();
  SetColumns({{'n', 0}});
  StartupOptions().Bare = true;
  StartupOptions().SummaryOnly = true;  // has no effect with /B
  StartupOptions().FixedColumns = 1;
  Add("b");
  Add("a");
  ListDirectory();
  EXPECT_EQ(StdOutLines(), (std::vector<std::string>{"a", "b"}));
}

// For other programs (the Linux wrapper asks for UTF-8 and exact names) a
// bare name is written byte for byte: no "?" for hiding characters, no
// composition, the directory in Linux form when asked, ended by NUL when
// asked. A name holding U+FFFD (bytes wine could not show) is left out and
// counted on standard error: it could name another file. Standard output
// takes names only: other lines go to standard error.
TEST_F(ListingTest, BareNamesForProgramsAreExact) {
  using namespace std::string_literals;
  const struct {
    Plat::BareNamesRequest Request;
    std::string Head;
    std::string Out;
  } cases[] = {
      {{true, false}, "Z:\\tmp\\a b\\",
       "/tmp/a b/e\u0301\u202Ex\r\n/tmp/a b/new?line\r\n/tmp/a b/z\\q\r\n"},
      {{true, true}, "Z:\\tmp\\", "/tmp/e\u0301\u202Ex\0/tmp/new\nline\0/tmp/z\\q\0"s},
      {{false, false}, "Z:\\tmp\\", "Z:\\tmp\\e\u0301\u202Ex\r\nZ:\\tmp\\new?line\r\nZ:\\tmp\\z\\q\r\n"},
      {{true, false}, "C:\\w\\", "C:\\w\\e\u0301\u202Ex\r\nC:\\w\\new?line\r\nC:\\w\\z\\q\r\n"},
  };
  for (const auto& c : cases) {
    ResetWorld();
    Built = ListingBuilder{};
    Sim::SetRedirected();
    Sim::SetRequestedPlainCodePage(Plat::Utf8CodePage);
    Sim::SetRequestedBareNames(c.Request);
    SetColumns({{'n', 0}});
    StartupOptions().Bare = true;
    StartupOptions().FullPath = true;
    StartupOptions().FixedColumns = 1;
    Listing.CurrentDir = c.Head;
    for (const char* name : {"e\u0301\u202Ex", "new\nline", "z\\q", "bad\uFFFD.txt"})
      Add(c.Head + name);
    EnsureOutput();
    ListDirectory();
    WriteLine("1 directory could not be read", 1, 7);  // for the person, not the program
    FWriteFinish();
    EXPECT_EQ(Sim::StdOut(), c.Out) << c.Head;
    // Output that nothing filters after the program (NUL ends) has LF line ends.
    EXPECT_EQ(Sim::StdErr(),
              "1 directory could not be read"s + (c.Request.NulEnds ? "\n" : "\r\n") +
              "orvl: 1 name left out: the system shows them with U+FFFD (bytes that are not "
              "UTF-8), so they would not name their files\n");
  }
}

TEST_F(ListingTest, HundredThousandEntriesAreAllListed) {
  // How fast is a benchmark's question (bench/ListingBench.cpp), not a test's.
  Sim::SetRedirected();
  char name[32];
  for (int number = 0; number < 100000; ++number) {
    std::snprintf(name, sizeof name, "file%05d.%03d", (number * 7919) % 100000, number % 997);
    Add(name, number);
  }
  StartupOptions().SortKey = 'X';
  ListDirectory();
  std::size_t rows = (100000 + Layout.ColumnsAcross - 1) / Layout.ColumnsAcross;
  EXPECT_EQ(StdOutLines().size(), rows + 3);
}

}  // namespace
