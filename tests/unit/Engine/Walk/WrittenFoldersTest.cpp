// The folders a walk keeps for itself: those below its root that hold the
// run's output or its batch file, named as the walk names them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Engine/Walk/WrittenFolders.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

namespace {

using Folders = std::vector<std::string>;

TEST(WrittenFoldersTest, OnlyFoldersBelowTheRootAreKept) {
  struct Case {
    const char* Output;
    Folders Expected;
  };
  const Case cases[] = {
      {"C:\\T\\D0\\E1\\LIST.TXT", {"C:\\T\\D0\\E1"}},
      {"c:\\t\\d0\\list.txt", {"C:\\T\\D0"}},  // the system's spelling of the same folder
      {"C:\\T\\LIST.TXT", {}},                  // the root itself is read before any worker
      {"C:\\TX\\LIST.TXT", {}},                 // a folder that only starts like the root
      {"C:\\LIST.TXT", {}},
  };
  for (const Case& c : cases) {
    ResetWorld();
    Sim::AddDrive(Sim::Drive{});
    for (const char* folder : {"C:\\T\\D0\\E1", "C:\\TX"}) Sim::AddDirectory(folder);
    Sim::SetOutputFile(c.Output);
    const auto folders = WrittenFoldersBelow("C:\\T\\", {});
    ASSERT_TRUE(folders.has_value()) << c.Output;
    EXPECT_EQ(*folders, c.Expected) << c.Output;
  }
}

}  // namespace
