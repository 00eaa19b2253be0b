#include "Engine/Scan/DirectoryRead.h"

#include <algorithm>

#include "Base/ByteWords.h"
#include "Base/ReadStop.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Scan/ScanEnumeration.h"

namespace {

// A stop is looked for once per this many entries: often enough to end
// promptly, seldom enough to cost nothing.
constexpr std::size_t StopCheckInterval = 256;

// A read ahead on a worker keeps within the read-ahead's budget: it asks
// before a buffer grows, and once per StopCheckInterval entries for what the
// names of the subdirectories found take. The walk's own reads ask nothing.
struct ReadPass {
  const ReadStop* Stop = nullptr;
  std::size_t SubdirectoryBytes = 0;

  std::size_t Bytes(const DirectoryRead& read) const {
    return read.Entries.capacity() * sizeof(ReadEntry) + read.Texts.capacity() +
           read.Searches.capacity() * sizeof(SearchResult) +
           read.Subdirectories.capacity() * sizeof(std::string) + SubdirectoryBytes;
  }
  // False when the read must give up rather than take more bytes.
  bool Room(const DirectoryRead& read, std::size_t more) const {
    return Stop == nullptr || Stop->Hold(Bytes(read) + more);
  }
  bool GiveUp(const DirectoryRead& read, std::size_t entries) const {
    return Stop != nullptr && entries % StopCheckInterval == 0 &&
           (Stop->Requested() || !Room(read, 0));
  }
};

// What a vector's next push_back adds, when it must grow (doubling, as the
// standard library's vectors do); records grow by a block.
template <typename Item>
std::size_t GrowthOf(const std::vector<Item>& items) {
  return items.size() < items.capacity() ? 0 : std::max<std::size_t>(items.capacity(), 1) * sizeof(Item);
}
template <typename Item>
std::size_t GrowthOf(const RecordBlocks<Item>& items) {
  return items.GrowthBytes();
}

// Under a walk, a search that delivers every entry also yields the
// subdirectories, in the same order as a second search would.
bool DeliversEveryEntry(const std::string& path, bool ownMatcher) {
  // /R masks select entries through the program's matcher: keep the system's pass.
  if (ownMatcher) return false;
  std::string_view mask(path);
  mask.remove_prefix(mask.find_last_of('\\') + 1);
  return mask == "*" || mask == "*.*";
}

bool GatherSubdirectory(const std::string& directory, const Plat::FindData& data,
                        ReadPass& pass, DirectoryRead& read) {
  if (!IsWalkedInto(data)) return true;
  if (!pass.Room(read, GrowthOf(read.Subdirectories))) return false;
  read.Subdirectories.push_back(directory);
  read.Subdirectories.back().append(data.Name, data.NameLength);
  pass.SubdirectoryBytes += read.Subdirectories.back().capacity();
  return true;
}

// Always the system's enumeration: /R masks select entries, not directories to visit.
void GatherSubdirectories(const std::string& directory, ReadPass& pass, DirectoryRead& read) {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(directory + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) return;
  std::size_t seen = 0;
  while (GatherSubdirectory(directory, data, pass, read) && !pass.GiveUp(read, ++seen) &&
         Plat::FindNext(search, data)) {
  }
  Plat::FindEnd(search);
}

// Names are copied straight into room kept from earlier reads; the room grows
// in large steps, so a name costs no more than its bytes.
bool AppendText(DirectoryRead& read, const ReadPass& pass, const char* text, std::size_t length) {
  if (read.TextsUsed + length > read.Texts.size()) {
    const std::size_t size = std::max(2 * read.Texts.size(), read.TextsUsed + length + 4096);
    if (!pass.Room(read, size - read.Texts.capacity())) return false;
    read.Texts.resize(size);
  }
  CopyShort(read.Texts.data() + read.TextsUsed, text, length);
  read.TextsUsed += length;
  return true;
}

bool AppendEntry(const Plat::FindData& data, bool aliases, const ReadPass& pass,
                 DirectoryRead& read) {
  if (!pass.Room(read, GrowthOf(read.Entries))) return false;
  ReadEntry& entry = read.Entries.emplace_back();
  entry.Attributes = data.Attributes;
  entry.AccessTime = data.AccessTime;
  entry.CreationTime = data.CreationTime;
  entry.WriteTime = data.WriteTime;
  entry.Size = ByteCountOf((static_cast<std::uint64_t>(data.SizeHigh) << 32) | data.SizeLow);
  entry.Name.Place(read.TextsUsed, data.NameLength);
  if (!AppendText(read, pass, data.Name, data.NameLength)) return false;
  if (!aliases) return true;
  entry.ShortLength = static_cast<std::uint8_t>(data.AltNameLength);
  return AppendText(read, pass, data.AltName, entry.ShortLength);
}

// One entry into the read; false when the read gives up.
bool TakeEntry(const ReadRequest& request, const Plat::FindData& data, bool gatherSubdirectories,
               ReadPass& pass, DirectoryRead& read) {
  if (gatherSubdirectories && !GatherSubdirectory(request.Directory, data, pass, read)) return false;
  return AppendEntry(data, request.Aliases, pass, read);
}

void ReadSearch(const ReadRequest& request, const std::string& path, bool gatherSubdirectories,
                ReadPass& pass, DirectoryRead& read) {
  Plat::FindData data;
  Enumeration search;
  search.OwnMatcher = request.OwnMatcher;
  SearchResult& result = read.Searches.emplace_back();
  result.Code = EnumerateFirst(search, path, data);
  result.InvalidMaskPosition = search.Matching.InvalidMaskPosition;
  if (read.FirstError == 0) read.FirstError = result.Code;
  if (result.Code == 0) {
    while (TakeEntry(request, data, gatherSubdirectories, pass, read) &&
           !pass.GiveUp(read, read.Entries.size()) && EnumerateNext(search, data)) {
    }
    EnumerateClose(search);
  }
  result.EntriesEnd = read.Entries.size();
}

}  // namespace

void ReadDirectory(const ReadRequest& request, DirectoryRead& read, const ReadStop* stop) {
  read.Entries.clear();
  read.TextsUsed = 0;
  read.Searches.clear();
  read.Subdirectories.clear();
  read.FirstError = 0;
  const bool fromFirstSearch = request.Subdirectories && !request.Paths.empty() &&
                               DeliversEveryEntry(request.Paths.front(), request.OwnMatcher);
  ReadPass pass{stop};
  for (std::size_t index = 0; index < request.Paths.size(); ++index)
    ReadSearch(request, request.Paths[index], fromFirstSearch && index == 0, pass, read);
  if (request.Subdirectories && !fromFirstSearch) GatherSubdirectories(request.Directory, pass, read);
}

DirectoryRead ReadDirectory(const ReadRequest& request) {
  DirectoryRead read;
  ReadDirectory(request, read);
  return read;
}
