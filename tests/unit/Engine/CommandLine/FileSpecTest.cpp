#include <string>

#include "RunValues/FileSpecState.h"
#include "Engine/CommandLine/FileSpec.h"
#include "TestWorld.h"

namespace {

class FileSpecTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::Drive c;
    c.Geometry = {8, 512, 1000, 2000};
    Sim::AddDrive(c);
    Sim::AddDirectory("C:\\WINDOWS\\SYSTEM");
    Sim::AddDirectory("C:\\DOCS");
    Sim::SetWorkingDirectory("C:\\DOCS");
  }

  // RunSpec.CurrentDir | RunSpec.FileMask | RunSpec.FileBase | RunSpec.FileExt | RunSpec.SearchSpec
  // after parsing spec as the user's own specification, the first of the run.
  static std::string Parsed(const std::string& spec) {
    StartupRunSpec().DriveNumber = 255;
    return WalkParsed(spec);
  }

  // The same for a later call: a pending directory of a recursive walk.
  static std::string WalkParsed(const std::string& spec) {
    ParseFileSpec(spec);
    return RunSpec.CurrentDir + " | " + RunSpec.FileMask + " | " + RunSpec.FileBase + " | " +
           RunSpec.FileExt + " | " + RunSpec.SearchSpec;
  }
};

TEST_F(FileSpecTest, EmptySpecificationListsTheWorkingDirectory) {
  EXPECT_EQ(Parsed(""), "C:\\DOCS\\ | * | * |  | C:\\DOCS\\*");
}

TEST_F(FileSpecTest, RelativeMaskIsExpandedAgainstTheWorkingDirectory) {
  EXPECT_EQ(Parsed("*.TXT"), "C:\\DOCS\\ | *.TXT | * | .TXT | C:\\DOCS\\*.TXT");
  EXPECT_EQ(Parsed("..\\WINDOWS\\A.B.TXT"),
            "C:\\WINDOWS\\ | A.B.TXT | A.B | .TXT | C:\\WINDOWS\\A.B.TXT");
}

TEST_F(FileSpecTest, MaskWithoutDotIsAPrefix) {
  EXPECT_EQ(Parsed("REP"), "C:\\DOCS\\ | REP | REP |  | C:\\DOCS\\REP*");
  EXPECT_EQ(Parsed("R*"), "C:\\DOCS\\ | R* | R* |  | C:\\DOCS\\R*");
}

TEST_F(FileSpecTest, TrailingDotAsksForNamesWithoutExtension) {
  EXPECT_EQ(Parsed("README."), "C:\\DOCS\\ | README. | README |  | C:\\DOCS\\README.");
  EXPECT_EQ(Parsed("*."), "C:\\DOCS\\ | *. | * |  | C:\\DOCS\\*.");
}

TEST_F(FileSpecTest, DirectoryIsListedWholeWithOrWithoutBackslash) {
  const std::string whole = "C:\\WINDOWS\\ |  |  |  | C:\\WINDOWS\\*";
  EXPECT_EQ(Parsed("C:\\WINDOWS"), whole);
  EXPECT_EQ(Parsed("C:\\WINDOWS\\"), whole);
  EXPECT_EQ(Parsed("..\\WINDOWS"), whole);
  EXPECT_EQ(Parsed("C:\\WINDOWS\\SYSTEM"),
            "C:\\WINDOWS\\SYSTEM\\ |  |  |  | C:\\WINDOWS\\SYSTEM\\*");
}

TEST_F(FileSpecTest, WalkKeepsTheMaskWhenASubdirectoryBearsItsName) {
  Sim::AddDirectory("C:\\DOCS\\SUB\\REP");
  Sim::AddDirectory("C:\\DOCS\\SUB\\README");
  EXPECT_EQ(Parsed("REP"), "C:\\DOCS\\ | REP | REP |  | C:\\DOCS\\REP*");
  EXPECT_EQ(WalkParsed("C:\\DOCS\\SUB\\" + RunSpec.FileMask),
            "C:\\DOCS\\SUB\\ | REP | REP |  | C:\\DOCS\\SUB\\REP*");

  EXPECT_EQ(Parsed("README."), "C:\\DOCS\\ | README. | README |  | C:\\DOCS\\README.");
  EXPECT_EQ(WalkParsed("C:\\DOCS\\SUB\\" + RunSpec.FileMask),
            "C:\\DOCS\\SUB\\ | README. | README |  | C:\\DOCS\\SUB\\README.");
}

