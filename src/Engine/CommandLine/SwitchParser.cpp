// What the switches do, and the matching of a word against the switch table:
// a whole word first, else the letter of a switch that takes an argument.
#include "Engine/CommandLine/SwitchParser.h"

#include "Base/AsciiCase.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Engine/CommandLine/PresetLayouts.h"
#include "Engine/CommandLine/SwitchTable.h"
#include "Platform/System.h"

namespace SwitchHooks {

void ShowHelp(const std::string&) { StartupOptions().ShowHelp = true; }

void Bare(const std::string&) {
  StartupOptions().Bare = true;
  StartupOptions().FixedColumns = 1;
  if (StartupOptions().FormatChosen) return;
  SetPresetLayout(StartupOptions(), PresetLayout::Name);
  StartupOptions().ShowDescriptions = false;
}

void FullPath(const std::string&) {
  StartupOptions().FullPath = true;
  StartupOptions().ShowDescriptions = false;
}

void Wide(const std::string& word) {
  SetPresetLayout(StartupOptions(), PresetLayout::Name);
  StartupOptions().ShowDescriptions = false;
  StartupOptions().FormatChosen = true;
  if (word == "D") StartupOptions().VerticalSort = true;
}

void NotWide(const std::string&) {
  SetPresetLayout(StartupOptions(), PresetLayout::SizeAndName);
  StartupOptions().FormatChosen = true;
}

void Verbose(const std::string&) {
  SetPresetLayout(StartupOptions(), PresetLayout::Verbose);
  StartupOptions().ShowDescriptions = false;
  StartupOptions().FormatChosen = true;
}

void Aliases(const std::string&) {
  SetPresetLayout(StartupOptions(), PresetLayout::AliasFirst);
  StartupOptions().ShowDescriptions = false;
  StartupOptions().FormatChosen = true;
}

void NoAliases(const std::string&) { SetPresetLayout(StartupOptions(), PresetLayout::SizeAndName); }

void LongList(const std::string&) {
  SetPresetLayout(StartupOptions(), PresetLayout::LongList);
  StartupOptions().ShowDescriptions = false;
  StartupOptions().FixedColumns = 1;
  StartupOptions().FormatChosen = true;
}

void Descriptions(const std::string&) {
  if (!StartupOptions().FormatChosen) StartupOptions().ShowDescriptions = true;
}

void NoDescriptions(const std::string&) {
  SetPresetLayout(StartupOptions(), PresetLayout::SizeAndName);
  StartupOptions().ShowDescriptions = false;
}

void ClearAttributes(const std::string&) {
  StartupOptions().AttrWant = {};
  StartupOptions().AttrExclude = {};
}

// Runs the configuration program and ends the run without any output of its own.
void Settings(const std::string&) {
  const std::string path = Options.ProgramDir + "OConfig.exe";
  if (!Plat::LaunchProgram(path, true)) ConfigurationProgramNotStarted(path, Plat::LastError());
  EndProgram();
}

void UpperCaseNames(const std::string&) { StartupOptions().NameCase = 'U'; }
void LowerCaseNames(const std::string&) { StartupOptions().NameCase = 'L'; }
void UnchangedNames(const std::string&) { StartupOptions().NameCase = 'N'; }
void PlainText(const std::string&) { ForceRedirected(); }

// Q1 to Q4.
void MinColumns(const std::string& word) {
  if (word.size() == 2 && word[1] >= '1' && word[1] <= '4')
    StartupOptions().MinColumns = word[1] - '0';
  else
    StartupOptions().BadOption = true;
}

// DA or D:A, DF or D:F; with a hyphen before the letter, accepted and ignored.
void OlderColourSwitch(const std::string& word) {
  std::size_t at = ArgumentStart(word);
  const bool negated = at < word.size() && word[at] == '-';
  if (negated) ++at;
  if (at + 1 != word.size() || (word[at] != 'A' && word[at] != 'F'))
    StartupOptions().BadOption = true;
  else if (!negated)
    DisableColours(word[at]);
}

void FixedColumns(const std::string& word) { StartupOptions().FixedColumns = word[0] - '0'; }

}  // namespace SwitchHooks

std::size_t ArgumentStart(const std::string& word) {
  return word.size() > 1 && word[1] == ':' ? 2 : 1;
}

namespace {

// A whole word first; otherwise the letter of a switch with an argument.
const SwitchWord* FindSwitchWord(const std::string& word) {
  for (const SwitchDefinition& definition : SwitchDefinitions())
    for (const SwitchWord& entry : definition.Words)
      if (entry.Form == ArgumentForm::None && word == entry.Word) return &entry;
  if (word.empty()) return nullptr;
  for (const SwitchDefinition& definition : SwitchDefinitions())
    for (const SwitchWord& entry : definition.Words)
      if (entry.Form == ArgumentForm::Lettered && word[0] == entry.Word[0]) return &entry;
  return nullptr;
}

}  // namespace

void ParseSwitch(const std::string& rawWord) {
  const std::string word = UpperCaseAscii(rawWord);
  const SwitchWord* entry = FindSwitchWord(word);
  if (!entry)
    StartupOptions().BadOption = true;
  else if (entry->Flag)
    StartupOptions().*entry->Flag = entry->Value;
  else
    entry->Apply(word);
}

void ResolveTimeKind() {
  switch (StartupOptions().TimeField) {
    case 'A': StartupOptions().TimeKind = LastAccess; break;
    case 'C': StartupOptions().TimeKind = Creation; break;
    default: StartupOptions().TimeKind = LastWrite; break;
  }
  for (int slot = 1; slot <= StartupOptions().ColumnCount; ++slot) {
    if (StartupOptions().Columns[slot].Kind != 't') continue;
    StartupOptions().Columns[slot].Kind = static_cast<char>('0' + StartupOptions().TimeKind);
    StartupOptions().TimeKindNeeded[StartupOptions().TimeKind] = true;
  }
  // Both range filters test one stamp per entry: the date filter's letter,
  // else the time filter's own letter, else the stamp that is displayed.
  if (StartupOptions().DateRangeStamp != NoStamp) return;
  StartupOptions().DateRangeStamp = StartupOptions().TimeRangeStamp != NoStamp
                                        ? StartupOptions().TimeRangeStamp
                                        : static_cast<std::uint8_t>(StartupOptions().TimeKind);
}
