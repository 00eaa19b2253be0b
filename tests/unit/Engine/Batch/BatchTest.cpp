#include <string>
#include <vector>

#include "Engine/Batch/Batch.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

TEST(BatchLineTest, FirstDollarTakesTheEscapedPath) {
  struct Row {
    const char* Command;
    const char* Path;
    const char* Line;
  } rows[] = {
      {"copy $ A:\\", "C:\\WORK\\A.TXT", "copy C:\\WORK\\A.TXT A:\\\r\n"},
      {"del $ $.bak", "C:\\X", "del C:\\X $.bak\r\n"},
      {"echo none", "C:\\X", ""},
      {"type $", "C:\\My files\\a b.txt", "type C:\\My files\\a b.txt\r\n"},
      {"type \"$\"", "C:\\a b.txt", "type \"C:\\a b.txt\"\r\n"},
      {"type $", "C:\\a&del *.*", "type C:\\a^&del *.*\r\n"},
      {"type $", "C:\\<|>^%x%", "type C:\\^<^|^>^^%%x%%\r\n"},
      {"type \"$\" &", "C:\\a&b%c^", "type \"C:\\a&b%%c^\" &\r\n"},
      {"x \"a\" $", "C:\\a&b", "x \"a\" C:\\a^&b\r\n"},
  };
  std::string line;
  for (const Row& row : rows) {
    ComposeBatchLine(row.Command, row.Path, line);
    EXPECT_EQ(line, row.Line) << row.Command << " " << row.Path;
  }
}

class BatchTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Sim::AddConfiguration();
    Sim::AddDirectory("C:\\OUT");
    Sim::SetWorkingDirectory("C:\\OUT");
    Sim::AddDirectory("C:\\WORK\\SUB");
    Sim::AddFile("C:\\WORK", "B.TXT", 1);
    Sim::AddFile("C:\\WORK", "A.TXT", 1);
    Sim::AddFile("C:\\WORK\\SUB", "C.TXT", 1);
  }

  static void Run(const Lines& words) {
    Lines arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    RunOrvl();
  }

  static std::string Batch() { return Sim::FileContents("C:\\OUT\\!OVBATCH.BAT"); }
};

TEST_F(BatchTest, OneLinePerAcceptedEntryInEnumerationOrder) {
  Run({"C:\\WORK\\*.*", "/@copy", "$", "A:\\"});
  EXPECT_EQ(
      Batch(),
      "copy C:\\WORK\\SUB A:\\\r\ncopy C:\\WORK\\B.TXT A:\\\r\ncopy C:\\WORK\\A.TXT A:\\\r\n");
}

TEST_F(BatchTest, RecursiveFullPathsNameTheDirectoryOnce) {
  Run({"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"});
  EXPECT_EQ(Batch(),
            "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\necho C:\\WORK\\SUB\\C.TXT\r\n");
  EXPECT_EQ(OutputLines(), (Lines{"C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT", "C:\\WORK\\SUB\\C.TXT"}));
}

TEST_F(BatchTest, FilteredEntriesAndTemplatesWithoutDollarWriteNothing) {
  Run({"C:\\WORK\\*.*", "/A-D", "/@echo", "$"});
  EXPECT_EQ(Batch(), "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\n");
  Sim::SetFileContents("C:\\OUT\\!OVBATCH.BAT", "old");
  Run({"C:\\WORK\\*.*", "/@echo", "none"});
  EXPECT_TRUE(Sim::FileExists("C:\\OUT\\!OVBATCH.BAT"));
  EXPECT_EQ(Batch(), "");
}

TEST_F(BatchTest, AFileThatCannotBeWrittenIsReportedOnce) {
  Sim::FailFileCreate("C:\\OUT\\!OVBATCH.BAT", 5);
  Run({"C:\\WORK\\*.*", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(), (Lines{"Warning: batch file could not be created: C:\\OUT\\!OVBATCH.BAT",
                                  "         Access is denied", "SUB", "A.TXT", "B.TXT"}));

  SetUp();
  Sim::SetWriteRoom(30);
  Run({"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(), (Lines{"Warning: batch file could not be written: C:\\OUT\\!OVBATCH.BAT",
                                  "         There is not enough space on the disk",
                                  "C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT", "C:\\WORK\\SUB\\C.TXT"}));
  EXPECT_EQ(Batch(), "echo C:\\WORK\\B.TXT\r\necho C:\\WO");
}

// Lines stay in the ANSI code page (1252) while it holds them; the first that
// it cannot hold turns the whole file, lines already written included, into
// UTF-8 after a line that switches the interpreter to it.
TEST_F(BatchTest, NamesOutsideTheAnsiCodePageMakeTheFileUtf8) {
  struct Row {
    Lines Files;     // in C:\U; a name with a backslash goes into a subdirectory
    Lines Template;  // the words after the file specification
    std::string Bytes;
  } rows[] = {
      {{"caf\u00E9.txt", "\u20AC.txt"},
       {"/@echo", "$"},
       "echo C:\\U\\caf\xE9.txt\r\necho C:\\U\\\x80.txt\r\n"},
      {{"caf\u00E9.txt", "\u65E5\u672C.txt", "z.txt"},
       {"/@echo", "$"},
       "chcp 65001 >nul\r\necho C:\\U\\caf\u00E9.txt\r\necho C:\\U\\\u65E5\u672C.txt\r\necho "
       "C:\\U\\z.txt\r\n"},
      // the first directory's lines are already in the file when the switch comes
      {{"caf\u00E9.txt", "sub\\\U0001F600.txt"},
       {"/@echo", "$"},
       "chcp 65001 >nul\r\necho C:\\U\\caf\u00E9.txt\r\necho C:\\U\\sub\r\necho "
       "C:\\U\\sub\\\U0001F600.txt\r\n"},
      {{"a.txt"},
       {"/@copy", "$", "D:\\\u65E5\\"},
       "chcp 65001 >nul\r\ncopy C:\\U\\a.txt D:\\\u65E5\\\r\n"},
  };
  for (const Row& row : rows) {
    SetUp();
    Sim::AddDirectory("C:\\U");
    for (const std::string& file : row.Files) {
      const std::size_t slash = file.find('\\');
      if (slash != std::string::npos) Sim::AddDirectory("C:\\U\\" + file.substr(0, slash));
      Sim::AddFile(slash == std::string::npos ? "C:\\U" : "C:\\U\\" + file.substr(0, slash),
                   file.substr(slash + 1), 1);
    }
    Lines words{"C:\\U\\*.*", "/S", "/H"};
    words.insert(words.end(), row.Template.begin(), row.Template.end());
    Run(words);
    EXPECT_EQ(Batch(), row.Bytes) << row.Template[0];
  }
}

// A fatal error in the middle of a walk still leaves every line written so far.
TEST_F(BatchTest, LinesSurviveAFatalEnd) {
  Sim::FailDirectory("C:\\WORK\\SUB", 21);
  Run({"C:\\WORK\\*.TXT", "/S", "/@echo", "$"});
  EXPECT_EQ(Batch(), "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\n");
}

}  // namespace
