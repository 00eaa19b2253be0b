// The console output engine: lines are composed as cells and written as whole
// rows into the console screen buffer, with scrolling and a page prompt, or as
// plain text lines when output is redirected. Nothing else writes to the screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RunValues/RunEnd.h"
#include "Platform/CodePages.h"
#include "Platform/Console.h"

// One UTF-16 unit and its bytes in the output code page (Length 0: not yet known).
struct ConvertedChar {
  char16_t Unit = 0;
  std::uint8_t Length = 0;
  char Bytes[7] = {};
};

// The last character of one cell put that is not ASCII, as shown and as its
// plain byte (Code 0: none yet).
struct LastWideChar {
  char32_t Code = 0;
  char16_t Shown = 0;
  char Plain = 0;
};

// A character of no cell of its own (a combining mark that no precomposed
// character holds, a joiner) shown with the cell before it.
struct JoinedMark {
  int Column = 0;  // 1-based, the cell it joins
  char32_t Code = 0;
};

// Engine state, created on first use.
struct ConsoleEngineState {
  Plat::Handle OutputHandle = Plat::InvalidHandle;  // standard output
  Plat::Handle InputHandle = Plat::InvalidHandle;   // standard input (page prompt)
  Plat::ScreenInfo ScreenInfo;                      // as reported at initialisation
  int MaxCol = 79;                                  // last usable column, 0-based (W = MaxCol + 1)
  int MaxRow = 24;                                  // last usable row, 0-based (H = MaxRow + 1)
  int CurrentRow = 0;        // after NewLine the finished line is on row CurrentRow - 1
  int PenColumn = 1;         // running column of the line being composed
  int PageLines = 1;         // lines output since the last page prompt
  bool Redirected = false;   // plain-text mode
  bool Initialised = false;  // the engine has been set up
  // The line being composed: W cells, allocated once and cleared after every line.
  std::vector<Plat::Cell> LineBuffer;
  int LineUsed = 0;  // cells of LineBuffer written since it was last cleared
  // The line's joined marks in column order; empty for nearly every line.
  std::vector<JoinedMark> JoinedMarks;
  // In plain text the line is composed as bytes, one per cell (two spare at the
  // end for the line break); a cell holding a character that is not ASCII is
  // marked there and kept in LineBuffer.
  std::string PlainBytes;
  bool PlainHasMarks = false;  // the plain line has a marked cell
  std::string ConvertedLine;   // a plain line with marked cells, as written
  // Plain-text bytes of characters that are not ASCII, as converted so far.
  std::array<ConvertedChar, 64> ConvertedChars{};
  LastWideChar LastWide;  // its look-up, kept for the next
  // The page prompt, centred on first use.
  std::string PromptText =
      "[Q/X] Stop \u2666 [N] Non-stop \u2666 [H] Help \u2666 [Other keys] Continue";
  std::uint32_t OutputCodePage = 437;  // of plain-text output: the console's, else the OEM one
  bool ForceRedirect = false;          // /! asks for plain text even on a console
  bool ReportingFatal = false;         // a fatal error is being reported (stops a second one)
  // Set while start-up steps are only tried: a fatal error's message is kept
  // here, not shown, and the run's end unwinds as usual.
  std::string* TriedFatal = nullptr;
  bool PromptShowing = false;          // a prompt waits for a key on the last row
  bool NonStop = false;  // no page prompts: plain-text output, or N answered at a prompt
  std::string ReportPath;  // what a fatal report's "Path:" names: the directory being listed
  // Bare names for other programs (plain UTF-8 asked for by whoever started
  // the program): written exactly, not as cells.
  bool NamesForPrograms = false;
  Plat::BareNamesRequest BareNames;
  int NamesLeftOut = 0;  // names the system could not hand over exactly
};
extern ConsoleEngineState ConsoleEngine;

// Texts are UTF-8; columns, rooms and cuts count console cells.
// Text at a 1-based column of the current line; cut to the room left.
void WriteAt(std::string_view text, int column, std::uint8_t attribute);
// Text at the running column; a cut text ends in the marker (code 16) at column W.
void WriteText(std::string_view text, std::uint8_t attribute);
// Text at a column, never cut: in plain text the line grows to hold it; on a
// console it is cut as WriteAt cuts.
void WriteWholeAt(std::string_view text, int column, std::uint8_t attribute);
// Text at a column, then the end of the line.
void WriteLine(std::string_view text, int column, std::uint8_t attribute);
// The program's own messages, which no layout cuts: text at a column, broken
// at the last blank that fits into as many lines as it takes, each starting
// at that column; a word longer than the room is broken where the room ends.
void WriteWrappedLine(std::string_view text, int column, std::uint8_t attribute);
// Finishes the current line: shows it, advances, pauses when a page is full.
void NewLine();
// Restores the console (cursor, attribute) at the end of output.
void FWriteFinish();
// A bare name for other programs (NamesForPrograms): its bytes as the system
// gave them, the head (the directory part of a path) in Linux form when
// asked, ended by a line end or NUL. A name the system could not give
// exactly (it holds U+FFFD, as wine shows bytes that are not UTF-8) could
// name another file: it is left out and counted.
void WriteNameForPrograms(std::string_view head, std::string_view name);
// Ends the run, the line being composed dropped, when a control event
// (Ctrl+C, Ctrl+Break) asked for it; every new line and key looks, and a
// walk looks once per directory.
void EndIfControlEvent();
// "Path: " and a path at column 7, then the end of the line; a path too long
// for the line is cut and ends in the marker.
void WritePathLine(std::string_view path);
// Writes an optional "Path: " line and the message, finishes output and ends the program.
[[noreturn]] void FatalError(const std::string& message, bool showPath,
                             ExitCode code = ExitCode::Failed);
// Ends the run saying that the configuration program could not be started,
// why (the system's text for the code), and where it was looked for.
[[noreturn]] void ConfigurationProgramNotStarted(const std::string& path, std::uint32_t code);
// (Re)initialises, clears the screen with /CLR and writes the banner line.
void BeginOutput();
// Blanks the console rows from the cursor's to the last (nothing in plain
// text). Wine's console on a terminal draws rows counted from the top and
// knows nothing of what the terminal showed: after this, the terminal's rows
// are the console's, and what another program writes below stays in place.
void BlankRowsFromCursor();
// Initialises the engine (first use, and every BeginOutput).
void InitialiseOutput();
// Initialises on first use only.
inline void EnsureOutput() {
  if (!ConsoleEngine.Initialised) InitialiseOutput();
}
// Switches to plain-text output as if redirected (/!).
void ForceRedirected();

// Screen width W and height H (valid once initialised).
inline int ScreenWidth() { return ConsoleEngine.MaxCol + 1; }
inline int ScreenHeight() { return ConsoleEngine.MaxRow + 1; }

// count blanks; empty for count <= 0.
std::string Spaces(int count);
// Replaces line-drawing characters by 7-bit ones, in place.
void SevenBit(std::string& text);

// Back to the never-initialised state (tests).
void ResetConsoleEngine();

// The banner's title, shared with the usage screen.
extern const char* const ProgramTitle;
