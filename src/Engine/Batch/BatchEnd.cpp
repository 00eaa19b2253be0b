// The batch file's start and ends. The lines go into a work file of the
// run's own, which takes the batch file's place only when the run did its job
// and the file holds every line: whatever had that name, a link included, is
// then replaced, never written through; on every other end the old batch
// file stays as it was and the run does not report success.
#include "Engine/Batch/Batch.h"

#include "Engine/Batch/BatchFile.h"
#include "RunValues/Colours.h"
#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Format/ErrorText.h"
#include "Platform/Files.h"
#include "Platform/System.h"

namespace {

constexpr std::uint32_t ErrorFileExists = 80;
constexpr std::uint32_t ErrorAlreadyExists = 183;
constexpr int MostWorkNameTries = 100;
static_assert(static_cast<int>(BatchRefusal::LineTooLong) < BatchRefusalReasons);

const std::string BatchName(BatchFileName);

// The error table's text where it has one, else the system's.
std::string SystemReason(std::uint32_t code) {
  std::string reason = Plat::SystemErrorText(code);
  return reason.empty() ? ErrorText(code) : reason;
}

std::string FullPathOf(const std::string& name) {
  std::string full;
  if (!Plat::FullPathName(name, full)) full = name;
  return full;
}

void StartWarning(const std::string& text) {
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteWrappedLine(text, 1, Looks.Colours.HeadingColour);
}

// A link or reparse point planted under the batch file's name would have the
// lines written into whatever it points at.
bool BatchFileIsLink() {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(FullPathOf(BatchName), 0x37, data);
  if (search == Plat::InvalidHandle) return false;
  Plat::FindEnd(search);
  return (data.Attributes & Plat::AttrReparsePoint) != 0;
}

// "!OVBATCH.<process>.NEW": two runs at once never meet, and a file a killed
// run left (its process number taken again) only moves this one to the next name.
bool CreateWorkFile(BatchFileState& file) {
  const std::string process = std::to_string(Plat::ProcessId());
  for (int attempt = 0; attempt < MostWorkNameTries; ++attempt) {
    file.WorkName.assign(BatchWorkPrefix).append(process);
    if (attempt > 0) file.WorkName.append("-").append(std::to_string(attempt));
    file.WorkName.append(BatchWorkSuffix);
    file.Handle = Plat::CreateNewFileForWriting(file.WorkName);
    if (file.Handle != Plat::InvalidHandle) return true;
    const std::uint32_t code = Plat::LastError();
    if (code != ErrorFileExists && code != ErrorAlreadyExists) break;
  }
  return false;
}

// Closes the work file; false when it does not hold every line.
bool CloseWorkFile(BatchFileState& file, bool whole) {
  file.Buffer.clear();
  if (file.Handle == Plat::InvalidHandle) return false;
  const bool closed = Plat::CloseFile(file.Handle);
  file.Handle = Plat::InvalidHandle;
  return whole && closed;
}

void RemoveWorkFile(const BatchFileState& file) {
  if (!file.WorkName.empty()) Plat::DeleteFileAt(file.WorkName);
}

// What holds the batch file's name and cannot be replaced (a folder of that
// name, a file of another owner) stays; the run's own file goes.
bool ReplaceBatchFile(const BatchFileState& file, std::uint32_t& code) {
  if (Plat::ReplaceWithFile(file.WorkName, BatchName)) return true;
  code = Plat::LastError();
  RemoveWorkFile(file);
  return false;
}

// What the end warning says of each reason.
const char* LeftOutReason(BatchRefusal refusal) {
  switch (refusal) {
    case BatchRefusal::ControlCharacter: return "a line break or another control character";
    case BatchRefusal::Unnameable:
      return "an unconvertible character (U+FFFD, or half of a UTF-16 pair)";
    case BatchRefusal::DoubleQuote: return "a double quote";
    case BatchRefusal::Wildcard: return "a wildcard (* ? < >), which the command would expand";
    case BatchRefusal::DotOrBlankAtEnd:
      return "a dot or blank at the end of a name, which the system drops";
    case BatchRefusal::Colon: return "a colon, which names a stream of another file";
    case BatchRefusal::UncountedParses:
      return "a special character, under a template with uncounted parses";
    case BatchRefusal::Percent: return "a percent sign, under a template that expands it again";
    case BatchRefusal::Exclamation:
      return "an exclamation mark where delayed expansion may be turned on";
    case BatchRefusal::Caret: return "a caret, which call doubles even inside quotes";
    case BatchRefusal::LineTooLong: return "a line longer than the interpreter reads";
    case BatchRefusal::None: break;
  }
  return "";
}

}  // namespace

