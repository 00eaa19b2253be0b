#include <algorithm>
#include <string>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Engine/CommandLine/CommandLine.h"
#include "HeapPeak.h"
#include "TestWorld.h"

namespace {

using Specs = std::vector<std::string>;

class CommandLineTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
  }

  static void Split(const std::vector<std::string>& words) {
    std::vector<std::string> arguments{"C:\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    SplitCommandLine();
  }
};

TEST_F(CommandLineTest, CommandTextPutsPresetsFirstAndQuotesArgumentsWithBlanks) {
  EXPECT_EQ(BuildCommandText("/W", {"ORVL.EXE", "My Documents", "/S"}), "/W  \"My Documents\" /S");
  EXPECT_EQ(BuildCommandText("", {"ORVL.EXE"}), " ");
}

// A preset of tens of thousands of names is taken in linear time: four times
// the names take about four times the bytes from the heap (a text built anew
// for each name would take sixteen), counted under AddressSanitizer.
TEST_F(CommandLineTest, LongPresetOfNamesIsLinear) {
  if (!HeapPeak::Counts()) GTEST_SKIP() << "the heap is counted under AddressSanitizer only";
  const auto collect = [](int count) {
    std::string names;
    for (int i = 0; i < count; ++i) names += " F" + std::to_string(i) + ".TXT";
    names += " f7.txt";  // a repeat, left out
    HeapPeak::Start();
    std::string specs;
    EXPECT_TRUE(SplitCommandText(BuildCommandText(names, {"ORVL.EXE"}), specs));
    CollectFileSpecs(specs);
    const long long handed = HeapPeak::Handed();
    EXPECT_EQ(RunSpec.FileSpecs.size(), static_cast<std::size_t>(count));
    return handed;
  };
  const long long small = collect(10000);
  const long long large = collect(40000);
  EXPECT_EQ(RunSpec.FileSpecs.back(), "F39999.TXT");
  EXPECT_LT(large, small * 6);
}

TEST_F(CommandLineTest, NoArgumentsListTheWorkingDirectory) {
  Sim::AddDirectory("C:\\WORK");
  Sim::SetWorkingDirectory("C:\\WORK");
  Split({});
  EXPECT_TRUE(RunSpec.FileSpecs.empty());
  EXPECT_EQ(RunSpec.SearchSpec, "C:\\WORK\\*");
  EXPECT_FALSE(StartupOptions().BadOption);
}

// The full-path service refuses a text of blanks; it must not turn into the root.
TEST_F(CommandLineTest, BlankSpecificationListsTheWorkingDirectory) {
  Sim::AddDirectory("C:\\WORK");
  Sim::SetWorkingDirectory("C:\\WORK");
  for (const Specs& words : {Specs{" "}, Specs{"   ", "/S", "/B"}, Specs{"/K80 ", "/S"}}) {
    Split(words);
    EXPECT_EQ(RunSpec.SearchSpec, "C:\\WORK\\*") << words[0] << "|";
    EXPECT_FALSE(StartupOptions().BadOption);
    ResetRunValues();
  }
}

TEST_F(CommandLineTest, SwitchesWrittenTogetherOrAgainstASpecification) {
  Split({"*.TXT/S/B/W", "/O-S"});
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"*.TXT"});
  EXPECT_TRUE(StartupOptions().Recursive);
  EXPECT_TRUE(StartupOptions().Bare);
  EXPECT_EQ(StartupOptions().ColumnCount, 1);
  EXPECT_EQ(StartupOptions().SortKey, 'S');
  EXPECT_TRUE(StartupOptions().SortReverse);
  EXPECT_EQ(RunSpec.SearchSpec, "C:\\*.TXT");
}

TEST_F(CommandLineTest, RecursiveBareShowsFullPathsAndHidesDots) {
  Split({"/-H", "/S", "/B"});
  EXPECT_TRUE(StartupOptions().FullPath);
  EXPECT_TRUE(StartupOptions().HideDots);
}

TEST_F(CommandLineTest, QuotedSpecificationStaysWhole) {
  Sim::AddDirectory("C:\\My Documents");
  Split({"My Documents", "/S"});
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"My Documents"});
  EXPECT_EQ(RunSpec.SearchSpec, "C:\\My Documents\\*");
  EXPECT_TRUE(StartupOptions().Recursive);
}

TEST_F(CommandLineTest, SlashInsideQuotesStartsASwitch) {
  std::string specs;
  EXPECT_TRUE(SplitCommandText(" \"a b/S \"\" c\"d", specs));
  EXPECT_EQ(specs, "a b|c\"d|");  // an empty quoted run adds nothing
  EXPECT_TRUE(StartupOptions().Recursive);
}

