// Splitting the command text into switch words and file specifications.
#include "Engine/CommandLine/CommandLine.h"

#include <unordered_set>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Platform/System.h"

namespace {

constexpr std::size_t MaxBatchCommandChars = 999;

// End of a run of characters from start up to (not including) any of stops.
std::size_t RunEnd(const std::string& text, std::size_t start, const char* stops) {
  std::size_t end = text.find_first_of(stops, start);
  return end == std::string::npos ? text.size() : end;
}

bool SwitchHasNoWord(const std::string& text, std::size_t slash) {
  return slash + 1 >= text.size() || text[slash + 1] == ' ' || text[slash + 1] == '/';
}

// A switch at text[slash]; returns where the walk goes on (text.size() after
// /@, which takes the rest of the text as the batch command).
std::size_t ApplySwitchAt(const std::string& text, std::size_t slash) {
  std::size_t start = slash + 1;
  if (text[start] == '@') {
    StartupOptions().BatchCommand = text.substr(start + 1, MaxBatchCommandChars);
    StartupOptions().BatchMode = true;
    return text.size();
  }
  std::size_t end = RunEnd(text, start, " /");
  ParseSwitch(text.substr(start, end - start));
  return end;
}

// A specification in double quotes; a "/" inside ends it and starts a switch.
std::size_t TakeQuotedSpec(const std::string& text, std::size_t quote, std::string& specs) {
  std::size_t start = quote + 1;
  std::size_t end = RunEnd(text, start, "\"/");
  if (end > start) specs += text.substr(start, end - start) + "|";
  return end < text.size() && text[end] == '"' ? end + 1 : end;
}

std::size_t TakePlainSpec(const std::string& text, std::size_t start, std::string& specs) {
  std::size_t end = RunEnd(text, start, " /");
  specs += text.substr(start, end - start) + "|";
  return end;
}

// Directory part of a specification: up to its last "\" or ":".
std::string DirectoryPart(const std::string& spec) {
  std::size_t last = spec.find_last_of("\\:");
  return last == std::string::npos ? std::string() : spec.substr(0, last + 1);
}

// File masks taken so far, upper-cased: a lookup per mask keeps a long preset
// linear.
using ListedSpecs = std::unordered_set<std::string>;

// False when a specification after the first names a directory.
bool AddFileSpec(const std::string& spec, ListedSpecs& listed, std::vector<std::string>& specs) {
  std::string directory = DirectoryPart(spec);
  // A repeated specification would list every match twice.
  if (!listed.count(UpperCaseAscii(directory)) && listed.insert(UpperCaseAscii(spec)).second)
    specs.push_back(spec);
  return directory.empty() || specs.size() < 2;
}

}  // namespace

std::string BuildCommandText(const std::string& presetSwitches,
                             const std::vector<std::string>& arguments) {
  std::string text;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    // The batch template is the rest of the text after "/@", which quotes
    // added here would end in a stray one: a caller that quotes the whole
    // switch (as PowerShell does) means the text inside.
    if (arguments[i].find(' ') != std::string::npos && arguments[i].rfind("/@", 0) != 0)
      text += " \"" + arguments[i] + "\"";
    else
      text += " " + arguments[i];
  }
  return presetSwitches + " " + text;
}

bool SplitCommandText(const std::string& text, std::string& specs) {
  std::size_t at = 0;
  while (at < text.size()) {
    switch (text[at]) {
      case '/':
        if (SwitchHasNoWord(text, at)) {
          StartupOptions().BadOption = true;
          return false;
        }
        at = ApplySwitchAt(text, at);
        break;
      case '"': at = TakeQuotedSpec(text, at, specs); break;
      case ' ': ++at; break;
      default: at = TakePlainSpec(text, at, specs); break;
    }
  }
  return true;
}

bool FileSpecList(const std::string& specs, std::vector<std::string>& list) {
  list.clear();
  ListedSpecs listed;
  std::size_t start = 0;
  while (start < specs.size()) {
    std::size_t end = RunEnd(specs, start, "|");
    if (end > start && !AddFileSpec(specs.substr(start, end - start), listed, list)) return false;
    start = end + 1;
  }
  return true;
}

void CollectFileSpecs(const std::string& specs) {
  if (!FileSpecList(specs, StartupRunSpec().FileSpecs))
    FatalError(MultipleFileSpecsMessage, false, ExitCode::Refused);
}

void ParseFileSpec(const std::string& spec) {
  ParseFileSpecInto(StartupRunSpec(), spec);
  // A fatal report names the first directory until the listing names its own.
  ConsoleEngine.ReportPath = RunSpec.SearchSpec;
}

void SplitCommandLine() {
  std::string specs;
  if (!SplitCommandText(BuildCommandText(Looks.PresetSwitches, Plat::CommandArguments()), specs))
    return;
  CollectFileSpecs(specs);
  if (StartupOptions().Recursive && StartupOptions().Bare)
    StartupOptions().FullPath = StartupOptions().HideDots = true;
  ParseFileSpec(RunSpec.FileSpecs.empty() ? std::string() : RunSpec.FileSpecs.front());
}
