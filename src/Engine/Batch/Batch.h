#pragma once

#include <string>
#include <string_view>
#include <vector>

// The batch file !OVBATCH.BAT of /@: one line per accepted entry, built from
// the command template with its first "$" replaced by the entry's path.

// Creates (or empties) the file in the working directory; a failure is
// reported once as a warning and the listing goes on.
void OpenBatchFile();
// The line of one accepted entry of a directory (ending in "\"), by its long
// name as the enumeration gave it (without the directory, also under /F).
void WriteBatchLine(std::string_view directory, std::string_view longName);
// Writes the lines collected so far; a failure is reported once.
void FlushBatchFile();
// Writes what is left and closes the file, putting it in place when it can
// (the end-of-run action of every end that cannot report any more).
void CloseBatchFile();
// The normal end: closes the file and puts it in place of the batch file;
// false, after a warning with the reason, when it could not take that place
// (nothing is then left under the run's own name).
bool PutBatchFileInPlace();
// The files writing it creates, named against the working directory.
std::vector<std::string> BatchFileNames();

// Why a path got no batch line.
enum class BatchRefusal {
  None,
  ControlCharacter,
  DoubleQuote,
  Wildcard,
  Percent,
  Exclamation,
  UncountedParses,
  HandleNumber,
  LineTooLong,
  CodePageBytes,
};

// The line for one path: the template with its first "$" replaced by the path,
// in which the characters the command interpreter acts on are escaped. Empty
// when the template has no "$" or when the path cannot be carried safely (the
// reason is returned).
BatchRefusal ComposeBatchLine(const std::string& command, std::string_view path, std::string& line);
// Whether an interpreter reading the line's bytes in another code page could
// meet a character it acts on that the text does not hold: a byte of a
// double-byte character equal to one (the bytes of "\x83|" for one
// character), or, where double-byte pages are in use and the line is UTF-8,
// one right after a byte that such a page would join it to.
bool BytesHideMetacharacters(std::string_view text, std::string_view bytes, bool leadBytesJoin);

// Warns once how many names were left out of the batch file and why (after
// the listing's end); nothing when none was.
void ReportBatchLeftOuts();
