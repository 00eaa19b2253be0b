// Composing one batch line. A name such as "a&del *.*" must not become a
// command of its own, whatever the template. A path the interpreter cannot
// carry at all (a line break or other control character ends or bends the
// line, a double quote turns the quoting over, a wildcard names other files)
// gets no line. Every other path is escaped for each parse it goes through:
// the first parse is the batch file's own, whose quoting at the "$" is known
// from the template; a further parse (call, for, cmd, start) is taken as
// unquoted, so that its carets are harmless if it turns out quoted and enough
// if it does not. Where the template hides how often it parses, a path with a
// character the interpreter acts on gets no line.
#include "Engine/Batch/Batch.h"
#include "Engine/Batch/BatchTemplate.h"

namespace {

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

// C0 controls and DEL, and the C1 controls (U+0080 to U+009F, C2 80 to C2 9F
// in UTF-8), which a terminal also obeys.
bool HasControlCharacter(std::string_view path) {
  for (std::size_t at = 0; at < path.size(); ++at) {
    const auto code = static_cast<unsigned char>(path[at]);
    if (code < 32 || code == 127) return true;
    if (code == 0xC2 && at + 1 < path.size() &&
        static_cast<unsigned char>(path[at + 1]) < 0xA0)
      return true;
  }
  return false;
}

bool IsAsciiAlphanumeric(char character) {
  return (character >= '0' && character <= '9') || (character >= 'a' && character <= 'z') ||
         (character >= 'A' && character <= 'Z');
}

// "n 2" before ">>log" would be read as the redirection of handle 2.
bool EndsInHandleNumber(std::string_view path) {
  const std::size_t size = path.size();
  return size >= 2 && path[size - 1] >= '0' && path[size - 1] <= '9' &&
         !IsAsciiAlphanumeric(path[size - 2]);
}

BatchRefusal RefusalFor(std::string_view path, const TemplateReading& reading) {
  if (HasControlCharacter(path)) return BatchRefusal::ControlCharacter;
  if (path.find('"') != std::string_view::npos) return BatchRefusal::DoubleQuote;
  if (path.find_first_of("*?") != std::string_view::npos) return BatchRefusal::Wildcard;
  // Only the batch file's own parse can be told that "%%" means "%".
  if (reading.Parses > 1 && path.find('%') != std::string_view::npos) return BatchRefusal::Percent;
  // Another interpreter may expand "!x!" whatever this file's setting.
  if (reading.NewInterpreter && path.find('!') != std::string_view::npos)
    return BatchRefusal::Exclamation;
  if (reading.Uncounted && path.find_first_of("&|<>^()%!") != std::string_view::npos)
    return BatchRefusal::UncountedParses;
  if (reading.RedirectAfter && EndsInHandleNumber(path)) return BatchRefusal::HandleNumber;
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
  const TemplateReading reading = ReadTemplate(command, dollar);
  const BatchRefusal refusal = RefusalFor(path, reading);
  if (refusal != BatchRefusal::None) return refusal;

  line.append(command, 0, dollar);
  if (reading.Parses == 1 && path.find_first_of("&|<>^()%") == std::string_view::npos) {
    line.append(path);  // the common case: nothing to escape
  } else {
    std::string text(path), escaped;
    for (int parse = reading.Parses; parse > 1; --parse) {
      escaped.clear();
      AppendWithCarets(text, escaped);
      text.swap(escaped);
    }
    for (char character : text) {
      if (character == '%') line += '%';  // "%%" is a plain "%" in a batch file
      if (NeedsCaret(character) && !reading.Quoted) line += '^';
      line += character;
    }
  }
  line.append(command, dollar + 1);
  line += "\r\n";
  return BatchRefusal::None;
}