TEST_F(CommandLineTest, BatchCommandTakesTheRestOfTheText) {
  Split({"*.TXT", "/S", "/@copy $ A:\\", "/W"});
  EXPECT_TRUE(StartupOptions().BatchMode);
  EXPECT_EQ(StartupOptions().BatchCommand, "copy $ A:\\ /W");
  EXPECT_EQ(StartupOptions().ColumnCount, 2);  // /W belongs to the command
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"*.TXT"});
}

// A caller that quotes the whole switch means the text inside: no quote of
// its own gets into the template.
TEST_F(CommandLineTest, BatchArgumentWithBlanksIsTheTemplateItHolds) {
  Split({"/@copy $ C:\\My Docs"});  // the argument arrives without its quotes
  EXPECT_EQ(StartupOptions().BatchCommand, "copy $ C:\\My Docs");
  Split({"/@echo", "$", "C:\\My Docs"});
  EXPECT_EQ(StartupOptions().BatchCommand, "echo $ \"C:\\My Docs\"");
}

TEST_F(CommandLineTest, BatchCommandIsCutAfterNineHundredNinetyNineCharacters) {
  Split({"/@" + std::string(1200, 'x')});
  EXPECT_EQ(StartupOptions().BatchCommand, std::string(999, 'x'));
}

TEST_F(CommandLineTest, SlashWithoutWordStopsTheSplit) {
  for (const std::vector<std::string>& words :
       std::vector<std::vector<std::string>>{{"A*", "/"}, {"A*", "/S/"}, {"//S"}, {"/", "B*"}}) {
    ResetRunValues();
    Split(words);
    EXPECT_TRUE(StartupOptions().BadOption) << words[0];
    EXPECT_TRUE(RunSpec.FileSpecs.empty()) << words[0];
    EXPECT_EQ(RunSpec.SearchSpec, "") << words[0];  // no specification was parsed
  }
  ResetRunValues();
  Split({"/", "/S"});
  EXPECT_FALSE(StartupOptions().Recursive);  // nothing after the stop is applied
}

TEST_F(CommandLineTest, PresetSwitchesComeFirstAndCanBeUndone) {
  StartupLooks().PresetSwitches = "/W /S";
  Split({"/-W", "/-S", "-W"});
  EXPECT_EQ(StartupOptions().ColumnCount, 2);
  EXPECT_EQ(StartupOptions().Columns[1].Kind, 's');
  EXPECT_FALSE(StartupOptions().Recursive);
  EXPECT_FALSE(StartupOptions().BadOption);
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"-W"});  // a word without "/" is a specification
}

TEST_F(CommandLineTest, WholeTextIsExaminedHoweverLong) {
  std::vector<std::string> words(80, "/-P");
  words.push_back("LAST*");
  words.push_back("/S");
  Split(words);
  EXPECT_TRUE(StartupOptions().Recursive);
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"LAST*"});
}

// ---------------------------------------------------------------- the file-specification list

TEST_F(CommandLineTest, SeveralMasksInOneDirectory) {
  Sim::AddDirectory("C:\\X");
  Split({"A*", "B*"});
  EXPECT_EQ(RunSpec.FileSpecs, (Specs{"A*", "B*"}));
  Split({"C:\\X\\A*", "B*"});
  EXPECT_EQ(RunSpec.FileSpecs, (Specs{"C:\\X\\A*", "B*"}));
  EXPECT_EQ(RunSpec.SearchSpec, "C:\\X\\A*");
}

TEST_F(CommandLineTest, RepeatedSpecificationIsListedOnce) {
  Split({"A*", "*.TXT", "a*"});
  EXPECT_EQ(RunSpec.FileSpecs, (Specs{"A*", "*.TXT"}));
}

TEST_F(CommandLineTest, DirectoryInALaterSpecificationEndsTheRun) {
  EXPECT_TRUE(EndsProgram([] { Split({"A*", "C:\\X\\B*"}); }));
  EXPECT_EQ(Sim::StdOut(),
            "Multiple file specs: directory can only be specified in first parameter\r\n");
}

TEST_F(CommandLineTest, DirectoryInTwoSpecificationsEndsTheRun) {
  EXPECT_TRUE(EndsProgram([] { Split({"C:\\X\\A*", "D:B*"}); }));
  EXPECT_EQ(Sim::StdOut(),
            "Multiple file specs: directory can only be specified in first parameter\r\n");
}

TEST_F(CommandLineTest, LaterSpecificationNamingTheFirstDirectoryIsDropped) {
  Sim::AddDirectory("C:\\X");
  Split({"C:\\X\\", "C:\\X\\B*"});
  EXPECT_EQ(RunSpec.FileSpecs, Specs{"C:\\X\\"});
  EXPECT_EQ(RunSpec.SearchSpec, "C:\\X\\*");
}

}  // namespace
