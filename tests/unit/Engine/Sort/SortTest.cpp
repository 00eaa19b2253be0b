// Sort keys, direction, grouping and the exact arrangement the quicksort
// leaves for entries that compare equal.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/Options.h"
#include "Base/NameExtension.h"
#include "Engine/Sort/Sort.h"
#include "ListingBuilder.h"
#include "TestWorld.h"

namespace {

class SortTest : public TestWorld {
 protected:
  ListingBuilder built;
  std::vector<FileEntry*>& list() { return built.Listed().FileList; }

  FileEntry& Add(const std::string& name, std::int64_t size = 0, bool directory = false) {
    return built.Add(name, size, directory ? Plat::AttrDirectory : Plat::AttrArchive);
  }

  std::vector<std::string> SortedNames() {
    SortListing(built.Listed());
    std::vector<std::string> names;
    for (const FileEntry* entry : list()) names.push_back(entry->Name);
    return names;
  }
};

using Names = std::vector<std::string>;

TEST(FoldedCompareTest, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(FoldedCompare("Readme.TXT", "README.txt"), 0);
  EXPECT_GT(FoldedCompare("FILE_1", "FILE1"), 0);  // "_" after "1", and after every letter
  EXPECT_GT(FoldedCompare("_", "z"), 0);
  EXPECT_LT(FoldedCompare("9", "a"), 0);
  EXPECT_EQ(FoldedCompare("ab", "abc"), -1);  // a prefix goes first, by the length difference
  EXPECT_EQ(FoldedCompare("b", "a"), 1);
  EXPECT_GT(FoldedCompare("\xE9", "\xC9"), 0);  // no folding above 0x7F
  EXPECT_GT(FoldedCompare("\xC9", "Z"), 0);
  EXPECT_EQ(FoldedCompare("", ""), 0);
}

TEST(NameExtensionTest, TextAfterTheLastDotOfTheNamePart) {
  EXPECT_EQ(NameExtension("README"), "");
  EXPECT_EQ(NameExtension("a.b.c"), "c");
  EXPECT_EQ(NameExtension(".profile"), "profile");
  EXPECT_EQ(NameExtension("trailing."), "");
  EXPECT_EQ(NameExtension("C:\\dir.old\\file"), "");
  EXPECT_EQ(NameExtension("C:\\dir.old\\file.txt"), "txt");
}

TEST_F(SortTest, DefaultGroupsDirectoriesThenNamesIgnoringCase) {
  Add("zeta");
  Add("Beta");
  Add("src", 0, true);
  Add("alpha");
  Add("BIN", 0, true);
  Add("FILE_1");
  Add("FILE1");
  EXPECT_EQ(SortedNames(), (Names{"BIN", "src", "alpha", "Beta", "FILE1", "FILE_1", "zeta"}));
}

TEST_F(SortTest, ReverseKeepsDirectoriesFirstUnlessGroupingIsOff) {
  Add("b");
  Add("D", 0, true);
  Add("a");
  Add("c", 0, true);
  StartupOptions().SortReverse = true;
  EXPECT_EQ(SortedNames(), (Names{"D", "c", "b", "a"}));
  StartupOptions().DirsFirst = false;
  EXPECT_EQ(SortedNames(), (Names{"D", "c", "b", "a"}));
  StartupOptions().SortReverse = false;
  EXPECT_EQ(SortedNames(), (Names{"a", "b", "c", "D"}));
}

TEST_F(SortTest, ExtensionKeyPutsNoExtensionFirstAndBreaksTiesByName) {
  Add("b.txt");
  Add("Makefile");
  Add("a.TXT");
  Add("z.c");
  Add("archive.tar.gz");
  Add(".profile");
  StartupOptions().SortKey = 'X';
  EXPECT_EQ(SortedNames(),
            (Names{"Makefile", "z.c", "archive.tar.gz", ".profile", "a.TXT", "b.txt"}));
}

TEST_F(SortTest, SizeKeySmallestFirstWithDirectoriesGrouped) {
  Add("big", 5000);
  Add("dir", 0, true);
  Add("small", 10);
  Add("huge", 5000000000LL);
  StartupOptions().SortKey = 'S';
  EXPECT_EQ(SortedNames(), (Names{"dir", "small", "big", "huge"}));
  StartupOptions().SortReverse = true;
  EXPECT_EQ(SortedNames(), (Names{"dir", "huge", "big", "small"}));
}

// The packed key folds a to z, z included, so "z" and "Z" sort before "_"
// (which lies between the capitals and the small letters).
TEST_F(SortTest, PackedNamesFoldZBeforeTheUnderscore) {
  for (const char* name : {"_x", "z_", "Zb", "zA"}) Add(name);
  EXPECT_EQ(SortedNames(), (Names{"zA", "Zb", "z_", "_x"}));
  StartupOptions().SortReverse = true;
  EXPECT_EQ(SortedNames(), (Names{"_x", "z_", "Zb", "zA"}));
  built.ClearEntries();
  for (const char* name : {"a._x", "b.z_", "c.Zb", "d.zA"}) Add(name);
  StartupOptions().SortReverse = false;
  StartupOptions().SortKey = 'X';
  EXPECT_EQ(SortedNames(), (Names{"d.zA", "c.Zb", "b.z_", "a._x"}));
}

// Under /F each name starts with its folder; the keys are the names' own parts.
TEST_F(SortTest, FullPathNamesSortByTheirOwnPart) {
  const std::string folder = "C:\\Dir.ext\\";
  built.Listed().CurrentDir = folder;
  StartupOptions().FullPath = true;
  for (const char* name : {"ba", "ab.z", "aB.y"}) Add(folder + name);
  EXPECT_EQ(SortedNames(), (Names{folder + "aB.y", folder + "ab.z", folder + "ba"}));
  StartupOptions().SortKey = 'X';
  EXPECT_EQ(SortedNames(), (Names{folder + "ba", folder + "aB.y", folder + "ab.z"}));
}

TEST_F(SortTest, DateKeyComparesTheChosenStampAsStored) {
  // The high word decides before the low word, and the low word is unsigned.
  Add("new").AccessTime = {0x00000000, 0x01D00001};
  Add("old").AccessTime = {0x7FFFFFFF, 0x01D00000};
  Add("mid").AccessTime = {0x80000000, 0x01D00000};
  list()[0]->WriteTime = {0, 1};  // the write stamps order them the other way
  list()[1]->WriteTime = {0, 3};
  list()[2]->WriteTime = {0, 2};
  StartupOptions().SortKey = 'D';
  StartupOptions().TimeKind = LastAccess;
  EXPECT_EQ(SortedNames(), (Names{"old", "mid", "new"}));
  StartupOptions().SortReverse = true;
  EXPECT_EQ(SortedNames(), (Names{"new", "mid", "old"}));
  StartupOptions().SortReverse = false;
  StartupOptions().TimeKind = LastWrite;
  EXPECT_EQ(SortedNames(), (Names{"new", "mid", "old"}));
}

TEST_F(SortTest, EqualEntriesEndWhereTheQuicksortLeavesThem) {
  for (const char* name : {"A", "B", "C", "D", "E"}) Add(name, 7);
  StartupOptions().SortKey = 'S';
  EXPECT_EQ(SortedNames(), (Names{"D", "E", "C", "A", "B"}));

  // Names differing only in case are equal too.
  built.ClearEntries();
  for (const char* name : {"x", "X", "y"}) Add(name);
  StartupOptions().SortKey = 'N';
  EXPECT_EQ(SortedNames(), (Names{"X", "x", "y"}));

  // An unknown key leaves every entry equal.
  built.ClearEntries();
  for (const char* name : {"1", "2", "3", "4"}) Add(name);
  StartupOptions().SortKey = '?';
  EXPECT_EQ(SortedNames(), (Names{"3", "4", "1", "2"}));
}

TEST_F(SortTest, UnsortedKeepsEnumerationOrderAndGroupsOnlyWhenAsked) {
  struct Case {
    bool dirsFirst;
    bool dirsFirstGiven;
    Names expected;
  };
  const Case cases[] = {
      {true, false, {"b", "D", "a", "c", "A"}},  // the default grouping does not apply
      {true, true, {"D", "c", "b", "a", "A"}},
      {false, true, {"b", "D", "a", "c", "A"}},  // G, then -G
  };
  for (const Case& test : cases) {
    built.ClearEntries();
    Add("b");
    Add("D", 0, true);
    Add("a");
    Add("c", 0, true);
    Add("A");
    StartupOptions().SortKey = 'U';
    StartupOptions().DirsFirst = test.dirsFirst;
    StartupOptions().DirsFirstGiven = test.dirsFirstGiven;
    EXPECT_EQ(SortedNames(), test.expected);
  }
}

TEST_F(SortTest, LargeListsEndInKeyOrder) {
  std::mt19937 random(7);
  for (int index = 0; index < 20000; ++index) {
    std::string name(1, 'f');
    name += std::to_string(random() % 500);
    Add(name, random() % 1000, random() % 10 == 0);
  }
  StartupOptions().SortKey = 'S';
  SortListing(built.Listed());
  EXPECT_TRUE(std::is_sorted(
      list().begin(), list().end(),
      [](const FileEntry* a, const FileEntry* b) { return CompareEntries(*a, *b) < 0; }));
  // Already sorted input (the common case) and all-equal input stay shallow and correct.
  SortListing(built.Listed());
  EXPECT_TRUE(std::is_sorted(
      list().begin(), list().end(),
      [](const FileEntry* a, const FileEntry* b) { return CompareEntries(*a, *b) < 0; }));
}

}  // namespace
