// /M: a display format built letter by letter.
#include "Common/Options.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

constexpr int MaxLetterSlots = 19;  // leaves room for the name or description column
constexpr std::int32_t DefaultOwnerWidth = 15;
constexpr std::int64_t MinOwnerWidth = 5;
constexpr std::int64_t MaxOwnerWidth = 99;

// What the letters have placed so far.
struct FormatBuild {
  int Slots = 0;
  bool Size = false;
  bool Name = false;
  bool Alias = false;
  bool Attributes = false;
  bool Description = false;
};

void AddColumn(FormatBuild& build, char kind, std::int32_t width) {
  StartupOptions().Columns[++build.Slots] = {kind, width};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// T, T1, T2 or T3; returns the characters consumed after the T.
std::size_t AddTimeColumn(FormatBuild& build, const std::string& word, std::size_t next) {
  char digit = next < word.size() ? word[next] : 0;
  if (digit < '1' || digit > '3') {
    AddColumn(build, 't', 0);
    return 0;
  }
  AddColumn(build, digit, 0);
  StartupOptions().TimeKindNeeded[digit - '0'] = true;
  return 1;
}

// O with the column width written directly after it (width + 1 with room
// for a separating blank); returns the digits consumed.
std::size_t AddOwnerColumn(FormatBuild& build, const std::string& word, std::size_t next) {
  StartupOptions().ShowOwner = true;
  std::size_t end = next;
  while (end < word.size() && IsDigit(word[end])) ++end;
  if (end == next) {
    AddColumn(build, 'o', DefaultOwnerWidth);
    return 0;
  }
  std::int64_t width = std::int64_t{IntegerArgument(word.substr(next, end - next))} + 1;
  bool valid = width >= MinOwnerWidth && width <= MaxOwnerWidth;
  if (!valid) StartupOptions().BadOption = true;
  AddColumn(build, 'o', valid ? static_cast<std::int32_t>(width) : DefaultOwnerWidth);
  return end - next;
}

void AddDescription(FormatBuild& build) {
  if (build.Description || build.Name) return;
  if (!build.Alias) AddColumn(build, 'f', 13);
  build.Alias = build.Description = true;
  StartupOptions().ShowDescriptions = true;
}

// Applies the letter at word[at]; returns the extra characters it consumed.
std::size_t ApplyLetter(FormatBuild& build, const std::string& word, std::size_t at) {
  switch (word[at]) {
    case 'T': return AddTimeColumn(build, word, at + 1);
    case 'O': return AddOwnerColumn(build, word, at + 1);
    case 'S':
      if (!build.Size) AddColumn(build, 's', 7);
      build.Size = true;
      break;
    case 'N':
      if (build.Name || build.Description) break;
      AddColumn(build, 'n', 0);
      build.Name = StartupOptions().HasNameColumn = true;
      break;
    case 'F':
      if (!build.Alias) AddColumn(build, 'f', 13);
      build.Alias = true;
      break;
    case 'A':
      if (!build.Attributes) AddColumn(build, 'a', 6);
      build.Attributes = true;
      break;
    case 'D': AddDescription(build); break;
    case 'C':
      AddColumn(build, 'c', 7);
      StartupOptions().ShowCompression = true;
      break;
    case 'R':
      AddColumn(build, 'r', 5);
      StartupOptions().ShowCompression = true;
      break;
    default: break;  // other characters are ignored
  }
  return 0;
}

}  // namespace

void ParseCustomFormat(const std::string& word) {
  StartupOptions().ShowDescriptions = false;
  StartupOptions().HasNameColumn = false;
  StartupOptions().FormatChosen = true;
  FormatBuild build;
  for (std::size_t at = ArgumentStart(word); at < word.size() && build.Slots < MaxLetterSlots; ++at)
    at += ApplyLetter(build, word, at);
  if (!build.Name && !build.Alias && !build.Description) {
    AddColumn(build, 'n', 0);
    StartupOptions().HasNameColumn = true;
  } else if (build.Description) {
    AddColumn(build, 'd', 0);
  }
  StartupOptions().ColumnCount = static_cast<std::uint8_t>(build.Slots);
}