void WarnBatchFailure(BatchFileState& file, const char* what, std::uint32_t code,
                      const char* name) {
  file.Failed = true;
  file.Buffer.clear();
  StartWarning("Warning: batch file " + std::string(what) + ": " +
               FullPathOf(name ? std::string(name) : file.WorkName));
  if (code != 0) WriteWrappedLine(SystemReason(code), 10, Looks.Colours.HeadingColour);
}

void BatchFile::Open() {
  BatchFileState& file = state_;
  file = BatchFileState{};
  file.Ended = false;
  if (BatchFileIsLink())
    return WarnBatchFailure(file, "is a link and was not written", 0, BatchName.c_str());
  if (!CreateWorkFile(file)) return WarnBatchFailure(file, "could not be created", Plat::LastError());
  // Its folder, so that a listing of that folder can pass over the run's files.
  const std::string workPath = FullPathOf(file.WorkName);
  file.WorkDirectory = workPath.substr(0, workPath.find_last_of('\\') + 1);
}

std::vector<std::string> BatchFile::FileNames() const { return {BatchName, state_.WorkName}; }

// The ends that cannot report any more (a fatal error being reported, a
// control event, a quit at the page prompt): a failure then only fails the run.
bool BatchFile::Close(int exitCode) {
  BatchFileState& file = state_;
  if (file.Ended) return true;
  file.Ended = true;
  const bool jobDone = exitCode == static_cast<int>(ExitCode::Done) ||
                       exitCode == static_cast<int>(ExitCode::NothingFound);
  std::uint32_t code = 0;
  const bool whole = jobDone && WriteLastLines(file, code);
  if (CloseWorkFile(file, whole)) return ReplaceBatchFile(file, code);
  RemoveWorkFile(file);
  return !jobDone;
}

bool BatchFile::PutInPlace() {
  BatchFileState& file = state_;
  file.Ended = true;
  std::uint32_t code = 0;
  const bool failedBefore = file.Failed;
  const bool whole = WriteLastLines(file, code);
  if (!whole && !failedBefore && file.Handle != Plat::InvalidHandle)
    WarnBatchFailure(file, "could not be written", code);
  code = 0;
  const bool closed = CloseWorkFile(file, whole);
  if (closed && ReplaceBatchFile(file, code)) return true;
  if (!closed) RemoveWorkFile(file);
  StartWarning("Warning: batch file not replaced, no new one written:");
  WriteWrappedLine(FullPathOf(BatchName), 10, Looks.Colours.HeadingColour);
  if (code != 0) WriteWrappedLine(SystemReason(code), 10, Looks.Colours.HeadingColour);
  FWriteFinish();
  return false;
}

void BatchFile::ReportLeftOuts() {
  const BatchLeftOutCounts& leftOut = state_.LeftOut;
  if (leftOut.Total() == 0) return;
  StartWarning("Warning: batch file left out " + std::to_string(leftOut.Total()) +
               " names the command interpreter cannot carry:");
  for (int reason = 1; reason < BatchRefusalReasons; ++reason)
    if (leftOut.ByReason[reason] > 0)
      WriteWrappedLine(std::to_string(leftOut.ByReason[reason]) + " with " +
                    LeftOutReason(static_cast<BatchRefusal>(reason)),
                10, Looks.Colours.HeadingColour);
  FWriteFinish();
}
