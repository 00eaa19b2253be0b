#include <gtest/gtest.h>

#include "Format/ErrorText.h"

namespace {

TEST(ErrorTextTest, KnownCodes) {
  EXPECT_EQ(ErrorText(1), "Invalid function number");
  EXPECT_EQ(ErrorText(2), "No files found matching search specification");
  EXPECT_EQ(ErrorText(5), "File access denied");
  EXPECT_EQ(ErrorText(18), "No more files");
  EXPECT_EQ(ErrorText(21), "Drive not ready");
  EXPECT_EQ(ErrorText(53), "The computer name specified in the network path cannot be located");
  EXPECT_EQ(ErrorText(65), "Access denied");
  EXPECT_EQ(ErrorText(86), "Invalid password");
}

// Win32 codes take the system's text: 206 is a path too long, not a runtime error.
TEST(ErrorTextTest, OtherCodesTakeTheSystemsText) {
  EXPECT_EQ(ErrorText(206), "The filename or extension is too long");
  EXPECT_EQ(ErrorText(1921), "The name of the file cannot be resolved by the system");
}

TEST(ErrorTextTest, CodesWithoutAnyTextGiveTheirNumber) {
  EXPECT_EQ(ErrorText(0), "Error 0");
  EXPECT_EQ(ErrorText(152), "Error 152");
  EXPECT_EQ(ErrorText(7), "Error 7");
  EXPECT_EQ(ErrorText(124), "Error 124");
  EXPECT_EQ(ErrorText(217), "Error 217");
  EXPECT_EQ(ErrorText(1005), "Error 1005");
  EXPECT_EQ(ErrorText(4294967295u), "Error 4294967295");
}

}  // namespace
