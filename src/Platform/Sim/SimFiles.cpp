// Simulated platform: plain files held in memory, for the description file
// the program reads and the batch file it writes.
#include <algorithm>

#include "Base/MessageInserts.h"
#include "Platform/Sim/SimWorld.h"

using namespace Sim::Detail;

namespace {

constexpr std::uint32_t ErrorInvalidHandle = 6;
constexpr std::uint32_t ErrorDiskFull = 112;
constexpr std::uint32_t ErrorFileExists = 80;

std::string FileKey(const std::string& path) {
  std::string full;
  if (!Plat::FullPathName(path, full)) full = path;
  return Upper(full);
}

bool IsDirectory(const std::string& key) { return TheWorld().Directories.count(key) > 0; }

OpenFileRec* OpenFile(Plat::Handle file) {
  auto found = TheWorld().OpenFiles.find(file);
  return found == TheWorld().OpenFiles.end() ? nullptr : &found->second;
}

Plat::Handle NewFileHandle(const std::string& key, bool writing) {
  World& world = TheWorld();
  const Plat::Handle handle = world.NextHandle++;
  world.OpenFiles[handle] = OpenFileRec{key, 0, writing};
  return handle;
}

}  // namespace

// The file shows in its directory listing as well, as a real one would.
void Sim::Detail::ShowInDirectory(const std::string& path, std::size_t size) {
  const auto lock = LockWorld();
  std::string full;
  if (!Plat::FullPathName(path, full)) return;
  const std::size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos ||
      !IsDirectory(Upper(slash < 3 ? full.substr(0, 3) : full.substr(0, slash))))
    return;
  Sim::AddFile(full.substr(0, slash < 3 ? 3 : slash), full.substr(slash + 1), size);
}

namespace Sim {

void SetFileContents(const std::string& path, const std::string& bytes) {
  TheWorld().FileContents[FileKey(path)] = bytes;
  ShowInDirectory(path, bytes.size());
}

std::string FileContents(const std::string& path) {
  const auto& files = TheWorld().FileContents;
  const auto found = files.find(FileKey(path));
  return found == files.end() ? std::string() : found->second;
}

bool FileExists(const std::string& path) { return TheWorld().FileContents.count(FileKey(path)); }

void FailFileCreate(const std::string& path, std::uint32_t code) {
  TheWorld().FailedCreates[FileKey(path)] = code;
}

void FailFileRead(const std::string& path, std::uint32_t code) {
  TheWorld().FailedReads[FileKey(path)] = code;
}

void SetWriteRoom(std::size_t bytes) { TheWorld().WriteRoom = bytes; }
void SetReadChunkLimit(std::size_t bytes) { TheWorld().ReadChunkLimit = bytes; }

}  // namespace Sim

namespace Plat {

Handle OpenFileForReading(const std::string& path) {
  const auto lock = LockWorld();
  const std::string key = FileKey(path);
  if (IsDirectory(key)) {
    Fail(ErrorAccessDenied);
    return InvalidHandle;
  }
  if (!TheWorld().FileContents.count(key)) {
    Fail(ErrorFileNotFound);
    return InvalidHandle;
  }
  return NewFileHandle(key, false);
}

Handle CreateFileForWriting(const std::string& path) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  const std::string key = FileKey(path);
  const auto failed = world.FailedCreates.find(key);
  if (failed != world.FailedCreates.end() || IsDirectory(key)) {
    Fail(failed != world.FailedCreates.end() ? failed->second : ErrorAccessDenied);
    return InvalidHandle;
  }
  world.FileContents[key].clear();
  world.FileNames[key] = path;
  ShowInDirectory(path, 0);
  return NewFileHandle(key, true);
}

Handle CreateNewFileForWriting(const std::string& path) {
  if (TheWorld().FileContents.count(FileKey(path))) {
    Fail(ErrorFileExists);
    return InvalidHandle;
  }
  return CreateFileForWriting(path);
}

bool ReplaceWithFile(const std::string& from, const std::string& to) {
  auto& files = TheWorld().FileContents;
  const auto found = files.find(FileKey(from));
  if (found == files.end()) return Fail(ErrorFileNotFound);
  if (IsDirectory(FileKey(to))) return Fail(ErrorAccessDenied);
  std::string bytes = std::move(found->second);
  files.erase(found);
  Sim::SetFileContents(to, bytes);
  return true;
}

bool DeleteFileAt(const std::string& path) {
  if (TheWorld().FileContents.erase(FileKey(path)) == 0) return Fail(ErrorFileNotFound);
  return true;
}

bool ReadFileBytes(Handle file, char* buffer, std::size_t capacity, std::size_t& read) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  read = 0;
  OpenFileRec* open = OpenFile(file);
  if (!open || open->Writing) return Fail(ErrorInvalidHandle);
  const auto failed = world.FailedReads.find(open->Key);
  if (failed != world.FailedReads.end() && open->Position > 0) return Fail(failed->second);
  const std::string& bytes = world.FileContents[open->Key];
  read = std::min(
      {capacity, bytes.size() - std::min(open->Position, bytes.size()), world.ReadChunkLimit});
  bytes.copy(buffer, read, open->Position);
  open->Position += read;
  return true;
}

bool WriteFileBytes(Handle file, const char* data, std::size_t length) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  OpenFileRec* open = OpenFile(file);
  if (!open || !open->Writing) return Fail(ErrorInvalidHandle);
  const std::size_t taken = std::min(length, world.WriteRoom);
  std::string& contents = world.FileContents[open->Key];
  contents.append(data, taken);
  world.WriteRoom -= taken;
  ShowInDirectory(world.FileNames[open->Key], contents.size());
  return taken == length ? true : Fail(ErrorDiskFull);
}

bool CloseFile(Handle file) {
  const auto lock = LockWorld();
  return TheWorld().OpenFiles.erase(file) > 0 ? true : Fail(ErrorInvalidHandle);
}

// A few of the system's texts as its table holds them, enough to tell them
// from the program's own.
static std::string SystemTableText(std::uint32_t code) {
  switch (code) {
    case ErrorFileNotFound: return "The system cannot find the file specified";
    case ErrorAccessDenied: return "Access is denied";
    case 32:
      return "The process cannot access the file because it is being used by another process.";
    case 123: return "The filename, directory name, or volume label syntax is incorrect";
    case 193: return "%1 is not a valid Win32 application.";
    case 206: return "The filename or extension is too long";
    case 1921: return "The name of the file cannot be resolved by the system";
    case ErrorDiskFull: return "There is not enough space on the disk";
    default: return {};
  }
}

std::string SystemErrorText(std::uint32_t code, const std::string& subject) {
  std::string text = FillMessageInserts(SystemTableText(code), subject);
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace Plat
