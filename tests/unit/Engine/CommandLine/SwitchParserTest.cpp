#include <string>
#include <utility>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

class SwitchParserTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetRedirected();
  }

  static void Parse(std::initializer_list<const char*> words) {
    for (const char* word : words) ParseSwitch(word);
  }
  static void Parse(const std::vector<const char*>& words) {
    for (const char* word : words) ParseSwitch(word);
  }

  // The format as "kind width" pairs, e.g. "s7 n0".
  static std::string Format() {
    std::string text;
    for (int slot = 1; slot <= StartupOptions().ColumnCount; ++slot) {
      if (slot > 1) text += " ";
      text += StartupOptions().Columns[slot].Kind +
              std::to_string(StartupOptions().Columns[slot].Width);
    }
    return text;
  }

  static std::string FormatOf(const char* word) {
    ResetRunValues();
    ParseSwitch(word);
    return Format();
  }

  static bool IsBad(const std::string& word) {
    ResetRunValues();
    ParseSwitch(word);
    return StartupOptions().BadOption;
  }

  // The message a switch that ends the run adds to standard output.
  static std::string EndingMessage(const char* word) {
    ResetConsoleEngine();
    std::size_t before = Sim::StdOut().size();
    EXPECT_TRUE(EndsProgram([&] { ParseSwitch(word); })) << word;
    return Sim::StdOut().substr(before);
  }
};

// ---------------------------------------------------------------- exact rows

TEST_F(SwitchParserTest, FlagRowsSetAndTheirNegatedFormsClear) {
  const std::vector<std::pair<const char*, bool OptionsRec::*>> flags = {
      {"S", &OptionsRec::Recursive},
      {"U", &OptionsRec::SummaryOnly},
      {"H", &OptionsRec::HideDots},
      {"C", &OptionsRec::ThousandsSeparator},
      {"P", &OptionsRec::Pause},
      {"TURBO", &OptionsRec::Turbo},
      {"TREE", &OptionsRec::Tree},
      {"CLR", &OptionsRec::ClearScreen},
      {"FREE", &OptionsRec::ShowFree},
      {"Y", &OptionsRec::VerticalSort},
      {"Y2K", &OptionsRec::FourDigitYears},
      {"7BIT", &OptionsRec::SevenBit},
      {"J", &OptionsRec::Justify},
      {"BYTE", &OptionsRec::SizesInBytes},
      {"R", &OptionsRec::RegexWildcards},
      {"F", &OptionsRec::FullPath},
  };
  for (const auto& [word, flag] : flags) {
    ParseSwitch(std::string("-") + word);
    EXPECT_FALSE(StartupOptions().*flag) << word;
    ParseSwitch(word);
    EXPECT_TRUE(StartupOptions().*flag) << word;
    ParseSwitch(std::string("-") + word);
    EXPECT_FALSE(StartupOptions().*flag) << word;
  }
  EXPECT_FALSE(StartupOptions().BadOption);
}

TEST_F(SwitchParserTest, ValueRowsReadInUpperCase) {
  Parse({"?", "i", "tw", "q3", "7", "e"});
  EXPECT_TRUE(StartupOptions().ShowHelp);
  EXPECT_TRUE(StartupOptions().DriveInfo);
  EXPECT_EQ(StartupOptions().TimeField, 'W');
  EXPECT_EQ(StartupOptions().MinColumns, 3);
  EXPECT_EQ(StartupOptions().FixedColumns, 7);
  EXPECT_EQ(StartupOptions().NameCase, 'U');
  Parse({"-L"});
  EXPECT_EQ(StartupOptions().NameCase, 'N');
  Parse({"L"});
  EXPECT_EQ(StartupOptions().NameCase, 'L');
  Parse({"-E"});
  EXPECT_EQ(StartupOptions().NameCase, 'N');
  ParseSwitch("!");
  EXPECT_TRUE(ConsoleEngine.Redirected);
  EXPECT_FALSE(StartupOptions().BadOption);
}

