// Every example command in the manual is one the programs accept: an indented
// line that starts with "orvl", "OConfig" or a range filter "/[", up to the
// first two blanks that begin its explanation.
#include <string>
#include <vector>

#include "RunValues/Options.h"
#include "Console/Manual.h"
#include "Engine/CommandLine/CommandLine.h"
#include "OConfig/ConfigurationSet.h"
#include "OConfig/InstallSwitch.h"
#include "OConfig/OConfigArguments.h"
#include "TestWorld.h"

namespace {

struct Example {
  std::string Line;
  bool ForOConfig = false;
  std::vector<std::string> Arguments;  // as the runtime splits them: quotes removed
};

// The words of a command up to two blanks outside quotes, or to a redirection.
std::vector<std::string> CommandWords(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, inWord = false;
  for (std::size_t at = 0; at < command.size(); ++at) {
    const char c = command[at];
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
      if (at + 1 < command.size() && command[at + 1] == ' ') break;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  for (std::size_t at = 0; at < words.size(); ++at)
    if (words[at] == ">" || words[at] == "|") words.resize(at);
  return words;
}

std::vector<Example> ManualExamples() {
  std::vector<Example> examples;
  std::string text = ManualText;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent == 0 || indent == std::string::npos) continue;
    std::vector<std::string> words = CommandWords(line.substr(indent));
    if (words.empty()) continue;
    if (words[0] == "orvl" || words[0] == "OConfig")
      examples.push_back({line, words[0] == "OConfig", {words.begin() + 1, words.end()}});
    else if (words[0].starts_with("/["))
      examples.push_back({line, false, words});
  }
  return examples;
}

class ManualExamplesTest : public TestWorld {};

TEST_F(ManualExamplesTest, EveryExampleCommandIsAccepted) {
  const std::vector<Example> examples = ManualExamples();
  EXPECT_GE(examples.size(), 40u);  // the lines were found
  for (const Example& example : examples) {
    ResetWorld();
    // The manual's dates are day-month-year, as it says.
    Sim::SetLocale(Plat::LocaleItem::ShortDate, "d/M/yyyy");
    Sim::SetLocale(Plat::LocaleItem::DateOrder, "1");
    bool accepted = true;
    std::string problem;
    const bool ended = EndsProgram([&] {
      if (example.ForOConfig) {
        ConfigurationSet set = DefaultConfigurationSet();
        for (const std::string& argument : example.Arguments) {
          ArgumentKind kind;
          if (InstallActionOf(argument) == InstallAction::None)
            accepted = accepted && ApplyArgument(argument, set, kind, problem);
        }
      } else {
        std::vector<std::string> arguments{"ORVL.EXE"};
        arguments.insert(arguments.end(), example.Arguments.begin(), example.Arguments.end());
        std::string specifications;
        accepted = SplitCommandText(BuildCommandText("", arguments), specifications) &&
                   !StartupOptions().BadOption;
      }
    });
    EXPECT_TRUE(accepted && !ended) << example.Line << " " << problem;
  }
}

}  // namespace
