#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "Base/AsciiCase.h"
#include "Base/DecimalInteger.h"

// Applies one switch word (the text after "/"); errors set Options.BadOption.
void ParseSwitch(const std::string& word);
// Turns the /T choice into the date columns; runs once after parsing.
void ResolveTimeKind();

// The parts of the parser that read an argument of their own. Each takes the
// whole upper-cased word, leading letter included.
void ParseCustomFormat(const std::string& word);        // M...
void ParseAttributeSelection(const std::string& word);  // A...
void ParseSortOrder(const std::string& word);           // O...
void ParseColourSwitch(const std::string& word);        // G...
void DisableColours(char letter);                       // A: all but files; F: files
void ParseTimeField(const std::string& word);           // T...
void ParseRedirectWidth(const std::string& word);       // K...
void ParseRangeSwitch(const std::string& word);         // [...
// One range switch ("[D-7]") read and settled into the options; false when
// it is refused (the bounds then stay as they were).
bool ParseDateRange(const std::string& text);
bool ParseTimeRange(const std::string& text);
bool ParseSizeRange(const std::string& text);

// Where the argument of a lettered switch begins: after the letter, or after
// the colon that may follow it (O-S and O:-S).
std::size_t ArgumentStart(const std::string& word);
// A decimal number for /K and /M O; anything else (or a value outside 32 bits)
// ends the run with "'text' is not a valid integer value".
std::int32_t IntegerArgument(const std::string& text);

// What the other switches do; the switch table names them beside their words.
namespace SwitchHooks {
void ShowHelp(const std::string& word);
void Bare(const std::string& word);
void FullPath(const std::string& word);
void Wide(const std::string& word);  // W, or D: wide and sorted vertically
void NotWide(const std::string& word);
void Verbose(const std::string& word);
void Aliases(const std::string& word);
void NoAliases(const std::string& word);
void LongList(const std::string& word);
void Descriptions(const std::string& word);
void NoDescriptions(const std::string& word);
void ClearAttributes(const std::string& word);
void Settings(const std::string& word);
void UpperCaseNames(const std::string& word);
void LowerCaseNames(const std::string& word);
void UnchangedNames(const std::string& word);
void PlainText(const std::string& word);
void MinColumns(const std::string& word);
void OlderColourSwitch(const std::string& word);
void FixedColumns(const std::string& word);
}  // namespace SwitchHooks
