// Composing one batch line. A name such as "a&del *.*" must not become a
// command of its own, whatever the template. A path the interpreter cannot
// carry at all (a line break or other control character ends or bends the
// line, a double quote turns the quoting over) gets no line. Every other path
// is escaped for each parse it goes through: the first parse is the batch
// file's own, whose quoting at the "$" is known from the template; a further
// parse (call, for, cmd, start) is taken as unquoted, so that its carets are
// harmless if it turns out quoted and enough if it does not.
#include <algorithm>
#include <cctype>

#include "Engine/Batch/Batch.h"

namespace {

constexpr int MostParses = 4;  // more would only multiply carets

bool NeedsCaret(char character) {
  switch (character) {
    case '&':
    case '|':
    case '<':
    case '>':
    case '^':
    case '(':
    case ')': return true;
    default: return false;
  }
}

bool IsControl(char character) {
  const auto code = static_cast<unsigned char>(character);
  return code < 32 || code == 127;
}

// Whether the parse at the "$" is inside double quotes: a caret outside
// quotes takes the next character literally, so "^"" does not open them.
bool QuotedAt(std::string_view prefix) {
  bool quoted = false;
  for (std::size_t at = 0; at < prefix.size(); ++at) {
    if (!quoted && prefix[at] == '^')
      ++at;
    else if (prefix[at] == '"')
      quoted = !quoted;
  }
  return quoted;
}

bool IsWordBreak(char character) {
  return std::isspace(static_cast<unsigned char>(character)) || NeedsCaret(character) ||
         character == '"' || character == '@' || character == ',' || character == ';' ||
         character == '=';
}

bool SameLetters(std::string_view word, std::string_view lower) {
  return word.size() == lower.size() &&
         std::equal(word.begin(), word.end(), lower.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

// A word that hands the rest of its line to the interpreter once more.
bool ParsesAgain(std::string_view word) {
  std::size_t cut = word.find_last_of("\\/:");
  if (cut != std::string_view::npos) word.remove_prefix(cut + 1);
  return SameLetters(word, "call") || SameLetters(word, "for") || SameLetters(word, "start") ||
         SameLetters(word, "cmd") || SameLetters(word, "cmd.exe");
}

// How often the text at the "$" is parsed: once, plus once per word before it
// that parses its rest again.
int ParsesAt(std::string_view prefix) {
  int parses = 1;
  std::size_t at = 0;
  while (at < prefix.size()) {
    while (at < prefix.size() && IsWordBreak(prefix[at])) ++at;
    std::size_t end = at;
    while (end < prefix.size() && !IsWordBreak(prefix[end])) ++end;
    if (end > at && ParsesAgain(prefix.substr(at, end - at))) ++parses;
    at = end;
  }
  return std::min(parses, MostParses);
}

BatchRefusal RefusalFor(std::string_view path, int parses) {
  for (char character : path) {
    if (IsControl(character)) return BatchRefusal::ControlCharacter;
    if (character == '"') return BatchRefusal::DoubleQuote;
  }
  // Only the batch file's own parse can be told that "%%" means "%".
  if (parses > 1 && path.find('%') != std::string_view::npos) return BatchRefusal::Percent;
  return BatchRefusal::None;
}

void AppendWithCarets(std::string_view text, std::string& out) {
  for (char character : text) {
    if (NeedsCaret(character)) out += '^';
    out += character;
  }
}

}  // namespace

BatchRefusal ComposeBatchLine(const std::string& command, std::string_view path,
                              std::string& line) {
  line.clear();
  std::size_t dollar = command.find('$');
  if (dollar == std::string::npos) return BatchRefusal::None;
  const std::string_view prefix(command.data(), dollar);
  const int parses = ParsesAt(prefix);
  const BatchRefusal refusal = RefusalFor(path, parses);
  if (refusal != BatchRefusal::None) return refusal;

  line.append(prefix);
  if (parses == 1 && path.find_first_of("&|<>^()%") == std::string_view::npos) {
    line.append(path);  // the common case: nothing to escape
  } else {
    std::string text(path), escaped;
    for (int parse = parses; parse > 1; --parse) {
      escaped.clear();
      AppendWithCarets(text, escaped);
      text.swap(escaped);
    }
    const bool quoted = QuotedAt(prefix);
    for (char character : text) {
      if (character == '%') line += '%';  // "%%" is a plain "%" in a batch file
      if (NeedsCaret(character) && !quoted) line += '^';
      line += character;
    }
  }
  line.append(command, dollar + 1);
  line += "\r\n";
  return BatchRefusal::None;
}
