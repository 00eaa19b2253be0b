// /M: a display format built letter by letter from the column table.
#include <string_view>

#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/Listing/ColumnTable.h"

namespace {

constexpr int MaxLetterSlots = 19;  // leaves room for the name or description column
constexpr std::int64_t MinDigitsWidth = 5;
constexpr std::int64_t MaxDigitsWidth = 99;

// What the letters have placed so far; a description waits for the end.
struct FormatBuild {
  int Slots = 0;
  const ColumnKind* Last = nullptr;
};

bool TakesRest(const ColumnKind& kind) {
  return kind.Room == ColumnRoom::Name || kind.Room == ColumnRoom::Description;
}

bool Placed(const FormatBuild& build, char kind) {
  if (build.Last && build.Last->Kind == kind) return true;
  for (int slot = 1; slot <= build.Slots; ++slot)
    if (Options.Columns[static_cast<std::size_t>(slot)].Kind == kind) return true;
  return false;
}

// The name and the description both take the rest of the line: the first
// of them placed excludes the other.
bool RestTaken(const FormatBuild& build) {
  if (build.Last) return true;
  for (int slot = 1; slot <= build.Slots; ++slot)
    if (TakesRest(ColumnKindOf(Options.Columns[static_cast<std::size_t>(slot)].Kind))) return true;
  return false;
}

bool Identified(const FormatBuild& build) {
  if (build.Last && build.Last->Identifies) return true;
  for (int slot = 1; slot <= build.Slots; ++slot)
    if (ColumnKindOf(Options.Columns[static_cast<std::size_t>(slot)].Kind).Identifies) return true;
  return false;
}

// Turns on what the kind needs, then places it now or, for a description, at the end.
void Place(FormatBuild& build, const ColumnKind& kind, std::int32_t width) {
  if (kind.Sets) StartupOptions().*kind.Sets = true;
  if (kind.Stamp != NoStamp) StartupOptions().TimeKindNeeded[kind.Stamp] = true;
  if (kind.Room == ColumnRoom::Description)
    build.Last = &kind;
  else
    StartupOptions().Columns[static_cast<std::size_t>(++build.Slots)] = {kind.Kind, width};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The width written directly after the letters (width + 1, with room for a
// separating blank); the kind's own width without digits. Returns the digits consumed.
std::size_t DigitsWidth(const ColumnKind& kind, std::string_view digits, std::int32_t& width) {
  std::size_t end = 0;
  while (end < digits.size() && IsDigit(digits[end])) ++end;
  width = kind.FormatWidth;
  if (end == 0) return 0;
  std::int64_t given = std::int64_t{IntegerArgument(std::string(digits.substr(0, end)))} + 1;
  if (given >= MinDigitsWidth && given <= MaxDigitsWidth)
    width = static_cast<std::int32_t>(given);
  else
    StartupOptions().BadOption = true;
  return end;
}

// The row whose letters start the text, the longest when several do (T1 before T).
const ColumnKind* KindLettered(std::string_view text) {
  const ColumnKind* found = nullptr;
  for (const ColumnKind& kind : ColumnKinds()) {
    if (!kind.Letters || !text.starts_with(kind.Letters)) continue;
    if (!found || std::string_view(kind.Letters).size() > std::string_view(found->Letters).size())
      found = &kind;
  }
  return found;
}

// Applies the letters at the start of the text; returns the characters consumed
// (other characters are ignored, one at a time).
std::size_t ApplyLetters(FormatBuild& build, std::string_view text) {
  const ColumnKind* kind = KindLettered(text);
  if (!kind) return 1;
  std::size_t used = std::string_view(kind->Letters).size();
  std::int32_t width = kind->FormatWidth;
  if (kind->WidthDigits) used += DigitsWidth(*kind, text.substr(used), width);
  if (TakesRest(*kind) ? RestTaken(build) : !kind->Repeats && Placed(build, kind->Kind))
    return used;
  if (kind->Companion && !Placed(build, kind->Companion)) {
    const ColumnKind& companion = ColumnKindOf(kind->Companion);
    Place(build, companion, companion.FormatWidth);
  }
  Place(build, *kind, width);
  return used;
}

}  // namespace

void ParseCustomFormat(const std::string& word) {
  StartupOptions().ShowDescriptions = false;
  StartupOptions().HasNameColumn = false;
  StartupOptions().FormatChosen = true;
  FormatBuild build;
  const std::string_view letters = std::string_view(word).substr(ArgumentStart(word));
  for (std::size_t at = 0; at < letters.size() && build.Slots < MaxLetterSlots;)
    at += ApplyLetters(build, letters.substr(at));
  if (!Identified(build)) Place(build, ColumnKindOf('n'), 0);
  if (build.Last)
    StartupOptions().Columns[static_cast<std::size_t>(++build.Slots)] = {build.Last->Kind, 0};
  StartupOptions().ColumnCount = static_cast<std::uint8_t>(build.Slots);
}
