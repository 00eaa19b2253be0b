// The directory read as a value: what each search gave, the names and the
// subdirectories, and that failures come back as codes without any output.
#include <string>
#include <vector>

#include "Engine/Scan/DirectoryRead.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

class DirectoryReadTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::AddDirectory("C:\\D\\SUB");
    Sim::AddFile("C:\\D", "b.txt", 5);
    Sim::AddFile("C:\\D", "a.c", 7);
    Sim::SetRedirected();
  }

  static Lines Names(const DirectoryRead& read) {
    Lines names;
    for (const ReadEntry& entry : read.Entries) names.emplace_back(read.Name(entry));
    return names;
  }
};

TEST_F(DirectoryReadTest, SearchesAreReadInOrderWithTheirCodes) {
  struct Row {
    Lines paths;
    bool ownMatcher;
    Lines names;
    std::vector<std::uint32_t> codes;
    std::vector<std::size_t> ends;
    int invalidAt;
  };
  const std::vector<Row> rows = {
      {{"C:\\D\\*"}, false, {".", "..", "SUB", "b.txt", "a.c"}, {0}, {5}, 0},
      {{"C:\\D\\*.c", "C:\\D\\*.txt"}, false, {"a.c", "b.txt"}, {0, 0}, {1, 2}, 0},
      {{"C:\\D\\*.zip", "C:\\NONE\\*"}, false, {}, {2, 3}, {0, 0}, 0},
      {{"C:\\D\\[ab]*", "C:\\D\\[-a]*"}, true, {"b.txt", "a.c"}, {0, 123}, {2, 2}, 2},
  };
  for (const Row& row : rows) {
    ReadRequest request;
    request.Directory = "C:\\D\\";
    request.Paths = row.paths;
    request.OwnMatcher = row.ownMatcher;
    const DirectoryRead read = ReadDirectory(request);
    EXPECT_EQ(Names(read), row.names) << row.paths[0];
    ASSERT_EQ(read.Searches.size(), row.paths.size());
    for (std::size_t index = 0; index < row.paths.size(); ++index) {
      EXPECT_EQ(read.Searches[index].Code, row.codes[index]) << row.paths[index];
      EXPECT_EQ(read.Searches[index].EntriesEnd, row.ends[index]) << row.paths[index];
    }
    EXPECT_EQ(read.Searches.back().InvalidMaskPosition, row.invalidAt);
    std::uint32_t first = 0;
    for (std::uint32_t code : row.codes)
      if (first == 0) first = code;
    EXPECT_EQ(read.FirstError, first);
  }
  EXPECT_EQ(Sim::StdOut(), "");
}

TEST_F(DirectoryReadTest, SubdirectoriesComeFromTheReadWhateverTheMask) {
  ReadRequest request;
  request.Directory = "C:\\D\\";
  request.Subdirectories = true;
  for (const char* path : {"C:\\D\\*", "C:\\D\\*.txt"}) {
    request.Paths = {path};
    EXPECT_EQ(ReadDirectory(request).Subdirectories, Lines{"C:\\D\\SUB"}) << path;
  }
}

}  // namespace
