#pragma once

#include <string>
#include <string_view>
#include <vector>

// The batch file !OVBATCH.BAT of /@: one line per accepted entry, built from
// the command template with its first "$" replaced by the entry's path.

// Creates the run's own work file in the working directory; a failure is
// reported once as a warning, the listing goes on and the run fails at its end.
void OpenBatchFile();
// The line of one accepted entry of a directory (ending in "\"), by its long
// name as the enumeration gave it (without the directory, also under /F).
void WriteBatchLine(std::string_view directory, std::string_view longName);
// Writes the lines collected so far; a failure is reported once.
void FlushBatchFile();
// The end-of-run action of every end that cannot report any more: a run that
// ends with its job done (exit 0 or 1) puts the file whole in its place, any
// other end removes it; false when a done run's file did not take its place.
bool CloseBatchFile(int exitCode);
// The normal end: closes the file and puts it in place of the batch file;
// false, after a warning with the reason, when it could not take that place
// or was not written whole (nothing is then left under the run's own name).
bool PutBatchFileInPlace();
// The files writing it creates, named against the working directory.
std::vector<std::string> BatchFileNames();
// Whether a name in the working directory is one of the batch files (the
// batch file, a run's work file): batch mode passes over them.
bool IsBatchRunFile(std::string_view name);

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

// Warns once how many names were left out of the batch file and why (after
// the listing's end); nothing when none was.
void ReportBatchLeftOuts();
