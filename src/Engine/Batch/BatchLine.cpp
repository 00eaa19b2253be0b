// Composing one batch line. A name such as "a&del *.*" must not become a
// command of its own: outside double quotes the interpreter's operators get a
// caret, and "%" is doubled everywhere (it expands even inside quotes).
#include <algorithm>

#include "Engine/Batch/Batch.h"

namespace {

bool IsOperator(char character) {
  return character == '&' || character == '|' || character == '<' || character == '>' ||
         character == '^';
}

void AppendEscapedPath(std::string_view path, bool quoted, std::string& line) {
  for (char character : path) {
    if (character == '%')
      line += '%';
    else if (!quoted && IsOperator(character))
      line += '^';
    line += character;
  }
}

}  // namespace

void ComposeBatchLine(const std::string& command, std::string_view path, std::string& line) {
  line.clear();
  std::size_t dollar = command.find('$');
  if (dollar == std::string::npos) return;
  auto quotes =
      std::count(command.begin(), command.begin() + static_cast<std::ptrdiff_t>(dollar), '"');
  line.append(command, 0, dollar);
  AppendEscapedPath(path, quotes % 2 == 1, line);
  line.append(command, dollar + 1);
  line += "\r\n";
}
