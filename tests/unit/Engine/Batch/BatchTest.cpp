#include <functional>
#include <string>
#include <vector>

#include "Engine/Batch/Batch.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

// A batch file whose lines need it turns delayed expansion off first, or
// switches the console to UTF-8 (and back at its end); other files hold the lines alone.
const std::string Guard = "@setlocal DisableDelayedExpansion\r\n";
const std::string Utf8Header =
    "@for /f \"tokens=2 delims=:.\" %%p in ('chcp') do @set \"OVBATCHCP=%%p\"\r\n"
    "@chcp 65001 >nul\r\n";
const std::string Utf8Trailer = "@chcp %OVBATCHCP% >nul 2>&1 & set \"OVBATCHCP=\"\r\n";

TEST(BatchLineTest, TheQuoteIsTheEscape) {
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
      // anything but plain characters outside the template's quotes gets quotes of its own
      {"del $", "C:\\My files\\a b.txt", "del \"C:\\My files\\a b.txt\"\r\n", None},
      {"del /q $", "C:\\D\\a . b", "del /q \"C:\\D\\a . b\"\r\n", None},
      {"del $", "C:\\c,V;s=e", "del \"C:\\c,V;s=e\"\r\n", None},
      {"type $", "C:\\a&del x.x", "type \"C:\\a&del x.x\"\r\n", None},
      {"type $", "C:\\f (1)|^%x%", "type \"C:\\f (1)|^%%x%%\"\r\n", None},
      {"copy $ x", "C:\\a+b", "copy \"C:\\a+b\" x\r\n", None},
      {"del $", "C:\\\u30C7\u30FC\u30BF.txt", "del \"C:\\\u30C7\u30FC\u30BF.txt\"\r\n", None},
      {"echo $", "C:\\x\u00A0y", "echo \"C:\\x\u00A0y\"\r\n", None},
      {"ren $ $.bak", "C:\\a b", "ren \"C:\\a b\" $.bak\r\n", None},
      {"for %%a in ($) do del %%a", "C:\\my file", "for %%a in (\"C:\\my file\") do del %%a\r\n", None},
      {">nul echo %%f $", "C:\\a&b", ">nul echo %%f \"C:\\a&b\"\r\n", None},
      // inside the template's quotes the path goes in as it is
      {"type \"$\" &", "C:\\a&b%c^", "type \"C:\\a&b%%c^\" &\r\n", None},
      {"for %%a in (\"$\") do del \"%%~a\"", "C:\\a^&b%", "for %%a in (\"C:\\a^&b%%\") do del \"%%~a\"\r\n", None},
      {"for /f \"delims=\" %%a in (\"$\") do echo %%a", "C:\\a^^b", "for /f \"delims=\" %%a in (\"C:\\a^^b\") do echo %%a\r\n", None},
      {"cmd /c del \"$\"", "C:\\a&b", "cmd /c del \"C:\\a&b\"\r\n", None},
      // "%" doubled once per percent pass
      {"call del \"$\"", "C:\\50%.txt", "call del \"C:\\50%%%%.txt\"\r\n", None},
      {"call echo $", "C:\\keep!old!.txt", "call echo \"C:\\keep!old!.txt\"\r\n", None},
      // a redirection right after the path would take a final digit as its handle
      {"echo $>>log.txt", "C:\\n 2", "echo \"C:\\n 2\">>log.txt\r\n", None},
      {"echo $>>log.txt", "C:\\n2", "echo \"C:\\n2\">>log.txt\r\n", None},
      // what no form keeps literal
      {"echo $", "C:\\x\nmkdir P", "", BatchRefusal::ControlCharacter},
      {"echo $", "C:\\x\u009Fy", "", BatchRefusal::ControlCharacter},
      {"echo $", "C:\\x\xED\xA0\x80y", "", BatchRefusal::Unnameable},
      {"echo $", "C:\\x\uFFFD.txt", "", BatchRefusal::Unnameable},
      {"type \"$\"", "C:\\q\"&mkdir P&\"", "", BatchRefusal::DoubleQuote},
      {"del $", "C:\\*.doc", "", BatchRefusal::Wildcard},
      {"del $", "C:\\a>b", "", BatchRefusal::Wildcard},
      {"del $", "C:\\x.", "", BatchRefusal::DotOrBlankAtEnd},
      {"del $", "C:\\d \\f", "", BatchRefusal::DotOrBlankAtEnd},
      {"del $", "C:\\a:b", "", BatchRefusal::Colon},
      {"call del \"$\"", "C:\\a^b", "", BatchRefusal::Caret},
      {"cmd /c echo $", "C:\\%CMDCMDLINE%", "", BatchRefusal::Percent},
      {"for %%a in (x) do echo $", "C:\\5%a", "", BatchRefusal::Percent},
      {"for %%a in (\"$\") do del \"%%~a\"", "C:\\x%a.txt", "", BatchRefusal::Percent},
      {"for %%a in (\"$\") do del \"%%~nxa\"", "C:\\x%~f", "", BatchRefusal::Percent},
      {"for %%a in (\"$\") do del \"%%~a\"", "C:\\50%off", "for %%a in (\"C:\\50%%off\") do del \"%%~a\"\r\n", None},
      {"for /f %%a in ('type $') do echo %%a", "C:\\5%b", "", BatchRefusal::Percent},
      {"cmd /c echo $", "C:\\keep!old!.txt", "", BatchRefusal::Exclamation},
      {"setlocal EnableDelayedExpansion & call echo $", "C:\\bang!OVEVIL!x", "", BatchRefusal::Exclamation},
      // quotes another interpreter may strip, or parses that cannot be counted
      {"cmd /c \"del $\"", "C:\\a&b", "", BatchRefusal::UncountedParses},
      {"cmd /c \"del $\"", "C:\\ab", "cmd /c \"del C:\\ab\"\r\n", None},
      {"%comspec% /c echo $", "C:\\a&b", "", BatchRefusal::UncountedParses},
      {"cm^d /c echo $", "C:\\a(b", "", BatchRefusal::UncountedParses},
      {"set \"X=$\" & call echo %%X%%", "C:\\a b", "", BatchRefusal::UncountedParses},
      {"%comspec% /c echo $", "C:\\ab.txt", "%comspec% /c echo C:\\ab.txt\r\n", None},
  };
  std::string line;
  for (const Row& row : rows) {
    EXPECT_EQ(ComposeBatchLine(row.Command, row.Path, line), row.Refusal) << row.Command << " " << row.Path;
    EXPECT_EQ(line, row.Line) << row.Command << " " << row.Path;
  }
}

