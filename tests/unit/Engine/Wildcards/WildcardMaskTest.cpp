#include <algorithm>
#include <string>
#include <vector>

#include "RunValues/Options.h"
#include "Engine/Scan/Scan.h"
#include "Engine/Wildcards/WildcardMask.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

bool Matches(const std::string& mask, const std::string& name) {
  CompiledMask compiled;
  EXPECT_EQ(CompileMask(mask, compiled), 0) << mask;
  return MaskMatches(compiled, name);
}

int InvalidAt(const std::string& mask) {
  CompiledMask compiled;
  return CompileMask(mask, compiled);
}

TEST(WildcardMaskTest, MatchesWholeNames) {
  struct Row {
    const char* Mask;
    const char* Name;
    bool Expected;
  } rows[] = {
      {"[a-c]*.TXT", "Apple.txt", true},
      {"[a-c]*.TXT", "cat.TXT", true},
      {"[a-c]*.TXT", "dog.txt", false},
      {"[!a-c]*", "dog.txt", true},
      {"[!a-c]*", "apple", false},
      {"a*?", "a", true},
      {"*?", "", true},
      {"?", "", false},
      {"[z-a]", "z", true},
      {"[z-a]", "m", false},
      {"[z-a]", "a", false},
      {"\xE9*", "\xC9.TXT", false},
      {"\xE9*", "\xE9.TXT", true},
      // one character at a time, whatever its length in UTF-8
      {"?.TXT", "\u00E9.txt", true},
      {"??", "\u65E5\u672C", true},
      {"?", "\U0001F600", true},
      {"*\u672C", "\u65E5\u672C", true},
      {"\u00E9*", "\u00C9.TXT", false},
      {"[\u00E9-\u00EB]*", "\u00EA.txt", true},
      {"[!\u65E5]*", "\u65E5\u672C", false},
      {"[!\u65E5]?", "\u672C\u65E5", true},
      {"[\u03B1-\u03C9]", "\u03C9", true},
      {"[\u03B1-\u03C9]", "\u03A9", false},
      {"*.TXT", "NOTES.TXT.OLD", false},
      {"*A*B", "AXAXB", true},
      {"*A*B", "AXAXBC", false},
      {"*ab*ab", "abxabab", true},
      {"[a-]x", "-x", true},
      {"[a-c-e]", "D", true},
      {"a*", "A", true},
      {"*", "", true},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Matches(row.Mask, row.Name), row.Expected) << row.Mask << " " << row.Name;
}

TEST(WildcardMaskTest, InvalidMasksGiveTheirPositions) {
  struct Row {
    std::string Mask;
    int Position;
  } rows[] = {
      {"[]", 2},
      {"\u65E5[]", 3},  // positions count characters
      {"[abc", 5},
      {"[-a]", 2},
      {"x[!]", 4},
      {Repeat("*a", 30), 0},
      {Repeat("*a", 31), 62},              // the literal that gets the 31st "*"
      {Repeat("*a", 30) + "*", 62},        // the end element gets it: one past the last
      {Repeat("*a", 30) + "*[bc]", 65},    // the "]" of the set
      {std::string(10000, '*') + "a", 0},  // a run of stars is one
  };
  for (const Row& row : rows) EXPECT_EQ(InvalidAt(row.Mask), row.Position) << row.Mask;
}

// Long masks and many sets compile and match in linear time per element.
TEST(WildcardMaskTest, LongMasksStayCheap) {
  std::string sets = Repeat("*[a-z]", 30) + Repeat("[a-z0-9]", 70);
  std::string name(255, 'a');
  EXPECT_TRUE(Matches(sets, name));
  EXPECT_FALSE(Matches(sets, std::string(254, 'a') + "!"));
  EXPECT_TRUE(Matches(sets, std::string(100, 'b')));
  EXPECT_TRUE(Matches(Repeat("*a", 30), name));
  EXPECT_FALSE(Matches(Repeat("*a", 29) + "*b", name));
  EXPECT_FALSE(Matches(std::string(10000, 'x'), name));
}

class MatchEnumerationTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Sim::AddConfiguration();
    Sim::AddDirectory("C:\\W");
    for (const char* name : {"Apple.txt", "NOTES.TXT.OLD", "cat.TXT", "dog.txt", "[x].txt"})
      Sim::AddFile("C:\\W", name, 1);
  }

  static int Run(const Lines& words) {
    Lines arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    return RunOrvl();
  }
};

TEST_F(MatchEnumerationTest, SelectsByTheProgramsOwnMasks) {
  Run({"C:\\W\\[a-c]*.TXT", "/R", "/B"});
  EXPECT_EQ(OutputLines(), (Lines{"Apple.txt", "cat.TXT"}));
}

TEST_F(MatchEnumerationTest, WithoutRBracketsAreOrdinaryCharacters) {
  Run({"C:\\W\\[x]*", "/B"});
  EXPECT_EQ(OutputLines(), (Lines{"[x].txt"}));
}

TEST_F(MatchEnumerationTest, NothingMatchingIsReportedAsByTheSystem) {
  Run({"C:\\W\\[q]*", "/R", "/B"});
  EXPECT_EQ(OutputLines(), Lines{});
  Sim::Reset();
  SetUp();
  Run({"C:\\W\\[q]*", "/R"});
  EXPECT_EQ(OutputLines().at(2).substr(0, 44), "No files found matching search specification");
}

// The mask is the command line's: a refused command line (exit 2).
TEST_F(MatchEnumerationTest, AnInvalidMaskEndsTheRun) {
  EXPECT_EQ(Run({"C:\\W\\[-a]*.TXT", "/R"}), 2);
  EXPECT_EQ(OutputLines().back(), "'[-a]*.TXT' is an invalid mask at (2)");
}

}  // namespace
