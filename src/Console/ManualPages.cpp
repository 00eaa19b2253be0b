// H at the page prompt: the manual, a screenful at a time over the screen the
// listing was on, which is put back unchanged afterwards.
#include <algorithm>
#include <string_view>
#include <vector>

#include "Base/Utf8.h"
#include "Common/Colours.h"
#include "Common/Text/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Console/Manual.h"

namespace {

constexpr std::uint8_t ManualAttribute = 7;
constexpr char EscapeKey = 27;
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
// An indent of half the screen or more would leave no room: it shrinks.
void AppendWrapped(std::string_view line, int width, std::vector<std::string>& lines) {
  std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
  std::string rest(line);
  if (static_cast<int>(rest.size()) > width && static_cast<int>(indent) * 2 >= width) {
    rest = std::string(NarrowIndent, ' ') + rest.substr(indent);
    indent = NarrowIndent;
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

std::string PagePromptText(int page, int pages) {
  const std::string number = std::to_string(page + 1) + "/" + std::to_string(pages);
  const bool last = page + 1 == pages;
  std::string full = "Help page " + number + " \u2666 " +
                     (last ? "" : "[Q] Back to the listing \u2666 ") + "[P] Previous \u2666 " +
                     (last ? "[Other keys] Back to the listing" : "[Other keys] Next page");
  if (TextCells(full) <= ScreenWidth()) return full;
  return "Help " + number + (last ? " [P]Prev [Key]Back" : " [Q]Back [P]Prev [Key]Next");
}

}  // namespace

std::vector<std::string> ManualLines(int width) {
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
  const int pageRows = std::max(ScreenHeight() - 1, 1);
  const int pages = std::max(1, (static_cast<int>(lines.size()) + pageRows - 1) / pageRows);
  const ScreenRows listing = SaveScreen();
  for (int page = 0; page < pages;) {
    DrawPage(lines, page * pageRows);
    ShowPromptRow(PagePromptText(page, pages));
    const char key = ReadPromptKey();
    if (key == 'Q' || key == 'q' || key == EscapeKey) break;
    page = key == 'P' || key == 'p' ? std::max(page - 1, 0) : page + 1;
  }
  RestoreScreen(listing);
}
