#include <string>

#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Configuration/PlatformChecks.h"
#include "TestWorld.h"

namespace {

class PlatformChecksTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetRedirected();
  }

  static std::string EndingOutput(void (*check)()) {
    EXPECT_TRUE(EndsProgram(check));
    return Sim::StdOut();
  }
};

TEST_F(PlatformChecksTest, NtFamily) {
  Sim::SetVersion(2, 1381);
  CheckPlatform();
  EXPECT_TRUE(StartupOptions().IsNT);
  EXPECT_FALSE(StartupOptions().IsWin95OSR2);
}

TEST_F(PlatformChecksTest, FirstWindows95BuildLacksTheLargeDiskService) {
  Sim::SetVersion(1, 950);
  CheckPlatform();
  EXPECT_FALSE(StartupOptions().IsNT);
  EXPECT_FALSE(StartupOptions().IsWin95OSR2);
}

TEST_F(PlatformChecksTest, Windows98BuildHasTheLargeDiskService) {
  Sim::SetVersion(1, 0x040A0000 | 1111);  // only the low 16 bits are the build
  CheckPlatform();
  EXPECT_FALSE(StartupOptions().IsNT);
  EXPECT_TRUE(StartupOptions().IsWin95OSR2);
  Sim::SetVersion(1, 0x04000000 | 1000);
  CheckPlatform();
  EXPECT_FALSE(StartupOptions().IsWin95OSR2);
}

TEST_F(PlatformChecksTest, UnknownSystemEndsTheRun) {
  Sim::SetVersion(2, 1381, true);
  EXPECT_EQ(EndingOutput(CheckPlatform),
            "Critical Error: Can't identify operating system (contact Orvalist tech support)\r\n");
}

TEST_F(PlatformChecksTest, OwnerColumnNeedsNt) {
  Sim::SetVersion(1, 1111);
  CheckPlatform();
  StartupOptions().ShowOwner = true;
  StartupRunSpec().SearchSpec = ConsoleEngine.ReportPath = "C:\\*.*";
  EXPECT_EQ(EndingOutput(CheckNtOptions),
            "Path: C:\\*.*\r\nDisplay of owner information requires Windows NT\r\n");
}

TEST_F(PlatformChecksTest, CompressionColumnNeedsNt) {
  Sim::SetVersion(1, 950);
  CheckPlatform();
  StartupOptions().ShowCompression = true;
  EXPECT_EQ(EndingOutput(CheckNtOptions),
            "Display of compression information requires Windows NT\r\n");
}

TEST_F(PlatformChecksTest, OwnerColumnOnNtGoesOnWithoutThePrivilege) {
  Sim::SetVersion(2, 1381);
  Sim::SetPrivilegeResult(false);
  CheckPlatform();
  StartupOptions().ShowOwner = StartupOptions().ShowCompression = true;
  EXPECT_FALSE(EndsProgram(CheckNtOptions));
  EXPECT_FALSE(EnableSecurityPrivilege());
  Sim::SetPrivilegeResult(true);
  EXPECT_TRUE(EnableSecurityPrivilege());
  EXPECT_EQ(Sim::StdOut(), "");
}

}  // namespace
