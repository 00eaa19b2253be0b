// The console engine against the simulated console: cutting rules, paging,
// scrolling, plain-text output and every way output ends.
#include <string>
#include <thread>

#include "Base/Utf8.h"
#include "CellRows.h"
#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Console/ConsoleInternal.h"
#include "Console/Manual.h"
#include "TestWorld.h"

namespace {

const std::string Prompt =
    std::string(10, ' ') +
    "[Q/X] Stop \u2666 [N] Non-stop \u2666 [H] Help \u2666 [Other keys] Continue" +
    std::string(10, ' ');

void WriteNumberedLines(int first, int last) {
  for (int line = first; line <= last; ++line) WriteLine("line " + std::to_string(line), 1, 7);
}

class ConsoleEngineTest : public TestWorld {};

TEST_F(ConsoleEngineTest, WriteAtCutsToTheRoomLeftOfThePen) {
  WriteAt(std::string(79, 'a'), 1, 7);  // room 79: fits
  NewLine();
  WriteAt(std::string(80, 'b'), 1, 7);  // longer than the room: room - 1 kept
  EXPECT_EQ(ConsoleEngine.PenColumn, 79);
  NewLine();
  WriteAt("Volume Label: ", 63, 12);  // placed by column, whatever the pen
  WriteAt("DATA", 77, 10);
  NewLine();
  EXPECT_EQ(Sim::RowText(0), std::string(79, 'a') + " ");
  EXPECT_EQ(Sim::RowText(1), std::string(78, 'b') + "  ");
  EXPECT_EQ(Sim::RowText(2), std::string(62, ' ') + "Volume Label: DATA");
  EXPECT_EQ(RowAttributes(2), AttributeRuns({{62, 0}, {14, 12}, {4, 10}}, 80));
  EXPECT_EQ(Sim::Console().RowWrites, 3);
}

TEST_F(ConsoleEngineTest, WriteTextMarksATextCutAtTheRightEdge) {
  WriteAt(std::string(70, 'x'), 1, 7);
  WriteText("1234567890", 9);  // columns 71..80: reaches the edge exactly, kept whole
  NewLine();
  WriteAt(std::string(70, 'x'), 1, 7);
  WriteText("12345678901", 9);  // one more: cut, the marker in column 80
  EXPECT_EQ(ConsoleEngine.PenColumn, 81);
  WriteText("gone", 9);  // pen beyond the edge: nothing stored
  EXPECT_EQ(ConsoleEngine.PenColumn, 85);
  NewLine();
  EXPECT_EQ(Sim::RowText(0), std::string(70, 'x') + "1234567890");
  EXPECT_EQ(Sim::RowText(1), std::string(70, 'x') + "123456789\u25BA");
  EXPECT_EQ(RowAttributes(1), AttributeRuns({{70, 7}, {10, 9}}, 80));
}

TEST_F(ConsoleEngineTest, WriteLineKeepsAWholeWidthTextAndCutsALongerOne) {
  WriteLine(std::string(80, 'w'), 1, 7);
  WriteLine(std::string(81, 'v'), 1, 7);
  EXPECT_EQ(Sim::RowText(0), std::string(80, 'w'));
  EXPECT_EQ(Sim::RowText(1), std::string(79, 'v') + " ");
}

// Messages break at the last blank that fits, each line at the column; a
// word longer than the room breaks where the room ends.
TEST_F(ConsoleEngineTest, WrappedLinesBreakBetweenWords) {
  Sim::SetConsole(20, 25);
  WriteWrappedLine("exactly twenty cells", 1, 7);
  WriteWrappedLine("one two three four five six", 1, 7);
  WriteWrappedLine("path C:\\abcdefghijklmnopqrstuvwxyz end", 5, 12);
  WriteWrappedLine("\u65E5\u672C", 20, 7);  // a wide character in a room of one cell
  const std::vector<std::string> expected = {"exactly twenty cells",
                                             "one two three four",
                                             "five six",
                                             "    path",
                                             "    C:\\abcdefghijklm",
                                             "    nopqrstuvwxyz",
                                             "    end",
                                             "",
                                             ""};
  for (std::size_t row = 0; row < expected.size(); ++row)
    EXPECT_EQ(Sim::RowTrimmed(static_cast<int>(row)), expected[row]) << row;
  EXPECT_EQ(RowAttributes(3), AttributeRuns({{4, 0}, {4, 12}}, 20));
}

TEST_F(ConsoleEngineTest, SevenBitReplacesLineDrawingInEveryWrite) {
  StartupOptions().SevenBit = true;
  const std::string box = "│─█¬┤└┴┬├┘┌┐";
  WriteAt(box, 1, 3);
  WriteText(box, 3);
  NewLine();
  WriteLine(box, 1, 3);
  EXPECT_EQ(Sim::RowTrimmed(0), "|-*++++++++┐|-*++++++++┐");
  EXPECT_EQ(Sim::RowTrimmed(1), "|-*++++++++┐");
  std::string text = "a─z";
  SevenBit(text);
  EXPECT_EQ(text, "a-z");
}

TEST_F(ConsoleEngineTest, RedirectedLinesTakeTheOutputCodePage) {
  const struct {
    std::uint32_t ConsolePage;
    std::string Text;
    std::string Bytes;
    std::uint32_t RequestedPage = 0;  // asked for by whoever started the program
  } cases[] = {
      {437, "caf\u00E9 \u03A9mega \u2502\u25BA", "caf\x82 \xEAmega \xB3\x10"},
      {437, "\u65E5\u672C.txt \U0001F600|", "????.txt ??|"},  // a ? per cell
      {437, "\u00C7\u2502\u00C7", "\x80\xB3\x80"},            // the byte that marks a cell, as text
      {437, "abcdefghe\u0301xyz", "abcdefgh\x82xyz"},        // composed: é
      {437, "ax\u0301b \u0915\u094Dc", "a?b ?c"},  // a mark the page cannot hold: "?" for the cell
      {65001, "ax\u0301b \u0915\u094Dc", "ax\u0301b \u0915\u094Dc"},
      {0, "caf\u00E9 \u65E5", "caf\x82 ??"},                  // no console: the OEM code page
      {1252, "caf\u00E9 \u03A9 \u2502", "caf\xE9 ? \xB3"},
      {65001, "caf\u00E9 \u65E5\u672C \U0001F600 \u2502",
       "caf\u00E9 \u65E5\u672C \U0001F600 \u2502"},
      {437, "caf\u00E9 \u65E5\u672C.txt \u2502\u25BA",
       "caf\u00E9 \u65E5\u672C.txt \u2502\u25BA", 65001},
  };
  for (const auto& c : cases) {
    Sim::Reset();
    ResetConsoleEngine();
    Sim::SetRedirected();
    Sim::SetConsoleOutputCodePage(c.ConsolePage);
    Sim::SetRequestedPlainCodePage(c.RequestedPage);
    WriteLine(c.Text, 1, 7);
    EXPECT_EQ(Sim::StdOut(), c.Bytes + "\r\n") << c.Text;
  }
}

TEST_F(ConsoleEngineTest, SpacesGivesBlanks) {
  EXPECT_EQ(Spaces(3), "   ");
  EXPECT_EQ(Spaces(-2), "");
}

TEST_F(ConsoleEngineTest, LinesFromTheLastRowScrollTheBufferOnePerLine) {
  Sim::SetConsole(80, 25, 24);
  WriteLine("one", 1, 7);
  WriteLine("two", 1, 7);
  WriteLine("three", 1, 7);
  EXPECT_EQ(Sim::RowTrimmed(22), "one");
  EXPECT_EQ(Sim::RowTrimmed(23), "two");
  EXPECT_EQ(Sim::RowTrimmed(24), "three");
  EXPECT_EQ(Sim::Console().Scrolls, 2);
  EXPECT_EQ(Sim::Console().RowWrites, 3);
}

TEST_F(ConsoleEngineTest, PromptComesWithThe25thLineAndThenEvery24) {
  WriteNumberedLines(1, 24);  // no key is waiting: a prompt here would fail
  Sim::PushKeys(" ");
  WriteNumberedLines(25, 48);
  EXPECT_EQ(Sim::RowTrimmed(24), "line 48");
  StartupLooks().Colours.PromptColour = 0x4E;
  EXPECT_TRUE(EndsProgram([] { WriteNumberedLines(49, 49); }));
  // The prompt stays above the report of the failed key read; line 49 is dropped.
  EXPECT_EQ(Sim::RowTrimmed(22), "line 48");
  EXPECT_EQ(Sim::RowText(23), Prompt);
  EXPECT_EQ(RowAttributes(23), AttributeRuns({}, 80, 0x4E));
  EXPECT_EQ(Sim::RowTrimmed(24), "ReadConsole Error");
  EXPECT_EQ(Sim::CellAt(0, 24).Attr, Looks.Colours.HeadingColour);
}

TEST_F(ConsoleEngineTest, PromptCountsLinesWhereverOutputBegan) {
  Sim::SetConsole(80, 25, 20);
  WriteNumberedLines(1, 24);
  Sim::PushKeys("q");
  EXPECT_TRUE(EndsProgram([] { WriteNumberedLines(25, 25); }));
  EXPECT_EQ(Sim::RowTrimmed(23), "line 24");
}

TEST_F(ConsoleEngineTest, StopKeysEraseThePromptAndFinishOutput) {
  for (char key : std::string("qQxX\x1B")) {
    ResetWorld();
    WriteNumberedLines(1, 24);
    Sim::PushKeys(std::string(1, key));
    EXPECT_TRUE(EndsProgram([] { WriteNumberedLines(25, 25); })) << key;
    EXPECT_EQ(Sim::RowText(24), std::string(80, ' ')) << key;
    EXPECT_EQ(RowAttributes(24), AttributeRuns({}, 80, 14)) << key;
    EXPECT_EQ(Sim::Console().CursorColumn, 0);
    EXPECT_EQ(Sim::Console().CursorRow, 24);
    EXPECT_EQ(Sim::StdOut(), "\r\n");
  }
}

TEST_F(ConsoleEngineTest, NonStopEndsPromptingForTheRestOfTheRun) {
  WriteNumberedLines(1, 24);
  Sim::PushKeys("n");
  WriteNumberedLines(25, 300);
  EXPECT_TRUE(ConsoleEngine.NonStop);
  EXPECT_EQ(Sim::RowTrimmed(24), "line 300");
}

// The rows of a screen captured at a key read, as text.
std::vector<std::string> ScreenText(const std::vector<Plat::Cell>& cells, int columns) {
  std::vector<std::string> rows;
  for (std::size_t at = 0; at < cells.size(); at += static_cast<std::size_t>(columns)) {
    std::u16string row;
    for (int column = 0; column < columns; ++column) row += cells[at + column].Char;
    rows.push_back(Utf8::FromUtf16(row));
  }
  return rows;
}

std::vector<std::uint16_t> ScreenAttributes(const std::vector<Plat::Cell>& cells) {
  std::vector<std::uint16_t> attributes;
  for (const Plat::Cell& cell : cells) attributes.push_back(cell.Attr);
  return attributes;
}

TEST_F(ConsoleEngineTest, HelpShowsTheManualAndReturnsToTheListingAsItWas) {
  WriteNumberedLines(1, 24);
  Sim::PushKeys("h pq ");  // help, next page, back a page, back to the listing, continue
  WriteNumberedLines(25, 25);
  const auto& screens = Sim::ScreensAtKeyReads();
  ASSERT_EQ(screens.size(), 5u);
  const std::vector<std::string> manual = ManualLines(80);
  const auto firstPage = ScreenText(screens[1], 80);
  EXPECT_EQ(firstPage[0], manual[0] + std::string(80 - manual[0].size(), ' '));
  EXPECT_EQ(ScreenText(screens[2], 80)[0].substr(0, manual[24].size()), manual[24]);
  EXPECT_EQ(ScreenText(screens[3], 80), firstPage);
  const std::string helpPrompt = "Help page 1/" + std::to_string((manual.size() + 23) / 24) +
                                 " \u2666 [Q] Back \u2666 [P] Previous \u2666 [1-14] Chapter \u2666 "
                                 "[Other keys] Next";
  EXPECT_EQ(firstPage[24].substr(0, firstPage[24].find_last_not_of(' ') + 1), helpPrompt);
  // Back from the manual: the same rows in the same colours, the prompt again.
  EXPECT_EQ(ScreenText(screens[4], 80), ScreenText(screens[0], 80));
  EXPECT_EQ(ScreenAttributes(screens[4]), ScreenAttributes(screens[0]));
  EXPECT_EQ(ScreenText(screens[0], 80)[24], Prompt);
  EXPECT_EQ(Sim::RowTrimmed(24), "line 25");
}

// A chapter's number goes to its heading: 2 to 9 at once, 1 with a second
// digit (or any other key for chapter 1 itself).
TEST_F(ConsoleEngineTest, ChapterNumbersJumpInTheManual) {
  WriteNumberedLines(1, 24);
  Sim::PushKeys("h5121xq ");
  WriteNumberedLines(25, 25);
  const auto& screens = Sim::ScreensAtKeyReads();
  ASSERT_EQ(screens.size(), 8u);
  auto row = [&](std::size_t screen, int at) {
    const std::string text = ScreenText(screens[screen], 80)[static_cast<std::size_t>(at)];
    return text.substr(0, text.find_last_not_of(' ') + 1);
  };
  EXPECT_EQ(row(2, 0), "5. LAYOUTS AND CUSTOM COLUMNS");
  EXPECT_EQ(row(3, 24), "Chapter 1_ \u2666 [0-4] 10-14 \u2666 [Key] 1");
  EXPECT_EQ(row(4, 0), "12. REDIRECTED OUTPUT");
  EXPECT_EQ(row(5, 24), "Chapter 1_ \u2666 [0-4] 10-14 \u2666 [Key] 1");
  EXPECT_EQ(row(6, 0), "1. STARTING");
  EXPECT_EQ(ScreenText(screens[7], 80), ScreenText(screens[0], 80));
}

// Down to a screen a few columns wide, where an indent would leave no room.
TEST_F(ConsoleEngineTest, TheManualFitsEveryScreenWidth) {
  for (int width : {1, 2, 4, 5, 8, 40, 80}) {
    std::string words, wrappedWords;
    for (const std::string& line : ManualLines(width)) {
      EXPECT_LE(static_cast<int>(line.size()), width) << line;
      wrappedWords += line;
    }
    for (char c : std::string(ManualText)) words += c == '\n' ? ' ' : c;
    auto squeeze = [](std::string text) {
      std::string out;
      for (char c : text)
        if (c != ' ') out += c;
      return out;
    };
    EXPECT_EQ(squeeze(wrappedWords), squeeze(words)) << width;
  }
}

TEST_F(ConsoleEngineTest, ANarrowScreenGetsTheShortPrompt) {
  Sim::SetConsole(40, 25, 0);
  WriteNumberedLines(1, 24);
  Sim::PushKeys(" ");
  WriteNumberedLines(25, 25);
  EXPECT_EQ(ScreenText(Sim::ScreensAtKeyReads()[0], 40)[24],
            "[Q]Stop [N]Nonstop [H]Help [Key]Continue");
}

TEST_F(ConsoleEngineTest, ControlEventAtThePromptErasesIt) {
  WriteNumberedLines(1, 24);
  Sim::ControlEventAtKeyRead();
  EXPECT_TRUE(EndsProgram([] { WriteNumberedLines(25, 25); }));
  EndRun(0);
  Sim::JoinControlEvent();
  EXPECT_EQ(Sim::RowText(24), std::string(80, ' '));
  EXPECT_EQ(RowAttributes(24), AttributeRuns({}, 80, 7));
  EXPECT_EQ(Sim::ConsoleWriterThreads(), 1u);
  EXPECT_EQ(Sim::ControlThreadExitCode(), -1);
}

TEST_F(ConsoleEngineTest, RedirectedOutputIsPlainTextWithoutTrailingBlanks) {
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 40;
  WriteAt("abc", 1, 7);
  WriteAt("x   ", 10, 7);
  NewLine();
  WriteLine(std::string(50, 'z'), 1, 7);
  WriteNumberedLines(1, 200);  // no keys: any prompt would end the run
  EXPECT_TRUE(ConsoleEngine.Redirected);
  EXPECT_TRUE(ConsoleEngine.NonStop);
  const std::string& out = Sim::StdOut();
  EXPECT_EQ(out.substr(0, 53), "abc      x\r\n" + std::string(39, 'z') + "\r\n");
  EXPECT_EQ(out.substr(out.size() - 10), "line 200\r\n");
  std::size_t written = out.size();
  FWriteFinish();
  EXPECT_EQ(Sim::StdOut().size(), written);
  EXPECT_EQ(Sim::Console().RowWrites, 0);
}

// Bare names are read by other programs: written whole in plain text, cut on a console.
TEST_F(ConsoleEngineTest, WholeTextsGrowOnlyTheirOwnPlainLine) {
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 40;
  const std::string path = "C:\\" + std::string(60, 'p') + "\u00e9.TXT";
  WriteWholeAt(path, 1, 7);
  NewLine();
  WriteLine(std::string(50, 'z'), 1, 7);
  EXPECT_EQ(Sim::StdOut(),
            "C:\\" + std::string(60, 'p') + "\x82.TXT\r\n" + std::string(39, 'z') + "\r\n");
}

// A later text takes the cells of an earlier one, whatever either holds.
TEST_F(ConsoleEngineTest, RedirectedTextsOverwriteEarlierCells) {
  Sim::SetRedirected();
  Sim::SetConsoleOutputCodePage(65001);
  WriteAt("\u2502\u2502\u2502\u2502", 1, 7);
  WriteAt("ab", 2, 7);
  NewLine();
  WriteAt("abcd", 1, 7);
  WriteAt("\u00E9", 3, 7);
  NewLine();
  WriteLine("    tail", 1, 7);
  EXPECT_EQ(Sim::StdOut(), "\u2502ab\u2502\r\nab\u00E9d\r\n    tail\r\n");
}

// A line feed or escape from a name must not break or drive the redirected line.
TEST_F(ConsoleEngineTest, RedirectedControlCharactersBecomeQuestionMarks) {
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 40;
  WriteLine("nl\nname\r\x1B[2J\x01", 1, 7);
  WriteText(std::string(45, 'c'), 7);
  NewLine();
  EXPECT_EQ(Sim::StdOut(), "nl?name??[2J?\r\n" + std::string(39, 'c') + "\x10\r\n");
}

// Nor drive the console through its cells, by any door; the program's own
// glyphs stay.
TEST_F(ConsoleEngineTest, ConsoleControlCharactersBecomeQuestionMarks) {
  WriteAt("x\x1B]2;T\x07.txt\x7F", 1, 7);  // ASCII, as a whole
  WriteText(
      "\xC2\x9B"
      "2J\u00E9\x1B",
      7);                      // a C1 control among others
  WriteAt("\xC2\x85", 30, 7);  // one character alone
  WriteAt("\u2502\u25BA\u2666", 40, 7);
  NewLine();
  WriteLine("\x1B[2J", 1, 7);
  EXPECT_EQ(Sim::RowTrimmed(0), "x?]2;T?.txt??2J\u00E9?" + std::string(12, ' ') + "?" +
                                    std::string(9, ' ') + "\u2502\u25BA\u2666");
  EXPECT_EQ(Sim::RowTrimmed(1), "?[2J");

  Sim::SetRedirected();
  ResetConsoleEngine();
  WriteLine("abcdefgh\x7Fj \x7F \xC2\x9B", 1, 7);
  EXPECT_EQ(Sim::StdOut(), "abcdefgh?j ? ?\r\n");
}

// A mark no precomposed character holds goes into a console cell of its own
// right after its character, where a terminal shows it inside that
// character's cell: the blanks at the row's end give up the room, and a row
// without them shows the character as "?" rather than lose its last columns.
TEST_F(ConsoleEngineTest, JoinedMarksTakeTheBlanksAtTheRowsEnd) {
  WriteLine("x\u0302\u0323" + std::string(70, 'a'), 1, 7);
  WriteLine(std::string(79, 'b') + "x\u0302", 1, 7);
  WriteLine(std::string(78, 'c') + "\u65E5\u0302", 1, 7);
  WriteLine("\u0302x \u00E9\u0302", 1, 7);  // nothing to join; a mark after a composed one
  // 80 console cells, 78 columns on a terminal: it clears the rest of the row.
  EXPECT_EQ(Sim::RowText(0), "x\u0302\u0323" + std::string(70, 'a') + std::string(7, ' '));
  EXPECT_EQ(Sim::RowText(1), std::string(79, 'b') + "?");
  EXPECT_EQ(Sim::RowText(2), std::string(78, 'c') + "??");
  EXPECT_EQ(Sim::RowTrimmed(3), "?x \u00E9\u0302");

  // A cell written over loses the marks of what it held.
  Sim::SetRedirected();
  ResetConsoleEngine();
  Sim::SetRequestedPlainCodePage(Plat::Utf8CodePage);
  WriteAt("ax\u0302\u0323b", 1, 7);
  WriteAt("y", 2, 7);
  NewLine();
  EXPECT_EQ(Sim::StdOut(), "ayb\r\n");
}

TEST_F(ConsoleEngineTest, AnAbsurdRedirectionWidthIsHeldToAConsoleLine) {
  Sim::SetRedirected();
  StartupOptions().RedirectWidth = 2147483647;
  WriteLine(std::string(40000, 'w'), 1, 7);
  EXPECT_EQ(ScreenWidth(), 32767);
  EXPECT_EQ(Sim::StdOut(), std::string(32766, 'w') + "\r\n");
}

TEST_F(ConsoleEngineTest, ForcedRedirectionWritesTextEvenOnAConsole) {
  ForceRedirected();
  WriteLine("plain", 1, 7);
  EXPECT_EQ(Sim::StdOut(), "plain\r\n");
  EXPECT_EQ(Sim::Console().RowWrites, 0);
}

TEST_F(ConsoleEngineTest, FatalErrorShowsThePathLineWhenAsked) {
  StartupRunSpec().SearchSpec = ConsoleEngine.ReportPath = "C:\\DOCS\\*.TXT";
  EXPECT_TRUE(EndsProgram([] { FatalError("Boom", true); }));
  EXPECT_EQ(Sim::RowTrimmed(0), "Path: C:\\DOCS\\*.TXT");
  EXPECT_EQ(RowAttributes(0), AttributeRuns({{6, 12}, {13, 10}}, 80));
  EXPECT_EQ(Sim::RowTrimmed(1), "Boom");
  EXPECT_EQ(RowAttributes(1), AttributeRuns({{4, 12}}, 80));
  EXPECT_EQ(Sim::Console().CursorRow, 2);
  EXPECT_EQ(Sim::Console().Attribute, 7);
}

TEST_F(ConsoleEngineTest, FatalErrorWithoutPathOrOnAHalfWrittenLine) {
  StartupRunSpec().SearchSpec = ConsoleEngine.ReportPath = "C:\\DOCS\\*.TXT";
  EXPECT_TRUE(EndsProgram([] { FatalError("Boom", false); }));
  EXPECT_EQ(Sim::RowTrimmed(0), "Boom");

  Sim::Reset();
  ResetConsoleEngine();
  ConsoleEngine.ReportPath = "C:\\DOCS\\*.TXT";
  WriteAt(std::string(70, 'h'), 1, 7);
  EXPECT_TRUE(EndsProgram([] { FatalError("Boom", true); }));
  EXPECT_EQ(Sim::RowTrimmed(0), std::string(70, 'h'));
  EXPECT_EQ(Sim::RowTrimmed(1), "Path: C:\\DOCS\\*.TXT");
  EXPECT_EQ(Sim::RowTrimmed(2), "Boom");
}

TEST_F(ConsoleEngineTest, AFailedRowWriteIsReportedOnTheNextLine) {
  WriteLine("first", 1, 7);
  Sim::FailNextConsoleWrite();
  EXPECT_TRUE(EndsProgram([] { WriteLine("lost", 1, 7); }));
  EXPECT_EQ(Sim::RowTrimmed(0), "first");
  EXPECT_EQ(Sim::RowTrimmed(1), "");
  EXPECT_EQ(Sim::RowTrimmed(2), "ERROR: WriteConsoleOutput [NewLine]");
}

TEST_F(ConsoleEngineTest, FinishPutsTheCursorAfterTheLastLine) {
  Sim::SetConsole(100, 30, 5);
  WriteNumberedLines(1, 3);
  FWriteFinish();
  EXPECT_EQ(Sim::Console().CursorColumn, 0);
  EXPECT_EQ(Sim::Console().CursorRow, 8);
  EXPECT_EQ(Sim::Console().Attribute, 7);
  EXPECT_EQ(Sim::StdOut(), "\r\n");
}

// Finishing must leave every finished line whole, the bottom row included.
TEST_F(ConsoleEngineTest, FinishKeepsTheLastLineWhole) {
  for (int columns : {15, 80}) {
    Sim::Reset();
    ResetConsoleEngine();
    Sim::SetConsole(columns, 3, 2);
    const std::string full(static_cast<std::size_t>(columns), 'e');
    WriteLine("first", 1, 7);
    WriteLine(full, 1, 7);
    FWriteFinish();
    EXPECT_EQ(Sim::RowText(1), "first" + std::string(static_cast<std::size_t>(columns - 5), ' '));
    EXPECT_EQ(Sim::RowText(2), full);
  }
}

TEST_F(ConsoleEngineTest, ControlEventEndsTheRunAtItsNextLineOnTheRunsThread) {
  WriteNumberedLines(1, 2);
  EXPECT_TRUE(Sim::Console().ControlHandlerSet);
  EXPECT_TRUE(Sim::Console().ProcessedInput);
  Sim::FireControlEvent();
  while (!ControlEndPending()) std::this_thread::yield();
  EXPECT_TRUE(EndsProgram([] { WriteNumberedLines(3, 3); }));
  EndRun(0);
  Sim::JoinControlEvent();
  EXPECT_EQ(Sim::RowTrimmed(2), "");
  EXPECT_EQ(Sim::Console().CursorRow, 2);
  EXPECT_EQ(Sim::StdOut(), "\r\n");
  EXPECT_EQ(Sim::ConsoleWriterThreads(), 1u);
  EXPECT_EQ(Sim::ControlThreadExitCode(), -1);
}

TEST_F(ConsoleEngineTest, BeginOutputWritesTheBannerAtTheCursor) {
  Sim::SetConsole(80, 25, 12);
  BeginOutput();
  const std::string banner =
      "Orvalist 98, Version 7.7 Colour directory lister for the Windows console";
  EXPECT_EQ(Sim::RowTrimmed(12), banner);
  EXPECT_EQ(RowAttributes(12), AttributeRuns({{int(banner.size()), 15}}, 80));
}

TEST_F(ConsoleEngineTest, BeginOutputWithClearScreenStartsAtTheTop) {
  Sim::SetConsole(80, 25, 12);
  WriteNumberedLines(1, 3);
  StartupOptions().ClearScreen = true;
  BeginOutput();
  EXPECT_EQ(Sim::RowTrimmed(0).substr(0, 24), "Orvalist 98, Version 7.7");
  for (int row = 1; row < 25; ++row) {
    EXPECT_EQ(Sim::RowText(row), std::string(80, ' ')) << row;
    EXPECT_EQ(RowAttributes(row), AttributeRuns({}, 80, 7)) << row;
  }
  EXPECT_EQ(Sim::Console().CursorColumn, 1);
  EXPECT_EQ(Sim::Console().CursorRow, 1);
  WriteLine("next", 1, 7);
  EXPECT_EQ(Sim::RowTrimmed(1), "next");
}

}  // namespace
