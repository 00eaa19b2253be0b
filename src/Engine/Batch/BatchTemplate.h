// What a command template tells about the text put at its "$": whether the
// batch file's own parse reads it inside double quotes, and which later reads
// (call, for, another interpreter, delayed expansion) may change it.
#pragma once

#include <string>
#include <string_view>

struct TemplateReading {
  bool Quoted = false;          // the batch file's parse reads the "$" inside double quotes
  int PercentPasses = 1;        // times "%%" is read down to "%": the file's own, one per call
  bool Call = false;            // call reads the text again and doubles every caret in it
  std::string ForVariables;     // the letters of the template's for variables ("%%a": "a")
  bool NewInterpreter = false;  // another interpreter (cmd, start, for's 'command') reads it
  bool QuotingUnsure = false;   // that interpreter may strip quotes the template put around it
  bool Uncounted = false;       // a variable, caret or glued switch may hide another parse
  bool MayDelay = false;        // the template can turn delayed expansion on, or uses it
  bool RedirectAfter = false;   // an unquoted "<" or ">" follows the "$" at once
};

// Reads the template around its first "$" (at dollar).
TemplateReading ReadTemplate(std::string_view command, std::size_t dollar);
