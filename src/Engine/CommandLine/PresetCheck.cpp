// Trying preset switch text on the lister's own parser, for the configuration
// program, without keeping anything the parser changed.
#include <algorithm>
#include <vector>

#include "Common/Colours.h"
#include "Common/LocaleFormats.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Console/Console.h"
#include "Engine/CommandLine/CommandLine.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

// Everything the switch walk may change, put back when the check ends.
class ParserScratch {
 public:
  ParserScratch()
      : options_(Options),
        colours_(Looks.Colours),
        colourEnabled_(Looks.ColourEnabled),
        console_(ConsoleEngine),
        locale_(LocaleFormats) {
    StartupOptions() = OptionsRec();
    // A fatal error met while checking ends the walk without a word on the screen.
    ConsoleEngine.ReportingFatal = true;
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

 private:
  OptionsRec options_;
  ColourRec colours_;
  bool colourEnabled_;
  ConsoleEngineState console_;
  LocaleFormatsRec locale_;
};

enum class Verdict { Accepted, Refused, Stopped, Help };

Verdict TryText(const std::string& text) {
  ParserScratch scratch;
  std::string specifications;
  try {
    if (!SplitCommandText(text, specifications)) return Verdict::Refused;
  } catch (const ProgramEnded&) {
    return Verdict::Stopped;
  }
  if (StartupOptions().BadOption) return Verdict::Refused;
  return StartupOptions().ShowHelp ? Verdict::Help : Verdict::Accepted;
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

bool PresetSwitchesAccepted(const std::string& text, std::string& reason) {
  const std::vector<std::string> words = SwitchWords(text);
  // /SET would start the configuration program on every run; it is never tried.
  for (const std::string& word : words)
    if (UpperCaseAscii(word) == "SET") {
      reason = "/SET cannot be a preset switch";
      return false;
    }
  const Verdict verdict = TryText(text);
  if (verdict == Verdict::Accepted) return true;
  if (verdict == Verdict::Help) {
    reason = "/? cannot be a preset switch";
    return false;
  }
  for (const std::string& word : words)
    if (TryText("/" + word) != Verdict::Accepted) {
      if (word.empty())
        reason = "a \"/\" has no switch after it";
      else
        reason =
            (verdict == Verdict::Stopped ? "orvl stops on /" : "orvl does not accept /") + word;
      return false;
    }
  reason = "orvl does not accept these switches together";
  return false;
}
