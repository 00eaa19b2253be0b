// Reading a description file: one line per entry, a name, one blank and the
// description. The file is read in pieces, so a huge or binary file costs no
// more memory than the records kept from it.
#include <algorithm>
#include <string_view>

#include "Base/AsciiCase.h"
#include "Base/Utf8.h"
#include "RunValues/DescriptionAndBatchState.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Platform/CodePages.h"
#include "Platform/Files.h"

namespace {

constexpr std::size_t ReadPieceBytes = 64 * 1024;
// Bytes kept of one line; the rest of an overlong line is dropped.
constexpr std::size_t MaxLineBytes = 1024;
constexpr std::size_t MaxNameChars = 13;
constexpr char EndOfText = 0x1A;  // Ctrl+Z ends the text, as in DOS-era files
// Descriptions that begin with these bytes are the file's own marker lines.
constexpr std::string_view MarkerStart("-\x04Q", 3);

bool IsAscii(std::string_view bytes) {
  for (char byte : bytes)
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  return true;
}

// Bytes of text up to its last whole character: a line cut at its byte limit
// may end inside one.
std::size_t WholeCharacters(std::string_view text) {
  std::size_t start = text.size();
  while (start > 0 && text.size() - start < 4 &&
         (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
    --start;
  if (start == 0) return text.size();
  const auto lead = static_cast<unsigned char>(text[start - 1]);
  const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return text.size() - (start - 1) < needed ? start - 1 : text.size();
}

// The file is plain text in the ANSI code page, or UTF-8 after a byte-order
// mark; the text becomes UTF-8, as everything the program holds.
void DescriptionBytesToText(std::string_view bytes, bool fileIsUtf8, std::string& text) {
  if (fileIsUtf8)
    text.assign(bytes.substr(0, WholeCharacters(bytes)));
  else if (IsAscii(bytes))
    text.assign(bytes);
  else
    text = Utf8::FromUtf16(Plat::CodePageToWide(Plat::AnsiCodePage(), bytes));
}

// Bytes of the first count characters of text.
std::size_t CharactersPrefix(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (; count > 0 && at < text.size(); --count) Utf8::Next(text, at);
  return at;
}

void StoreName(std::string_view line, std::size_t blank, std::string& name) {
  name.assign(blank == std::string_view::npos ? std::string_view() : line.substr(0, blank));
  name.resize(CharactersPrefix(name, MaxNameChars));
  UpperAsciiInPlace(name);
  if (!name.empty() && name.front() == '"') name.erase(0, 1);
}

std::string_view DescriptionPart(std::string_view line, std::size_t blank) {
  std::string_view text = blank == std::string_view::npos ? line : line.substr(blank + 1);
  std::size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) <= 32) ++first;
  return text.substr(first);
}

// One line of text into the next slot unless it is a marker line.
void AcceptLine(std::string_view line, DescriptionTable& table) {
  std::string_view description = DescriptionPart(line, line.find(' '));
  if (description.substr(0, MarkerStart.size()) == MarkerStart) return;
  std::size_t slot = table.TextCount;
  if (table.Pool.size() <= slot) table.Pool.resize(slot + 1);
  if (table.Texts.size() <= slot) table.Texts.resize(slot + 1);
  DescriptionRecord& record = table.Pool[slot];
  StoreName(line, line.find(' '), record.Name);
  record.LineIndex = static_cast<std::int32_t>(slot + 1);
  table.Texts[slot].assign(description);
  table.Index.push_back(static_cast<std::int32_t>(slot));
  table.TextCount = slot + 1;
}

bool PoolFull(const DescriptionTable& table) { return table.TextCount >= DescriptionPoolSlots; }

// One file's reading: the piece being split into lines, the line being put
// together, and what the file's start said of its text.
class DescriptionReader {
 public:
  explicit DescriptionReader(DescriptionTable& table) : table_(table) {}

  // A read error part-way only means the rest of the file has no
  // descriptions; reading stops at the byte limit, and a line it cuts is dropped.
  void ReadLines(Plat::Handle file, std::size_t byteLimit) {
    piece_.resize(ReadPieceBytes);
    std::size_t read = 0, left = byteLimit;
    bool textGoesOn = true;
    while (textGoesOn && !PoolFull(table_) && left > 0 &&
           Plat::ReadFileBytes(file, piece_.data(), std::min(ReadPieceBytes, left), read) &&
           read > 0) {
      left -= std::min(read, left);
      textGoesOn = SplitPiece(std::string_view(piece_.data(), read));
    }
    if (!lineBytes_.empty() && !PoolFull(table_) && left > 0) FinishLine();
  }

 private:
  // The byte-order mark is looked for in the first line, which holds it whole
  // however the file was read.
  void FinishLine() {
    if (!lineBytes_.empty() && lineBytes_.back() == '\r') lineBytes_.pop_back();
    std::string_view line = lineBytes_;
    if (atFileStart_ && Utf8::StartsWithByteOrderMark(line)) {
      fileIsUtf8_ = true;
      line.remove_prefix(3);
    }
    atFileStart_ = false;
    DescriptionBytesToText(line, fileIsUtf8_, lineText_);
    AcceptLine(lineText_, table_);
    lineBytes_.clear();
  }

  void AddToLine(std::string_view bytes) {
    std::size_t room = MaxLineBytes > lineBytes_.size() ? MaxLineBytes - lineBytes_.size() : 0;
    lineBytes_.append(bytes.substr(0, room));
  }

  // Splits one piece into lines; false once the text has ended (Ctrl+Z).
  bool SplitPiece(std::string_view piece) {
    std::size_t end = piece.find(EndOfText);
    bool textGoesOn = end == std::string_view::npos;
    piece = piece.substr(0, end);
    std::size_t start = 0;
    for (std::size_t lineEnd;
         !PoolFull(table_) && (lineEnd = piece.find('\n', start)) != piece.npos;
         start = lineEnd + 1) {
      AddToLine(piece.substr(start, lineEnd - start));
      FinishLine();
    }
    if (start < piece.size()) AddToLine(piece.substr(start));
    return textGoesOn;
  }

  DescriptionTable& table_;
  std::string piece_;         // the piece of the file being split into lines
  std::string lineBytes_;     // a line that continues into the next piece
  std::string lineText_;      // that line as UTF-8
  bool atFileStart_ = true;   // no line of the file has been finished yet
  bool fileIsUtf8_ = false;   // the file began with a UTF-8 byte-order mark
};

// Only a plain file is read: not a link or other reparse point, which may
// lead to a device that never ends.
bool IsRegularFile(const std::string& path) {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(path, 0x37, data);
  if (search == Plat::InvalidHandle) return false;
  Plat::FindEnd(search);
  return (data.Attributes & (Plat::AttrDirectory | Plat::AttrReparsePoint)) == 0;
}

}  // namespace

bool LoadDescriptions(const std::string& path, DescriptionTable& table, std::size_t byteLimit) {
  table.Clear();
  if (!IsRegularFile(path)) return false;
  Plat::Handle file = Plat::OpenFileForReading(path);
  if (file == Plat::InvalidHandle) return false;
  DescriptionReader(table).ReadLines(file, byteLimit);
  Plat::CloseFile(file);
  table.Here = !table.Index.empty();
  return table.Here;
}
