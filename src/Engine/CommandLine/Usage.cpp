// The usage screen: title, the offending command line, a usage summary, three
// groups of switches in two columns and the detailed list of every switch.
#include "Engine/CommandLine/Usage.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Engine/CommandLine/SwitchTable.h"
#include "Engine/Listing/ColumnTable.h"
#include "Platform/System.h"

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

// Where the switches sit on the usage lines and in the groups, by the names
// their table rows give them; their texts come from the table.
const char* const UsageLines[] = {"A B BYTE C CLR", "D E F G FREE H I J K L M N",
                                  "O P Q R S SET T TREE U V W X Y Y2K", "7BIT (1..9) [range] ?"};
const char* const CompatibleGroup = "A B C D L N O P S T V W X ?";
const char* const CommonGroup = "BYTE E F I M R SET TREE Y (1..9) [range] @";
const char* const OtherGroup = "CLR G FREE H J K Q U Y2K Z 7BIT";
// Where the /M letters sit on the usage lines; a letter not named here follows them.
constexpr std::string_view FormatLetterOrder = "NSDAFOCRT";

const SwitchUsage& UsageNamed(std::string_view name) {
  static const SwitchUsage none{};
  for (const SwitchDefinition& definition : SwitchDefinitions())
    if (definition.Usage.Name && name == definition.Usage.Name) return definition.Usage;
  return none;
}

// The usages of a run of names separated by blanks.
std::vector<const SwitchUsage*> UsagesNamed(std::string_view names) {
  std::vector<const SwitchUsage*> usages;
  while (!names.empty()) {
    const std::size_t end = std::min(names.find(' '), names.size());
    usages.push_back(&UsageNamed(names.substr(0, end)));
    names.remove_prefix(std::min(end + 1, names.size()));
  }
  return usages;
}

// The first letter of every /M column kind once, in FormatLetterOrder.
std::string FormatLetters() {
  std::string letters;
  for (char letter : FormatLetterOrder)
    for (const ColumnKind& kind : ColumnKinds())
      if (kind.Letters && kind.Letters[0] == letter && letters.find(letter) == std::string::npos)
        letters += letter;
  for (const ColumnKind& kind : ColumnKinds())
    if (kind.Letters && letters.find(kind.Letters[0]) == std::string::npos)
      letters += kind.Letters[0];
  return letters;
}

std::string SummaryItem(const SwitchUsage& usage) {
  return usage.ListsColumnLetters ? usage.Summary + FormatLetters() : usage.Summary;
}

// "  O[x] File owner ...": the letters, "[x]" when digits may follow them, the meaning.
void WriteColumnLetterLines() {
  for (const ColumnKind& kind : ColumnKinds()) {
    if (!kind.Letters) continue;
    std::string line = std::string("  ") + kind.Letters + (kind.WidthDigits ? "[x] " : " ");
    WriteLine(line + kind.Meaning, TextColumn, DetailAttribute);
  }
}

void WriteGroup(const char* caption, const char* names) {
  WriteLine(caption, 1, CaptionAttribute);
  HelpPairs pairs;
  for (const SwitchUsage* usage : UsagesNamed(names)) pairs.Write(usage->GroupItem, ItemAttribute);
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
  const std::size_t count = std::size(UsageLines);
  for (std::size_t i = 0; i < count; ++i) {
    std::string line = i == 0 ? ProgramFileName() + " [drive:][path][filename] [" : "";
    for (const SwitchUsage* usage : UsagesNamed(UsageLines[i])) {
      if (!line.empty()) line += ' ';
      line += SummaryItem(*usage);
    }
    if (i + 1 == count) line += " ]";
    WriteLine(line, TextColumn, ItemAttribute);
  }
}

void WriteGroups() {
  NewLine();
  WriteGroup("Compatible DOS/NT options:", CompatibleGroup);
  NewLine();
  WriteGroup("Common Orvalist options:", CommonGroup);
  NewLine();
  NewLine();
  WriteGroup("Other Orvalist options:", OtherGroup);
  WriteLine("", 1, ItemAttribute);  // ends the odd last item's line
}

void WriteDetails() {
  WriteLine("DETAILS: ", 1, CaptionAttribute);
  for (const SwitchDefinition& definition : SwitchDefinitions()) {
    const SwitchUsage& usage = definition.Usage;
    if (!usage.DetailLabel) continue;
    WriteAt(usage.DetailLabel, 1, ItemAttribute);
    bool first = true;
    for (const char* line : usage.DetailLines) {
      bool rangeHeading = first && std::string(usage.DetailLabel) == "/[range]";
      WriteLine(line, rangeHeading ? TextColumn + 2 : TextColumn, DetailAttribute);
      if (first && usage.ListsColumnLetters) WriteColumnLetterLines();
      first = false;
    }
  }
  WriteLine("NB: You can override preset switches by prefixing any switch with - (hyphen)", 1,
            DetailAttribute);
  NewLine();
}

}  // namespace

void HelpPairs::Write(const std::string& text, std::uint8_t attribute) {
  if (startsLine_)
    WriteAt(text, 1, attribute);
  else
    WriteLine(text, RightPairColumn, attribute);
  startsLine_ = !startsLine_;
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
