// The batch file: lines are collected in a buffer and written in large
// pieces; the scan flushes after each directory, so a failure can be reported
// at once on a line of its own.
#include "Engine/Batch/Batch.h"

#include "Base/Utf8.h"
#include "RunValues/Colours.h"
#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
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
const char* const BatchWorkName = BatchWorkFileName;
constexpr std::size_t FlushBytes = 64 * 1024;

// The interpreter splits a longer line and runs its rest as a command of its
// own; the margin covers what a further parse may add.
constexpr std::size_t LongestBatchLine = 8191 - 191;

// Delayed expansion (cmd /v:on, or the interpreter's setting) would read
// "!x!" in a name as a variable: the file turns it off for its lines.
constexpr char AnsiHeader[] = "@setlocal DisableDelayedExpansion\r\n";
// A UTF-8 file also switches the console's code page, and back at its end:
// a page left at UTF-8 would change how the next batch file is read.
constexpr char Utf8Header[] =
    "@setlocal DisableDelayedExpansion\r\n"
    "@for /f \"tokens=2 delims=:.\" %%p in ('chcp') do @set \"OVBATCHCP=%%p\"\r\n"
    "@chcp 65001 >nul\r\n";
constexpr char Utf8Trailer[] = "@chcp %OVBATCHCP% >nul 2>&1\r\n";

static_assert(static_cast<int>(BatchRefusal::CodePageBytes) < BatchRefusalReasons);

std::string BatchPath;    // the path of the entry whose line is being built
std::string BatchLine;    // the line being built
std::string LineBytes;    // that line as the file will hold it
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
  WriteWrappedLine("Warning: batch file " + std::string(what) + ": " + FullPathOf(name), 1,
                   Looks.Colours.HeadingColour);
  if (code != 0) WriteWrappedLine(SystemReason(code), 10, Looks.Colours.HeadingColour);
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

// What the end warning says of each reason.
const char* LeftOutReason(BatchRefusal refusal) {
  switch (refusal) {
    case BatchRefusal::ControlCharacter: return "a line break or another control character";
    case BatchRefusal::DoubleQuote: return "a double quote";
    case BatchRefusal::Wildcard: return "a wildcard (* or ?), which the command would expand";
    case BatchRefusal::Percent: return "a percent sign, under a template that parses twice";
    case BatchRefusal::Exclamation:
      return "an exclamation mark, under a template that starts another interpreter";
    case BatchRefusal::UncountedParses:
      return "a character the interpreter acts on, under a template whose parses cannot be "
             "counted";
    case BatchRefusal::HandleNumber:
      return "a final digit the redirection after it would take as a handle";
    case BatchRefusal::LineTooLong: return "a line longer than the interpreter reads";
    case BatchRefusal::CodePageBytes:
      return "bytes another code page reads as characters the interpreter acts on";
    case BatchRefusal::None: break;
  }
  return "";
}

void CountLeftOut(BatchRefusal refusal) {
  ++RunFiles.BatchFile.LeftOut.ByReason[static_cast<int>(refusal)];
}

bool IsDoubleByteCodePage(std::uint32_t codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361;
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
  if (earlier.compare(0, sizeof AnsiHeader - 1, AnsiHeader) == 0)
    earlier.erase(0, sizeof AnsiHeader - 1);
  RunFiles.BatchFile.Buffer.assign(Utf8Header);
  RunFiles.BatchFile.HeaderWritten = true;
  if (!earlier.empty())
    RunFiles.BatchFile.Buffer +=
        Utf8::FromUtf16(Plat::CodePageToWide(Plat::AnsiCodePage(), earlier));
  RunFiles.BatchFile.Handle = Plat::CreateFileForWriting(BatchWorkName);  // the run's own file
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle)
    WarnBatchFailure("could not be created", Plat::LastError());
}

// The line's bytes in the file's encoding: the ANSI code page, as the
// interpreter reads a file by default, until a line needs more.
void EncodeLine(const std::string& text) {
  LineBytes.clear();
  if (!RunFiles.BatchFile.Utf8 && EncodeInAnsi(text, LineBytes)) return;
  if (!RunFiles.BatchFile.Utf8) SwitchToUtf8();
  LineBytes = text;
}

BatchRefusal AddLine(const std::string& text) {
  EncodeLine(text);
  if (RunFiles.BatchFile.Failed) return BatchRefusal::None;
  if (LineBytes.size() - 2 > LongestBatchLine) return BatchRefusal::LineTooLong;
  const bool leadBytesJoin = RunFiles.BatchFile.Utf8 && IsDoubleByteCodePage(Plat::AnsiCodePage());
  if (BytesHideMetacharacters(text, LineBytes, leadBytesJoin)) return BatchRefusal::CodePageBytes;
  if (!RunFiles.BatchFile.HeaderWritten) {
    RunFiles.BatchFile.Buffer += RunFiles.BatchFile.Utf8 ? Utf8Header : AnsiHeader;
    RunFiles.BatchFile.HeaderWritten = true;
  }
  RunFiles.BatchFile.Buffer += LineBytes;
  return BatchRefusal::None;
}

}  // namespace

