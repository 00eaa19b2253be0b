// Composing one batch line. The rule: inside double quotes the interpreter
// acts on no character but "%" (and "!" under delayed expansion), in its first
// parse and in every later one, so the quote is the escape. Where the "$"
// stands inside the template's quotes the path goes in as it is; outside, a
// path holding anything but plain characters is put in quotes. "%" is doubled
// for each percent pass; a path that no form keeps literal gets no line.
#include "Engine/Batch/Batch.h"
#include "Engine/Batch/BatchTemplate.h"

#include "Base/Utf8.h"

namespace {

// The interpreter reads a line of at most this many UTF-16 units and runs
// the rest as a command of its own.
constexpr std::size_t LongestBatchLine = 8191;

// Characters no parse acts on and no command reads otherwise ("+" joins
// files for copy, "," ";" "=" and blanks split arguments).
bool IsPlain(char character) {
  if ((character >= '0' && character <= '9') || (character >= 'a' && character <= 'z') ||
      (character >= 'A' && character <= 'Z'))
    return true;
  switch (character) {
    case '\\':
    case ':':
    case '.':
    case '_':
    case '-':
    case '~':
    case '#':
    case '@':
    case '$':
    case '[':
    case ']':
    case '{':
    case '}': return true;
    default: return false;
  }
}

bool IsPlainPath(std::string_view path) {
  for (char character : path)
    if (!IsPlain(character)) return false;
  return true;
}

// C0 controls and DEL, and the C1 controls (U+0080 to U+009F, C2 80 to C2 9F
// in UTF-8), which a terminal also obeys.
bool HasControlCharacter(std::string_view path) {
  for (std::size_t at = 0; at < path.size(); ++at) {
    const auto code = static_cast<unsigned char>(path[at]);
    if (code < 32 || code == 127) return true;
    if (code == 0xC2 && at + 1 < path.size() && static_cast<unsigned char>(path[at + 1]) < 0xA0)
      return true;
  }
  return false;
}

// A UTF-16 unit without its pair (carried as ED A0 80 to ED BF BF), which no
// text written into a file can name again, or U+FFFD, which stands where the
// system could not convert a name's bytes (wine's for bytes that are not
// UTF-8): a line would name another file.
bool HasUnnameableCharacter(std::string_view path) {
  for (std::size_t at = 0; at + 2 < path.size(); ++at) {
    if (Utf8::IsLoneSurrogateAt(path, at)) return true;
    if (path.compare(at, 3, "\xEF\xBF\xBD") == 0) return true;
  }
  return false;
}

// The system drops a dot or blank at the end of a path component, so
// "C:\D\x." names "C:\D\x", another file.
bool HasComponentEndingInDotOrBlank(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != "." && part != ".." && (part.back() == '.' || part.back() == ' '))
      return true;
    start = end + 1;
  }
  return false;
}

// A colon past the drive's names a stream of another file ("a:b" of "a").
bool HasStreamColon(std::string_view path) {
  const std::size_t driveColon = path.substr(0, 4) == "\\\\?\\" ? 5 : 1;
  return path.find(':', driveColon + 1) != std::string_view::npos;
}

bool NamesForVariable(std::string_view path, std::string_view variables) {
  for (std::size_t at = path.find('%'); at != std::string_view::npos; at = path.find('%', at + 1))
    if (at + 1 < path.size() &&
        (path[at + 1] == '~' || variables.find(path[at + 1]) != std::string_view::npos))
      return true;
  return false;
}

BatchRefusal RefusalFor(std::string_view path, const TemplateReading& reading) {
  if (HasControlCharacter(path)) return BatchRefusal::ControlCharacter;
  if (HasUnnameableCharacter(path)) return BatchRefusal::Unnameable;
  if (path.find('"') != std::string_view::npos) return BatchRefusal::DoubleQuote;
  // "<" and ">" match like "*" and "?" in the system's searches.
  if (path.find_first_of("*?<>") != std::string_view::npos) return BatchRefusal::Wildcard;
  if (HasComponentEndingInDotOrBlank(path)) return BatchRefusal::DotOrBlankAtEnd;
  if (HasStreamColon(path)) return BatchRefusal::Colon;
  if (reading.Uncounted && !IsPlainPath(path)) return BatchRefusal::UncountedParses;
  if (reading.QuotingUnsure && !IsPlainPath(path)) return BatchRefusal::UncountedParses;
  // A command line of another interpreter has no escape for "%"; a for
  // replaces "%x" (and "%~..x") of its variable x wherever it stands.
  if (reading.NewInterpreter && path.find('%') != std::string_view::npos)
    return BatchRefusal::Percent;
  if (!reading.ForVariables.empty() && NamesForVariable(path, reading.ForVariables))
    return BatchRefusal::Percent;
  if (reading.MayDelay && path.find('!') != std::string_view::npos)
    return BatchRefusal::Exclamation;
  if (reading.Call && path.find('^') != std::string_view::npos) return BatchRefusal::Caret;
  return BatchRefusal::None;
}

// What the "$" becomes: the path, quoted where the template leaves it bare
// and it is not plain (or a redirection right after would take a final digit
// as its handle), with "%" doubled once per percent pass.
void AppendPath(std::string_view path, const TemplateReading& reading, std::string& line) {
  const bool quote = !reading.Quoted && (!IsPlainPath(path) || reading.RedirectAfter);
  const std::size_t percents = std::size_t{1} << reading.PercentPasses;
  if (quote) line += '"';
  for (char character : path) {
    if (character == '%')
      line.append(percents, '%');
    else
      line += character;
  }
  if (quote) line += '"';
}

// The line's length as the interpreter counts it: one unit a character, two
// for one past U+FFFF (a 4-byte UTF-8 sequence).
std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (char character : text) {
    const auto byte = static_cast<unsigned char>(character);
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
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
  AppendPath(path, reading, line);
  line.append(command, dollar + 1);
  if (Utf16Length(line) > LongestBatchLine) {
    line.clear();
    return BatchRefusal::LineTooLong;
  }
  line += "\r\n";
  return BatchRefusal::None;
}
