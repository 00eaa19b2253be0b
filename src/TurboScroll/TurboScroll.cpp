// Placeholder: the console engine is being written.
#include "TurboScroll/TurboScroll.h"

#include "Common/RunEnd.h"

ConsoleEngineState ConsoleEngine;
const char* const ProgramTitle = "Orvalist 98, Version 7.7";

void WriteAt(const std::string&, int, std::uint8_t) {}
void WriteText(const std::string&, std::uint8_t) {}
void WriteLine(const std::string&, int, std::uint8_t) {}
void NewLine() {}
void FWriteFinish() {}
void FatalError(const std::string&, bool) { EndProgram(); }
void BeginOutput() {}
void InitialiseOutput() {}
void EnsureOutput() {}
void ForceRedirected() { ConsoleEngine.Redirected = true; }
int ScreenWidth() { return ConsoleEngine.MaxCol + 1; }
int ScreenHeight() { return ConsoleEngine.MaxRow + 1; }
std::string AnsiToOem(const std::string& text) { return text; }
std::string Spaces(int count) { return count > 0 ? std::string(count, ' ') : std::string(); }
void SevenBit(std::string&) {}
void ResetConsoleEngine() { ConsoleEngine = ConsoleEngineState{}; }
