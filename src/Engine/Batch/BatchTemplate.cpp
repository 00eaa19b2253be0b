// Reading a command template word by word: where the "$" stands, and which
// commands before it read it again. A command word the interpreter only knows
// after expanding it (%comspec%, !x!, %%c), one holding a caret (cm^d) or one
// glued to its switch (cmd/c) may read the rest once more than can be seen.
#include "Engine/Batch/BatchTemplate.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Where the next word stands: what the interpreter will take it for.
enum class Place { Command, Argument, InterpreterSwitch, Anything };

struct Word {
  std::string Text;  // lower case, quotes dropped, carets dropped
  bool Caret = false;
  bool Variable = false;  // a "%" or "!" in it
  bool Any = false;
};

bool IsSeparator(char character) {
  return character == ' ' || character == '\t' || character == ',' || character == ';' ||
         character == '=';
}

bool IsOperator(char character) {
  return character == '&' || character == '|' || character == '(' || character == ')' ||
         character == '<' || character == '>';
}

// The command's name without its folder: "C:\WINDOWS\CMD.EXE" is "cmd.exe".
std::string_view NameOf(std::string_view word) {
  const std::size_t cut = word.find_last_of("\\:");
  return cut == std::string_view::npos ? word : word.substr(cut + 1);
}

bool IsInterpreter(std::string_view name) { return name == "cmd" || name == "cmd.exe"; }

// A word that hands the rest of its line to the interpreter once more.
bool ParsesAgain(std::string_view name) {
  return name == "call" || name == "for" || name == "start" || IsInterpreter(name);
}

// Delayed expansion reads "!x!" in a name as a variable; the batch file can
// only turn it off for its lines where no part of the template turns it on.
bool TemplateMayDelay(std::string_view command) {
  std::string lower(command);
  for (char& character : lower)
    character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  return lower.find("setlocal") != std::string::npos || lower.find("cmd") != std::string::npos ||
         lower.find("/v") != std::string::npos || lower.find('!') != std::string::npos;
}

// The letters after "%%" (the for variables a template names): "%a" in a
// path would be replaced by the loop's value, in the set as in the command.
std::string ForVariables(std::string_view command) {
  std::string letters;
  for (std::size_t at = command.find("%%"); at != std::string_view::npos;
       at = command.find("%%", at + 2)) {
    std::size_t letter = at + 2;
    if (letter < command.size() && command[letter] == '~') {
      while (letter < command.size() && std::isalpha(static_cast<unsigned char>(command[letter + 1])))
        ++letter;
    }
    if (letter < command.size() && std::isalpha(static_cast<unsigned char>(command[letter])))
      letters += command[letter];
  }
  return letters;
}

// Another interpreter keeps the quotes around the path as the template wrote
// them unless the template's own quotes come first (cmd /c "del $" loses its
// outer pair): sure only with no quote before the "$" but the one opening it.
bool QuotingUnsure(std::string_view command, std::size_t dollar) {
  const std::size_t quotes = static_cast<std::size_t>(
      std::count(command.begin(), command.begin() + static_cast<std::ptrdiff_t>(dollar), '"'));
  if (quotes == 0) return false;
  return quotes != 1 || command[dollar - 1] != '"' || dollar + 1 >= command.size() ||
         command[dollar + 1] != '"';
}

class TemplateReader {
 public:
  explicit TemplateReader(bool quoted = false) { reading_.Quoted = quoted; }
  void Take(std::string_view prefix) {
    for (std::size_t at = 0; at < prefix.size(); ++at) TakeCharacter(prefix, at);
    EndWord();
  }
  const TemplateReading& Reading() const { return reading_; }
  // Commands that read the text again: call, for, cmd, start.
  int ReadsAgain() const { return readsAgain_; }

