// The directory tree: its drawing, sizes, order and closing line.
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/Reports/Reports.h"
#include "TestWorld.h"

namespace {

using Rows = std::vector<std::string>;

// The line pieces as the tree writes them.
const std::string Tee = "\u251C\u2500\u2500 ";
const std::string Corner = "\u2514\u2500\u2500 ";
const std::string Bar = "\u2502   ";
const std::string Gap = "    ";

class TreeTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});  // C:, 4,096-byte clusters
  }

  static Rows Tree(const std::string& spec) {
    ParseFileSpec(spec);
    EXPECT_TRUE(EndsProgram([] { ShowTree(); }));
    Rows rows;
    for (int row = 0; row < ConsoleEngine.CurrentRow; ++row) rows.push_back(Sim::RowTrimmed(row));
    return rows;
  }

  static void Directories(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) Sim::AddDirectory(path);
  }
};

TEST_F(TreeTest, WorkedExample) {
  Directories({"C:\\WORK\\ALPHA\\DEEP", "C:\\WORK\\ALPHA\\MORE", "C:\\WORK\\BETA"});
  Sim::AddFile("C:\\WORK", "A.TXT", 100);
  Sim::AddFile("C:\\WORK", "B.TXT", 4096);
  Sim::AddFile("C:\\WORK\\ALPHA", "BIG.BIN", 1290240);
  Sim::AddFile("C:\\WORK\\ALPHA\\DEEP", "EMPTY", 0);
  Sim::AddFile("C:\\WORK\\ALPHA\\MORE", "M.DAT", 20000);
  Sim::AddFile("C:\\WORK\\BETA", "ONE", 1);
  EXPECT_EQ(Tree("C:\\WORK\\*.TXT"),
            (Rows{"", "C:\\WORK\\ (8.00K)", Tee + "ALPHA (1.23M)", Bar + Tee + "DEEP (0)",
                  Bar + Corner + "MORE (20.00K)", Corner + "BETA (4.00K)",
                  "5 directories consuming 1,323,008 bytes (1.26MB)"}));
  EXPECT_EQ(RowAttributes(1), AttributeRuns({{8, 15}, {8, 7}}, 80));
  EXPECT_EQ(RowAttributes(3), AttributeRuns({{7, 3}, {5, 15}, {4, 7}}, 80));
  EXPECT_EQ(RowAttributes(6),
            AttributeRuns({{1, 14}, {23, 15}, {9, 14}, {8, 15}, {6, 14}, {1, 15}}, 80));
}

// A root that cannot be read ends the run naming its search path, the
// extension once.
TEST_F(TreeTest, AnUnreadableRootIsReportedWithItsSearchPath) {
  Directories({"C:\\WORK"});
  Sim::FailDirectory("C:\\WORK", 21);
  const Rows rows = Tree("C:\\WORK\\*.TXT");
  EXPECT_EQ(rows, (Rows{"", "Path: C:\\WORK\\*.TXT", "Drive not ready"}));
}

// Children come in name order whatever the enumeration order; a last child
// two levels down keeps its parent's bar while the parent has a sibling below.
TEST_F(TreeTest, SiblingOrderAndLastChildUnderAParentWithSibling) {
  Directories({"C:\\T\\Gamma", "C:\\T\\beta", "C:\\T\\ALPHA\\SUB\\LEAF"});
  EXPECT_EQ(Tree("C:\\T"), (Rows{"", "C:\\T\\ (0)", Tee + "ALPHA (0)", Bar + Corner + "SUB (0)",
                                 Bar + Gap + Corner + "LEAF (0)", Tee + "beta (0)",
                                 Corner + "Gamma (0)", "6 directories consuming 0 bytes"}));
}

