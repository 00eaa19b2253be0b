// Directory entries as a listing holds them: each record names its texts by
// address in the one text buffer of its listing (DirectoryListing.h).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Base/UninitialisedBytes.h"
#include "RunValues/Options.h"
#include "Platform/Files.h"

// A text of an entry. While a directory is read and filtered its buffer still
// grows, so the text is a place in it; once the buffer is settled it becomes
// an address (Settle). An address and a length with no padding (8 bytes on a
// 32-bit system, 12 on a 64-bit one): the word is kept as bytes.
class EntryText {
 public:
  // A place in the buffer that is still growing.
  void Place(std::size_t offset, std::size_t length) {
    std::memcpy(Word, &offset, sizeof offset);
    Length = static_cast<std::uint32_t>(length);
  }
  std::size_t Offset() const {
    std::size_t word;
    std::memcpy(&word, Word, sizeof word);
    return word;
  }
  // The place becomes its address in the settled buffer.
  void Settle(const char* base) {
    const char* text = base + Offset();
    std::memcpy(Word, &text, sizeof text);
  }
  operator std::string_view() const { return {data(), Length}; }
  operator std::string() const { return std::string(data(), Length); }
  const char* data() const {
    const char* text;
    std::memcpy(&text, Word, sizeof text);
    return text;
  }
  std::size_t size() const { return Length; }
  bool empty() const { return Length == 0; }
  friend bool operator==(const EntryText& a, std::string_view b) {
    return std::string_view(a) == b;
  }

 private:
  static_assert(sizeof(std::size_t) == sizeof(const char*));
  unsigned char Word[sizeof(std::size_t)] = {};
  std::uint32_t Length = 0;
};
static_assert(sizeof(EntryText) == sizeof(std::size_t) + 4);

// A directory holds one record an entry, so they are packed to 4-byte
// alignment: 52 bytes on a 32-bit system (56 with the size's usual alignment),
// 56 on x86_64. The read makes these records (the long name and the
// alias after it); the filter keeps the accepted ones in place and adds, where
// a column needs them, the short name followed by the date texts.
#pragma pack(push, 4)
struct FileEntry {
  std::int64_t Size = 0;         // bytes
  EntryText Name;                // long name (with /F: directory + name), UTF-8, never cut
  std::uint32_t Attributes = 0;  // every attribute bit the file system reports
  Plat::FileTime AccessTime;     // UTC; Time(LastAccess)
  Plat::FileTime CreationTime;   // UTC; Time(Creation)
  Plat::FileTime WriteTime;      // UTC; Time(LastWrite)
  std::uint32_t ExtraStart = 0;  // bytes from Name to the short name, the date texts after it
  std::uint8_t ShortLength = 0;  // the read's alias length; after the filter, the short name's
  std::array<std::uint8_t, 3> TimeLength{};  // bytes of each stamp's date text (0: none)

  // 8.3 alias, or the first 12 cells of Name (UTF-8); empty when unused.
  std::string_view ShortName() const { return {Name.data() + ExtraStart, ShortLength}; }
  // Date text of a shown stamp (kind 1..3), formatted by the filter; empty if none.
  std::string_view TimeText(int kind) const {
    const std::size_t start = ExtraStart + ShortLength + (kind > 1 ? TimeLength[0] : 0) +
                              (kind > 2 ? TimeLength[1] : 0);
    return {Name.data() + start, TimeLength[static_cast<std::size_t>(kind - 1)]};
  }
  // The time stamp of a TimeStampKind (1..3).
  const Plat::FileTime& Time(int kind) const {
    return kind == LastAccess ? AccessTime : kind == Creation ? CreationTime : WriteTime;
  }
  bool IsDirectory() const { return (Attributes & Plat::AttrDirectory) != 0; }
};
#pragma pack(pop)
static_assert(sizeof(FileEntry) == 44 + sizeof(EntryText));

constexpr int MaxShortNameCells = 12;