// The interpreter's limit counts UTF-16 units, not bytes.
TEST(BatchLineTest, LinesPastTheInterpretersLimitAreRefused) {
  struct Row {
    std::string Path;
    BatchRefusal Refusal;
  } rows[] = {
      // "del " and "C:\" take 7 units, the quotes a name outside ASCII gets 2
      {"C:\\" + std::string(8191 - 7, 'x'), BatchRefusal::None},
      {"C:\\" + std::string(8192 - 7, 'x'), BatchRefusal::LineTooLong},
      {"C:\\" + std::string(8191 - 7 - 2 - 1, 'x') + "\u65E5", BatchRefusal::None},
      {"C:\\" + std::string(8191 - 7 - 2 - 1, 'x') + "\U0001F600", BatchRefusal::LineTooLong},
  };
  std::string line;
  for (const Row& row : rows) {
    EXPECT_EQ(ComposeBatchLine("del $", row.Path, line), row.Refusal) << row.Path.size();
    EXPECT_EQ(line.empty(), row.Refusal != BatchRefusal::None);
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
  EXPECT_EQ(Batch(),
            "copy C:\\WORK\\SUB A:\\\r\ncopy C:\\WORK\\B.TXT A:\\\r\ncopy C:\\WORK\\A.TXT A:\\\r\n");
}

TEST_F(BatchTest, RecursiveFullPathsNameTheDirectoryOnce) {
  Run({"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"});
  EXPECT_EQ(Batch(), "echo C:\\WORK\\B.TXT\r\necho C:\\WORK\\A.TXT\r\necho C:\\WORK\\SUB\\C.TXT\r\n");
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

// A batch file that is not whole never takes the old one's place, and the run
// fails: the file could not be created, a write fell short, the last write
// (a UTF-8 file's closing line) failed, or the run ran out of memory.
TEST_F(BatchTest, ABatchFileNotWrittenWholeLeavesTheOldOneAndFailsTheRun) {
  const std::string notReplaced = "Warning: batch file not replaced, no new one written:";
  struct Row {
    std::function<void()> Arrange;
    Lines Words;
    Lines Output;
  } rows[] = {
      {[] { Sim::FailFileCreate("C:\\OUT\\!OVBATCH.4242.NEW", 5); },
       {"C:\\WORK\\*.*", "/B", "/@echo", "$"},
       {"Warning: batch file could not be created: C:\\OUT\\!OVBATCH.4242.NEW",
        "         Access is denied", "SUB", "A.TXT", "B.TXT", notReplaced,
        "         C:\\OUT\\!OVBATCH.BAT"}},
      {[] { Sim::SetWriteRoom(30); },
       {"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"},
       {"Warning: batch file could not be written: C:\\OUT\\!OVBATCH.4242.NEW",
        "         There is not enough space on the disk", "C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT",
        "C:\\WORK\\SUB\\C.TXT", notReplaced, "         C:\\OUT\\!OVBATCH.BAT"}},
      {[] {
         Sim::AddFile("C:\\WORK", "\u65E5.TXT", 1);
         Sim::SetWriteRoom(Utf8Header.size() + 2 * 20 + 24 + 1);
       },
       {"C:\\WORK\\*.TXT", "/B", "/@echo", "$"},
       {"A.TXT", "B.TXT", "??.TXT",
        "Warning: batch file could not be written: C:\\OUT\\!OVBATCH.4242.NEW",
        "         There is not enough space on the disk", notReplaced,
        "         C:\\OUT\\!OVBATCH.BAT"}},
      {[] { Sim::FailDirectory("C:\\WORK\\SUB", Sim::RunsOutOfMemory); },
       {"C:\\WORK\\*.TXT", "/S", "/B", "/@echo", "$"},
       {"C:\\WORK\\A.TXT", "C:\\WORK\\B.TXT", "Not enough memory to go on"}},
  };
  for (Row& row : rows) {
    SetUp();
    Sim::SetFileContents("C:\\OUT\\!OVBATCH.BAT", "old");
    row.Arrange();
    Lines arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), row.Words.begin(), row.Words.end());
    Sim::SetArguments(arguments);
    EXPECT_EQ(RunOrvl(), 3) << row.Words[0];
    EXPECT_EQ(OutputLines(), row.Output);
    EXPECT_EQ(Batch(), "old");
    EXPECT_FALSE(Sim::FileExists("C:\\OUT\\!OVBATCH.4242.NEW"));
  }
}

