#include <gtest/gtest.h>

#include "LFNFunc/ErrorText.h"

namespace {

TEST(ErrorTextTest, KnownCodes) {
  EXPECT_EQ(ErrorText(1), "Invalid function number");
  EXPECT_EQ(ErrorText(2), "No files found matching search specification");
  EXPECT_EQ(ErrorText(5), "File access denied");
  EXPECT_EQ(ErrorText(18), "No more files");
  EXPECT_EQ(ErrorText(21), "Drive not ready");
  EXPECT_EQ(ErrorText(152), "Drive not ready");
  EXPECT_EQ(ErrorText(53), "The computer name specified in the network path cannot be located");
  EXPECT_EQ(ErrorText(65), "Access denied");
  EXPECT_EQ(ErrorText(158), "Sector Not Found");
  EXPECT_EQ(ErrorText(203), "Heap overflow error (out of memory)");
  EXPECT_EQ(ErrorText(216), "General Protection fault");
}

TEST(ErrorTextTest, OtherCodesGiveTheirNumber) {
  EXPECT_EQ(ErrorText(0), "Error 0");
  EXPECT_EQ(ErrorText(7), "Error 7");
  EXPECT_EQ(ErrorText(123), "Error 123");
  EXPECT_EQ(ErrorText(217), "Error 217");
  EXPECT_EQ(ErrorText(1005), "Error 1005");
  EXPECT_EQ(ErrorText(4294967295u), "Error 4294967295");
}

}  // namespace
