// The batch file: lines are collected in a buffer and written in large
// pieces; the scan flushes after each directory, so a failure can be reported
// at once on a line of its own.
#include "Engine/Batch/Batch.h"

#include "Base/Utf8.h"
#include "Common/Colours.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/Options.h"
#include "Console/Console.h"
#include "Format/ErrorText.h"
#include "Platform/CodePages.h"
#include "Platform/Files.h"
#include "Platform/System.h"

namespace {

const char* const BatchFileName = "!OVBATCH.BAT";
// The lines go into a new file of this name, which takes the batch file's
// place at the end: whatever had that name, a link included, is replaced,
// never written through (links are not always visible as such).
const char* const BatchWorkName = "!OVBATCH.NEW";
constexpr std::size_t FlushBytes = 64 * 1024;

constexpr char Utf8FirstLine[] = "chcp 65001 >nul\r\n";

std::string BatchPath;    // the path of the entry whose line is being built
std::string BatchLine;    // the line being built
std::u16string WideLine;  // that line in UTF-16, for the code page conversion

bool IsAscii(std::string_view text) {
  for (char character : text)
    if (static_cast<unsigned char>(character) >= 0x80) return false;
  return true;
}

// A line in the ANSI code page; false (nothing added) when it cannot hold it.
bool EncodeInAnsi(const std::string& text, std::string& bytes) {
  if (IsAscii(text)) {
    bytes += text;
    return true;
  }
  WideLine.clear();
  for (std::size_t at = 0; at < text.size();) Utf8::AppendUtf16(WideLine, Utf8::Next(text, at));
  const std::size_t start = bytes.size();
  if (Plat::WideToCodePage(Plat::AnsiCodePage(), WideLine, bytes)) return true;
  bytes.resize(start);
  return false;
}

// The error table's text where it has one, else the system's.
std::string SystemReason(std::uint32_t code) {
  std::string reason = Plat::SystemErrorText(code);
  return reason.empty() ? ErrorText(code) : reason;
}

std::string FullPathOf(const char* name) {
  std::string full;
  if (!Plat::FullPathName(name, full)) full = name;
  return full;
}

// One warning per run, naming the file (and the system's reason, when there
// is one); no further lines are written after it.
void WarnBatchFailure(const char* what, std::uint32_t code, const char* name = BatchWorkName) {
  RunFiles.BatchFile.Failed = true;
  RunFiles.BatchFile.Buffer.clear();
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteLine("Warning: batch file " + std::string(what) + ": " + FullPathOf(name), 1,
            Looks.Colours.HeadingColour);
  if (code != 0) WriteLine(SystemReason(code), 10, Looks.Colours.HeadingColour);
}

// A link or reparse point planted under the batch file's name would have the
// lines written into whatever it points at.
bool BatchFileIsLink() {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(FullPathOf(BatchFileName), 0x37, data);
  if (search == Plat::InvalidHandle) return false;
  Plat::FindEnd(search);
  return (data.Attributes & Plat::AttrReparsePoint) != 0;
}

void WarnLeftOutReason(int count, const char* reason) {
  if (count == 0) return;
  WriteLine(std::to_string(count) + " with " + reason, 10, Looks.Colours.HeadingColour);
}

// Writes the buffer; false (with the code) when the file did not take it all.
bool WriteBuffer(std::uint32_t& code) {
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle || RunFiles.BatchFile.Buffer.empty())
    return true;
  bool written = Plat::WriteFileBytes(RunFiles.BatchFile.Handle, RunFiles.BatchFile.Buffer.data(),
                                      RunFiles.BatchFile.Buffer.size());
  code = written ? 0 : Plat::LastError();
  RunFiles.BatchFile.Buffer.clear();
  return written;
}

// Reads back what the file holds so far; false (with the code) on failure.
bool ReadBackFile(std::string& bytes, std::uint32_t& code) {
  Plat::Handle file = Plat::OpenFileForReading(BatchWorkName);
  bool ok = file != Plat::InvalidHandle;
  char piece[16 * 1024];
  std::size_t read = 0;
  while (ok && (ok = Plat::ReadFileBytes(file, piece, sizeof piece, read)) && read > 0)
    bytes.append(piece, read);
  code = ok ? 0 : Plat::LastError();
  if (file != Plat::InvalidHandle) Plat::CloseFile(file);
  return ok;
}

