// Trying preset switch text on the lister's own start-up steps, for the
// configuration program, without keeping anything they changed; and the
// start-up's refusal of stored preset switches it cannot apply.
#include "Configuration/PresetCheck.h"

#include <algorithm>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/LocaleFormats.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"
#include "Configuration/PlatformChecks.h"
#include "Console/Console.h"
#include "Engine/CommandLine/CommandLine.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

// Everything the trial may change, put back when it ends.
class ParserScratch {
 public:
  ParserScratch()
      : options_(Options),
        colours_(Looks.Colours),
        colourEnabled_(Looks.ColourEnabled),
        console_(ConsoleEngine),
        locale_(LocaleFormats) {
    StartupOptions() = OptionsRec();
    // A fatal error met while checking ends the trial without a word on the screen.
    ConsoleEngine.TriedFatal = &Fatal;
  }
  ~ParserScratch() {
    StartupOptions() = options_;
    StartupLooks().Colours = colours_;
    StartupLooks().ColourEnabled = colourEnabled_;
    ConsoleEngine = console_;
    LocaleFormats = locale_;
  }
  ParserScratch(const ParserScratch&) = delete;
  ParserScratch& operator=(const ParserScratch&) = delete;
  std::string Fatal;  // the message a fatal error met in the trial would show

 private:
  OptionsRec options_;
  ColourRec colours_;
  bool colourEnabled_;
  ConsoleEngineState console_;
  LocaleFormatsRec locale_;
};

// Stopped: a switch word ended the run. Ends: a later step did, with Message.
enum class Verdict { Accepted, Refused, Stopped, Help, Ends };

struct Trial {
  Verdict Result = Verdict::Accepted;
  std::string Message = {};
  char MissingDrive = 0;  // the first file specification's drive is not there now
};

// The steps after the switches, in start-up's order: the file
// specifications, the first one's path and drive, the platform's checks.
Trial TryStartUp(const std::string& specifications, ParserScratch& scratch) {
  std::vector<std::string> specs;
  if (!FileSpecList(specifications, specs)) return {Verdict::Ends, MultipleFileSpecsMessage};
  Trial trial;
  try {
    RunSpecRec first;
    ParseFileSpecInto(first, specs.empty() ? std::string() : specs.front());
    // Only a drive the text names: without one, the run's own drive is listed.
    const bool namesDrive = !specs.empty() && specs.front().size() >= 2 && specs.front()[1] == ':';
    if (first.DriveInvalid && namesDrive) trial.MissingDrive = first.SearchSpec[0];
    CheckPlatform();
    CheckNtOptions();
  } catch (const ProgramEnded&) {
    return {Verdict::Ends, scratch.Fatal};
  }
  return trial;
}

// The switch words alone (`whole` false), or every start-up step.
Trial TryText(const std::string& text, bool whole) {
  ParserScratch scratch;
  std::string specifications;
  try {
    if (!SplitCommandText(text, specifications)) return {Verdict::Refused};
  } catch (const ProgramEnded&) {
    return {Verdict::Stopped};
  }
  if (StartupOptions().BadOption) return {Verdict::Refused};
  if (StartupOptions().ShowHelp) return {Verdict::Help};
  return whole ? TryStartUp(specifications, scratch) : Trial{};
}

// Every "/" of a command text starts a switch word that runs to the next blank
// or "/"; "/@" takes the rest of the text as its command.
std::vector<std::string> SwitchWords(const std::string& text) {
  std::vector<std::string> words;
  for (std::size_t slash = text.find('/'); slash != std::string::npos;) {
    const std::size_t end = std::min(text.find_first_of(" /", slash + 1), text.size());
    words.push_back(text.substr(slash + 1, end - slash - 1));
    if (words.back().rfind('@', 0) == 0) break;
    slash = text.find('/', end);
  }
  return words;
}

}  // namespace

std::string PresetSwitchWordsRefusal(const std::string& text) {
  const std::vector<std::string> words = SwitchWords(text);
  // /SET would start the configuration program on every run, and /@ would
  // take every run's own arguments into its command: neither is ever tried.
  for (const std::string& word : words) {
    if (UpperCaseAscii(word) == "SET") return "/SET cannot be a preset switch";
    if (word.starts_with('@')) return "/@ cannot be a preset switch";
  }
  const Verdict verdict = TryText(BuildCommandText(text, {}), false).Result;
  if (verdict == Verdict::Accepted) return {};
  if (verdict == Verdict::Help) return "/? cannot be a preset switch";
  for (const std::string& word : words)
    if (TryText("/" + word, false).Result != Verdict::Accepted) {
      if (word.empty()) return "a \"/\" has no switch after it";
      return (verdict == Verdict::Stopped ? "orvl stops on /" : "orvl does not accept /") + word;
    }
  return "orvl does not accept these switches together";
}

bool PresetSwitchesAccepted(const std::string& text, std::string& reason, std::string* warning) {
  reason = PresetSwitchWordsRefusal(text);
  if (!reason.empty()) return false;
  // Start-up with the preset switches as the whole command text.
  const Trial trial = TryText(BuildCommandText(text, {}), true);
  if (trial.Result == Verdict::Ends) {
    reason = "orvl stops with \"" + trial.Message + "\"";
    return false;
  }
  if (trial.MissingDrive != 0 && warning)
    *warning = std::string("Drive ") + trial.MissingDrive +
               ": of the preset switches is missing now (a removable drive?).";
  return true;
}

void RefuseUnusablePresetSwitches(const std::string& text) {
  if (text.find_first_not_of(' ') == std::string::npos) return;
  const std::string reason = PresetSwitchWordsRefusal(text);
  if (reason.empty()) return;
  EnsureOutput();
  WriteWrappedLine("The default switches stored in the configuration cannot be used:", 1,
                   Looks.Colours.HeadingColour);
  WriteWrappedLine(text, 3, Looks.Colours.HeadingValueColour);
  WriteWrappedLine(reason + ".", 1, Looks.Colours.HeadingColour);
  WriteWrappedLine("Run OConfig alone to repair them, or store others with OConfig /SWITCHES:...",
                   1, Looks.Colours.HeadingColour);
  FWriteFinish();
  EndProgram(ExitCode::Failed);
}