TEST_F(SwitchParserTest, FormatRows) {
  EXPECT_EQ(FormatOf("W"), "n0");
  EXPECT_FALSE(StartupOptions().VerticalSort);
  EXPECT_EQ(FormatOf("D"), "n0");
  EXPECT_TRUE(StartupOptions().VerticalSort);
  EXPECT_EQ(FormatOf("V"), "s7 t0 a6 f13 n0");
  EXPECT_EQ(FormatOf("X"), "f13 s7 n0");
  EXPECT_TRUE(StartupOptions().FormatChosen);
  EXPECT_EQ(FormatOf("N"), "t0 s7 n0");
  EXPECT_EQ(StartupOptions().FixedColumns, 1);

  ResetRunValues();
  Parse({"D", "-D"});
  EXPECT_EQ(Format(), "s7 n0");
  EXPECT_TRUE(StartupOptions().VerticalSort);  // -D restores the columns only
  EXPECT_TRUE(StartupOptions().FormatChosen);

  ResetRunValues();
  Parse({"X", "-X"});
  EXPECT_EQ(Format(), "s7 n0");
}

TEST_F(SwitchParserTest, BareChangesTheFormatOnlyWhenNoneWasChosen) {
  ParseSwitch("B");
  EXPECT_TRUE(StartupOptions().Bare);
  EXPECT_EQ(StartupOptions().FixedColumns, 1);
  EXPECT_EQ(Format(), "n0");

  ResetRunValues();
  Parse({"V", "B"});
  EXPECT_EQ(Format(), "s7 t0 a6 f13 n0");
  ParseSwitch("-B");
  EXPECT_FALSE(StartupOptions().Bare);
  EXPECT_EQ(StartupOptions().FixedColumns, 1);  // nothing else is undone
}

TEST_F(SwitchParserTest, DescriptionsYieldToAChosenFormat) {
  Parse({"W", "Z"});
  EXPECT_FALSE(StartupOptions().ShowDescriptions);
  ResetRunValues();
  Parse({"Z", "W"});
  EXPECT_FALSE(StartupOptions().ShowDescriptions);
  ResetRunValues();
  ParseSwitch("Z");
  EXPECT_TRUE(StartupOptions().ShowDescriptions);
  Parse({"F"});
  EXPECT_FALSE(StartupOptions().ShowDescriptions);
  Parse({"Z", "V", "-Z"});
  EXPECT_EQ(Format(), "s7 n0");
  EXPECT_FALSE(StartupOptions().ShowDescriptions);
}

TEST_F(SwitchParserTest, SettingsStartsTheConfigurationProgramAndEnds) {
  StartupOptions().ProgramDir = "C:\\ORVL\\";
  EXPECT_TRUE(EndsProgram([] { ParseSwitch("set"); }));
  EXPECT_EQ(Sim::LaunchedPrograms(), std::vector<std::string>{"C:\\ORVL\\OConfig.exe|max"});
  EXPECT_EQ(Sim::StdOut(), "");

  Sim::FailLaunch(Plat::ErrorFileNotFound);
  EXPECT_TRUE(EndsProgram([] { ParseSwitch("SET"); }));
  EXPECT_EQ(OutputLines(),
            (Lines{"OConfig could not be started: The system cannot find the file specified.",
                   "It was looked for as C:\\ORVL\\OConfig.exe"}));
}

// ---------------------------------------------------------------- starts-with rows

TEST_F(SwitchParserTest, LetterRowsTakeEveryWordThatStartsWithTheirLetter) {
  ParseSwitch("MEOW");  // E and W ignored, O an owner column
  EXPECT_EQ(Format(), "o15 n0");
  EXPECT_TRUE(StartupOptions().ShowOwner);
  EXPECT_FALSE(StartupOptions().BadOption);
  EXPECT_TRUE(IsBad("OPEN"));
  EXPECT_TRUE(IsBad("TX"));
  EXPECT_TRUE(IsBad("GREEN"));
}

TEST_F(SwitchParserTest, TimeFieldTakesOneLetterWithOrWithoutColon) {
  ParseSwitch("T:A");
  EXPECT_EQ(StartupOptions().TimeField, 'A');
  ParseSwitch("TC");
  EXPECT_EQ(StartupOptions().TimeField, 'C');
  for (const char* word : {"T", "T:", "TAC", "T:AC", "TX", "T::A"}) {
    EXPECT_TRUE(IsBad(word)) << word;
    EXPECT_EQ(StartupOptions().TimeField, 'W') << word;
  }
}

