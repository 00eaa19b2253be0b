// The page prompt shown every screenful: stop, non-stop, help or continue.
#include <algorithm>
#include <vector>

#include "Base/Utf8.h"
#include "Common/Colours.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Common/Text/TextCells.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"
#include "Platform/System.h"

namespace {

constexpr char EscapeKey = 27;
constexpr std::uint8_t PromptEraseAttribute = 14;

// Padding on both sides keeps the stored prompt centred from then on.
void CentrePrompt() {
  std::string& prompt = ConsoleEngine.PromptText;
  int pad = (ScreenWidth() - TextCells(prompt)) / 2;
  prompt = Spaces(pad) + prompt + Spaces(pad);
}

void ShowPrompt() {
  // Every character of the prompt takes one cell.
  const std::u16string prompt = Utf8::ToUtf16(ConsoleEngine.PromptText);
  int count = std::min(static_cast<int>(prompt.size()), ScreenWidth());
  std::vector<Plat::Cell> cells(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cells[i] = Plat::Cell{prompt[i], Colours.PromptColour};
  WriteConsoleCells(cells.data(), count, ConsoleEngine.MaxRow);
}

void ErasePrompt() { WriteBlankRow(ConsoleEngine.MaxRow, PromptEraseAttribute); }

// The line waiting behind the prompt is dropped: it never reaches the screen.
[[noreturn]] void Stop() {
  DiscardLine();
  FWriteFinish();
  EndProgram();
}

void ShowHelp() {
  if (Plat::ShowHelpFile(ProgramDir + "Orvalist.hlp")) return;
  DiscardLine();
  FatalError("Error displaying Orvalist.hlp (Windows help file)", false);
}

char ReadKey() {
  char key = 0;
  if (Plat::ConsoleReadKey(ConsoleEngine.InputHandle, key)) return key;
  // The prompt stays on the screen above the report.
  DiscardLine();
  FatalError("ReadConsole Error", false);
}

}  // namespace

void MoreFiles() {
  CentrePrompt();
  for (;;) {
    ShowPrompt();
    char key = ReadKey();
    ErasePrompt();
    switch (key) {
      case EscapeKey:
      case 'Q':
      case 'q':
      case 'X':
      case 'x': Stop();
      case 'H':
      case 'h': ShowHelp(); break;
      case 'N':
      case 'n': Options.Pause = false; return;
      default: return;
    }
  }
}
