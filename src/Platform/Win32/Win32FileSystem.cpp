// The real file system: find-first/next with the names copied to UTF-8, the
// wide and extended-length forms of a path, and the per-file queries.
#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "Platform/Files.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

// Copies a name of ASCII units in whole groups of eight, the last group with
// the terminating zero; true when the name was copied whole, `at` its length.
// No group reads past the limit; false leaves the rest (from `at`) to the caller.
bool CopyAsciiName(const wchar_t* source, char* target, std::size_t limit, std::size_t& at) {
  const __m128i lastAscii = _mm_set1_epi16(0x7F);
  const __m128i zero = _mm_setzero_si128();
  for (at = 0; at + 8 <= limit; at += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at));
    // Signed: a unit of 0x8000 or more is negative, below zero.
    const unsigned outside = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpgt_epi16(units, lastAscii), _mm_cmplt_epi16(units, zero))));
    const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(units, zero)));
    // Two mask bits a unit: the units before the first zero must all be ASCII.
    const unsigned before = ends != 0 ? (ends & (0u - ends)) - 1 : 0xFFFFu;
    if ((outside & before) != 0) return false;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(target + at), _mm_packus_epi16(units, units));
    if (ends != 0) {
      at += static_cast<std::size_t>(std::countr_zero(ends) / 2);
      return true;
    }
  }
  return false;
}

// A NUL-terminated wide name into a UTF-8 buffer, returning its length in
// bytes; plain ASCII is copied directly, as nearly every name is.
template <std::size_t M, std::size_t N>
std::uint16_t NameToUtf8(const wchar_t (&source)[M], char (&target)[N]) {
  static_assert(N <= 0xFFFF, "a name's length fits its field");
  std::size_t at = 0;
  if (CopyAsciiName(source, target, std::min(M, N - 1), at)) return static_cast<std::uint16_t>(at);
  for (; source[at] != 0 && at + 1 < N; ++at) {
    if (source[at] >= 0x80) {
      const std::string text = FromWide(source);
      const std::size_t length = std::min(text.size(), N - 1);
      std::memcpy(target, text.data(), length);
      target[length] = '\0';
      return static_cast<std::uint16_t>(length);
    }
    target[at] = static_cast<char>(source[at]);
  }
  target[at] = '\0';
  return static_cast<std::uint16_t>(at);
}

void CopyFindData(const WIN32_FIND_DATAW& source, FindData& data) {
  data.Attributes = source.dwFileAttributes;
  data.CreationTime = FromFiletime(source.ftCreationTime);
  data.AccessTime = FromFiletime(source.ftLastAccessTime);
  data.WriteTime = FromFiletime(source.ftLastWriteTime);
  data.SizeHigh = source.nFileSizeHigh;
  data.SizeLow = source.nFileSizeLow;
  data.NameLength = NameToUtf8(source.cFileName, data.Name);
  data.AltNameLength = NameToUtf8(source.cAlternateFileName, data.AltName);
}

bool IsSeparator(wchar_t c) { return c == L'\\'; }

bool HasWildcard(std::wstring_view component) {
  return component.find_first_of(L"*?") != std::wstring_view::npos;
}

// The path services drop a trailing dot or blank of every component and stop
// at 260 characters; the extended-length form turns both off. It is only safe
// for a full path without "." or ".." components, which it would not resolve.
bool NeedsExtendedForm(std::wstring_view path) {
  const bool driveAbsolute = path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
  const bool unc = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
                   path[2] != L'?' && path[2] != L'.';
  if ((!driveAbsolute && !unc) || path.find(L'/') != std::wstring_view::npos) return false;
  bool alteredComponent = false;
  std::size_t start = unc ? 2 : 3;
  while (start <= path.size()) {
    std::size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring_view component = path.substr(start, end - start);
    if (component == L"." || component == L"..") return false;
    const bool last = end == path.size();
    if (!component.empty() && (component.back() == L'.' || component.back() == L' ') &&
        !(last && HasWildcard(component)))
      alteredComponent = true;
    start = end + 1;
  }
  return alteredComponent || path.size() >= MAX_PATH - 12;
}

}  // namespace

