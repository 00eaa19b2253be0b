// What a command template tells about the text put at its "$": how often the
// interpreter parses it, and what may change that count without showing it.
#pragma once

#include <string_view>

struct TemplateReading {
  int Parses = 1;               // times the text at "$" is parsed (at most MostParses)
  bool Uncounted = false;       // a variable, caret or glued switch may hide another parse
  bool NewInterpreter = false;  // a further parse is by another interpreter (cmd, start)
  bool Quoted = false;          // the first parse reads the "$" inside double quotes
  bool RedirectAfter = false;   // an unquoted "<" or ">" follows the "$" at once
};

// Reads the template around its first "$" (at dollar).
TemplateReading ReadTemplate(std::string_view command, std::size_t dollar);
