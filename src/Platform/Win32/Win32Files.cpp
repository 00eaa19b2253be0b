// Plain files on the real system, read and written in whole calls.
#include <algorithm>

#include "Platform/Files.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

Handle OpenFileForReading(const std::string& path) {
  const HANDLE file =
      CreateFileW(FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return file == INVALID_HANDLE_VALUE ? InvalidHandle : FromHandle(file);
}

Handle CreateFileForWriting(const std::string& path) {
  const HANDLE file = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? InvalidHandle : FromHandle(file);
}

Handle CreateNewFileForWriting(const std::string& path) {
  const HANDLE file = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? InvalidHandle : FromHandle(file);
}

bool ReplaceWithFile(const std::string& from, const std::string& to) {
  return MoveFileExW(FilePath(from).c_str(), FilePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool DeleteFileAt(const std::string& path) { return DeleteFileW(FilePath(path).c_str()) != 0; }

bool ReadFileBytes(Handle file, char* buffer, std::size_t capacity, std::size_t& read) {
  DWORD got = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
  const bool ok = ReadFile(AsHandle(file), buffer, wanted, &got, nullptr) != 0;
  read = ok ? got : 0;
  return ok;
}

// WriteFile may take fewer bytes than offered; a call that takes none (a full
// disk) is a failure with its own code.
bool WriteFileBytes(Handle file, const char* data, std::size_t length) {
  while (length > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (!WriteFile(AsHandle(file), data, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    data += written;
    length -= written;
  }
  return true;
}

bool CloseFile(Handle file) { return CloseHandle(AsHandle(file)) != 0; }

}  // namespace Plat