 private:
  void TakeCharacter(std::string_view prefix, std::size_t& at) {
    const char character = prefix[at];
    if (character == '%') {
      // "%%" is a plain "%" or a for variable; a lone "%" expands a variable,
      // which may bring separators and commands of its own.
      if (at + 1 < prefix.size() && prefix[at + 1] == '%')
        ++at;
      else
        reading_.Uncounted = true;
      AddToWord('%');
      word_.Variable = true;
    } else if (reading_.Quoted) {
      if (character == '"') reading_.Quoted = false;
      else AddToWord(character);
    } else if (character == '"') {
      reading_.Quoted = true;
      word_.Any = true;
    } else if (character == '^') {
      word_.Caret = word_.Any = true;
      if (at + 1 < prefix.size()) AddToWord(prefix[++at]);
    } else if (IsSeparator(character)) {
      EndWord();
    } else if (IsOperator(character)) {
      EndWord();
      if (character == '<' || character == '>') {
        // The next word names a file; the command goes on after it.
        if (!redirectionTarget_) placeAfterTarget_ = place_;
        redirectionTarget_ = true;
      } else {
        place_ = Place::Command;
      }
    } else if (character == '@' && !word_.Any && place_ == Place::Command) {
      // echo-off mark before a command
    } else {
      if (character == '!') word_.Variable = true;
      // for /f runs a 'command' (or `command`) in another interpreter.
      if (inForSet_ && (character == '\'' || character == '`')) reading_.NewInterpreter = true;
      AddToWord(character);
    }
  }

  void AddToWord(char character) {
    word_.Text += static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    word_.Any = true;
  }

  void EndWord() {
    if (!word_.Any) return;
    if (redirectionTarget_) {
      redirectionTarget_ = false;
      place_ = placeAfterTarget_;
      word_ = Word{};
      return;
    }
    const std::string_view name = NameOf(word_.Text);
    const bool commandWord = place_ == Place::Command || place_ == Place::Anything;
    if (commandWord && ParsesAgain(name)) {
      ++readsAgain_;
      if (name == "call") reading_.Call = true;
      if (name == "call") ++reading_.PercentPasses;
      if (IsInterpreter(name) || name == "start") reading_.NewInterpreter = true;
      if (name == "for") inForSet_ = true;
    }
    if (inForSet_ && name == "do") inForSet_ = false;
    if (place_ == Place::Command || place_ == Place::Anything) {
      const bool gluedSwitch = word_.Text.find('/', 1) != std::string::npos;
      if (word_.Caret || word_.Variable || gluedSwitch) reading_.Uncounted = true;
    }
    place_ = NextPlace(name);
    word_ = Word{};
  }

  Place NextPlace(std::string_view name) const {
    switch (place_) {
      case Place::Anything: return Place::Anything;
      case Place::InterpreterSwitch:
        if (name == "/c" || name == "/k" || name == "/r") return Place::Command;
        return name.empty() || name[0] != '/' ? Place::Anything : Place::InterpreterSwitch;
      case Place::Argument: return name == "do" || name == "else" ? Place::Command : Place::Argument;
      case Place::Command: break;
    }
    if (name == "call" || name == "do" || name == "else") return Place::Command;
    // Where the command of an "if" or a "start" begins is not worth guessing.
    if (name == "if" || name == "start") return Place::Anything;
    if (IsInterpreter(name)) return Place::InterpreterSwitch;
    return Place::Argument;
  }

  TemplateReading reading_;
  Word word_;
  Place place_ = Place::Command;
  bool redirectionTarget_ = false;  // the next word is a redirection's file
  bool inForSet_ = false;           // between a "for" and its "do"
  int readsAgain_ = 0;
  Place placeAfterTarget_ = Place::Command;
};

}  // namespace

TemplateReading ReadTemplate(std::string_view command, std::size_t dollar) {
  TemplateReader reader;
  reader.Take(command.substr(0, dollar));
  TemplateReading reading = reader.Reading();
  // A parse after the "$" (set "X=$" & call echo %%X%%) may read the path
  // again from wherever the template put it.
  TemplateReader rest(reading.Quoted);
  rest.Take(command.substr(dollar + 1));
  if (rest.ReadsAgain() > 0) reading.Uncounted = true;
  const char after = dollar + 1 < command.size() ? command[dollar + 1] : '\0';
  reading.RedirectAfter = !reading.Quoted && (after == '<' || after == '>');
  reading.MayDelay = TemplateMayDelay(command);
  reading.ForVariables = ForVariables(command);
  reading.QuotingUnsure = reading.NewInterpreter && QuotingUnsure(command, dollar);
  return reading;
}
