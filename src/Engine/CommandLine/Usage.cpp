// The usage screen: title, the offending command line, a usage summary, three
// groups of switches in two columns and the detailed list of every switch.
#include "Engine/CommandLine/Usage.h"

#include <initializer_list>
#include <vector>

#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Platform/Platform.h"
#include "Console/Console.h"

namespace {

constexpr std::uint8_t TitleAttribute = 14;
constexpr std::uint8_t SubtitleAttribute = 9;
constexpr std::uint8_t ErrorAttribute = 12;
constexpr std::uint8_t CaptionAttribute = 11;
constexpr std::uint8_t ItemAttribute = 15;
constexpr std::uint8_t DetailAttribute = 7;
constexpr int RightPairColumn = 40;
constexpr int TextColumn = 8;
constexpr int ShownArguments = 8;

bool PairStartsLine = true;

using Texts = std::initializer_list<const char*>;

// One entry of the detailed list: the switch and its description lines.
struct SwitchDetail {
  const char* Switch;
  Texts Lines;
};

const SwitchDetail Details[] = {
    {"/A",
     {"Attribute specification", "  R Read only", "  H Hidden", "  S System", "  A Archive",
      "  D Directory"}},
    {"/B", {"Use bare mode (no header or summary information)"}},
    {"/BYTE", {"Display file sizes in bytes"}},
    {"/C", {"Display thousands separator"}},
    {"/CLR", {"Clear screen"}},
    {"/D", {"Same as wide format (/W) but sort vertically"}},
    {"/E", {"Use upper case"}},
    {"/F", {"Display full path names"}},
    {"/FREE", {"Display free space"}},
    {"/G", {"Disable colour", "  A Disable all colour", "  F Disable file colour"}},
    {"/H", {"Hide dots"}},
    {"/I", {"Display drive summary information"}},
    {"/J", {"Justify filenames (8.3 filenames only)"}},
    {"/Kx", {"Number of columns to use when redirecting output (minimum of 40)"}},
    {"/L", {"Use lower case"}},
    {"/M",
     {"Custom display format", "  N Filename", "  S File size",
      "  T File date/time (based on /T; Win95/NT only)", "  T1 Last accessed time (Win95/NT only)",
      "  T2 Creation time (Win95/NT only)", "  T3 Last write time (Win95/NT only)",
      "  A File Attributes", "  F FAT alias", "  D File description",
      "  O[x] File owner where x is column width (default 15) (NT only)",
      "  C Compressed file size (NT only)", "  R Compression ratio (NT only)",
      "  (N and D are mutually exclusive)"}},
    {"/N", {"New WinNT long list format"}},
    {"/O",
     {"Set sort order", "  N Sort by name", "  D Sort by date", "  E Sort by extension",
      "  S Sort by size", "  U Unsorted", "  G Group directories first"}},
    {"/P", {"Pause between screens"}},
    {"/Q", {"Limit minimum number of columns to 1, 2, 3 or 4"}},
    {"/R", {"Wildcards interpreted as regular expressions"}},
    {"/SET", {"Change default settings"}},
    {"/T",
     {"Specify date/time display", "  A Last access time", "  C Creation time",
      "  W Last write time (default)"}},
    {"/TREE", {"Display directory tree structure including disk space consumption"}},
    {"/U", {"display sUmmary information only"}},
    {"/V", {"Verbose file display"}},
    {"/W", {"Wide display format (filenames only)"}},
    {"/X", {"Display 8.3 FAT aliases (Win95 only)"}},
    {"/Y", {"Vertical sorting direction"}},
    {"/Y2K", {"Display dates in 4 digit format (year 2000 compliance)"}},
    {"/Z", {"Display file descriptions"}},
    {"/7BIT", {"Use 7BIT ASCII"}},
    {"/@cmd",
     {"Batch mode. Generates !OVBATCH.BAT. Use $ for filename.",
      "See the help file for full details"}},
    {"/(1..9)", {"Specify absolute number of columns to display (1 to 9)"}},
    {"/[range]",
     {"Filter files based on a range of dates, times, or sizes", "  /[D...] Date filter",
      "  /[T...] Time filter", "  /[S...] Size filter",
      "  See the help file for full details on range specifications."}},
    {"/?", {"Displays this help information"}},
};

void WriteGroup(const char* caption, Texts items) {
  WriteLine(caption, 1, CaptionAttribute);
  StartHelpPairs();
  for (const char* item : items) WriteHelpPair(item, ItemAttribute);
}

void WriteTitle() {
  std::string title = ProgramTitle;
  int length = static_cast<int>(title.size());
  WriteAt(title, 1, TitleAttribute);
  WriteAt(" [16 May 98]", length + 1, TitleAttribute);
  WriteLine(" - 32 bit for Windows 95, 98 and NT", length + 13, SubtitleAttribute);
}

// The user's arguments 1 to 8, missing ones as empty texts.
void WriteBadOptionLine() {
  std::vector<std::string> arguments = Plat::CommandArguments();
  std::string line = "Incorrect command line option entered - ";
  for (int i = 1; i <= ShownArguments; ++i) {
    if (i > 1) line += " ";
    if (i < static_cast<int>(arguments.size())) line += arguments[i];
  }
  NewLine();
  WriteLine(line, 1, ErrorAttribute);
}

std::string ProgramFileName() {
  std::vector<std::string> arguments = Plat::CommandArguments();
  if (arguments.empty()) return std::string();
  const std::string& program = arguments.front();
  std::size_t slash = program.find_last_of("\\/:");
  return slash == std::string::npos ? program : program.substr(slash + 1);
}

void WriteUsageSummary() {
  NewLine();
  WriteAt("USAGE: ", 1, CaptionAttribute);
  WriteLine(ProgramFileName() + " [drive:][path][filename] [ /A[[:][-]RHSDA] /B /BYTE /C /CLR",
            TextColumn, ItemAttribute);
  WriteLine("/D[:]AF /E /F /G[:]AF /FREE /H /I /J /K[:]x /L /M[:]NSDAFOCRT /N", TextColumn,
            ItemAttribute);
  WriteLine("/O[:][-]NDESU /P /Q(1-4) /R /S /SET /T[:]ACW /TREE /U /V /W /X /Y /Y2K", TextColumn,
            ItemAttribute);
  WriteLine("/7BIT /(1..9) /[range] /? ]", TextColumn, ItemAttribute);
}

void WriteGroups() {
  NewLine();
  WriteGroup(
      "Compatible DOS/NT options:",
      {"/A     Attribute specification", "/B     Bare display format",
       "/C     Display thousands separator", "/D     Same as wide, but sort vertically",
       "/L     Use lower case", "/N     New WinNT long list format", "/O     Sort order",
       "/P     Pause between screens", "/S     Recursive subdirectories",
       "/T     Select date/time format", "/V     Verbose display format",
       "/W     Wide display format", "/X     Show 8.3 filenames", "/?     this help information"});
  NewLine();
  WriteGroup(
      "Common Orvalist options:",
      {"/BYTE  File sizes in BYTEs", "/E     uppEr case filenames", "/F     Full path name",
       "/I     display drive Information", "/M     Modify display format",
       "/R     Regular expression wildcards", "/SET   Change settings",
       "/TREE  display directory TREE", "/Y     Vertical sort direction",
       "/(1-9) specify number of columns", "/[range] Range specification", "/@cmd  Batch mode"});
  NewLine();
  NewLine();
  WriteGroup("Other Orvalist options:",
             {"/CLR   CLeaR screen before display", "/G     Disable colour",
              "/FREE  display FREE space", "/H     Hide dots", "/J     Justify names (8.3 only)",
              "/K     specify redirection width", "/Q     specify minimum no of columns",
              "/U     display only sUmmary info", "/Y2K   display dates in 4 digit format",
              "/Z     display file descriptions", "/7BIT  use 7 BIT ASCII"});
  WriteLine("", 1, ItemAttribute);  // ends the odd last item's line
}

void WriteDetails() {
  WriteLine("DETAILS: ", 1, CaptionAttribute);
  for (const SwitchDetail& detail : Details) {
    WriteAt(detail.Switch, 1, ItemAttribute);
    bool first = true;
    for (const char* line : detail.Lines) {
      bool rangeHeading = first && std::string(detail.Switch) == "/[range]";
      WriteLine(line, rangeHeading ? TextColumn + 2 : TextColumn, DetailAttribute);
      first = false;
    }
  }
  WriteLine("NB: You can override preset switches by prefixing any switch with - (hyphen)", 1,
            DetailAttribute);
  NewLine();
}

}  // namespace

void StartHelpPairs() { PairStartsLine = true; }

void WriteHelpPair(const std::string& text, std::uint8_t attribute) {
  if (PairStartsLine)
    WriteAt(text, 1, attribute);
  else
    WriteLine(text, RightPairColumn, attribute);
  PairStartsLine = !PairStartsLine;
}

void ShowUsage() {
  WriteTitle();
  if (Options.BadOption) WriteBadOptionLine();
  WriteUsageSummary();
  WriteGroups();
  WriteDetails();
  FWriteFinish();
  EndProgram(Options.BadOption ? ExitCode::Refused : ExitCode::Done);
}
