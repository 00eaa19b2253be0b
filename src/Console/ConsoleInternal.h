// Pieces of the console engine shared between its own files; nothing outside
// Console includes this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Console.h"

// An empty position of a line: a blank without colour. A zero character looks
// the same on a real console, but others show it as a replacement glyph.
constexpr Plat::Cell EmptyCell{u' ', 0};
// The second cell of a wide character: it shows nothing of its own, so the
// character keeps both columns on the console.
constexpr char16_t WideCharTrail = u'\u200B';

// The key that leaves the page prompt and the manual, as Q does.
constexpr char EscapeKey = 27;

// The page prompt on the last row: waits for one key and acts on it.
void MoreFiles();
// A prompt text on the last row in the prompt colour, cut to the screen width.
void ShowPromptRow(const std::string& text);
// One key from the console; a failed read ends the run ("ReadConsole Error").
char ReadPromptKey();
// The manual, paged over the screen; returns with the screen as it was.
void ShowManual();
// The manual's lines for a screen width: wider lines wrapped at a blank.
std::vector<std::string> ManualLines(int width);
// Runs for Ctrl+C, Ctrl+Break and the other console events (on the console's thread).
void ConsoleControlEvent();
// True while the run's thread waits for a key (read from any thread).
bool WaitingForKey();
// Writes cells straight to a console row from column 0; a refusal is fatal.
void WriteConsoleCells(const Plat::Cell* cells, int count, int row);
// Writes W blanks in the attribute straight to a console row.
void WriteBlankRow(int row, std::uint8_t attribute);
// Drops the line being composed, so that an engine failure reports on a clean line.
void DiscardLine();
// The 7-bit stand-in for one line-drawing character (other characters unchanged).
char16_t SevenBitChar(char16_t character);
// The code page 437 byte of one of the program's own glyphs; 0 for any other character.
char Glyph437Byte(char16_t character);
// The byte of a plain line that says its character is in the line's cells.
constexpr char NotAsciiMark = '\x80';
// The plain-line byte of a character that is not ASCII: its one byte in the
// output code page, or the mark when it takes more (or is that byte).
char PlainByteOf(char16_t unit);
// A finished plain line, bytes [0, count) with marked characters taken from
// their cells, as the bytes of plain text in the output code page.
void PlainLineText(const char* bytes, const Plat::Cell* cells, std::size_t count,
                   std::string& text);
// Forgets the converted characters (the output code page is set anew).
void ForgetConvertedChars();
// Stores ASCII bytes in the plain line from a 0-based cell; control characters
// become '?', so that a name cannot break the line or drive a terminal. False
// when a byte is not ASCII: what was stored then is a prefix of the text.
bool StorePlainAscii(const char* bytes, std::size_t count, std::size_t at);
// Writes the plain line as one line of text.
void WritePlainLine();
// Plain bytes to standard output, and the push of what is buffered. A failed
// write (the reader has gone, the disk is full) ends the run there, quietly:
// nothing would take the rest.
void WritePlainOutput(const char* data, std::size_t length);
void FlushPlainOutput();
// Makes the plain line hold cells cells (a whole text wider than the output).
void GrowPlainLine(std::size_t cells);
// Sizes the plain line to the line buffer, all blanks.
void ClearPlainLine();
// Tells on standard error how many bare names were left out, if any.
void ReportNamesLeftOut();