TEST_F(FileSpecTest, DotsNameDirectoriesToBeListed) {
  Sim::SetWorkingDirectory("C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(Parsed("."), "C:\\WINDOWS\\SYSTEM\\ |  |  |  | C:\\WINDOWS\\SYSTEM\\*");
  EXPECT_EQ(Parsed(".."), "C:\\WINDOWS\\ |  |  |  | C:\\WINDOWS\\*");
  Sim::SetWorkingDirectory("C:\\");
  EXPECT_EQ(Parsed("."), "C:\\ |  |  |  | C:\\*");
}

TEST_F(FileSpecTest, DriveRootsAreNotLookedUpAsDirectories) {
  EXPECT_EQ(Parsed("C:\\"), "C:\\ |  |  |  | C:\\*");
  EXPECT_EQ(Parsed("\\"), "C:\\ |  |  |  | C:\\*");
  EXPECT_EQ(Parsed("C:"), "C:\\DOCS\\ |  |  |  | C:\\DOCS\\*");  // the drive's current directory
}

TEST_F(FileSpecTest, UncShareRoot) {
  StartupRunSpec().FileMask = "*.TXT";
  EXPECT_EQ(Parsed("\\\\SERVER\\SHARE"),
            "\\\\SERVER\\SHARE\\ | *.TXT | * |  | \\\\SERVER\\SHARE\\*");  // mask left alone
}

TEST_F(FileSpecTest, UncPathIsNotExpanded) {
  EXPECT_EQ(Parsed("\\\\SERVER\\SHARE\\DIR\\*.TXT"),
            "\\\\SERVER\\SHARE\\DIR\\ | *.TXT | * | .TXT | \\\\SERVER\\SHARE\\DIR\\*.TXT");
}

TEST_F(FileSpecTest, SubdirectoryOfAShareRootListsEverything) {
  ParseFileSpec("\\\\SERVER\\SHARE");
  // The walk appends "\" and the (empty) mask to each pending directory.
  EXPECT_EQ(WalkParsed("\\\\SERVER\\SHARE\\SUB\\" + RunSpec.FileMask),
            "\\\\SERVER\\SHARE\\SUB\\ |  |  |  | \\\\SERVER\\SHARE\\SUB\\*");
}

TEST_F(FileSpecTest, DriveFiguresAreReadOnTheFirstCallOnly) {
  Sim::Drive d;
  d.Letter = 'D';
  d.Geometry = {4, 1024, 10, 20};
  Sim::AddDrive(d);
  ParseFileSpec("D:\\*.*");
  EXPECT_EQ(RunSpec.DriveNumber, 4);
  EXPECT_EQ(RunSpec.SectorsPerCluster, 4u);
  EXPECT_EQ(RunSpec.BytesPerSector, 1024u);
  EXPECT_EQ(RunSpec.FreeClusters, 10u);
  EXPECT_EQ(RunSpec.TotalClusters, 20u);
  EXPECT_EQ(RunSpec.ClusterSize, 4096);
  ParseFileSpec("C:\\*.*");
  EXPECT_EQ(RunSpec.DriveNumber, 4);
  EXPECT_EQ(RunSpec.SectorsPerCluster, 4u);
  EXPECT_FALSE(RunSpec.NoClusterSize);
}

TEST_F(FileSpecTest, MissingDriveIsInvalid) {
  ParseFileSpec("Q:\\*.*");
  EXPECT_EQ(RunSpec.DriveNumber, 'Q' - 64);
  EXPECT_TRUE(RunSpec.NoClusterSize);
  EXPECT_TRUE(RunSpec.DriveInvalid);
}

TEST_F(FileSpecTest, OtherFreeSpaceFailureOnlyLosesTheClusterSize) {
  Sim::Drive a;
  a.Letter = 'A';
  a.FreeSpaceError = 21;  // not ready
  Sim::AddDrive(a);
  ParseFileSpec("A:\\*.*");
  EXPECT_TRUE(RunSpec.NoClusterSize);
  EXPECT_FALSE(RunSpec.DriveInvalid);
}

TEST_F(FileSpecTest, UncQueryFailsWithoutInvalidDrive) {
  ParseFileSpec("\\\\SERVER\\SHARE");
  EXPECT_TRUE(RunSpec.NoClusterSize);
  EXPECT_FALSE(RunSpec.DriveInvalid);
}

TEST_F(FileSpecTest, ZeroClusterSizeIsTreatedAsUnknown) {
  Sim::Drive e;
  e.Letter = 'E';
  e.Geometry = {0, 512, 10, 20};
  Sim::AddDrive(e);
  ParseFileSpec("E:\\*.*");
  EXPECT_TRUE(RunSpec.NoClusterSize);
  EXPECT_FALSE(RunSpec.DriveInvalid);
}

}  // namespace
