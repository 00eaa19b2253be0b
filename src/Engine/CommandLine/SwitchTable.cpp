// The switch table. Rows follow the usage screen's detail list; the screen's
// layout places the summary and group items by the rows' names.
#include "Engine/CommandLine/SwitchTable.h"

#include <algorithm>

#include "Engine/CommandLine/SwitchParser.h"

namespace {

using namespace SwitchHooks;
using Hook = void (*)(const std::string&);

constexpr SwitchWord Word(const char* word, Hook apply) {
  return {word, ArgumentForm::None, apply, nullptr, false};
}
constexpr SwitchWord Lettered(const char* letter, Hook apply) {
  return {letter, ArgumentForm::Lettered, apply, nullptr, false};
}
constexpr SwitchWord Flag(const char* word, bool OptionsRec::*flag, bool value) {
  return {word, ArgumentForm::None, nullptr, flag, value};
}

}  // namespace

std::span<const SwitchDefinition> SwitchDefinitions() {
  static const SwitchDefinition Table[] = {
      {{Word("A", ClearAttributes), Lettered("A", ParseAttributeSelection)},
       {"A",
        "/A[[:][-]RHSDA]",
        "/A     Attribute specification",
        "/A",
        {"Attribute specification", "  R Read only", "  H Hidden", "  S System", "  A Archive",
         "  D Directory"}}},
      {{Word("B", Bare), Flag("-B", &OptionsRec::Bare, false)},
       {"B",
        "/B",
        "/B     Bare display format",
        "/B",
        {"Use bare mode (no header or summary information)"}}},
      {{Flag("BYTE", &OptionsRec::SizesInBytes, true),
        Flag("-BYTE", &OptionsRec::SizesInBytes, false)},
       {"BYTE", "/BYTE", "/BYTE  File sizes in BYTEs", "/BYTE", {"Display file sizes in bytes"}}},
      {{Flag("C", &OptionsRec::ThousandsSeparator, true),
        Flag("-C", &OptionsRec::ThousandsSeparator, false)},
       {"C", "/C", "/C     Display thousands separator", "/C", {"Display thousands separator"}}},
      {{Flag("CLR", &OptionsRec::ClearScreen, true), Flag("-CLR", &OptionsRec::ClearScreen, false)},
       {"CLR", "/CLR", "/CLR   CLeaR screen before display", "/CLR", {"Clear screen"}}},
      // D[:]A and D[:]F are the older spelling of /G.
      {{Word("D", Wide), Word("-D", NotWide), Lettered("D", OlderColourSwitch)},
       {"D",
        "/D[:]AF",
        "/D     Same as wide, but sort vertically",
        "/D",
        {"Same as wide format (/W) but sort vertically"}}},
      {{Word("E", UpperCaseNames), Word("-E", UnchangedNames)},
       {"E", "/E", "/E     uppEr case filenames", "/E", {"Use upper case"}}},
      {{Word("F", FullPath), Flag("-F", &OptionsRec::FullPath, false)},
       {"F", "/F", "/F     Full path name", "/F", {"Display full path names"}}},
      {{Flag("FREE", &OptionsRec::ShowFree, true), Flag("-FREE", &OptionsRec::ShowFree, false)},
       {"FREE", "/FREE", "/FREE  display FREE space", "/FREE", {"Display free space"}}},
      {{Lettered("G", ParseColourSwitch)},
       {"G",
        "/G[:]AF",
        "/G     Disable colour",
        "/G",
        {"Disable colour", "  A Disable all colour", "  F Disable file colour"}}},
      {{Flag("H", &OptionsRec::HideDots, true), Flag("-H", &OptionsRec::HideDots, false)},
       {"H", "/H", "/H     Hide dots", "/H", {"Hide dots"}}},
      {{Flag("I", &OptionsRec::DriveInfo, true)},
       {"I",
        "/I",
        "/I     display drive Information",
        "/I",
        {"Display drive summary information"}}},
      {{Flag("J", &OptionsRec::Justify, true), Flag("-J", &OptionsRec::Justify, false)},
       {"J",
        "/J",
        "/J     Justify names (8.3 only)",
        "/J",
        {"Justify filenames (8.3 filenames only)"}}},
      {{Lettered("K", ParseRedirectWidth)},
       {"K",
        "/K[:]x",
        "/K     specify redirection width",
        "/Kx",
        {"Number of columns to use when redirecting output (minimum of 40)"}}},
      {{Word("L", LowerCaseNames), Word("-L", UnchangedNames)},
       {"L", "/L", "/L     Use lower case", "/L", {"Use lower case"}}},
      {{Lettered("M", ParseCustomFormat)},
       {"M",
        "/M[:]",
        "/M     Modify display format",
        "/M",
        {"Custom display format", "  (N and D are mutually exclusive)"},
        true}},
      {{Word("N", LongList)},
       {"N", "/N", "/N     New WinNT long list format", "/N", {"New WinNT long list format"}}},
      {{Lettered("O", ParseSortOrder)},
       {"O",
        "/O[:][-]NDESU",
        "/O     Sort order",
        "/O",
        {"Set sort order", "  N Sort by name", "  D Sort by date", "  E Sort by extension",
         "  S Sort by size", "  U Unsorted", "  G Group directories first"}}},
      {{Flag("P", &OptionsRec::Pause, true), Flag("-P", &OptionsRec::Pause, false)},
       {"P", "/P", "/P     Pause between screens", "/P", {"Pause between screens"}}},
      {{Lettered("Q", MinColumns)},
       {"Q",
        "/Q(1-4)",
        "/Q     specify minimum no of columns",
        "/Q",
        {"Limit minimum number of columns to 1, 2, 3 or 4"}}},
      {{Flag("R", &OptionsRec::RegexWildcards, true),
        Flag("-R", &OptionsRec::RegexWildcards, false)},
       {"R",
        "/R",
        "/R     Regular expression wildcards",
        "/R",
        {"Wildcards interpreted as regular expressions"}}},
      {{Flag("S", &OptionsRec::Recursive, true), Flag("-S", &OptionsRec::Recursive, false)},
       {"S", "/S", "/S     Recursive subdirectories", nullptr, {}}},
      {{Word("SET", Settings)},
       {"SET", "/SET", "/SET   Change settings", "/SET", {"Change default settings"}}},
      {{Lettered("T", ParseTimeField)},
       {"T",
        "/T[:]ACW",
        "/T     Select date/time format",
        "/T",
        {"Specify date/time display", "  A Last access time", "  C Creation time",
         "  W Last write time (default)"}}},
      {{Flag("TREE", &OptionsRec::Tree, true), Flag("-TREE", &OptionsRec::Tree, false)},
       {"TREE",
        "/TREE",
        "/TREE  display directory TREE",
        "/TREE",
        {"Display directory tree structure including disk space consumption"}}},
      {{Flag("U", &OptionsRec::SummaryOnly, true), Flag("-U", &OptionsRec::SummaryOnly, false)},
       {"U", "/U", "/U     display only sUmmary info", "/U", {"display sUmmary information only"}}},
      {{Word("V", Verbose)},
       {"V", "/V", "/V     Verbose display format", "/V", {"Verbose file display"}}},
      {{Word("W", Wide), Word("-W", NotWide)},
       {"W", "/W", "/W     Wide display format", "/W", {"Wide display format (filenames only)"}}},
      {{Word("X", Aliases), Word("-X", NoAliases)},
       {"X", "/X", "/X     Show 8.3 filenames", "/X", {"Display 8.3 FAT aliases (Win95 only)"}}},
      {{Flag("Y", &OptionsRec::VerticalSort, true), Flag("-Y", &OptionsRec::VerticalSort, false)},
       {"Y", "/Y", "/Y     Vertical sort direction", "/Y", {"Vertical sorting direction"}}},
      {{Flag("Y2K", &OptionsRec::FourDigitYears, true),
        Flag("-Y2K", &OptionsRec::FourDigitYears, false)},
       {"Y2K",
        "/Y2K",
        "/Y2K   display dates in 4 digit format",
        "/Y2K",
        {"Display dates in 4 digit format (year 2000 compliance)"}}},
      {{Word("Z", Descriptions), Word("-Z", NoDescriptions)},
       {"Z", nullptr, "/Z     display file descriptions", "/Z", {"Display file descriptions"}}},
      {{Flag("7BIT", &OptionsRec::SevenBit, true), Flag("-7BIT", &OptionsRec::SevenBit, false)},
       {"7BIT", "/7BIT", "/7BIT  use 7 BIT ASCII", "/7BIT", {"Use 7BIT ASCII"}}},
      {{{"@", ArgumentForm::RestOfLine, nullptr, nullptr, false}},
       {"@",
        nullptr,
        "/@cmd  Batch mode",
        "/@cmd",
        {"Batch mode. Generates !OVBATCH.BAT. Use $ for filename.",
         "See the help file for full details"}}},
      {{Word("1", FixedColumns), Word("2", FixedColumns), Word("3", FixedColumns),
        Word("4", FixedColumns), Word("5", FixedColumns), Word("6", FixedColumns),
        Word("7", FixedColumns), Word("8", FixedColumns), Word("9", FixedColumns)},
       {"(1..9)",
        "/(1..9)",
        "/(1-9) specify number of columns",
        "/(1..9)",
        {"Specify absolute number of columns to display (1 to 9)"}}},
      {{Lettered("[", ParseRangeSwitch)},
       {"[range]",
        "/[range]",
        "/[range] Range specification",
        "/[range]",
        {"Filter files based on a range of dates, times, or sizes", "  /[D...] Date filter",
         "  /[T...] Time filter", "  /[S...] Size filter",
         "  See the help file for full details on range specifications."}}},
      {{Word("?", ShowHelp)},
       {"?", "/?", "/?     this help information", "/?", {"Displays this help information"}}},
      // Accepted but never listed.
      {{Flag("TURBO", &OptionsRec::Turbo, true), Flag("-TURBO", &OptionsRec::Turbo, false)}, {}},
      {{Word("!", PlainText)}, {}},
  };
  return Table;
}

std::vector<std::string> SwitchWordList() {
  std::vector<std::string> words;
  for (const SwitchDefinition& definition : SwitchDefinitions())
    for (const SwitchWord& word : definition.Words)
      if (std::find(words.begin(), words.end(), word.Word) == words.end())
        words.emplace_back(word.Word);
  return words;
}
