// A folder added to a PATH text and taken out again, other entries untouched.
#include <gtest/gtest.h>

#include "OConfig/PathEntries.h"

namespace {

TEST(PathEntriesTest, AddsOnceAndRemovesEveryFormOfTheFolder) {
  struct Case {
    const char* Path;
    const char* With;
    const char* Without;
  };
  const std::string folder = "C:\\Program Files\\Orvalist";
  const Case cases[] = {
      {"", "C:\\Program Files\\Orvalist", ""},
      {"%SystemRoot%;C:\\Tools", "%SystemRoot%;C:\\Tools;C:\\Program Files\\Orvalist",
       "%SystemRoot%;C:\\Tools"},
      {"C:\\Tools;", "C:\\Tools;C:\\Program Files\\Orvalist;", "C:\\Tools;"},
      {";", ";C:\\Program Files\\Orvalist;", ";"},
      {"A;c:\\program files\\ORVALIST\\;B", "A;c:\\program files\\ORVALIST\\;B", "A;B"},
      {"\"C:\\Program Files\\Orvalist\";A", "\"C:\\Program Files\\Orvalist\";A", "A"},
      {"C:\\Program Files\\Orvalist;A;;C:\\Program Files\\Orvalist",
       "C:\\Program Files\\Orvalist;A;;C:\\Program Files\\Orvalist", "A;"},
      {"C:\\Program Files\\Orvalist2;caf\xC3\xA9",
       "C:\\Program Files\\Orvalist2;caf\xC3\xA9;C:\\Program Files\\Orvalist",
       "C:\\Program Files\\Orvalist2;caf\xC3\xA9"},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(PathWithFolder(test.Path, folder), test.With) << test.Path;
    EXPECT_EQ(PathWithoutFolder(test.Path, folder), test.Without) << test.Path;
    // Adding then taking off gives the text back exactly.
    if (test.With != std::string(test.Path)) {
      EXPECT_EQ(PathWithoutFolder(test.With, folder), test.Path) << test.Path;
    }
  }
}

// A ";" in the folder's name is quoted, and a quoted entry is one entry;
// "%" and a quote cannot be written into a PATH entry at all.
TEST(PathEntriesTest, FolderWithSemicolonIsQuoted) {
  const std::string folder = "C:\\a;b";
  EXPECT_EQ(PathWithFolder("C:\\T", folder), "C:\\T;\"C:\\a;b\"");
  EXPECT_EQ(PathWithoutFolder("C:\\T;\"C:\\a;b\";X", folder), "C:\\T;X");
  EXPECT_EQ(PathWithoutFolder("C:\\a;b", folder), "C:\\a;b");
  std::string reason;
  EXPECT_TRUE(PathCanHoldFolder(folder, reason));
  EXPECT_FALSE(PathCanHoldFolder("C:\\%SystemRoot%", reason));
  EXPECT_EQ(reason, "its name holds \"%\", which the PATH would read as part of a variable");
}

}  // namespace
