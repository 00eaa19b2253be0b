// H at the page prompt: the manual, a screenful at a time over the screen the
// listing was on, which is put back unchanged afterwards.
#include <algorithm>
#include <string_view>
#include <vector>

#include "Base/Utf8.h"
#include "RunValues/Colours.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Console/Manual.h"

namespace {

constexpr std::uint8_t ManualAttribute = 7;
constexpr std::size_t NarrowIndent = 4;

using ScreenRows = std::vector<std::vector<Plat::Cell>>;

ScreenRows SaveScreen() {
  ScreenRows rows(static_cast<std::size_t>(ScreenHeight()),
                  std::vector<Plat::Cell>(static_cast<std::size_t>(ScreenWidth())));
  for (int row = 0; row < ScreenHeight(); ++row)
    if (!Plat::ConsoleReadRow(ConsoleEngine.OutputHandle, rows[row].data(), ScreenWidth(), row)) {
      DiscardLine();
      FatalError("ERROR: ReadConsoleOutput [Help]", false);
    }
  return rows;
}

void RestoreScreen(const ScreenRows& rows) {
  for (int row = 0; row < ScreenHeight(); ++row)
    WriteConsoleCells(rows[row].data(), ScreenWidth(), row);
}

// A line of the manual wider than the screen breaks at its last blank that
// fits; the rest keeps the line's indent, so wrapped paragraphs stay in line.
// An indent of half the screen or more would leave no room: it shrinks, to
// less than half the screen, so that every row takes some of the line.
void AppendWrapped(std::string_view line, int width, std::vector<std::string>& lines) {
  std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
  std::string rest(line);
  if (static_cast<int>(rest.size()) > width && static_cast<int>(indent) * 2 >= width) {
    const std::size_t narrow = std::min(NarrowIndent, static_cast<std::size_t>(width / 2));
    rest = std::string(narrow, ' ') + rest.substr(indent);
    indent = narrow;
  }
  while (static_cast<int>(rest.size()) > width) {
    std::size_t cut = rest.rfind(' ', static_cast<std::size_t>(width));
    if (cut == std::string::npos || cut <= indent) cut = static_cast<std::size_t>(width);
    lines.push_back(rest.substr(0, cut));
    const std::size_t next = rest.find_first_not_of(' ', cut);
    rest = std::string(indent, ' ') + (next == std::string::npos ? "" : rest.substr(next));
  }
  lines.push_back(rest);
}

void DrawPage(const std::vector<std::string>& lines, int first) {
  const int width = ScreenWidth();
  for (int row = 0; row < ScreenHeight() - 1; ++row) {
    const std::size_t at = static_cast<std::size_t>(first + row);
    const std::u16string text = at < lines.size() ? Utf8::ToUtf16(lines[at]) : u"";
    std::vector<Plat::Cell> cells(static_cast<std::size_t>(width),
                                  Plat::Cell{u' ', ManualAttribute});
    for (int column = 0; column < width && column < static_cast<int>(text.size()); ++column)
      cells[column].Char = text[column];
    WriteConsoleCells(cells.data(), width, row);
  }
}

// "Help page 3/25 ..." at the bottom; narrower screens get shorter forms, the
// narrowest one without the chapter keys.
std::string PagePromptText(int first, int pageRows, int lineCount, int chapters) {
  const int pages = std::max(1, (lineCount + pageRows - 1) / pageRows);
  const bool last = first + pageRows >= lineCount;
  const int page = last ? pages : first / pageRows + 1;  // a chapter may start mid-page
  const std::string number = std::to_string(page) + "/" + std::to_string(pages);
  const std::string range = chapters > 0 ? "[1-" + std::to_string(chapters) + "]" : "";
  const std::string full = "Help page " + number + " \u2666 " + (last ? "" : "[Q] Back \u2666 ") +
                           "[P] Previous \u2666 " + (chapters > 0 ? range + " Chapter \u2666 " : "") +
                           (last ? "[Other keys] Back" : "[Other keys] Next");
  if (TextCells(full) <= ScreenWidth()) return full;
  const std::string brief = "Help " + number + (last ? " [P]Prev " : " [Q]Back [P]Prev ") +
                            (chapters > 0 ? range + "Chapter " : "") +
                            (last ? "[Key]Back" : "[Key]Next");
  if (TextCells(brief) <= ScreenWidth()) return brief;
  return "Help " + number + (last ? " [P]Prev [Key]Back" : " [Q]Back [P]Prev [Key]Next");
}

// A prompt of the viewer over the whole last row, so that no longer one
// shows through after it.
void ShowViewerPrompt(const std::string& text) {
  ShowPromptRow(text + Spaces(ScreenWidth() - TextCells(text)));
}

// The line each chapter's heading is on: a numbered title underlined with "=".
std::vector<int> ChapterLines(const std::vector<std::string>& lines) {
  std::vector<int> chapters;
  for (std::size_t at = 0; at + 1 < lines.size(); ++at) {
    const std::string& line = lines[at];
    const std::size_t dot = line.find(". ");
    const bool numbered = dot > 0 && dot <= 2 && line.find_first_not_of("0123456789") == dot;
    if (numbered && lines[at + 1].starts_with("===") &&
        std::stoi(line.substr(0, dot)) == static_cast<int>(chapters.size()) + 1)
      chapters.push_back(static_cast<int>(at));
  }
  return chapters;
}

// A chapter's number, typed from its first digit on: taken as soon as no
// further digit could make another chapter of it (so 2 to 9 go at once); after
// 1 the next key is either a second digit or takes 1 itself.
int ReadChapterNumber(char firstDigit, int chapters) {
  int number = firstDigit - '0';
  while (number * 10 <= chapters) {
    const int low = number * 10;
    const int high = std::min(low + 9, chapters);
    ShowViewerPrompt("Chapter " + std::to_string(number) + "_ \u2666 [0-" + std::to_string(high - low) +
                  "] " + std::to_string(low) + "-" + std::to_string(high) + " \u2666 [Key] " +
                  std::to_string(number));
    const char key = ReadPromptKey();
    if (key < '0' || low + (key - '0') > high) break;
    number = low + (key - '0');
  }
  return number;
}

}  // namespace

std::vector<std::string> ManualLines(int width) {
  width = std::max(width, 1);
  std::vector<std::string> lines;
  std::string_view text = ManualText;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    AppendWrapped(text.substr(0, end), width, lines);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

void ShowManual() {
  const std::vector<std::string> lines = ManualLines(ScreenWidth());
  const std::vector<int> chapters = ChapterLines(lines);
  const int chapterCount = static_cast<int>(chapters.size());
  const int lineCount = std::max(static_cast<int>(lines.size()), 1);
  const int pageRows = std::max(ScreenHeight() - 1, 1);
  const ScreenRows listing = SaveScreen();
  for (int first = 0; first < lineCount;) {
    DrawPage(lines, first);
    ShowViewerPrompt(PagePromptText(first, pageRows, lineCount, chapterCount));
    const char key = ReadPromptKey();
    if (key == 'Q' || key == 'q' || key == EscapeKey) break;
    if (key >= '1' && key <= '9' && key - '0' <= chapterCount) {
      const int chapter = ReadChapterNumber(key, chapterCount);
      first = chapters[static_cast<std::size_t>(chapter - 1)];
    } else if (key == 'P' || key == 'p') {
      first = std::max(first - pageRows, 0);
    } else {
      first += pageRows;
    }
  }
  RestoreScreen(listing);
}