TEST_F(SwitchParserTest, ColourSwitchesAndTheirOlderSpelling) {
  for (const char* word : {"GA", "G:A", "DA", "D:A"}) {
    ResetRunValues();
    StartupLooks().Colours.FileColour = 2;
    ParseSwitch(word);
    const ColourRec& c = Looks.Colours;
    EXPECT_EQ(c.FileColour, 2) << word;
    for (std::uint8_t colour : {c.DateColour, c.DirectoryColour, c.LineColour, c.HeadingColour,
                                c.HeadingValueColour, c.DetailColour, c.PromptColour,
                                c.SummaryFigureColour, c.SummaryTextColour, c.BannerColour})
      EXPECT_EQ(colour, 7) << word;
    EXPECT_FALSE(Looks.ColourEnabled) << word;
    EXPECT_EQ(StartupOptions().ColumnCount, 2) << word;  // DA is not the wide format
  }
  for (const char* word : {"GF", "G:F", "DF", "D:F"}) {
    ResetRunValues();
    StartupLooks().Colours.FileColour = 2;
    ParseSwitch(word);
    EXPECT_EQ(Looks.Colours.FileColour, 7) << word;
    EXPECT_EQ(Looks.Colours.DirectoryColour, 7) << word;
    EXPECT_EQ(Looks.Colours.HeadingColour, 12) << word;
    EXPECT_FALSE(Looks.ColourEnabled) << word;
  }
  for (const char* word : {"D-A", "D:-A", "D-F", "D:-F"}) {
    EXPECT_FALSE(IsBad(word)) << word;
    EXPECT_TRUE(Looks.ColourEnabled) << word;
  }
  for (const char* word : {"G", "G:", "GX"}) EXPECT_TRUE(IsBad(word)) << word;
}

TEST_F(SwitchParserTest, RedirectionWidth) {
  ParseSwitch("K132");
  EXPECT_EQ(StartupOptions().RedirectWidth, 132);
  ParseSwitch("K:40");
  EXPECT_EQ(StartupOptions().RedirectWidth, 40);
  EXPECT_FALSE(StartupOptions().BadOption);
  EXPECT_TRUE(IsBad("K39"));
  EXPECT_EQ(StartupOptions().RedirectWidth, 80);  // refused, not kept
  EXPECT_TRUE(IsBad("K-50"));
  EXPECT_TRUE(IsBad("K"));
  EXPECT_TRUE(IsBad("K4"));
  EXPECT_TRUE(IsBad("K:"));
}

TEST_F(SwitchParserTest, ArgumentThatIsNoThirtyTwoBitNumberEndsTheRun) {
  const std::pair<const char*, const char*> cases[] = {
      {"K12x", "'12X'"},
      {"K99999999999", "'99999999999'"},
      {"MO4294967296", "'4294967296'"},
      {"K:4", "':4'"},  // too short for the colon form: the number starts at the colon
  };
  for (const auto& [word, shown] : cases)
    EXPECT_EQ(EndingMessage(word), std::string(shown) + " is not a valid integer value\r\n");
}

TEST_F(SwitchParserTest, RangeSwitchesTurnTheirFilterOn) {
  Parse({"[d-7]", "[T-5]", "[S10K]"});
  EXPECT_TRUE(StartupOptions().DateRangeOn);
  EXPECT_TRUE(StartupOptions().TimeRangeOn);
  EXPECT_TRUE(StartupOptions().SizeRangeOn);
  EXPECT_FALSE(StartupOptions().BadOption);
  EXPECT_TRUE(IsBad("[X-7]"));
  EXPECT_TRUE(IsBad("["));
  EXPECT_TRUE(IsBad("[D]"));
  EXPECT_FALSE(StartupOptions().DateRangeOn);
}

// ---------------------------------------------------------------- bad words

