// Simulated platform: virtual drives and directories, find-first/next with
// the DOS wildcard rules of the Win32 call, full-path resolution, and the
// per-file and per-volume queries.
#include <new>
#include <algorithm>

#include "Base/ByteWords.h"
#include "Base/Utf8.h"
#include "Platform/Sim/SimWorld.h"

using namespace Sim::Detail;

namespace {

constexpr std::uint32_t ErrorBadNetPath = 53;
constexpr std::uint32_t ErrorNotReady = 21;
constexpr std::uint32_t ErrorInvalidHandle = 6;

// ---------------------------------------------------------------- paths

bool IsUnc(const std::string& path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool HasDrive(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

std::string JoinPath(const std::string& directory, const std::string& name) {
  return directory.back() == '\\' ? directory + name : directory + "\\" + name;
}

std::vector<std::string> SplitComponents(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\\', start), text.size());
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// ---------------------------------------------------------------- directory records

DirectoryRec& EnsureRoot(char letter) {
  World& world = TheWorld();
  letter = UpperChar(letter);
  if (!world.Drives.count(letter)) {
    Sim::Drive drive;
    drive.Letter = letter;
    world.Drives[letter] = drive;
  }
  const std::string root = std::string(1, letter) + ":\\";
  DirectoryRec& record = world.Directories[root];
  if (!record.IsRoot) {
    record.IsRoot = true;
    record.Path = root;
    record.Self.Attributes = Plat::AttrDirectory;
  }
  return record;
}

const Sim::Entry* FindEntry(const DirectoryRec& directory, const std::string& name) {
  const std::string key = Upper(name);
  auto found = directory.ByName.find(key);
  if (found != directory.ByName.end()) return &directory.Entries[found->second];
  found = directory.ByAlias.find(key);
  if (found != directory.ByAlias.end()) return &directory.Entries[found->second];
  return nullptr;
}

DirectoryRec* ChildDirectory(const DirectoryRec& parent, const Sim::Entry& entry) {
  auto& directories = TheWorld().Directories;
  const auto found = directories.find(Upper(JoinPath(parent.Path, entry.Name)));
  return found == directories.end() ? nullptr : &found->second;
}

// Adds an entry, or replaces the one of the same long name in place; a
// directory entry gets its own (empty) directory record.
DirectoryRec& PutEntry(DirectoryRec& directory, const Sim::Entry& entry) {
  const std::string key = Upper(entry.Name);
  const auto existing = directory.ByName.find(key);
  std::size_t position = directory.Entries.size();
  if (existing != directory.ByName.end()) {
    position = existing->second;
    directory.Entries[position] = entry;
  } else {
    directory.Entries.push_back(entry);
    directory.ByName[key] = position;
  }
  if (!entry.Alias.empty()) directory.ByAlias[Upper(entry.Alias)] = position;
  if (!(entry.Attributes & Plat::AttrDirectory)) return directory;

  const std::string childPath = JoinPath(directory.Path, entry.Name);
  DirectoryRec& child = TheWorld().Directories[Upper(childPath)];
  child.Path = childPath;
  child.Self = entry;
  return child;
}

// The directory record of a full path such as "C:\A\B" or "C:\A\B\"; each
// component may be a long name or an alias.
DirectoryRec* LookUpDirectory(const std::string& fullPath) {
  World& world = TheWorld();
  if (!HasDrive(fullPath) || !world.Drives.count(UpperChar(fullPath[0]))) return nullptr;
  DirectoryRec* current = &EnsureRoot(fullPath[0]);
  for (const std::string& part : SplitComponents(fullPath.substr(2))) {
    const Sim::Entry* entry = FindEntry(*current, part);
    if (!entry || !(entry->Attributes & Plat::AttrDirectory)) return nullptr;
    current = ChildDirectory(*current, *entry);
    if (!current) return nullptr;
  }
  return current;
}

// The entry a full file path names, or null.
const Sim::Entry* LookUpFile(const std::string& path) {
  std::string full;
  if (!Plat::FullPathName(path, full)) return nullptr;
  const std::size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 == full.size()) return nullptr;
  const DirectoryRec* directory = LookUpDirectory(full.substr(0, slash + 1));
  return directory ? FindEntry(*directory, full.substr(slash + 1)) : nullptr;
}

std::string DirectoryKey(const std::string& fullPath) {
  std::string key = Upper(fullPath);
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

// ---------------------------------------------------------------- wildcards

// The find-file call translates a mask into these DOS wildcard codes: "*"
// followed by "." stops at the last dot, and "." before a wildcard or at the
// end also matches the end of the name. "?" is one character of any kind (as
// on the test machines; NT proper also lets it match nothing at a dot or the end).
constexpr int Star = 256, DosStar = 257, AnyChar = 258, DosDot = 259;

std::vector<int> TranslateMask(const std::string& mask) {
  if (mask == "*.*") return {Star};
  std::vector<int> codes;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
    switch (mask[i]) {
      case '?': codes.push_back(AnyChar); break;
      case '*':
        // A star right after a star adds nothing, and a run of them would
        // cost the match a row each.
        if (codes.empty() || codes.back() != Star) codes.push_back(next == '.' ? DosStar : Star);
        break;
      case '.': codes.push_back((next == '?' || next == '*' || next == '\0') ? DosDot : '.'); break;
      default: codes.push_back(static_cast<unsigned char>(UpperChar(mask[i])));
    }
  }
  return codes;
}

// "?" takes a whole UTF-8 character.
bool IsLeadByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }
std::size_t SequenceLength(const std::string& name, std::size_t at) {
  std::size_t end = at + 1;
  while (end < name.size() && !IsLeadByte(name[end])) ++end;
  return end - at;
}

bool LiteralMatches(const std::vector<int>& mask, const std::string& name) {
  if (name.size() != mask.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (static_cast<unsigned char>(UpperChar(name[i])) != mask[i]) return false;
  return true;
}

// A mask of stars, "?" and literals alone: the greedy match, which only ever
// goes back to the last star. From a given byte each piece between stars
// matches in one way, ending no sooner for a later start, so the first place
// a piece fits is the best one: linear for the masks that are not long runs
// of stars and pieces.
bool GreedyMatches(const std::vector<int>& mask, const std::string& name) {
  constexpr std::size_t None = static_cast<std::size_t>(-1);
  std::size_t i = 0, j = 0, star = None, starByte = 0;
  while (j < name.size()) {
    if (i < mask.size() && mask[i] == Star) {
      star = i++;
      starByte = j;
    } else if (i < mask.size() && mask[i] == AnyChar && IsLeadByte(name[j])) {
      ++i;
      j += SequenceLength(name, j);
    } else if (i < mask.size() && mask[i] < Star &&
               static_cast<unsigned char>(UpperChar(name[j])) == mask[i]) {
      ++i;
      ++j;
    } else if (star != None) {
      i = star + 1;
      j = ++starByte;
    } else {
      return false;
    }
  }
  while (i < mask.size() && mask[i] == Star) ++i;
  return i == mask.size();
}

// Table-driven match (no backtracking blow-up); the table is reused across calls.
bool MaskMatches(const std::vector<int>& mask, const std::string& name) {
  if (mask.size() == 1 && mask[0] == Star) return true;  // "*" and "*.*", the usual search
  if (std::all_of(mask.begin(), mask.end(), [](int code) { return code < Star; }))
    return LiteralMatches(mask, name);  // one name looked up: no table over a large folder
  // Each literal and each "?" takes at least one byte: a longer mask cannot match.
  const auto takesByte = [](int code) { return code < Star || code == AnyChar; };
  if (static_cast<std::size_t>(std::count_if(mask.begin(), mask.end(), takesByte)) > name.size())
    return false;
  if (std::none_of(mask.begin(), mask.end(),
                   [](int code) { return code == DosStar || code == DosDot; }))
    return GreedyMatches(mask, name);
  std::vector<char>& table = TheWorld().MaskTable;
  const std::size_t p = mask.size();
  const std::size_t n = name.size();
  table.assign((p + 1) * (n + 1), 0);
  auto at = [&](std::size_t i, std::size_t j) -> char& { return table[i * (n + 1) + j]; };
  const std::size_t lastDot = name.rfind('.');
  at(p, n) = 1;
  for (std::size_t i = p; i-- > 0;) {
    for (std::size_t j = n + 1; j-- > 0;) {
      const bool more = j < n;
      bool matched = false;
      switch (mask[i]) {
        case Star: matched = at(i + 1, j) || (more && at(i, j + 1)); break;
        case DosStar:
          matched = at(i + 1, j) ||
                    (more && (lastDot == std::string::npos || j < lastDot) && at(i, j + 1));
          break;
        case AnyChar:
          matched = more && IsLeadByte(name[j]) && at(i + 1, j + SequenceLength(name, j));
          break;
        case DosDot: matched = !more ? at(i + 1, j) : (name[j] == '.' && at(i + 1, j + 1)); break;
        default:
          matched =
              more && static_cast<unsigned char>(UpperChar(name[j])) == mask[i] && at(i + 1, j + 1);
      }
      at(i, j) = matched;
    }
  }
  return at(0, 0);
}

// ---------------------------------------------------------------- find data

// As the system does, at most 259 characters of a name are handed over;
// returns the bytes copied.
std::uint16_t CopyCut(char* target, std::size_t capacity, const std::string& text) {
  constexpr int MaxCharacters = 259;
  std::size_t length = 0;
  if (text.size() <= MaxCharacters)  // no more characters than bytes
    length = text.size();
  else
    for (int characters = 0; length < text.size() && characters < MaxCharacters; ++characters)
      Utf8::Next(text, length);
  length = std::min(length, capacity - 1);
  CopyShort(target, text.data(), length);
  target[length] = '\0';
  return static_cast<std::uint16_t>(length);
}

// Field by field: clearing the whole record would cost more than the rest of a search step.
void FillFindData(const Sim::Entry& entry, const std::string& name, Plat::FindData& data) {
  data.Attributes = entry.Attributes;
  data.CreationTime = entry.Creation;
  data.AccessTime = entry.Access;
  data.WriteTime = entry.Write;
  data.SizeHigh = static_cast<std::uint32_t>(entry.Size >> 32);
  data.SizeLow = static_cast<std::uint32_t>(entry.Size);
  data.NameLength = CopyCut(data.Name, sizeof data.Name, name);
  // "." and ".." are handed over under their own names, without an alias.
  static const std::string noAlias;
  data.AltNameLength =
      CopyCut(data.AltName, sizeof data.AltName, &name == &entry.Name ? entry.Alias : noAlias);
}

// Delivers the next matching entry of a search; false at the end.
bool Advance(SearchRec& search, Plat::FindData& data) {
  const DirectoryRec& directory = *search.Directory;
  for (; search.Next < 0; ++search.Next) {
    const std::string dots = search.Next == -2 ? "." : "..";
    if (!MaskMatches(search.Mask, dots)) continue;
    Sim::Entry self = directory.Self;
    self.Attributes = Plat::AttrDirectory;
    self.Alias.clear();
    FillFindData(self, dots, data);
    ++search.Next;
    return true;
  }
  while (static_cast<std::size_t>(search.Next) < directory.Entries.size()) {
    const Sim::Entry& entry = directory.Entries[search.Next++];
    if (MaskMatches(search.Mask, entry.Name) ||
        (!entry.Alias.empty() && MaskMatches(search.Mask, entry.Alias))) {
      FillFindData(entry, entry.Name, data);
      return true;
    }
  }
  return false;
}

}  // namespace

// ================================================================ control API

namespace Sim {

void AddDrive(const Drive& drive) {
  Drive stored = drive;
  stored.Letter = UpperChar(drive.Letter);
  TheWorld().Drives[stored.Letter] = stored;
  EnsureRoot(stored.Letter);
}

void AddDirectory(const std::string& path, std::uint32_t attributes) {
  if (!HasDrive(path)) return;
  DirectoryRec* current = &EnsureRoot(path[0]);
  const std::vector<std::string> parts = SplitComponents(path.substr(2));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    const Entry* existing = FindEntry(*current, parts[i]);
    DirectoryRec* child = existing ? ChildDirectory(*current, *existing) : nullptr;
    if (child && !last) {
      current = child;
      continue;
    }
    Entry entry = existing ? *existing : Entry();
    if (!existing) entry.Name = parts[i];
    entry.Attributes = (last ? attributes : Plat::AttrDirectory) | Plat::AttrDirectory;
    current = &PutEntry(*current, entry);
  }
}

void AddEntry(const std::string& directory, const Entry& entry) {
  DirectoryRec* record = LookUpDirectory(directory);
  if (!record) {
    AddDirectory(directory);
    record = LookUpDirectory(directory);
  }
  if (record) PutEntry(*record, entry);
}

void AddFile(const std::string& directory, const std::string& name, std::uint64_t size,
             Plat::FileTime time) {
  Entry entry;
  entry.Name = name;
  entry.Size = size;
  entry.Creation = entry.Access = entry.Write = time;
  AddEntry(directory, entry);
}

void ControlEventAtFind(int findsBefore) { TheWorld().FindsBeforeControlEvent = findsBefore; }

void FailFindFirst(const std::string& pattern, std::uint32_t code) {
  TheWorld().FailedPatterns[Upper(pattern)] = code;
}

void FailDirectory(const std::string& directory, std::uint32_t code) {
  std::string full;
  if (!Plat::FullPathName(directory, full)) full = directory;
  TheWorld().FailedDirectories[DirectoryKey(full)] = code;
}

void SetWorkingDirectory(const std::string& path) {
  std::string directory = path;
  while (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
  if (directory.size() == 2 && directory[1] == ':') directory += '\\';
  TheWorld().WorkingDirectory = directory;
}

}  // namespace Sim

// ================================================================ platform calls

namespace Plat {

Handle FindFirst(const std::string& text, std::uint32_t, FindData& data) {
  // The system reads the pattern up to its first NUL.
  const std::string pattern = text.substr(0, text.find('\0'));
  Sim::Detail::CountSearchStart(pattern);
  Sim::Detail::PauseBeforeFind();
  bool fire = false;
  {
    const auto lock = LockWorld();
    int& left = TheWorld().FindsBeforeControlEvent;
    fire = left >= 0 && left-- == 0;
  }
  if (fire) Sim::FireControlEvent();
  const auto lock = LockWorld();
  World& world = TheWorld();
  const auto failedPattern = world.FailedPatterns.find(Upper(pattern));
  if (failedPattern != world.FailedPatterns.end()) {
    Fail(failedPattern->second);
    return InvalidHandle;
  }
  std::string path = pattern;
  std::size_t split = path.find_last_of("\\:");
  const std::string last = split == std::string::npos ? path : path.substr(split + 1);
  if ((last == "." || last == "..") && FullPathName(pattern, path)) {
    // The real call resolves these first and so finds the directory itself.
    split = path.find_last_of('\\');
  }
  const std::string directoryPart = split == std::string::npos ? "" : path.substr(0, split + 1);
  const std::string mask = split == std::string::npos ? path : path.substr(split + 1);

  std::string directoryPath;
  if (IsUnc(pattern) || !FullPathName(directoryPart.empty() ? "." : directoryPart, directoryPath)) {
    Fail(IsUnc(pattern) ? ErrorBadNetPath : ErrorPathNotFound);
    return InvalidHandle;
  }
  const auto failedDirectory = world.FailedDirectories.find(DirectoryKey(directoryPath));
  if (failedDirectory != world.FailedDirectories.end()) {
    if (failedDirectory->second == Sim::RunsOutOfMemory) throw std::bad_alloc();
    Fail(failedDirectory->second);
    return InvalidHandle;
  }
  const DirectoryRec* directory = LookUpDirectory(directoryPath);
  if (!directory) {
    Fail(ErrorPathNotFound);
    return InvalidHandle;
  }
  SearchRec search;
  search.Directory = directory;
  search.Mask = TranslateMask(mask);
  search.Next = directory->IsRoot ? 0 : -2;
  if (mask.empty() || !Advance(search, data)) {
    Fail(ErrorFileNotFound);
    return InvalidHandle;
  }
  const Handle handle = world.NextHandle++;
  world.Searches[handle] = search;
  return handle;
}

bool FindNext(Handle search, FindData& data) {
  Sim::Detail::PauseBeforeFind();
  const auto lock = LockWorld();
  auto& searches = TheWorld().Searches;
  const auto found = searches.find(search);
  if (found == searches.end()) return Sim::Detail::Fail(ErrorInvalidHandle);
  return Advance(found->second, data) ? true : Sim::Detail::Fail(ErrorNoMoreFiles);
}

void FindEnd(Handle search) {
  const auto lock = LockWorld();
  TheWorld().Searches.erase(search);
}

bool VolumeInformation(const std::string& root, VolumeInfo& info) {
  const auto lock = LockWorld();
  const auto& drives = TheWorld().Drives;
  const auto found = HasDrive(root) ? drives.find(UpperChar(root[0])) : drives.end();
  if (found == drives.end()) return Sim::Detail::Fail(ErrorPathNotFound);
  const Sim::Drive& drive = found->second;
  if (drive.VolumeQueryFails) return Sim::Detail::Fail(ErrorNotReady);
  info.Label = drive.Label;
  info.FileSystem = drive.FileSystem;
  info.MaxComponentLength = drive.MaxComponentLength;
  info.FileSystemFlags = drive.FileSystemFlags;
  return true;
}

namespace {

// The drive a root names, after the free-space error rules; null on failure.
const Sim::Drive* DriveForSpaceQuery(const std::string& root) {
  const auto& drives = TheWorld().Drives;
  const auto found = HasDrive(root) ? drives.find(UpperChar(root[0])) : drives.end();
  if (found == drives.end()) {
    Sim::Detail::Fail(ErrorPathNotFound);
    return nullptr;
  }
  if (found->second.FreeSpaceError != 0) {
    Sim::Detail::Fail(found->second.FreeSpaceError);
    return nullptr;
  }
  return &found->second;
}

}  // namespace

bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry) {
  const auto lock = LockWorld();
  const Sim::Drive* drive = DriveForSpaceQuery(root);
  if (!drive) return false;
  geometry = drive->Geometry;
  return true;
}

// The first 95-family builds lack the extended free-space service.
ServiceLookup LookUpDiskFreeSpaceEx() {
  const auto lock = LockWorld();
  const World& world = TheWorld();
  if (!world.KernelLibraryPresent) return ServiceLookup::LibraryMissing;
  const bool firstWin95 = world.Version.PlatformId == 1 && (world.Version.Build & 0xFFFF) <= 1000;
  return world.FreeSpaceExPresent && !firstWin95 ? ServiceLookup::Found
                                                 : ServiceLookup::EntryMissing;
}

bool DiskFreeSpaceEx(const std::string& root, DiskSpaceEx& space) {
  const auto lock = LockWorld();
  const Sim::Drive* drive = DriveForSpaceQuery(root);
  if (!drive) return false;
  if (!drive->HasFreeSpaceEx) return Sim::Detail::Fail(ErrorNotReady);
  space = drive->SpaceEx;
  if (space.TotalBytes == 0) {
    // Nothing configured: answer consistently with the drive's geometry.
    const std::uint64_t cluster =
        std::uint64_t{drive->Geometry.SectorsPerCluster} * drive->Geometry.BytesPerSector;
    space.FreeToCaller = space.TotalFree = cluster * drive->Geometry.FreeClusters;
    space.TotalBytes = cluster * drive->Geometry.TotalClusters;
  }
  return true;
}

static bool IsFullAndNeedsNoResolving(const std::string& path) {
  if (!HasDrive(path) || path.size() < 3 || path[2] != '\\' || path.find('/') != std::string::npos)
    return false;
  for (const std::string& part : SplitComponents(path.substr(3)))
    if (part == "." || part == "..") return false;
  return true;
}

bool FinalFolderPath(const std::string& folder, std::string& final) {
  const auto lock = LockWorld();
  std::string full;
  if (!FullPathName(folder, full)) return false;
  const DirectoryRec* directory = LookUpDirectory(full);
  if (directory == nullptr) return Sim::Detail::Fail(ErrorPathNotFound);
  final = directory->Path;
  return true;
}

OutputTarget OutputFile(std::string& path) {
  const auto lock = LockWorld();
  const World& world = TheWorld();
  if (world.OutputFile.empty()) return OutputTarget::Elsewhere;
  if (world.OutputFileUnnamed || !FullPathName(world.OutputFile, path))
    return OutputTarget::UnnamedFile;
  return OutputTarget::NamedFile;
}

// Mimics GetFullPathNameW: relative and drive-relative forms resolve against
// the working directory, "." and ".." collapse, trailing dots and blanks of
// each component go, a trailing backslash stays. UNC paths pass through.
bool FullPathName(const std::string& path, std::string& full) {
  const auto lock = LockWorld();
  if (path.empty()) return Sim::Detail::Fail(ErrorInvalidName);
  // A text of blanks alone fails without a code, as under wine.
  if (path.find_first_not_of(' ') == std::string::npos) return Sim::Detail::Fail(0);
  // A full path the wide call would have to alter is taken as it is.
  if (IsFullAndNeedsNoResolving(path)) {
    full = path;
    return true;
  }
  std::string text = path;
  std::replace(text.begin(), text.end(), '/', '\\');
  if (IsUnc(text)) {
    full = text;
    return true;
  }
  const std::string& cwd = TheWorld().WorkingDirectory;  // "C:\" or "C:\DIR"
  std::string root = cwd.substr(0, 3);
  std::string rest;
  if (HasDrive(text)) {
    root = text.substr(0, 2) + "\\";
    if (text.size() >= 3 && text[2] == '\\') {
      rest = text.substr(3);
    } else {
      const bool sameDrive = UpperChar(text[0]) == UpperChar(cwd[0]);
      rest = (sameDrive ? cwd.substr(3) : "") + "\\" + text.substr(2);
    }
  } else if (text[0] == '\\') {
    rest = text.substr(1);
  } else {
    rest = cwd.substr(3) + "\\" + text;
  }

  std::vector<std::string> kept;
  bool lastVanished = false;  // "x\..." keeps its backslash, as the real call does
  for (std::string part : SplitComponents(rest)) {
    lastVanished = false;
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty()) {
      lastVanished = true;
      continue;
    }
    kept.push_back(part);
  }
  full = root;
  for (std::size_t i = 0; i < kept.size(); ++i) full += (i ? "\\" : "") + kept[i];
  if (!kept.empty() && (text.back() == '\\' || lastVanished)) full += '\\';
  return true;
}

bool CompressedFileSize(const std::string& path, std::uint64_t& size) {
  const auto lock = LockWorld();
  const Sim::Entry* entry = LookUpFile(path);
  if (!entry) return Sim::Detail::Fail(ErrorFileNotFound);
  if (entry->Compressed < 0) return Sim::Detail::Fail(ErrorAccessDenied);
  size = static_cast<std::uint64_t>(entry->Compressed);
  return true;
}

bool FileOwnerName(const std::string& path, std::string& account) {
  const auto lock = LockWorld();
  const Sim::Entry* entry = LookUpFile(path);
  if (!entry) return Sim::Detail::Fail(ErrorFileNotFound);
  if (entry->Owner.empty()) return Sim::Detail::Fail(ErrorAccessDenied);
  account = entry->Owner;
  return true;
}

}  // namespace Plat
