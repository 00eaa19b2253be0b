// Files and find: find-first/next, plain files, full path names and the
// per-file queries (compressed size, owner).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Platform/Basics.h"

namespace Plat {

// WIN32_FIND_DATAW, trimmed to what the program reads, names in UTF-8.
struct FindData {
  std::uint32_t Attributes = 0;
  FileTime CreationTime;
  FileTime AccessTime;
  FileTime WriteTime;
  std::uint32_t SizeHigh = 0;
  std::uint32_t SizeLow = 0;
  char Name[1024] = {};   // long name, NUL-terminated (260 UTF-16 units, 3 bytes each at most)
  char AltName[48] = {};  // 8.3 alias, empty when the long name is a valid 8.3 name
  // Bytes before each name's NUL, filled with the names: nobody measures them again.
  std::uint16_t NameLength = 0;
  std::uint16_t AltNameLength = 0;
};

// Attribute bits.
constexpr std::uint32_t AttrReadOnly = 0x01;
constexpr std::uint32_t AttrHidden = 0x02;
constexpr std::uint32_t AttrSystem = 0x04;
constexpr std::uint32_t AttrDirectory = 0x10;
constexpr std::uint32_t AttrArchive = 0x20;
constexpr std::uint32_t AttrReparsePoint = 0x400;  // symbolic links and junctions

// FindFirstFileW: returns InvalidHandle on failure (code in LastError()).
// attributeSet is the DOS-style search attribute set the caller asks for (0x37);
// the Win32 call ignores it and so do both implementations.
Handle FindFirst(const std::string& pattern, std::uint32_t attributeSet, FindData& data);
// FindNextFileW: false at the end or on error (code in LastError()).
bool FindNext(Handle search, FindData& data);
// FindClose.
void FindEnd(Handle search);

// ---------------------------------------------------------------- plain files

// CreateFileW on an existing file for reading (shared); a directory fails.
// InvalidHandle on failure (code in LastError()).
Handle OpenFileForReading(const std::string& path);
// CreateFileW with CREATE_ALWAYS for writing: replaces a file of that name.
Handle CreateFileForWriting(const std::string& path);
// CreateFileW with CREATE_NEW for writing: fails when anything, a link
// included, has the name already.
Handle CreateNewFileForWriting(const std::string& path);
// MoveFileExW with MOVEFILE_REPLACE_EXISTING: whatever has the name `to`, a
// link included, is replaced by the file itself (never written through).
bool ReplaceWithFile(const std::string& from, const std::string& to);
// DeleteFileW: false on failure (code in LastError()).
bool DeleteFileAt(const std::string& path);
// ReadFile into buffer; read = 0 at the end of the file. False on error.
bool ReadFileBytes(Handle file, char* buffer, std::size_t capacity, std::size_t& read);
// WriteFile of all the bytes; false when not all were written (code in LastError()).
bool WriteFileBytes(Handle file, const char* data, std::size_t length);
// CloseHandle of a file opened above.
bool CloseFile(Handle file);

// ---------------------------------------------------------------- paths and per-file queries

// GetFullPathNameW against the current working directory; an absolute path that
// needs no normalisation comes back unchanged (trailing dots and blanks kept).
bool FullPathName(const std::string& path, std::string& full);

// GetFinalPathNameByHandleW of a folder: its path as the system names it
// (long names, no "\\?\" prefix), whatever path reached it; false when it
// cannot be named.
bool FinalFolderPath(const std::string& folder, std::string& final);
// Where standard output goes: a file on a disk, named as above when the
// system can (wine cannot for a file the shell opened), or elsewhere.
enum class OutputTarget { Elsewhere, NamedFile, UnnamedFile };
OutputTarget OutputFile(std::string& path);

// GetCompressedFileSizeW: false when the call reports failure.
bool CompressedFileSize(const std::string& path, std::uint64_t& size);

// Owner account name of a file (GetFileSecurityW, GetSecurityDescriptorOwner,
// LookupAccountSidW on the local system); false on any failure.
bool FileOwnerName(const std::string& path, std::string& account);

}  // namespace Plat