// The first line the ANSI code page cannot hold turns the whole file into
// UTF-8: the file is read back once, converted (what it holds came from exact
// conversions, so the way back is exact too) and written anew after a line
// that switches the interpreter to UTF-8. Costs nothing until it happens, and
// at most the file's size once.
void SwitchToUtf8() {
  RunFiles.BatchFile.Utf8 = true;
  std::uint32_t code = 0;
  std::string earlier;
  Plat::CloseFile(RunFiles.BatchFile.Handle);
  RunFiles.BatchFile.Handle = Plat::InvalidHandle;
  if (!ReadBackFile(earlier, code)) return WarnBatchFailure("could not be read back", code);
  earlier += RunFiles.BatchFile.Buffer;
  RunFiles.BatchFile.Buffer.assign(Utf8FirstLine);
  if (!earlier.empty())
    RunFiles.BatchFile.Buffer +=
        Utf8::FromUtf16(Plat::CodePageToWide(Plat::AnsiCodePage(), earlier));
  RunFiles.BatchFile.Handle = Plat::CreateFileForWriting(BatchWorkName);  // the run's own file
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle)
    WarnBatchFailure("could not be created", Plat::LastError());
}

// Batch text into the buffer: the ANSI code page, as the interpreter reads it
// by default, until a line needs more.
void EncodeBatchText(const std::string& text) {
  if (!RunFiles.BatchFile.Utf8 && EncodeInAnsi(text, RunFiles.BatchFile.Buffer)) return;
  if (!RunFiles.BatchFile.Utf8) SwitchToUtf8();
  if (!RunFiles.BatchFile.Failed) RunFiles.BatchFile.Buffer += text;
}

}  // namespace

void OpenBatchFile() {
  RunFiles.BatchFile.Buffer.clear();
  RunFiles.BatchFile.Failed = false;
  RunFiles.BatchFile.Utf8 = false;
  RunFiles.BatchFile.LeftOut = {};
  if (BatchFileIsLink()) return WarnBatchFailure("is a link and was not written", 0, BatchFileName);
  RunFiles.BatchFile.Handle = Plat::CreateNewFileForWriting(BatchWorkName);
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle)
    WarnBatchFailure("could not be created", Plat::LastError());
}

void WriteBatchLine(std::string_view directory, std::string_view longName) {
  if (RunFiles.BatchFile.Failed) return;
  BatchPath.assign(directory).append(longName);
  switch (ComposeBatchLine(Options.BatchCommand, BatchPath, BatchLine)) {
    case BatchRefusal::None: break;
    case BatchRefusal::ControlCharacter: ++RunFiles.BatchFile.LeftOut.ControlCharacters; return;
    case BatchRefusal::DoubleQuote: ++RunFiles.BatchFile.LeftOut.DoubleQuotes; return;
    case BatchRefusal::Percent: ++RunFiles.BatchFile.LeftOut.Percents; return;
  }
  EncodeBatchText(BatchLine);
  if (RunFiles.BatchFile.Buffer.size() >= FlushBytes) FlushBatchFile();
}

void FlushBatchFile() {
  std::uint32_t code = 0;
  if (!RunFiles.BatchFile.Failed && !WriteBuffer(code))
    WarnBatchFailure("could not be written", code);
}

// Also runs on the ends that cannot write any more (a fatal error being
// reported, a control event): the lines still buffered are written, and a
// failure then stays unreported rather than risk a second end.
void CloseBatchFile() {
  std::uint32_t code = 0;
  if (!RunFiles.BatchFile.Failed) WriteBuffer(code);
  if (RunFiles.BatchFile.Handle != Plat::InvalidHandle) {
    Plat::CloseFile(RunFiles.BatchFile.Handle);
    Plat::ReplaceWithFile(BatchWorkName, BatchFileName);
  }
  RunFiles.BatchFile.Handle = Plat::InvalidHandle;
  RunFiles.BatchFile.Buffer.clear();
}

void ReportBatchLeftOuts() {
  const BatchLeftOutCounts& leftOut = RunFiles.BatchFile.LeftOut;
  if (leftOut.Total() == 0) return;
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteLine("Warning: batch file left out " + std::to_string(leftOut.Total()) +
                " names the command interpreter cannot carry:",
            1, Looks.Colours.HeadingColour);
  WarnLeftOutReason(leftOut.ControlCharacters, "a line break or another control character");
  WarnLeftOutReason(leftOut.DoubleQuotes, "a double quote");
  WarnLeftOutReason(leftOut.Percents, "a percent sign, under a template that parses twice");
  FWriteFinish();
}
