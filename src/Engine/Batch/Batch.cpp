// The batch file: lines are collected in a buffer and written in large
// pieces; the scan flushes after each directory, so a failure can be reported
// at once on a line of its own.
#include "Engine/Batch/Batch.h"

#include "Common/Colours.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "LFNFunc/ErrorText.h"
#include "Platform/Platform.h"
#include "TurboScroll/TurboScroll.h"

namespace {

const char* const BatchFileName = "!OVBATCH.BAT";
constexpr std::size_t FlushBytes = 64 * 1024;

std::string BatchPath;  // the path of the entry whose line is being built
std::string BatchLine;  // the line being built

// Batch text to the bytes of the file: the ANSI code page, unconverted.
void EncodeBatchText(const std::string& text, std::string& bytes) { bytes += text; }

std::string SystemReason(std::uint32_t code) {
  std::string reason = Plat::SystemErrorText(code);
  return reason.empty() ? ErrorText(code) : reason;
}

// One warning per run, naming the file and the system's reason; no further
// lines are written after it.
void WarnBatchFailure(const char* what, std::uint32_t code) {
  BatchFileFailed = true;
  BatchBuffer.clear();
  std::string full;
  if (!Plat::FullPathName(BatchFileName, full)) full = BatchFileName;
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteLine("Warning: batch file " + std::string(what) + ": " + full, 1, Colours.HeadingColour);
  WriteLine(SystemReason(code), 10, Colours.HeadingColour);
}

// Writes the buffer; false (with the code) when the file did not take it all.
bool WriteBuffer(std::uint32_t& code) {
  if (BatchFileHandle == Plat::InvalidHandle || BatchBuffer.empty()) return true;
  bool written = Plat::WriteFileBytes(BatchFileHandle, BatchBuffer.data(), BatchBuffer.size());
  code = written ? 0 : Plat::LastError();
  BatchBuffer.clear();
  return written;
}

}  // namespace

void OpenBatchFile() {
  BatchBuffer.clear();
  BatchFileFailed = false;
  BatchFileHandle = Plat::CreateFileForWriting(BatchFileName);
  if (BatchFileHandle == Plat::InvalidHandle)
    WarnBatchFailure("could not be created", Plat::LastError());
}

void WriteBatchLine(std::string_view longName) {
  if (BatchFileFailed) return;
  BatchPath.assign(CurrentDir).append(longName);
  ComposeBatchLine(Options.BatchCommand, BatchPath, BatchLine);
  EncodeBatchText(BatchLine, BatchBuffer);
  if (BatchBuffer.size() >= FlushBytes) FlushBatchFile();
}

void FlushBatchFile() {
  std::uint32_t code = 0;
  if (!BatchFileFailed && !WriteBuffer(code)) WarnBatchFailure("could not be written", code);
}

// Also runs on the ends that cannot write any more (a fatal error being
// reported, a control event): the lines still buffered are written, and a
// failure then stays unreported rather than risk a second end.
void CloseBatchFile() {
  std::uint32_t code = 0;
  if (!BatchFileFailed) WriteBuffer(code);
  if (BatchFileHandle != Plat::InvalidHandle) Plat::CloseFile(BatchFileHandle);
  BatchFileHandle = Plat::InvalidHandle;
  BatchBuffer.clear();
}