// Each run writes into a file of its own: a work file a killed run left
// behind moves it to the next name and is neither listed nor given a line,
// nor is the batch file itself, which a line would rewrite while it runs.
TEST_F(BatchTest, LeftoverWorkFilesAndTheBatchFileGetNoLine) {
  Sim::SetFileContents("C:\\OUT\\!OVBATCH.BAT", "old");
  Sim::SetFileContents("C:\\OUT\\!OVBATCH.4242.NEW", "stale");
  Sim::SetFileContents("C:\\OUT\\!OVBATCH.77.NEW", "stale");
  Sim::AddFile("C:\\OUT", "K.TXT", 1);
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "/B", "/@del", "$"});
  EXPECT_EQ(RunOrvl(), 0);
  EXPECT_EQ(OutputLines(), (Lines{"K.TXT"}));
  EXPECT_EQ(Batch(), "del C:\\OUT\\K.TXT\r\n");
  EXPECT_EQ(Sim::FileContents("C:\\OUT\\!OVBATCH.4242.NEW"), "stale");
  EXPECT_FALSE(Sim::FileExists("C:\\OUT\\!OVBATCH.4242-1.NEW"));
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
                   "team\\Reports for the board\\!OVBATCH.4242.NEW",
                   "         There is not enough space on the disk", "A.TXT", "B.TXT",
                   "Warning: batch file not replaced, no new one written:",
                   "         C:\\Shared documents of the accounts team\\Reports for the",
                   "         board\\!OVBATCH.BAT"}));
}