TEST_F(SwitchParserTest, WordsThatMatchNoRowAreBad) {
  for (const char* word :
       {"-I",  "-A", "-M", "-O",  "-G",   "-T",   "-Q",    "-K", "Q",  "Q0", "Q5",
        "Q12", "0",  "10", "XYZ", "-SET", "SETX", "\"X\"", "@",  "-!", "-?"})
    EXPECT_TRUE(IsBad(word)) << word;
  EXPECT_TRUE(IsBad("SET2"));
}

// ---------------------------------------------------------------- /M

TEST_F(SwitchParserTest, CustomFormatLetters) {
  EXPECT_EQ(FormatOf("MNSD"), "n0 s7");  // D after N is ignored
  EXPECT_FALSE(StartupOptions().ShowDescriptions);
  EXPECT_TRUE(StartupOptions().HasNameColumn);
  EXPECT_EQ(FormatOf("MDN"), "f13 d0");  // the alias comes with D, the description last
  EXPECT_TRUE(StartupOptions().ShowDescriptions);
  EXPECT_FALSE(StartupOptions().HasNameColumn);
  EXPECT_EQ(FormatOf("M:FDS"), "f13 s7 d0");
  EXPECT_EQ(FormatOf("MDF"), "f13 d0");
  EXPECT_EQ(FormatOf("MF"), "f13");  // alias only, no long name
  EXPECT_FALSE(StartupOptions().HasNameColumn);
  EXPECT_EQ(FormatOf("MSSAAFF"), "s7 a6 f13");
  EXPECT_EQ(FormatOf("M"), "n0");
  EXPECT_TRUE(StartupOptions().HasNameColumn);
  EXPECT_TRUE(StartupOptions().FormatChosen);
  EXPECT_EQ(FormatOf("MCRCX9"), "c7 r5 c7 n0");
  EXPECT_TRUE(StartupOptions().ShowCompression);
  EXPECT_FALSE(StartupOptions().BadOption);
}

TEST_F(SwitchParserTest, CustomFormatTimeColumns) {
  EXPECT_EQ(FormatOf("MTT2T3T4"), "t0 20 30 t0 n0");  // the 4 is ignored
  EXPECT_EQ(StartupOptions().TimeKindNeeded, (std::array<bool, 4>{false, false, true, true}));
}

TEST_F(SwitchParserTest, CustomFormatOwnerWidth) {
  EXPECT_EQ(FormatOf("MO"), "o15 n0");
  EXPECT_EQ(FormatOf("MO20N"), "o21 n0");
  EXPECT_EQ(FormatOf("MO4"), "o5 n0");
  EXPECT_EQ(FormatOf("MO98"), "o99 n0");
  EXPECT_FALSE(StartupOptions().BadOption);
  EXPECT_TRUE(IsBad("MO3"));
  EXPECT_TRUE(IsBad("MO99"));
  EXPECT_TRUE(IsBad("MO2X"));  // width 3; the X is an ignored letter
  EXPECT_FALSE(IsBad("MO-5"));
}

TEST_F(SwitchParserTest, CustomFormatStopsAtNineteenSlots) {
  ParseSwitch("MCCCCCCCCCCCCCCCCCCCCC");  // 21 letters: 19 columns and the name
  EXPECT_EQ(StartupOptions().ColumnCount, 20);
  EXPECT_EQ(StartupOptions().Columns[19].Kind, 'c');
  EXPECT_EQ(StartupOptions().Columns[20].Kind, 'n');

  ParseSwitch("MCCCCCCCCCCCCCCCCCCD");  // 18 columns, D's alias is the 19th
  EXPECT_EQ(StartupOptions().ColumnCount, 20);
  EXPECT_EQ(StartupOptions().Columns[19].Kind, 'f');
  EXPECT_EQ(StartupOptions().Columns[20].Kind, 'd');

  ParseSwitch("MCCCCCCCCCCCCCCCCCCCN");  // N after the stop is never read
  EXPECT_EQ(StartupOptions().Columns[20].Kind, 'n');
  EXPECT_EQ(StartupOptions().ColumnCount, 20);
}

// ---------------------------------------------------------------- /O and /A

