// The colour of a name: by kind, and for files by the upper-cased extension
// matched exactly against the extension table.
#include <string>

#include "RunValues/Colours.h"
#include "Engine/Listing/NameColour.h"
#include "ListingBuilder.h"
#include "TestWorld.h"

namespace {

class NameColourTest : public TestWorld {
 protected:
  static std::uint8_t ColourOf(const std::string& name, bool directory = false) {
    ListingBuilder built;
    built.Add(name, 0, directory ? Plat::AttrDirectory : Plat::AttrArchive);
    return NameColour(*built.Listed().FileList[0]);
  }

  static void SetTable(std::initializer_list<ColsType> slots) {
    StartupLooks().ExtensionColourCount = 0;
    for (const ColsType& slot : slots)
      StartupLooks()
          .ExtensionColours[static_cast<std::size_t>(++StartupLooks().ExtensionColourCount)] = slot;
  }
};

TEST_F(NameColourTest, ExtensionsMatchUpperCasedAndExactly) {
  StartupLooks().Colours.FileColour = 7;
  StartupLooks().Colours.DirectoryColour = 14;
  SetTable({{"TXT", 10}, {"EXE", 12}, {"bin", 13}, {"GZ", 11}});
  struct Case {
    const char* Name;
    bool Directory;
    std::uint8_t Colour;
  };
  const Case cases[] = {
      {"readme.txt", false, 10},
      {"setup.EXE", false, 12},
      {"setup.exe", false, 12},
      {"notes", false, 7},
      {"data.bin", false, 7},         // a lower-case value name never matches
      {"archive.tar.gz", false, 11},  // the text after the last dot
      {"src.txt", true, 14},          // directories keep their own colour
      {"tar.gz.d", false, 7},
      {"trailing.", false, 7},
      {"C:\\DIR.TXT\\plain", false, 7},  // a dot in a directory part does not count
      {"C:\\DIR\\full.exe", false, 12},
  };
  for (const Case& test : cases)
    EXPECT_EQ(ColourOf(test.Name, test.Directory), test.Colour) << test.Name;
}

TEST_F(NameColourTest, TheLastMatchingSlotCounts) {
  SetTable({{"TXT", 10}, {"DOC", 9}, {"TXT", 5}, {"TXA", 4}, {"", 3}});
  EXPECT_EQ(ColourOf("a.txt"), 5);
  EXPECT_EQ(ColourOf("a.doc"), 9);
  EXPECT_EQ(ColourOf("a.dot"), 7);
  EXPECT_EQ(ColourOf("notes"), 3);  // a slot without a name takes names without an extension
}

TEST_F(NameColourTest, EmptyTableOrColourOffGivesTheFileColour) {
  StartupLooks().Colours.FileColour = 6;
  EXPECT_EQ(ColourOf("readme.txt"), 6);
  EXPECT_EQ(ColourOf("noext"), 6);

  SetTable({{"TXT", 10}});
  StartupLooks().ColourEnabled = false;
  EXPECT_EQ(ColourOf("readme.txt"), 6);
  EXPECT_EQ(ColourOf("src", true), 6);
}

TEST_F(NameColourTest, LongExtensionsAndAnOverfullCount) {
  // Extensions are compared on their first 99 characters.
  std::string longExtension(120, 'x');
  SetTable({{std::string(99, 'X'), 3}});
  EXPECT_EQ(ColourOf("f." + longExtension), 3);

  // A count beyond the table's slots reads only the slots there are.
  StartupLooks().ExtensionColours[100] = {"LAST", 4};
  StartupLooks().ExtensionColourCount = 150;
  EXPECT_EQ(ColourOf("f.last"), 4);
}

}  // namespace
