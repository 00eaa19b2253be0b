// The switch table: every word is matched against the rows in order and the
// first row that fits decides.
#include "Engine/CommandLine/SwitchParser.h"

#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Console/Console.h"
#include "Format/ErrorText.h"
#include "Platform/Platform.h"

namespace {

enum class RowKind { Exact, StartsWith };

struct SwitchRow {
  const char* Word;  // the whole word, or the leading letter for StartsWith
  RowKind Kind;
  void (*Apply)(const std::string& word);
  bool OptionsRec::*Flag;  // simple rows set one flag instead of calling Apply
  bool Value;
};

constexpr SwitchRow Exact(const char* word, void (*apply)(const std::string&)) {
  return {word, RowKind::Exact, apply, nullptr, false};
}
constexpr SwitchRow StartsWith(const char* letter, void (*apply)(const std::string&)) {
  return {letter, RowKind::StartsWith, apply, nullptr, false};
}
constexpr SwitchRow Flag(const char* word, bool OptionsRec::*flag, bool value) {
  return {word, RowKind::Exact, nullptr, flag, value};
}

void Ignore(const std::string&) {}
void ShowHelp(const std::string&) { Options.ShowHelp = true; }

void Bare(const std::string&) {
  Options.Bare = true;
  Options.FixedColumns = 1;
  if (Options.FormatChosen) return;
  SetColumns({{'n', 0}});
  Options.ShowDescriptions = false;
}

void FullPath(const std::string&) {
  Options.FullPath = true;
  Options.ShowDescriptions = false;
}

void Wide(const std::string& word) {
  SetColumns({{'n', 0}});
  Options.ShowDescriptions = false;
  Options.FormatChosen = true;
  if (word == "D") Options.VerticalSort = true;
}

void NotWide(const std::string&) {
  SetColumns({{'s', 7}, {'n', 0}});
  Options.FormatChosen = true;
}

void Verbose(const std::string&) {
  SetColumns({{'s', 7}, {'t', 0}, {'a', 6}, {'f', 13}, {'n', 0}});
  Options.ShowDescriptions = false;
  Options.FormatChosen = true;
}

void Aliases(const std::string&) {
  SetColumns({{'f', 13}, {'s', 7}, {'n', 0}});
  Options.ShowDescriptions = false;
  Options.FormatChosen = true;
}

void NoAliases(const std::string&) { SetColumns({{'s', 7}, {'n', 0}}); }

void LongList(const std::string&) {
  SetColumns({{'t', 0}, {'s', 7}, {'n', 0}});
  Options.ShowDescriptions = false;
  Options.FixedColumns = 1;
  Options.FormatChosen = true;
}

void Descriptions(const std::string&) {
  if (!Options.FormatChosen) Options.ShowDescriptions = true;
}

void NoDescriptions(const std::string&) {
  SetColumns({{'s', 7}, {'n', 0}});
  Options.ShowDescriptions = false;
}

void ClearAttributes(const std::string&) {
  Options.AttrWant = {};
  Options.AttrExclude = {};
}

// Runs the configuration program and ends the run without any output of its own.
void Settings(const std::string&) {
  const std::string path = ProgramDir + "OConfig.exe";
  if (!Plat::LaunchProgram(path, true)) ConfigurationProgramNotStarted(path, Plat::LastError());
  EndProgram();
}

void DisableAllColours(const std::string&) { DisableColours('A'); }
void DisableFileColours(const std::string&) { DisableColours('F'); }
void UpperCaseNames(const std::string&) { Options.NameCase = 'U'; }
void LowerCaseNames(const std::string&) { Options.NameCase = 'L'; }
void UnchangedNames(const std::string&) { Options.NameCase = 'N'; }
void PlainText(const std::string&) { ForceRedirected(); }
void MinColumns(const std::string& word) { Options.MinColumns = word[1] - '0'; }
void FixedColumns(const std::string& word) { Options.FixedColumns = word[0] - '0'; }

const SwitchRow SwitchTable[] = {
    Exact("?", ShowHelp),
    Flag("S", &OptionsRec::Recursive, true),
    Flag("-S", &OptionsRec::Recursive, false),
    Flag("U", &OptionsRec::SummaryOnly, true),
    Flag("-U", &OptionsRec::SummaryOnly, false),
    Flag("I", &OptionsRec::DriveInfo, true),
    Exact("B", Bare),
    Flag("-B", &OptionsRec::Bare, false),
    Exact("F", FullPath),
    Flag("-F", &OptionsRec::FullPath, false),
    Flag("H", &OptionsRec::HideDots, true),
    Flag("-H", &OptionsRec::HideDots, false),
    StartsWith("M", ParseCustomFormat),
    Exact("W", Wide),
    Exact("D", Wide),
    Exact("-W", NotWide),
    Exact("-D", NotWide),
    Exact("V", Verbose),
    Exact("X", Aliases),
    Exact("-X", NoAliases),
    Exact("N", LongList),
    Flag("C", &OptionsRec::ThousandsSeparator, true),
    Flag("-C", &OptionsRec::ThousandsSeparator, false),
    Exact("Z", Descriptions),
    Exact("-Z", NoDescriptions),
    Flag("P", &OptionsRec::Pause, true),
    Flag("-P", &OptionsRec::Pause, false),
    Exact("A", ClearAttributes),
    StartsWith("A", ParseAttributeSelection),
    StartsWith("O", ParseSortOrder),
    StartsWith("G", ParseColourSwitch),
    Exact("SET", Settings),
    Exact("DA", DisableAllColours),
    Exact("D:A", DisableAllColours),
    Exact("D-A", Ignore),
    Exact("D:-A", Ignore),
    Exact("DF", DisableFileColours),
    Exact("D:F", DisableFileColours),
    Exact("D-F", Ignore),
    Exact("D:-F", Ignore),
    Flag("TURBO", &OptionsRec::Turbo, true),
    Flag("-TURBO", &OptionsRec::Turbo, false),
    Flag("TREE", &OptionsRec::Tree, true),
    Flag("-TREE", &OptionsRec::Tree, false),
    StartsWith("T", ParseTimeField),
    Flag("CLR", &OptionsRec::ClearScreen, true),
    Flag("-CLR", &OptionsRec::ClearScreen, false),
    Flag("FREE", &OptionsRec::ShowFree, true),
    Flag("-FREE", &OptionsRec::ShowFree, false),
    Flag("Y", &OptionsRec::VerticalSort, true),
    Flag("-Y", &OptionsRec::VerticalSort, false),
    Flag("Y2K", &OptionsRec::FourDigitYears, true),
    Flag("-Y2K", &OptionsRec::FourDigitYears, false),
    Flag("7BIT", &OptionsRec::SevenBit, true),
    Flag("-7BIT", &OptionsRec::SevenBit, false),
    Exact("E", UpperCaseNames),
    Exact("-E", UnchangedNames),
    Exact("L", LowerCaseNames),
    Exact("-L", UnchangedNames),
    Exact("!", PlainText),
    Flag("J", &OptionsRec::Justify, true),
    Flag("-J", &OptionsRec::Justify, false),
    Exact("Q1", MinColumns),
    Exact("Q2", MinColumns),
    Exact("Q3", MinColumns),
    Exact("Q4", MinColumns),
    Exact("1", FixedColumns),
    Exact("2", FixedColumns),
    Exact("3", FixedColumns),
    Exact("4", FixedColumns),
    Exact("5", FixedColumns),
    Exact("6", FixedColumns),
    Exact("7", FixedColumns),
    Exact("8", FixedColumns),
    Exact("9", FixedColumns),
    Flag("BYTE", &OptionsRec::SizesInBytes, true),
    Flag("-BYTE", &OptionsRec::SizesInBytes, false),
    Flag("R", &OptionsRec::RegexWildcards, true),
    Flag("-R", &OptionsRec::RegexWildcards, false),
    StartsWith("K", ParseRedirectWidth),
    StartsWith("[", ParseRangeSwitch),
};

bool RowMatches(const SwitchRow& row, const std::string& word) {
  if (row.Kind == RowKind::Exact) return word == row.Word;
  return !word.empty() && word[0] == row.Word[0];
}

}  // namespace