TEST_F(SwitchParserTest, SortOrder) {
  ParseSwitch("O-S");
  EXPECT_EQ(StartupOptions().SortKey, 'S');
  EXPECT_TRUE(StartupOptions().SortReverse);
  ParseSwitch("ON");
  EXPECT_EQ(StartupOptions().SortKey, 'N');
  EXPECT_TRUE(StartupOptions().SortReverse);  // nothing turns it off

  ResetRunValues();
  ParseSwitch("O:E-G");
  EXPECT_EQ(StartupOptions().SortKey, 'X');
  EXPECT_FALSE(StartupOptions().DirsFirst);
  EXPECT_FALSE(StartupOptions().SortReverse);
  ParseSwitch("OGDU");
  EXPECT_EQ(StartupOptions().SortKey, 'U');  // the last key letter wins
  EXPECT_TRUE(StartupOptions().DirsFirst);
  EXPECT_TRUE(StartupOptions().DirsFirstGiven);
  EXPECT_FALSE(StartupOptions().BadOption);
  ParseSwitch("O-US");
  EXPECT_EQ(StartupOptions().SortKey, 'S');
  EXPECT_FALSE(StartupOptions().SortReverse);  // unsorted has no direction to reverse

  for (const char* word : {"O", "O:", "O-", "OX", "ON-", "O--N"}) EXPECT_TRUE(IsBad(word)) << word;
  EXPECT_FALSE(IsBad("OU"));
  EXPECT_EQ(StartupOptions().SortKey, 'U');
  EXPECT_TRUE(StartupOptions().DirsFirst);
  EXPECT_FALSE(StartupOptions().DirsFirstGiven);  // the default grouping was not asked for
}

TEST_F(SwitchParserTest, AttributeSelection) {
  ParseSwitch("AHS");
  EXPECT_TRUE(StartupOptions().AttrFilter);
  EXPECT_EQ(StartupOptions().AttrWant, (std::array<bool, 5>{false, true, false, true, false}));
  ParseSwitch("A:R-D-A");
  EXPECT_EQ(StartupOptions().AttrWant, (std::array<bool, 5>{false, true, true, true, false}));
  EXPECT_EQ(StartupOptions().AttrExclude, (std::array<bool, 5>{true, false, false, false, true}));
  EXPECT_FALSE(StartupOptions().BadOption);

  ParseSwitch("A");  // clears every selection, the filter stays on
  EXPECT_EQ(StartupOptions().AttrWant, (std::array<bool, 5>{}));
  EXPECT_EQ(StartupOptions().AttrExclude, (std::array<bool, 5>{}));
  EXPECT_TRUE(StartupOptions().AttrFilter);

  for (const char* word : {"A:", "AX", "AH-", "A-X", "A--H"}) EXPECT_TRUE(IsBad(word)) << word;
}

// ---------------------------------------------------------------- ResolveTimeKind

TEST_F(SwitchParserTest, TimeKindResolvesTheDateColumns) {
  Parse({"V", "TC"});
  ResolveTimeKind();
  EXPECT_EQ(StartupOptions().TimeKind, Creation);
  EXPECT_EQ(Format(), "s7 20 a6 f13 n0");
  EXPECT_EQ(StartupOptions().TimeKindNeeded, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_EQ(StartupOptions().DateRangeStamp, Creation);

  ResetRunValues();
  ResolveTimeKind();  // no date column: no stamp is needed for display
  EXPECT_EQ(StartupOptions().TimeKind, LastWrite);
  EXPECT_EQ(StartupOptions().TimeKindNeeded, (std::array<bool, 4>{}));
  EXPECT_EQ(StartupOptions().DateRangeStamp, LastWrite);
}

TEST_F(SwitchParserTest, RangeFiltersTestTheStampTheyNameElseTheDisplayedOne) {
  const std::pair<std::vector<const char*>, std::uint8_t> cases[] = {
      {{"TA", "[DC-7]", "[TW9:00]"}, Creation},
      {{"TA", "[TW9:00]"}, LastWrite},
      {{"TA", "[D-7]"}, LastAccess},
  };
  for (const auto& [words, stamp] : cases) {
    ResetRunValues();
    Parse(words);
    ResolveTimeKind();
    EXPECT_EQ(StartupOptions().DateRangeStamp, stamp) << words.front();
  }
}

}  // namespace