// Lines stay in the ANSI code page (1252) while it holds them; the first that
// it cannot hold turns the whole file, lines already written included, into
// UTF-8 after lines that switch the interpreter to it. A path holding "!"
// has delayed expansion turned off first.
TEST_F(BatchTest, FirstLinesOnlyWhereTheLinesNeedThem) {
  struct Row {
    Lines Files;     // in C:\U; a name with a backslash goes into a subdirectory
    Lines Template;  // the words after the file specification
    std::string Bytes;
  } rows[] = {
      {{"caf\u00E9.txt", "\u20AC.txt"},
       {"/@echo", "$"},
       "echo \"C:\\U\\caf\xE9.txt\"\r\necho \"C:\\U\\\x80.txt\"\r\n"},
      {{"caf\u00E9.txt", "\u65E5\u672C.txt", "z.txt"},
       {"/@echo", "$"},
       Utf8Header + "echo \"C:\\U\\caf\u00E9.txt\"\r\necho \"C:\\U\\\u65E5\u672C.txt\"\r\necho C:\\U\\z.txt\r\n" +
           Utf8Trailer},
      // the first directory's lines are already in the file when the switch comes
      {{"caf\u00E9.txt", "sub\\\U0001F600.txt"},
       {"/@echo", "$"},
       Utf8Header +
           "echo \"C:\\U\\caf\u00E9.txt\"\r\necho C:\\U\\sub\r\necho \"C:\\U\\sub\\\U0001F600.txt\"\r\n" +
           Utf8Trailer},
      {{"a.txt"},
       {"/@copy", "$", "D:\\\u65E5\\"},
       Utf8Header + "copy C:\\U\\a.txt D:\\\u65E5\\\r\n" + Utf8Trailer},
      {{"a.txt", "sub\\b!x!.txt"},
       {"/@echo", "$"},
       Guard + "echo C:\\U\\a.txt\r\necho C:\\U\\sub\r\necho \"C:\\U\\sub\\b!x!.txt\"\r\n"},
      {{"b!x!.txt", "\u65E5.txt"},
       {"/@echo", "$"},
       Guard + Utf8Header + "echo \"C:\\U\\b!x!.txt\"\r\necho \"C:\\U\\\u65E5.txt\"\r\n" + Utf8Trailer},
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
  Sim::AddFile("C:\\WORK", "a&b", 1);
  Run({"C:\\WORK\\*.*", "/B", "/A-D", "/@cmd", "/c", "echo", "$"});
  EXPECT_EQ(Batch(), "cmd /c echo C:\\WORK\\B.TXT\r\ncmd /c echo C:\\WORK\\A.TXT\r\ncmd /c echo \"C:\\WORK\\a&b\"\r\n");
  EXPECT_EQ(OutputLines(),
            (Lines{"*.doc", "100%", "a&b", "A.TXT", "B.TXT", "q\"&mkdir P&\"", "x?mkdir P",
                   "Warning: batch file left out 4 names the command interpreter cannot carry:",
                   "         1 with a line break or another control character",
                   "         1 with a double quote",
                   "         1 with a wildcard (* ? < >), which the command would expand",
                   "         1 with a percent sign, under a template that expands it again"}));
}

// A link planted under the batch file's name is not written through.
TEST_F(BatchTest, ALinkInThePlaceOfTheFileIsLeftAlone) {
  Sim::Entry link;
  link.Name = "!OVBATCH.BAT";
  link.Attributes = Plat::AttrArchive | Plat::AttrReparsePoint;
  Sim::AddEntry("C:\\OUT", link);
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\WORK\\*.TXT", "/B", "/@echo", "$"});
  EXPECT_EQ(RunOrvl(), 3);
  EXPECT_EQ(OutputLines(),
            (Lines{"Warning: batch file is a link and was not written: C:\\OUT\\!OVBATCH.BAT",
                   "A.TXT", "B.TXT", "Warning: batch file not replaced, no new one written:",
                   "         C:\\OUT\\!OVBATCH.BAT"}));
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
  EXPECT_FALSE(Sim::FileExists("C:\\OUT\\!OVBATCH.4242.NEW"));
}

}  // namespace
