#include "Engine/Scan/DirectoryRead.h"

#include <algorithm>

#include "Base/ByteWords.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Walk/ReadAheadQueue.h"

namespace {

// A stop is looked for once per this many entries: often enough to end
// promptly, seldom enough to cost nothing.
constexpr std::size_t StopCheckInterval = 256;

bool StopRequested(const ReadStop* stop, std::size_t entries) {
  return stop != nullptr && entries % StopCheckInterval == 0 && stop->Requested();
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

void GatherSubdirectory(const std::string& directory, const Plat::FindData& data,
                        DirectoryRead& read) {
  if (!IsWalkedInto(data)) return;
  read.Subdirectories.push_back(directory);
  read.Subdirectories.back().append(data.Name, data.NameLength);
}

// Always the system's enumeration: /R masks select entries, not directories to visit.
void GatherSubdirectories(const std::string& directory, const ReadStop* stop, DirectoryRead& read) {
  Plat::FindData data;
  Plat::Handle search = Plat::FindFirst(directory + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) return;
  std::size_t seen = 0;
  do {
    GatherSubdirectory(directory, data, read);
  } while (!StopRequested(stop, ++seen) && Plat::FindNext(search, data));
  Plat::FindEnd(search);
}

// Names are copied straight into room kept from earlier reads; the room grows
// in large steps, so a name costs no more than its bytes.
void AppendText(DirectoryRead& read, const char* text, std::size_t length) {
  if (read.TextsUsed + length > read.Texts.size())
    read.Texts.resize(std::max(2 * read.Texts.size(), read.TextsUsed + length + 4096));
  CopyShort(read.Texts.data() + read.TextsUsed, text, length);
  read.TextsUsed += length;
}

void AppendEntry(const Plat::FindData& data, bool aliases, DirectoryRead& read) {
  ReadEntry& entry = read.Entries.emplace_back();
  entry.Attributes = data.Attributes;
  entry.AccessTime = data.AccessTime;
  entry.CreationTime = data.CreationTime;
  entry.WriteTime = data.WriteTime;
  entry.Size = ByteCountOf((static_cast<std::uint64_t>(data.SizeHigh) << 32) | data.SizeLow);
  entry.Name.Place(read.TextsUsed, data.NameLength);
  AppendText(read, data.Name, data.NameLength);
  if (!aliases) return;
  entry.ShortLength = static_cast<std::uint8_t>(data.AltNameLength);
  AppendText(read, data.AltName, entry.ShortLength);
}

void ReadSearch(const ReadRequest& request, const std::string& path, bool gatherSubdirectories,
                const ReadStop* stop, DirectoryRead& read) {
  Plat::FindData data;
  Enumeration search;
  search.OwnMatcher = request.OwnMatcher;
  SearchResult& result = read.Searches.emplace_back();
  result.Code = EnumerateFirst(search, path, data);
  result.InvalidMaskPosition = search.Matching.InvalidMaskPosition;
  if (read.FirstError == 0) read.FirstError = result.Code;
  if (result.Code == 0) {
    do {
      if (gatherSubdirectories) GatherSubdirectory(request.Directory, data, read);
      AppendEntry(data, request.Aliases, read);
    } while (!StopRequested(stop, read.Entries.size()) && EnumerateNext(search, data));
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
  for (std::size_t index = 0; index < request.Paths.size(); ++index)
    ReadSearch(request, request.Paths[index], fromFirstSearch && index == 0, stop, read);
  if (request.Subdirectories && !fromFirstSearch)
    GatherSubdirectories(request.Directory, stop, read);
}

DirectoryRead ReadDirectory(const ReadRequest& request) {
  DirectoryRead read;
  ReadDirectory(request, read);
  return read;
}