// A link or junction may lead back to an ancestor: the tree never enters it.
TEST_F(TreeTest, LinksAreNotWalkedInto) {
  Directories({"C:\\T\\REAL"});
  Sim::AddFile("C:\\T\\LOOP", "INSIDE.BIN", 8192);
  Sim::AddDirectory("C:\\T\\LOOP", Plat::AttrDirectory | Plat::AttrReparsePoint);
  EXPECT_EQ(Tree("C:\\T"),
            (Rows{"", "C:\\T\\ (0)", Corner + "REAL (0)", "2 directories consuming 0 bytes"}));
}

TEST_F(TreeTest, BareUnknownClusterSizeAndSmallTotals) {
  struct Case {
    bool bare;
    std::uint32_t freeSpaceError;
    std::uint32_t bytesPerSector;
    Rows rows;
  };
  const Case cases[] = {
      {true, 0, 512, {"C:\\S\\ (512)", Corner + "X (0)"}},
      {false, 0, 512, {"", "C:\\S\\ (512)", Corner + "X (0)", "2 directories consuming 512 bytes"}},
      {false, 21, 512, {"", "C:\\S\\", Corner + "X", "2 directories"}},
  };
  for (const Case& c : cases) {
    ResetWorld();
    Sim::Drive drive;
    drive.Geometry = {1, c.bytesPerSector, 10, 20};
    drive.FreeSpaceError = c.freeSpaceError;
    Sim::AddDrive(drive);
    Sim::AddDirectory("C:\\S\\X");
    Sim::AddFile("C:\\S", "ONE", 1);
    StartupOptions().Bare = c.bare;
    EXPECT_EQ(Tree("C:\\S"), c.rows) << c.bare << c.freeSpaceError;
  }
}

// Sums past what a count holds stop at its largest value, in a directory and
// over the tree, rather than wrapping into negative figures.
TEST_F(TreeTest, HugeSizesSaturate) {
  constexpr std::uint64_t FiveEiB = 5ull << 60;
  Directories({"C:\\H\\A"});
  Sim::AddFile("C:\\H", "ONE", FiveEiB);
  Sim::AddFile("C:\\H", "TWO", FiveEiB);
  Sim::AddFile("C:\\H\\A", "MAX", ~0ull);
  EXPECT_EQ(Tree("C:\\H"),
            (Rows{"", "C:\\H\\ (8589934592.00G)", Corner + "A (8589934592.00G)",
                  "2 directories consuming 9,223,372,036,854,775,807 bytes (8589934592.00GB)"}));
}

// The level flags widen with the tree: a line forty levels down still shows
// the bar of every ancestor that has a sibling below.
TEST_F(TreeTest, DeepTreesKeepTheirBars) {
  std::string path = "C:";
  for (int level = 0; level < 40; ++level) {
    path += "\\A";
    Sim::AddDirectory(path);
    Sim::AddDirectory(path.substr(0, path.size() - 1) + "B");
  }
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 400;
  ParseFileSpec("C:\\A");
  EXPECT_TRUE(EndsProgram([] { ShowTree(); }));
  // The deepest A, 39 levels below C:\A, has its B below it and a bar for every
  // ancestor; redirected, the line pieces are code page 437 bytes.
  std::string expected;
  for (int level = 0; level < 38; ++level) expected += "\xB3   ";
  expected += "\xC3\xC4\xC4 A";
  const std::string& out = Sim::StdOut();
  EXPECT_NE(out.find("\r\n" + expected + " (0)\r\n"), std::string::npos);
}

TEST_F(TreeTest, UnreadableDirectoryGetsItsLineAndErrorAndTheWalkGoesOn) {
  Directories({"C:\\W\\A", "C:\\W\\B", "C:\\W\\B\\X", "C:\\W\\C"});
  Sim::FailDirectory("C:\\W\\B", Plat::ErrorAccessDenied);
  EXPECT_EQ(Tree("C:\\W"), (Rows{"", "C:\\W\\ (0)", Tee + "A (0)", Tee + "B", "File access denied",
                                 Corner + "C (0)", "4 directories consuming 0 bytes",
                                 "1 directory could not be read"}));
}

}  // namespace
