#include <string>
#include <vector>

#include "Engine/Batch/Batch.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

// Every batch file with a line begins by turning delayed expansion off.
const std::string Header = "@setlocal DisableDelayedExpansion\r\n";
const std::string Utf8Header = Header +
                               "@for /f \"tokens=2 delims=:.\" %%p in ('chcp') do @set "
                               "\"OVBATCHCP=%%p\"\r\n@chcp 65001 >nul\r\n";
const std::string Utf8Trailer = "@chcp %OVBATCHCP% >nul 2>&1\r\n";

TEST(BatchLineTest, FirstDollarTakesThePathEscapedForEveryParse) {
  constexpr BatchRefusal None = BatchRefusal::None;
  struct Row {
    const char* Command;
    const char* Path;
    const char* Line;
    BatchRefusal Refusal;
  } rows[] = {
      {"copy $ A:\\", "C:\\WORK\\A.TXT", "copy C:\\WORK\\A.TXT A:\\\r\n", None},
      {"del $ $.bak", "C:\\X", "del C:\\X $.bak\r\n", None},
      {"echo none", "C:\\X", "", None},
      {"type $", "C:\\My files\\a b.txt", "type C:\\My files\\a b.txt\r\n", None},
      {"type \"$\"", "C:\\a b.txt", "type \"C:\\a b.txt\"\r\n", None},
      {"type $", "C:\\a&del x.x", "type C:\\a^&del x.x\r\n", None},
      {"type $", "C:\\<|>^%x%", "type C:\\^<^|^>^^%%x%%\r\n", None},
      {"type \"$\" &", "C:\\a&b%c^", "type \"C:\\a&b%%c^\" &\r\n", None},
      {"x \"a\" $", "C:\\a&b", "x \"a\" C:\\a^&b\r\n", None},
      {"type $", "C:\\f (1).txt", "type C:\\f ^(1^).txt\r\n", None},
      // an escaped quote opens nothing
      {"echo ^\"$^\"", "C:\\a&b", "echo ^\"C:\\a^&b^\"\r\n", None},
      // parsed twice: the second parse is escaped as if unquoted
      {"for %%f in ($) do echo %%f", "C:\\x) do mkdir P (",
       "for %%f in (C:\\x^^^) do mkdir P ^^^() do echo %%f\r\n", None},
      {"call echo $", "C:\\a&b", "call echo C:\\a^^^&b\r\n", None},
      {"@C:\\WINDOWS\\CMD.EXE /c \"echo $\"", "C:\\a&b",
       "@C:\\WINDOWS\\CMD.EXE /c \"echo C:\\a^&b\"\r\n", None},
      {"echo x&call echo $", "C:\\a^", "echo x&call echo C:\\a^^^^\r\n", None},
      // what no escaping can carry
      {"echo $", "C:\\x\nmkdir P", "", BatchRefusal::ControlCharacter},
      {"echo $", "C:\\x\rXmkdir P", "", BatchRefusal::ControlCharacter},
      {"type \"$\"", "C:\\q\"&mkdir P&\"", "", BatchRefusal::DoubleQuote},
      {"cmd /c echo $", "C:\\%CMDCMDLINE%", "", BatchRefusal::Percent},
      {"del $", "C:\\*.doc", "", BatchRefusal::Wildcard},
      {"echo $", "C:\\x\u0085y", "", BatchRefusal::ControlCharacter},
      {"cmd /c echo $", "C:\\keep!old!.txt", "", BatchRefusal::Exclamation},
      {"call echo $", "C:\\keep!old!.txt", "call echo C:\\keep!old!.txt\r\n", None},
      // a redirection right after the path would take a final " 2" as its handle
      {"echo $>>log.txt", "C:\\n 2", "", BatchRefusal::HandleNumber},
      {"echo $>>log.txt", "C:\\n2", "echo C:\\n2>>log.txt\r\n", None},
      {"echo \"$\">>log.txt", "C:\\n 2", "echo \"C:\\n 2\">>log.txt\r\n", None},
      // command words that may parse once more than can be seen
      {"%comspec% /c echo $", "C:\\a&b", "", BatchRefusal::UncountedParses},
      {"cm^d /c echo $", "C:\\a(b", "", BatchRefusal::UncountedParses},
      {"cmd/c echo $", "C:\\a^b", "", BatchRefusal::UncountedParses},
      {"for %%c in (call) do %%c echo $", "C:\\a!b", "", BatchRefusal::UncountedParses},
      {"echo %x% $", "C:\\a)b", "", BatchRefusal::UncountedParses},
      {"set \"X=$\" & call echo %%X%%", "C:\\a&b", "", BatchRefusal::UncountedParses},
      {"%comspec% /c echo $", "C:\\a b.txt", "%comspec% /c echo C:\\a b.txt\r\n", None},
      {">nul echo %%f $", "C:\\a&b", ">nul echo %%f C:\\a^&b\r\n", None},
  };
  std::string line;
  for (const Row& row : rows) {
    EXPECT_EQ(ComposeBatchLine(row.Command, row.Path, line), row.Refusal) << row.Command;
    EXPECT_EQ(line, row.Line) << row.Command << " " << row.Path;
  }
}