std::wstring FilePath(const std::string& path) {
  std::wstring wide = ToWide(path);
  if (!NeedsExtendedForm(wide)) return wide;
  if (IsSeparator(wide[0])) return L"\\\\?\\UNC\\" + wide.substr(2);
  return L"\\\\?\\" + wide;
}

// ---------------------------------------------------------------- find-file

Handle FindFirst(const std::string& pattern, std::uint32_t, FindData& data) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(FilePath(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return InvalidHandle;
  CopyFindData(found, data);
  return FromHandle(search);
}

bool FindNext(Handle search, FindData& data) {
  WIN32_FIND_DATAW found;
  if (!FindNextFileW(AsHandle(search), &found)) return false;
  CopyFindData(found, data);
  return true;
}

void FindEnd(Handle search) { FindClose(AsHandle(search)); }

// ---------------------------------------------------------------- paths and per-file queries

bool FullPathName(const std::string& path, std::string& full) {
  const std::wstring wide = ToWide(path);
  // Already full: the service would only drop what must be kept.
  if (NeedsExtendedForm(wide)) {
    full = path;
    return true;
  }
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    wchar_t* filePart = nullptr;
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
    if (length == 0) return false;
    if (length < buffer.size()) {
      full = FromWide(buffer.data(), length);
      return true;
    }
    buffer.resize(length);  // too small: length is the size needed, NUL included
  }
}

namespace {

// The handle's path without the "\\?\" (or "\\?\UNC\") the call puts first.
bool FinalPathOf(HANDLE handle, std::string& path) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), 0);
    if (length == 0) return false;
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length);  // too small: length is the size needed, NUL included
  }
  std::wstring_view view(buffer);
  if (view.starts_with(L"\\\\?\\UNC\\")) {
    path = "\\\\" + FromWide(view.data() + 8, view.size() - 8);
    return true;
  }
  if (view.starts_with(L"\\\\?\\")) view.remove_prefix(4);
  path = FromWide(view.data(), view.size());
  return true;
}

}  // namespace

bool FinalFolderPath(const std::string& folder, std::string& final) {
  const HANDLE handle =
      CreateFileW(FilePath(folder).c_str(), FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool named = FinalPathOf(handle, final);
  CloseHandle(handle);
  return named;
}

OutputTarget OutputFile(std::string& path) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE || GetFileType(output) != FILE_TYPE_DISK)
    return OutputTarget::Elsewhere;
  return FinalPathOf(output, path) ? OutputTarget::NamedFile : OutputTarget::UnnamedFile;
}

bool CompressedFileSize(const std::string& path, std::uint64_t& size) {
  DWORD high = 0;
  SetLastError(NO_ERROR);  // all-ones low part is also a valid size
  const DWORD low = GetCompressedFileSizeW(FilePath(path).c_str(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  size = (static_cast<std::uint64_t>(high) << 32) | low;
  return true;
}

bool FileOwnerName(const std::string& path, std::string& account) {
  // Reused across calls: the owner column asks once per listed file.
  static std::vector<unsigned char> descriptor;
  DWORD needed = 0;
  const std::wstring file = FilePath(path);
  GetFileSecurityW(file.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed == 0) return false;
  if (descriptor.size() < needed) descriptor.resize(needed);
  if (!GetFileSecurityW(file.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), needed,
                        &needed))
    return false;
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || !owner) return false;
  wchar_t name[99] = {};
  wchar_t domain[99] = {};
  DWORD nameLength = 99, domainLength = 99;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, owner, name, &nameLength, domain, &domainLength, &use))
    return false;
  account = FromWide(name);
  return true;
}

}  // namespace Plat
