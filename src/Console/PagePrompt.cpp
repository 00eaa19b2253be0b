// The page prompt shown every screenful: stop, non-stop, help or continue.
#include <algorithm>
#include <vector>

#include "Base/Utf8.h"
#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Platform/System.h"

namespace {

constexpr std::uint8_t PromptEraseAttribute = 14;

// Shown instead when the full prompt is wider than the screen.
constexpr const char* ShortPromptText = "[Q]Stop [N]Nonstop [H]Help [Key]Continue";

// Padding on both sides keeps the stored prompt centred from then on.
void CentrePrompt() {
  std::string& prompt = ConsoleEngine.PromptText;
  if (TextCells(prompt) > ScreenWidth()) prompt = ShortPromptText;
  int pad = (ScreenWidth() - TextCells(prompt)) / 2;
  prompt = Spaces(pad) + prompt + Spaces(pad);
}

void ErasePrompt() { WriteBlankRow(ConsoleEngine.MaxRow, PromptEraseAttribute); }

// The line waiting behind the prompt is dropped: it never reaches the screen.
[[noreturn]] void Stop() {
  DiscardLine();
  FWriteFinish();
  EndProgram();
}

}  // namespace

void ShowPromptRow(const std::string& text) {
  // Every character of a prompt takes one cell.
  const std::u16string prompt = Utf8::ToUtf16(text);
  int count = std::min(static_cast<int>(prompt.size()), ScreenWidth());
  std::vector<Plat::Cell> cells(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cells[i] = Plat::Cell{prompt[i], Looks.Colours.PromptColour};
  WriteConsoleCells(cells.data(), count, ConsoleEngine.MaxRow);
  ConsoleEngine.PromptShowing = true;
}

bool WaitingForKey() { return KeyReadUnderWay(); }

char ReadPromptKey() {
  char key = 0;
  // Set before the last look for a control event: the control thread then
  // either is seen here or sees this and wakes the read.
  MarkKeyRead(true);
  if (ControlEndPending()) {
    MarkKeyRead(false);
    EndIfControlEvent();
  }
  const bool read = Plat::ConsoleReadKey(ConsoleEngine.InputHandle, key);
  MarkKeyRead(false);
  EndIfControlEvent();
  ConsoleEngine.PromptShowing = false;
  if (read) return key;
  // The prompt stays on the screen above the report.
  DiscardLine();
  FatalError("ReadConsole Error", false);
}

void MoreFiles() {
  CentrePrompt();
  for (;;) {
    ShowPromptRow(ConsoleEngine.PromptText);
    char key = ReadPromptKey();
    ErasePrompt();
    switch (key) {
      case EscapeKey:
      case 'Q':
      case 'q':
      case 'X':
      case 'x': Stop();
      case 'H':
      case 'h': ShowManual(); break;
      case 'N':
      case 'n': ConsoleEngine.NonStop = true; return;
      default: return;
    }
  }
}