// A byte of a double-byte character equal to "|" or "^" is one to an
// interpreter reading the file in another code page; in a UTF-8 file where
// such pages are in use, so is one that a lead byte before it would swallow.
TEST(BatchLineTest, BytesThatReadAsOtherMetacharactersAreFound) {
  struct Row {
    const char* Text;
    const char* Bytes;
    bool LeadBytesJoin;
    bool Hidden;
  } rows[] = {
      {"a\u30DDmkdir P", "a\x83|mkdir P", false, true},
      {"\u30BF^&mkdir P", "\x83^^&mkdir P", false, true},
      {"\u65E5\u672C^&x", "\x93\xFA\x96{^&x", false, false},
      {"\u00E9^&x", "\xC3\xA9^&x", true, true},
      {"\u00E9^&x", "\xC3\xA9^&x", false, false},
      {"\u00E9.txt ^&x", "\xC3\xA9.txt ^&x", true, false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(BytesHideMetacharacters(row.Text, row.Bytes, row.LeadBytesJoin), row.Hidden)
        << row.Bytes;
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
      Header +
          "copy C:\\WORK\\SUB A:\\\r\ncopy C:\\WORK\\B.TXT A:\\\r\ncopy C:\\WORK\\A.TXT A:\\\r\n");
}

TEST_F(BatchTest, RecursiveFullPathsNameTheDirectoryOnce) {
  Run({"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"});
  EXPECT_EQ(Batch(), Header +
                         "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\necho "
                         "C:\\WORK\\SUB\\C.TXT\r\n");
  EXPECT_EQ(OutputLines(), (Lines{"C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT", "C:\\WORK\\SUB\\C.TXT"}));
}

TEST_F(BatchTest, FilteredEntriesAndTemplatesWithoutDollarWriteNothing) {
  Run({"C:\\WORK\\*.*", "/A-D", "/@echo", "$"});
  EXPECT_EQ(Batch(), Header + "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\n");
  Sim::SetFileContents("C:\\OUT\\!OVBATCH.BAT", "old");
  Run({"C:\\WORK\\*.*", "/@echo", "none"});
  EXPECT_TRUE(Sim::FileExists("C:\\OUT\\!OVBATCH.BAT"));
  EXPECT_EQ(Batch(), "");
}

TEST_F(BatchTest, AFileThatCannotBeWrittenIsReportedOnce) {
  Sim::FailFileCreate("C:\\OUT\\!OVBATCH.NEW", 5);
  Run({"C:\\WORK\\*.*", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(), (Lines{"Warning: batch file could not be created: C:\\OUT\\!OVBATCH.NEW",
                                  "         Access is denied", "SUB", "A.TXT", "B.TXT"}));

  SetUp();
  Sim::SetWriteRoom(30);
  Run({"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(), (Lines{"Warning: batch file could not be written: C:\\OUT\\!OVBATCH.NEW",
                                  "         There is not enough space on the disk",
                                  "C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT", "C:\\WORK\\SUB\\C.TXT"}));
  EXPECT_EQ(Batch(), Header.substr(0, 30));
}

// A warning longer than the line wraps between words: the path comes through whole.
TEST_F(BatchTest, LongWarningsWrapBetweenWords) {
  const std::string folder = "C:\\Shared documents of the accounts team\\Reports for the board";
  Sim::AddDirectory(folder);
  Sim::SetWorkingDirectory(folder);
  Sim::SetWriteRoom(30);
  Run({"C:\\WORK\\*.TXT", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(),
            (Lines{"Warning: batch file could not be written: C:\\Shared documents of the accounts",
                   "team\\Reports for the board\\!OVBATCH.NEW",
                   "         There is not enough space on the disk", "A.TXT", "B.TXT"}));
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
       Header + "echo C:\\U\\caf\xE9.txt\r\necho C:\\U\\\x80.txt\r\n"},
      {{"caf\u00E9.txt", "\u65E5\u672C.txt", "z.txt"},
       {"/@echo", "$"},
       Utf8Header +
           "echo C:\\U\\caf\u00E9.txt\r\necho C:\\U\\\u65E5\u672C.txt\r\necho C:\\U\\z.txt\r\n" +
           Utf8Trailer},
      // the first directory's lines are already in the file when the switch comes
      {{"caf\u00E9.txt", "sub\\\U0001F600.txt"},
       {"/@echo", "$"},
       Utf8Header +
           "echo C:\\U\\caf\u00E9.txt\r\necho C:\\U\\sub\r\necho C:\\U\\sub\\\U0001F600.txt\r\n" +
           Utf8Trailer},
      {{"a.txt"},
       {"/@copy", "$", "D:\\\u65E5\\"},
       Utf8Header + "copy C:\\U\\a.txt D:\\\u65E5\\\r\n" + Utf8Trailer},
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

// Names that cannot be carried are listed as usual and counted once at the end.
TEST_F(BatchTest, UnsafeNamesGetNoLineAndOneWarning) {
  Sim::AddFile("C:\\WORK", "x\nmkdir P", 1);
  Sim::AddFile("C:\\WORK", "q\"&mkdir P&\"", 1);
  Sim::AddFile("C:\\WORK", "100%", 1);
  Sim::AddFile("C:\\WORK", "*.doc", 1);
  Run({"C:\\WORK\\*.*", "/B", "/A-D", "/@call", "echo", "$"});
  EXPECT_EQ(Batch(), Header + "call echo C:\\WORK\\B.TXT\r\ncall echo C:\\WORK\\A.TXT\r\n");
  EXPECT_EQ(OutputLines(),
            (Lines{"*.doc", "100%", "A.TXT", "B.TXT", "q\"&mkdir P&\"", "x?mkdir P",
                   "Warning: batch file left out 4 names the command interpreter cannot carry:",
                   "         1 with a line break or another control character",
                   "         1 with a double quote",
                   "         1 with a wildcard (* or ?), which the command would expand",
                   "         1 with a percent sign, under a template that parses twice"}));
}

// A link planted under the batch file's name is not written through.
TEST_F(BatchTest, ALinkInThePlaceOfTheFileIsLeftAlone) {
  Sim::Entry link;
  link.Name = "!OVBATCH.BAT";
  link.Attributes = Plat::AttrArchive | Plat::AttrReparsePoint;
  Sim::AddEntry("C:\\OUT", link);
  Run({"C:\\WORK\\*.TXT", "/B", "/@echo", "$"});
  EXPECT_EQ(OutputLines(),
            (Lines{"Warning: batch file is a link and was not written: C:\\OUT\\!OVBATCH.BAT",
                   "A.TXT", "B.TXT"}));
  EXPECT_FALSE(Sim::FileExists("C:\\OUT\\!OVBATCH.BAT"));
}

// What holds the batch file's name and cannot be replaced stays, said so, and
// the run fails; the run's own file is neither listed nor left behind.
TEST_F(BatchTest, ABatchFileThatCannotTakeItsPlaceFailsTheRun) {
  Sim::AddDirectory("C:\\OUT\\!OVBATCH.BAT");
  Sim::AddFile("C:\\OUT", "K.TXT", 1);
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\OUT\\*.*", "/B", "/A-D", "/@echo", "$"});
  EXPECT_EQ(RunOrvl(), 3);
  EXPECT_EQ(OutputLines(),
            (Lines{"K.TXT", "Warning: batch file not replaced, no new one written:",
                   "         C:\\OUT\\!OVBATCH.BAT", "         Access is denied"}));
  EXPECT_FALSE(Sim::FileExists("C:\\OUT\\!OVBATCH.NEW"));
}

// A fatal error in the middle of a walk still leaves every line written so far.
TEST_F(BatchTest, LinesSurviveAFatalEnd) {
  Sim::FailDirectory("C:\\WORK\\SUB", 21);
  Run({"C:\\WORK\\*.TXT", "/S", "/@echo", "$"});
  EXPECT_EQ(Batch(), Header + "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\n");
}

}  // namespace
