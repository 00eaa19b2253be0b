// The start of output: set-up, the optional clear screen and the banner line,
// and the blanking of the rows below the cursor.
#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "Console/Console.h"
#include "Console/ConsoleInternal.h"

const char* const ProgramTitle = "Orvalist 98, Version 7.7";

namespace {

constexpr const char* BannerNotice = "Colour directory lister for the Windows console";
constexpr std::size_t TitleRoom = 31;
constexpr std::size_t BannerRoom = 78;
constexpr std::uint8_t ClearAttribute = 7;

void ClearScreen() {
  ConsoleEngineState& engine = ConsoleEngine;
  for (int row = 0; row <= engine.MaxRow; ++row) WriteBlankRow(row, ClearAttribute);
  if (!Plat::ConsoleSetCursor(engine.OutputHandle, 1, 1))
    FatalError("ERROR: FWriteFinish [CursorPosition]", false);
  engine.CurrentRow = 0;
}

}  // namespace

void BlankRowsFromCursor() {
  EnsureOutput();
  if (ConsoleEngine.Redirected) return;
  for (int row = ConsoleEngine.CurrentRow; row <= ConsoleEngine.MaxRow; ++row)
    WriteBlankRow(row, ClearAttribute);
}

void BeginOutput() {
  InitialiseOutput();
  // Plain text has no screen to clear.
  if (Options.ClearScreen && !ConsoleEngine.Redirected) ClearScreen();
  std::string banner = (std::string(ProgramTitle) + " ").substr(0, TitleRoom) + BannerNotice;
  WriteLine(banner.substr(0, BannerRoom), 1, Looks.Colours.BannerColour);
}
