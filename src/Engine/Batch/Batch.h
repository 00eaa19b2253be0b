#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Engine/Batch/BatchFileState.h"

// The batch file !OVBATCH.BAT of /@: one line per accepted entry, built from
// the command template with its first "$" replaced by the entry's path. The
// driver owns the one batch file of a run and hands it to whoever adds lines.
class BatchFile {
 public:
  // Creates the run's own work file in the working directory; a failure is
  // reported once as a warning, the listing goes on and the run fails at its end.
  void Open();
  // The line of one accepted entry of a directory (ending in "\"), by its long
  // name as the enumeration gave it (without the directory, also under /F).
  void WriteLine(std::string_view directory, std::string_view longName);
  // Writes the lines collected so far; a failure is reported once.
  void Flush();
  // The normal end: closes the file and puts it in place of the batch file;
  // false, after a warning with the reason, when it could not take that place
  // or was not written whole (nothing is then left under the run's own name).
  bool PutInPlace();
  // Every end, after the normal end's PutInPlace or instead of it: a run that
  // ends with its job done (exit 0 or 1) puts the file whole in its place, any
  // other end removes it; false when a done run's file did not take its place.
  // Reports nothing: the run may be past reporting.
  bool Close(int exitCode);
  // Warns once how many names were left out and why; nothing when none was.
  void ReportLeftOuts();
  // The files writing it creates, named against the working directory.
  std::vector<std::string> FileNames() const;
  // The folder that holds them, with its "\"; empty when there is no file.
  const std::string& WorkDirectory() const { return state_.WorkDirectory; }

 private:
  BatchFileState state_;
};

// Why a path got no batch line.
enum class BatchRefusal {
  None,
  ControlCharacter,
  Unnameable,
  DoubleQuote,
  Wildcard,
  DotOrBlankAtEnd,
  Colon,
  UncountedParses,
  Percent,
  Exclamation,
  Caret,
  LineTooLong,
};

// The line for one path: the template with its first "$" replaced by the
// path, quoted where the template leaves it bare and it needs quotes. Empty
// when the template has no "$" or when no form keeps the path literal (the
// reason is returned).
BatchRefusal ComposeBatchLine(const std::string& command, std::string_view path, std::string& line);
