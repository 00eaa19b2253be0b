// Bare names for other programs: exact bytes, a Linux path where asked, and
// the count of names that could not be written exactly, told on standard
// error at the end.
#include <string>

#include "Console/Console.h"
#include "Console/ConsoleInternal.h"

namespace {

constexpr std::string_view ReplacementBytes = "\xEF\xBF\xBD";  // U+FFFD

std::string NameLine;  // reused for every name

// Z:\usr\include\ is /usr/include/: wine's Z: is the Linux root. Other
// drives keep their Windows form.
void AppendHead(std::string_view head, bool linux) {
  const bool rootDrive = head.size() >= 3 && (head[0] == 'Z' || head[0] == 'z') &&
                         head[1] == ':' && head[2] == '\\';
  if (!linux || !rootDrive) {
    NameLine.append(head);
    return;
  }
  for (const char c : head.substr(2)) NameLine += c == '\\' ? '/' : c;
}

}  // namespace

void WriteNameForPrograms(std::string_view head, std::string_view name) {
  ConsoleEngineState& engine = ConsoleEngine;
  EnsureOutput();
  if (head.find(ReplacementBytes) != std::string_view::npos ||
      name.find(ReplacementBytes) != std::string_view::npos) {
    ++engine.NamesLeftOut;
    return;
  }
  NameLine.clear();
  AppendHead(head, engine.BareNames.LinuxPaths);
  NameLine.append(name);
  if (engine.BareNames.NulEnds) {
    NameLine += '\0';
  } else {
    // A line end inside a name would make two names of it.
    for (std::size_t at = 0; at < NameLine.size(); ++at)
      if (NameLine[at] == '\n' || NameLine[at] == '\r') NameLine[at] = '?';
    NameLine += "\r\n";  // as every plain line: ./orvl makes it LF
  }
  if (!Plat::StdOutWrite(NameLine.data(), NameLine.size())) EndProgram(ExitCode::Failed);
}

void ReportNamesLeftOut() {
  const int count = ConsoleEngine.NamesLeftOut;
  if (count == 0) return;
  ConsoleEngine.NamesLeftOut = 0;
  const std::string line =
      "orvl: " + std::to_string(count) + (count == 1 ? " name" : " names") +
      " left out: the system shows them with U+FFFD (bytes that are not UTF-8), so they "
      "would not name their files\n";
  Plat::StdErrWrite(line.data(), line.size());
}