void OpenBatchFile() {
  RunFiles.BatchFile.Buffer.clear();
  RunFiles.BatchFile.Failed = false;
  RunFiles.BatchFile.Utf8 = false;
  RunFiles.BatchFile.LeftOut = {};
  RunFiles.BatchFile.HeaderWritten = false;
  if (BatchFileIsLink()) return WarnBatchFailure("is a link and was not written", 0, BatchFileName);
  // Its folder, so that a listing of that folder can pass over the run's own file.
  const std::string workPath = FullPathOf(BatchWorkName);
  RunFiles.BatchFile.WorkDirectory = workPath.substr(0, workPath.find_last_of('\\') + 1);
  RunFiles.BatchFile.Handle = Plat::CreateNewFileForWriting(BatchWorkName);
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle)
    WarnBatchFailure("could not be created", Plat::LastError());
}

void WriteBatchLine(std::string_view directory, std::string_view longName) {
  if (RunFiles.BatchFile.Failed) return;
  BatchPath.assign(directory).append(longName);
  BatchRefusal refusal = ComposeBatchLine(Options.BatchCommand, BatchPath, BatchLine);
  if (refusal == BatchRefusal::None && !BatchLine.empty()) refusal = AddLine(BatchLine);
  if (refusal != BatchRefusal::None) return CountLeftOut(refusal);
  if (RunFiles.BatchFile.Buffer.size() >= FlushBytes) FlushBatchFile();
}

void FlushBatchFile() {
  std::uint32_t code = 0;
  if (!RunFiles.BatchFile.Failed && !WriteBuffer(code))
    WarnBatchFailure("could not be written", code);
}

namespace {

// Writes what is buffered (and a UTF-8 file's last line) and closes the file;
// false when there is no file to put in place.
bool FinishBatchFile() {
  std::uint32_t code = 0;
  if (!RunFiles.BatchFile.Failed) {
    if (RunFiles.BatchFile.Utf8 && RunFiles.BatchFile.HeaderWritten)
      RunFiles.BatchFile.Buffer += Utf8Trailer;
    WriteBuffer(code);
  }
  RunFiles.BatchFile.Buffer.clear();
  if (RunFiles.BatchFile.Handle == Plat::InvalidHandle) return false;
  Plat::CloseFile(RunFiles.BatchFile.Handle);
  RunFiles.BatchFile.Handle = Plat::InvalidHandle;
  return true;
}

// A batch file that cannot be replaced (a folder of that name, a file of
// another owner) must not pass for the new one: the run's own file goes too.
bool ReplaceBatchFile(std::uint32_t& code) {
  if (Plat::ReplaceWithFile(BatchWorkName, BatchFileName)) return true;
  code = Plat::LastError();
  Plat::DeleteFileAt(BatchWorkName);
  return false;
}

}  // namespace

std::vector<std::string> BatchFileNames() { return {BatchFileName, BatchWorkName}; }

// Also runs on the ends that cannot write any more (a fatal error being
// reported, a control event): the lines still buffered are written, and a
// failure then stays unreported rather than risk a second end.
void CloseBatchFile() {
  std::uint32_t code = 0;
  if (FinishBatchFile()) ReplaceBatchFile(code);
}

bool PutBatchFileInPlace() {
  RunEndAction = nullptr;
  std::uint32_t code = 0;
  if (!FinishBatchFile() || ReplaceBatchFile(code)) return true;
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteWrappedLine("Warning: batch file not replaced, no new one written:", 1,
                   Looks.Colours.HeadingColour);
  WriteWrappedLine(FullPathOf(BatchFileName), 10, Looks.Colours.HeadingColour);
  WriteWrappedLine(SystemReason(code), 10, Looks.Colours.HeadingColour);
  FWriteFinish();
  return false;
}

void ReportBatchLeftOuts() {
  const BatchLeftOutCounts& leftOut = RunFiles.BatchFile.LeftOut;
  if (leftOut.Total() == 0) return;
  EnsureOutput();
  if (ConsoleEngine.PenColumn > 1) NewLine();
  WriteWrappedLine("Warning: batch file left out " + std::to_string(leftOut.Total()) +
                       " names the command interpreter cannot carry:",
                   1, Looks.Colours.HeadingColour);
  for (int reason = 1; reason < BatchRefusalReasons; ++reason)
    if (leftOut.ByReason[reason] > 0)
      WriteWrappedLine(std::to_string(leftOut.ByReason[reason]) + " with " +
                           LeftOutReason(static_cast<BatchRefusal>(reason)),
                       10, Looks.Colours.HeadingColour);
  FWriteFinish();
}
