// The line composed as plain text: one byte per cell, so a line of ASCII is
// written as it stands; characters that are not ASCII keep their cell.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Base/ByteWords.h"
#include "RunValues/RunEnd.h"
#include "Console/ConsoleInternal.h"
#include "Console/Console.h"

namespace {

constexpr std::size_t LineBreakRoom = 2;  // "\r\n" after the last cell

// Cells of the line up to its last that is not blank.
std::size_t TrimmedLength(const std::string& bytes, std::size_t used) {
  while (used > 0 && bytes[used - 1] == ' ') --used;
  return used;
}

// Copies a word of bytes (eight or four) when all are ASCII; returns false,
// copying nothing, when one is not. Sets high bits in `controls` where a byte
// is below 32 or DEL (in a word of ASCII bytes, only 127 carries into the high
// bit when 1 is added).
template <typename Word>
bool CopyAsciiWord(const char* from, char* to, std::uint64_t& controls) {
  constexpr auto ones = static_cast<Word>(ByteWords::Ones);
  constexpr auto high = static_cast<Word>(ByteWords::HighBits);
  Word word;
  std::memcpy(&word, from, sizeof word);
  if ((word & high) != 0) return false;
  std::memcpy(to, &word, sizeof word);
  controls |= ((word - ones * 32) & ~word & high) | ((word + ones) & high);
  return true;
}

void ReplaceControls(const char* bytes, std::size_t count, char* out) {
  for (std::size_t k = 0; k < count; ++k) {
    const auto byte = static_cast<unsigned char>(bytes[k]);
    if (byte < 32 || byte == 127) out[k] = byte == 0 ? ' ' : '?';
  }
}

}  // namespace

// Eight bytes at a time, the last eight overlapping what was copied (four
// and four for a shorter text): a field is short, and a call to copy it would
// cost more than the copy.
bool StorePlainAscii(const char* bytes, std::size_t count, std::size_t at) {
  char* out = ConsoleEngine.PlainBytes.data() + at;
  std::uint64_t controls = 0;
  if (count >= 8) {
    for (std::size_t k = 0; k + 8 < count; k += 8)
      if (!CopyAsciiWord<std::uint64_t>(bytes + k, out + k, controls)) return false;
    if (!CopyAsciiWord<std::uint64_t>(bytes + count - 8, out + count - 8, controls)) return false;
  } else if (count >= 4) {
    if (!CopyAsciiWord<std::uint32_t>(bytes, out, controls) ||
        !CopyAsciiWord<std::uint32_t>(bytes + count - 4, out + count - 4, controls))
      return false;
  } else {
    for (std::size_t k = 0; k < count; ++k) {
      const auto byte = static_cast<unsigned char>(bytes[k]);
      if (byte >= 0x80) return false;
      out[k] = bytes[k];
      if (byte < 32 || byte == 127) controls = 1;
    }
  }
  if (controls != 0) ReplaceControls(bytes, count, out);
  return true;
}

void WritePlainLine() {
  ConsoleEngineState& engine = ConsoleEngine;
  std::string& bytes = engine.PlainBytes;
  const std::size_t length = TrimmedLength(bytes, static_cast<std::size_t>(engine.LineUsed));
  // With NUL-ended names nothing filters the output after the program (the
  // Linux wrapper's --null): its lines end in LF alone.
  const std::string_view lineEnd = engine.BareNames.NulEnds ? "\n" : "\r\n";
  if (!engine.PlainHasMarks) {
    // The break goes in the spare room, so the line is one write without a copy.
    std::memcpy(bytes.data() + length, lineEnd.data(), lineEnd.size());
    WritePlainOutput(bytes.data(), length + lineEnd.size());
  } else {
    std::string& converted = engine.ConvertedLine;
    PlainLineText(bytes.data(), engine.LineBuffer.data(), length, converted);
    converted.resize(TrimmedLength(converted, converted.size()));
    converted += lineEnd;
    WritePlainOutput(converted.data(), converted.size());
  }
  DiscardLine();
}

// While bare names go to other programs, standard output takes names only:
// every other line (a folder that could not be read, an error) is for the
// person, on standard error.
void WritePlainOutput(const char* data, std::size_t length) {
  if (ConsoleEngine.NamesForPrograms) {
    Plat::StdErrWrite(data, length);
    return;
  }
  if (!Plat::StdOutWrite(data, length)) EndProgram(ExitCode::Failed);
}

void FlushPlainOutput() {
  if (!Plat::StdOutFlush()) EndProgram(ExitCode::Failed);
}

// Plain text reads only the marked cells of the line buffer, each written
// before it is marked, so the cells grown need no blank: zeroed is quicker.
void GrowPlainLine(std::size_t cells) {
  ConsoleEngine.LineBuffer.resize(cells);
  ConsoleEngine.PlainBytes.resize(cells + LineBreakRoom, ' ');
}

void ClearPlainLine() {
  ConsoleEngineState& engine = ConsoleEngine;
  const std::size_t size = engine.LineBuffer.size() + LineBreakRoom;
  const std::size_t used = static_cast<std::size_t>(engine.LineUsed) + LineBreakRoom;
  FillShort(engine.PlainBytes.data(), ' ', std::min(used, engine.PlainBytes.size()));
  engine.PlainBytes.resize(size, ' ');
  engine.PlainHasMarks = false;
}
