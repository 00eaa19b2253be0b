// The batch file's lines: collected in a buffer and written in large pieces;
// the scan flushes after each directory, so a failure can be reported at once
// on a line of its own. The file holds exactly the lines unless they need
// more: delayed expansion is turned off first where a path holds "!", and
// the code page switched to UTF-8 where the ANSI page cannot hold a line.
#include "Engine/Batch/Batch.h"

#include "Base/Utf8.h"
#include "Engine/Batch/BatchFile.h"
#include "RunValues/Options.h"
#include "Platform/CodePages.h"
#include "Platform/Files.h"
#include "Platform/System.h"

namespace {

constexpr std::size_t FlushBytes = 64 * 1024;

constexpr char GuardLines[] = "@setlocal DisableDelayedExpansion\r\n";
// A UTF-8 file also switches the console's code page, and back at its end:
// a page left at UTF-8 would change how the next batch file is read.
constexpr char Utf8Lines[] =
    "@for /f \"tokens=2 delims=:.\" %%p in ('chcp') do @set \"OVBATCHCP=%%p\"\r\n"
    "@chcp 65001 >nul\r\n";
constexpr char Utf8Trailer[] = "@chcp %OVBATCHCP% >nul 2>&1 & set \"OVBATCHCP=\"\r\n";

std::string HeaderFor(bool guarded, bool utf8) {
  std::string header;
  if (guarded) header += GuardLines;
  if (utf8) header += Utf8Lines;
  return header;
}

bool IsAscii(std::string_view text) {
  for (char character : text)
    if (static_cast<unsigned char>(character) >= 0x80) return false;
  return true;
}

// A line in the ANSI code page; false (nothing added) when it cannot hold it.
bool EncodeInAnsi(BatchFileState& file, const std::string& text, std::string& bytes) {
  if (IsAscii(text)) {
    bytes += text;
    return true;
  }
  file.WideScratch.clear();
  for (std::size_t at = 0; at < text.size();) Utf8::AppendUtf16(file.WideScratch, Utf8::Next(text, at));
  const std::size_t start = bytes.size();
  if (Plat::WideToCodePage(Plat::AnsiCodePage(), file.WideScratch, bytes)) return true;
  bytes.resize(start);
  return false;
}

// Reads back what the file holds so far; false (with the code) on failure.
bool ReadBackFile(const std::string& name, std::string& bytes, std::uint32_t& code) {
  Plat::Handle file = Plat::OpenFileForReading(name);
  bool ok = file != Plat::InvalidHandle;
  char piece[16 * 1024];
  std::size_t read = 0;
  while (ok && (ok = Plat::ReadFileBytes(file, piece, sizeof piece, read)) && read > 0)
    bytes.append(piece, read);
  code = ok ? 0 : Plat::LastError();
  if (file != Plat::InvalidHandle) Plat::CloseFile(file);
  return ok;
}

// The first line that needs other first lines has the file read back once,
// its old first lines replaced (and its lines converted to UTF-8, which is
// exact: they came from exact conversions) and written anew. Costs nothing
// until it happens, and at most the file's size twice a run.
void ChangeHeader(BatchFileState& file, bool guarded, bool utf8) {
  const std::string oldHeader = HeaderFor(file.Guarded, file.Utf8);
  const bool converting = utf8 && !file.Utf8;
  file.Guarded = guarded;
  file.Utf8 = utf8;
  if (!file.AnyLine) return;
  std::uint32_t code = 0;
  std::string earlier;
  Plat::CloseFile(file.Handle);
  file.Handle = Plat::InvalidHandle;
  if (!ReadBackFile(file.WorkName, earlier, code))
    return WarnBatchFailure(file, "could not be read back", code);
  earlier += file.Buffer;
  earlier.erase(0, oldHeader.size());
  file.Buffer = HeaderFor(guarded, utf8);
  if (converting)
    file.Buffer += Utf8::FromUtf16(Plat::CodePageToWide(Plat::AnsiCodePage(), earlier));
  else
    file.Buffer += earlier;
  file.Handle = Plat::CreateFileForWriting(file.WorkName);  // the run's own file
  if (file.Handle == Plat::InvalidHandle)
    WarnBatchFailure(file, "could not be created", Plat::LastError());
}

BatchRefusal AddLine(BatchFileState& file, const std::string& text, bool holdsExclamation) {
  std::string& bytes = file.BytesScratch;
  bytes.clear();
  bool utf8 = file.Utf8;
  if (utf8 || !EncodeInAnsi(file, text, bytes)) {
    utf8 = true;
    bytes = text;
  }
  const bool guarded = file.Guarded || holdsExclamation;
  if (guarded != file.Guarded || utf8 != file.Utf8) ChangeHeader(file, guarded, utf8);
  if (file.Failed) return BatchRefusal::None;
  if (!file.AnyLine) file.Buffer += HeaderFor(file.Guarded, file.Utf8);
  file.AnyLine = true;
  file.Buffer += bytes;
  return BatchRefusal::None;
}

}  // namespace

void BatchFile::WriteLine(std::string_view directory, std::string_view longName) {
  BatchFileState& file = state_;
  if (file.Failed) return;
  file.PathScratch.assign(directory).append(longName);
  BatchRefusal refusal = ComposeBatchLine(Options.BatchCommand, file.PathScratch, file.LineScratch);
  if (refusal == BatchRefusal::None && !file.LineScratch.empty())
    refusal = AddLine(file, file.LineScratch, file.PathScratch.find('!') != std::string::npos);
  if (refusal != BatchRefusal::None) {
    ++file.LeftOut.ByReason[static_cast<int>(refusal)];
    return;
  }
  if (file.Buffer.size() >= FlushBytes) Flush();
}

void BatchFile::Flush() {
  std::uint32_t code = 0;
  if (!state_.Failed && !WriteBatchBuffer(state_, code))
    WarnBatchFailure(state_, "could not be written", code);
}

// Adds a UTF-8 file's last line and writes what is buffered; false when the
// file does not hold every line.
bool WriteLastLines(BatchFileState& file, std::uint32_t& code) {
  if (file.Failed) return false;
  if (file.Utf8 && file.AnyLine) file.Buffer += Utf8Trailer;
  return WriteBatchBuffer(file, code);
}

bool WriteBatchBuffer(BatchFileState& file, std::uint32_t& code) {
  code = 0;
  if (file.Handle == Plat::InvalidHandle) return false;
  if (file.Buffer.empty()) return true;
  const bool written = Plat::WriteFileBytes(file.Handle, file.Buffer.data(), file.Buffer.size());
  if (!written) code = Plat::LastError();
  file.Buffer.clear();
  return written;
}