std::string UpperCaseAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::size_t ArgumentStart(const std::string& word) {
  return word.size() > 1 && word[1] == ':' ? 2 : 1;
}

void ParseSwitch(const std::string& rawWord) {
  const std::string word = UpperCaseAscii(rawWord);
  for (const SwitchRow& row : SwitchTable) {
    if (!RowMatches(row, word)) continue;
    if (row.Flag)
      Options.*row.Flag = row.Value;
    else
      row.Apply(word);
    return;
  }
  Options.BadOption = true;
}

void ResolveTimeKind() {
  switch (Options.TimeField) {
    case 'A': Options.TimeKind = LastAccess; break;
    case 'C': Options.TimeKind = Creation; break;
    default: Options.TimeKind = LastWrite; break;
  }
  for (int slot = 1; slot <= Options.ColumnCount; ++slot) {
    if (Options.Columns[slot].Kind != 't') continue;
    Options.Columns[slot].Kind = static_cast<char>('0' + Options.TimeKind);
    Options.TimeKindNeeded[Options.TimeKind] = true;
  }
  // Both range filters test one stamp per entry: the date filter's letter,
  // else the time filter's own letter, else the stamp that is displayed.
  if (Options.DateRangeStamp != NoStamp) return;
  Options.DateRangeStamp = Options.TimeRangeStamp != NoStamp
                               ? Options.TimeRangeStamp
                               : static_cast<std::uint8_t>(Options.TimeKind);
}
