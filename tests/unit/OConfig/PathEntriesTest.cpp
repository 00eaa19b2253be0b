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
      {"C:\\Tools;", "C:\\Tools;C:\\Program Files\\Orvalist", "C:\\Tools;"},
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
  }
}

}  // namespace
