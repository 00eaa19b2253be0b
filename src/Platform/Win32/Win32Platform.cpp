// The real platform: each call maps onto the Win32 call it is named after.
// With Win32SystemPath.cpp, the only code that includes <windows.h>.
#include "Platform/Platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library of the toolchain may have set it already
#define NOMINMAX
#endif
#include <emmintrin.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Base/ByteWords.h"
#include "Base/Utf8.h"

// winuser.h and winreg.h map these names onto the A/W variants; ours are the plain names.
#undef RegDeleteKey
#undef RegDeleteValue

namespace Plat {

namespace {

HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle FromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

FileTime FromFiletime(const FILETIME& time) { return {time.dwLowDateTime, time.dwHighDateTime}; }
FILETIME ToFiletime(const FileTime& time) { return {time.Low, time.High}; }

std::wstring ToWide(std::string_view text) {
  const std::u16string wide = Utf8::ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string FromWide(const wchar_t* text, std::size_t length) {
  return Utf8::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string FromWide(const wchar_t* text) { return FromWide(text, std::wcslen(text)); }

// Copies a name of ASCII units in whole groups of eight, the last group with
// the terminating zero; true when the name was copied whole. Stores of eight
// bytes let the scan read the name back a word at a time without stalling.
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
    if (ends != 0) return true;
  }
  return false;
}

// A NUL-terminated wide name into a UTF-8 buffer; plain ASCII is copied
// directly, as nearly every name is.
template <std::size_t M, std::size_t N>
void NameToUtf8(const wchar_t (&source)[M], char (&target)[N]) {
  std::size_t at = 0;
  if (CopyAsciiName(source, target, std::min(M, N - 1), at)) return;
  for (; source[at] != 0 && at + 1 < N; ++at) {
    if (source[at] >= 0x80) {
      const std::string text = FromWide(source);
      const std::size_t length = std::min(text.size(), N - 1);
      std::memcpy(target, text.data(), length);
      target[length] = '\0';
      return;
    }
    target[at] = static_cast<char>(source[at]);
  }
  target[at] = '\0';
}

void CopyFindData(const WIN32_FIND_DATAW& source, FindData& data) {
  data.Attributes = source.dwFileAttributes;
  data.CreationTime = FromFiletime(source.ftCreationTime);
  data.AccessTime = FromFiletime(source.ftLastAccessTime);
  data.WriteTime = FromFiletime(source.ftLastWriteTime);
  data.SizeHigh = source.nFileSizeHigh;
  data.SizeLow = source.nFileSizeLow;
  NameToUtf8(source.cFileName, data.Name);
  NameToUtf8(source.cAlternateFileName, data.AltName);
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

// The wide form of a path for the file calls.
std::wstring FilePath(const std::string& path) {
  std::wstring wide = ToWide(path);
  if (!NeedsExtendedForm(wide)) return wide;
  if (IsSeparator(wide[0])) return L"\\\\?\\UNC\\" + wide.substr(2);
  return L"\\\\?\\" + wide;
}

}  // namespace

std::uint32_t LastError() { return GetLastError(); }

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

// ---------------------------------------------------------------- plain files

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

std::string SystemErrorText(std::uint32_t code) {
  wchar_t text[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, 512, nullptr);
  std::string result = FromWide(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == ' ' || result.back() == '.'))
    result.pop_back();
  return result;
}

// ---------------------------------------------------------------- volumes and disks

bool VolumeInformation(const std::string& root, VolumeInfo& info) {
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (!GetVolumeInformationW(ToWide(root).c_str(), label, MAX_PATH + 1, &serial, &maxComponent,
                             &flags, fileSystem, MAX_PATH + 1))
    return false;
  info.Label = FromWide(label);
  info.FileSystem = FromWide(fileSystem);
  info.MaxComponentLength = maxComponent;
  info.FileSystemFlags = flags;
  return true;
}

bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceW(ToWide(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters))
    return false;
  geometry = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  return true;
}

namespace {

using DiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                              PULARGE_INTEGER);

struct DiskFreeSpaceExLookup {
  ServiceLookup Result = ServiceLookup::LibraryMissing;
  DiskFreeSpaceExFunction Entry = nullptr;
};

// The first 95-family releases lack the extended call, so it is looked up at
// run time, once.
const DiskFreeSpaceExLookup& DiskFreeSpaceExService() {
  static bool lookedUp = false;
  static DiskFreeSpaceExLookup lookup;
  if (!lookedUp) {
    lookedUp = true;
    const HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
    if (kernel) {
      // Through void(*)(), the one function type every other converts to quietly.
      const auto generic =
          reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetDiskFreeSpaceExW"));
      lookup.Entry = reinterpret_cast<DiskFreeSpaceExFunction>(generic);
      lookup.Result = lookup.Entry ? ServiceLookup::Found : ServiceLookup::EntryMissing;
    }
  }
  return lookup;
}

DiskFreeSpaceExFunction DiskFreeSpaceExEntry() { return DiskFreeSpaceExService().Entry; }

}  // namespace

ServiceLookup LookUpDiskFreeSpaceEx() { return DiskFreeSpaceExService().Result; }

bool DiskFreeSpaceEx(const std::string& root, DiskSpaceEx& space) {
  const DiskFreeSpaceExFunction entry = DiskFreeSpaceExEntry();
  ULARGE_INTEGER freeToCaller, totalBytes, totalFree;
  if (!entry || !entry(ToWide(root).c_str(), &freeToCaller, &totalBytes, &totalFree)) return false;
  space = {freeToCaller.QuadPart, totalBytes.QuadPart, totalFree.QuadPart};
  return true;
}

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

// ---------------------------------------------------------------- system

bool VersionInformation(VersionRec& version) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return false;
  version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
  return true;
}

bool EnableSecurityPrivilege() {
  LUID privilege;
  if (!LookupPrivilegeValueA(nullptr, "SeSecurityPrivilege", &privilege)) return false;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;

  TOKEN_PRIVILEGES request = {};
  request.PrivilegeCount = 1;
  request.Privileges[0].Luid = privilege;
  request.Privileges[0].Attributes = 0;
  TOKEN_PRIVILEGES previous = {};
  DWORD previousSize = sizeof previous;
  bool ok = AdjustTokenPrivileges(token, FALSE, &request, sizeof request, &previous, &previousSize);
  if (ok) {
    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = privilege;
    previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    ok = AdjustTokenPrivileges(token, FALSE, &previous, previousSize, nullptr, nullptr);
  }
  CloseHandle(token);
  return ok;
}

}  // namespace Plat

// The C library's own splitting of the wide command line (the same rules as
// the narrow argv it builds for main).
extern "C" int __wgetmainargs(int* count, wchar_t*** arguments, wchar_t*** environment,
                              int expandWildcards, void* startInfo);

namespace Plat {

// Argument 0 is the program file itself, whatever the user typed to start it.
std::vector<std::string> CommandArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** words = nullptr;
  wchar_t** environment = nullptr;
  int newMode = 0;
  if (__wgetmainargs(&count, &words, &environment, 0, &newMode) >= 0 && words)
    for (int i = 0; i < count; ++i) arguments.push_back(FromWide(words[i]));
  wchar_t module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    if (arguments.empty())
      arguments.push_back(FromWide(module, length));
    else
      arguments.front() = FromWide(module, length);
  }
  return arguments;
}

bool LaunchProgram(const std::string& path, bool maximised) {
  std::wstring commandLine = L"\"" + ToWide(path) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The help viewer lives in USER32, which a normal run never loads: it is
// fetched only when help is asked for.
void ExitProcess(int code) {
  StdOutFlush();
  ::ExitProcess(static_cast<UINT>(code));
}

// ---------------------------------------------------------------- time

namespace {

bool SystemFileTimeToLocal(const FileTime& utc, FileTime& local) {
  const FILETIME in = ToFiletime(utc);
  FILETIME out;
  if (!FileTimeToLocalFileTime(&in, &out)) return false;
  local = FromFiletime(out);
  return true;
}

// The system shifts every stamp by today's bias, whatever the stamp's date, so
// it is asked once per run: under wine each call costs more than a date's text.
struct LocalBiasRec {
  bool Known = false;
  std::int64_t Ticks = 0;  // local less UTC, in 100 ns ticks
};
LocalBiasRec LocalBias;

constexpr std::uint64_t BiasReference = 0x01D0000000000000u;  // a stamp in 2015
constexpr std::uint64_t EdgeRoom = 0x0000100000000000u;       // about 200 days
constexpr std::uint64_t LastStamp = 0x7FFFFFFFFFFFFFFFu;

}  // namespace

bool FileTimeToLocal(const FileTime& utc, FileTime& local) {
  if (!LocalBias.Known) {
    FileTime shifted;
    if (!SystemFileTimeToLocal(FileTimeOfTicks(BiasReference), shifted))
      return SystemFileTimeToLocal(utc, local);
    LocalBias.Ticks = static_cast<std::int64_t>(TicksOf(shifted) - BiasReference);
    LocalBias.Known = true;
  }
  // Stamps near either end of the range keep the system's own handling.
  const std::uint64_t ticks = TicksOf(utc);
  if (ticks < EdgeRoom || ticks > LastStamp - EdgeRoom) return SystemFileTimeToLocal(utc, local);
  local = FileTimeOfTicks(ticks + static_cast<std::uint64_t>(LocalBias.Ticks));
  return true;
}

namespace {

CalendarTime FromSystemTime(const SYSTEMTIME& time) {
  CalendarTime calendar;
  calendar.Year = time.wYear;
  calendar.Month = time.wMonth;
  calendar.DayOfWeek = time.wDayOfWeek;
  calendar.Day = time.wDay;
  calendar.Hour = time.wHour;
  calendar.Minute = time.wMinute;
  calendar.Second = time.wSecond;
  calendar.Milliseconds = time.wMilliseconds;
  return calendar;
}

SYSTEMTIME ToSystemTime(const CalendarTime& calendar) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(calendar.Year);
  time.wMonth = static_cast<WORD>(calendar.Month);
  time.wDayOfWeek = static_cast<WORD>(calendar.DayOfWeek);
  time.wDay = static_cast<WORD>(calendar.Day);
  time.wHour = static_cast<WORD>(calendar.Hour);
  time.wMinute = static_cast<WORD>(calendar.Minute);
  time.wSecond = static_cast<WORD>(calendar.Second);
  time.wMilliseconds = static_cast<WORD>(calendar.Milliseconds);
  return time;
}

}  // namespace

bool FileTimeToCalendar(const FileTime& time, CalendarTime& calendar) {
  const FILETIME in = ToFiletime(time);
  SYSTEMTIME out;
  if (!FileTimeToSystemTime(&in, &out)) return false;
  calendar = FromSystemTime(out);
  return true;
}

CalendarTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FromSystemTime(now);
}

// ---------------------------------------------------------------- locale

namespace {

LCTYPE LocaleType(LocaleItem item) {
  const int index = static_cast<int>(item);
  auto offset = [index](LocaleItem first) { return index - static_cast<int>(first); };
  switch (item) {
    case LocaleItem::ShortDate: return LOCALE_SSHORTDATE;
    case LocaleItem::LongDate: return LOCALE_SLONGDATE;
    case LocaleItem::LongTime: return LOCALE_STIMEFORMAT;
    case LocaleItem::DateSeparator: return LOCALE_SDATE;
    case LocaleItem::TimeSeparator: return LOCALE_STIME;
    case LocaleItem::DateOrder: return LOCALE_IDATE;
    case LocaleItem::AmMarker: return LOCALE_S1159;
    case LocaleItem::PmMarker: return LOCALE_S2359;
    default: break;
  }
  // The day and month names are numbered consecutively in both lists.
  if (item <= LocaleItem::DayName7) return LOCALE_SDAYNAME1 + offset(LocaleItem::DayName1);
  if (item <= LocaleItem::AbbrevDayName7)
    return LOCALE_SABBREVDAYNAME1 + offset(LocaleItem::AbbrevDayName1);
  if (item <= LocaleItem::MonthName12) return LOCALE_SMONTHNAME1 + offset(LocaleItem::MonthName1);
  return LOCALE_SABBREVMONTHNAME1 + offset(LocaleItem::AbbrevMonthName1);
}

// GetDateFormatW with a picture of its own, e.g. "g" for the era.
std::string DatePicture(const CalendarTime& date, const wchar_t* picture) {
  const SYSTEMTIME time = ToSystemTime(date);
  wchar_t text[80] = {};
  const int length = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, picture, text, 80);
  return length > 0 ? FromWide(text) : std::string();
}

}  // namespace

std::string LocaleInfo(LocaleItem item) {
  wchar_t text[256] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LocaleType(item), text, 256);
  return length > 0 ? FromWide(text) : std::string();
}

std::string EraName(const CalendarTime& date) { return DatePicture(date, L"g"); }

int EraYear(const CalendarTime& date) {
  const std::string year = DatePicture(date, L"yyyy");
  return year.empty() ? date.Year : std::atoi(year.c_str());
}

// ---------------------------------------------------------------- code pages

std::uint32_t AnsiCodePage() { return GetACP(); }
std::uint32_t OemCodePage() { return GetOEMCP(); }
std::uint32_t ConsoleOutputCodePage() { return GetConsoleOutputCP(); }

bool WideToCodePage(std::uint32_t codePage, std::u16string_view text, std::string& bytes) {
  if (text.empty()) return true;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int count = static_cast<int>(text.size());
  // UTF-8 holds everything and takes neither flag nor default character.
  const bool utf8 = codePage == CP_UTF8;
  BOOL defaulted = FALSE;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  const char* fallback = utf8 ? nullptr : "?";
  const int length =
      WideCharToMultiByte(codePage, flags, wide, count, nullptr, 0, fallback, usedDefault);
  if (length <= 0) {
    bytes.append(text.size(), '?');
    return false;
  }
  const std::size_t start = bytes.size();
  bytes.resize(start + static_cast<std::size_t>(length));
  WideCharToMultiByte(codePage, flags, wide, count, bytes.data() + start, length, fallback,
                      usedDefault);
  return !defaulted;
}

std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  const int count = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
  if (length <= 0) return std::u16string();
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), count, reinterpret_cast<wchar_t*>(wide.data()),
                      length);
  return wide;
}

// ---------------------------------------------------------------- console

Handle StdHandle(StdStream which) {
  return FromHandle(GetStdHandle(which == StdStream::Input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE));
}

bool ConsoleScreenInfo(Handle output, ScreenInfo& info) {
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (!GetConsoleScreenBufferInfo(AsHandle(output), &screen)) return false;
  info.Columns = screen.dwSize.X;
  info.Rows = screen.dwSize.Y;
  info.CursorColumn = screen.dwCursorPosition.X;
  info.CursorRow = screen.dwCursorPosition.Y;
  info.Attributes = screen.wAttributes;
  return true;
}

static_assert(sizeof(Cell) == sizeof(CHAR_INFO), "a cell has the layout of CHAR_INFO");

bool ConsoleWriteRow(Handle output, const Cell* cells, int count, int column, int row) {
  const COORD size = {static_cast<SHORT>(count), 1};
  const COORD origin = {0, 0};
  SMALL_RECT region = {static_cast<SHORT>(column), static_cast<SHORT>(row),
                       static_cast<SHORT>(column + count - 1), static_cast<SHORT>(row)};
  return WriteConsoleOutputW(AsHandle(output), reinterpret_cast<const CHAR_INFO*>(cells), size,
                             origin, &region);
}

bool ConsoleReadRow(Handle output, Cell* cells, int count, int row) {
  const COORD size = {static_cast<SHORT>(count), 1};
  const COORD origin = {0, 0};
  SMALL_RECT region = {0, static_cast<SHORT>(row), static_cast<SHORT>(count - 1),
                       static_cast<SHORT>(row)};
  return ReadConsoleOutputW(AsHandle(output), reinterpret_cast<CHAR_INFO*>(cells), size, origin,
                            &region);
}

bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow,
                   Cell fill) {
  const SMALL_RECT source = {static_cast<SHORT>(left), static_cast<SHORT>(top),
                             static_cast<SHORT>(right), static_cast<SHORT>(bottom)};
  const COORD destination = {static_cast<SHORT>(left), static_cast<SHORT>(destRow)};
  CHAR_INFO filler;
  filler.Char.UnicodeChar = static_cast<wchar_t>(fill.Char);
  filler.Attributes = fill.Attr;
  return ScrollConsoleScreenBufferW(AsHandle(output), &source, nullptr, destination, &filler);
}

bool ConsoleSetCursor(Handle output, int column, int row) {
  return SetConsoleCursorPosition(AsHandle(output),
                                  {static_cast<SHORT>(column), static_cast<SHORT>(row)});
}

bool ConsoleSetAttribute(Handle output, std::uint16_t attribute) {
  return SetConsoleTextAttribute(AsHandle(output), attribute);
}

bool ConsoleSetProcessedInput(Handle input) {
  return SetConsoleMode(AsHandle(input), ENABLE_PROCESSED_INPUT);
}

bool ConsoleReadKey(Handle input, char& key) {
  DWORD read = 0;
  return ReadConsoleA(AsHandle(input), &key, 1, &read, nullptr) && read == 1;
}

namespace {

ControlHandler InstalledHandler = nullptr;

// The console calls this on a thread of its own for Ctrl+C, Ctrl+Break and
// the like.
BOOL WINAPI ControlTrampoline(DWORD) {
  if (InstalledHandler) InstalledHandler();
  return TRUE;
}

}  // namespace

bool ConsoleSetControlHandler(ControlHandler handler) {
  InstalledHandler = handler;
  return SetConsoleCtrlHandler(ControlTrampoline, TRUE);
}

// ---------------------------------------------------------------- standard output

namespace {

char OutputBuffer[64 * 1024];
std::size_t OutputUsed = 0;

void WriteStdOut(const char* data, std::size_t length) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(output, data, static_cast<DWORD>(length), &written, nullptr) || written == 0)
      return;  // nowhere to report it; the rest is lost as with any broken pipe
    data += written;
    length -= written;
  }
}

}  // namespace

void StdOutWrite(const char* data, std::size_t length) {
  while (length > 0) {
    if (OutputUsed == sizeof OutputBuffer) StdOutFlush();
    const std::size_t part = std::min(length, sizeof OutputBuffer - OutputUsed);
    CopyShort(OutputBuffer + OutputUsed, data, part);  // mostly one line
    OutputUsed += part;
    data += part;
    length -= part;
  }
}

void StdOutFlush() {
  WriteStdOut(OutputBuffer, OutputUsed);
  OutputUsed = 0;
}

// ---------------------------------------------------------------- registry

namespace {

HKEY AsKey(Handle key) { return reinterpret_cast<HKEY>(key); }

// Wide string data becomes UTF-8 bytes, without the terminating NULs.
void StringDataToUtf8(std::vector<std::uint8_t>& data) {
  std::u16string wide(data.size() / 2, u'\0');
  std::memcpy(wide.data(), data.data(), wide.size() * 2);
  while (!wide.empty() && wide.back() == 0) wide.pop_back();
  const std::string text = Utf8::FromUtf16(wide);
  data.assign(text.begin(), text.end());
}

// UTF-8 bytes become wide string data with its terminating NUL.
std::vector<std::uint8_t> StringDataFromUtf8(const std::vector<std::uint8_t>& data) {
  std::u16string wide =
      Utf8::ToUtf16(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  wide.push_back(u'\0');
  std::vector<std::uint8_t> stored(wide.size() * 2);
  std::memcpy(stored.data(), wide.data(), stored.size());
  return stored;
}

RegType TypeOf(DWORD type) {
  switch (type) {
    case REG_DWORD: return RegType::Dword;
    case REG_BINARY: return RegType::Binary;
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    default: return RegType::Other;
  }
}

}  // namespace

Handle RegOpen(const std::string& subKey) {
  const std::size_t start = std::min(subKey.find_first_not_of('\\'), subKey.size());
  HKEY key = nullptr;
  const LONG result =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(subKey.substr(start)).c_str(), 0, KEY_READ, &key);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return InvalidHandle;
  }
  return reinterpret_cast<Handle>(key);
}

void RegClose(Handle key) { RegCloseKey(AsKey(key)); }

bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name) {
  static wchar_t text[16384];  // the longest value name the registry allows
  DWORD length = 16384;
  const LONG result =
      RegEnumValueW(AsKey(key), index, text, &length, nullptr, nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return false;
  }
  name = FromWide(text, length);
  return true;
}

bool RegReadValue(Handle key, const std::string& name, RegType& type,
                  std::vector<std::uint8_t>& data) {
  DWORD rawType = 0;
  DWORD size = 0;
  const std::wstring wideName = ToWide(name);
  LONG result = RegQueryValueExW(AsKey(key), wideName.c_str(), nullptr, &rawType, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) {
    type = RegType::Missing;
    data.clear();
    return true;
  }
  if (result == ERROR_SUCCESS) {
    data.resize(size);
    result = RegQueryValueExW(AsKey(key), wideName.c_str(), nullptr, &rawType, data.data(), &size);
  }
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return false;
  }
  data.resize(size);
  type = TypeOf(rawType);
  if (type == RegType::String || type == RegType::ExpandString) StringDataToUtf8(data);
  return true;
}

Handle RegCreate(const std::string& subKey) {
  const std::size_t start = std::min(subKey.find_first_not_of('\\'), subKey.size());
  HKEY key = nullptr;
  const LONG result =
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, ToWide(subKey.substr(start)).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return InvalidHandle;
  }
  return reinterpret_cast<Handle>(key);
}

bool RegWriteValue(Handle key, const std::string& name, RegType type,
                   const std::vector<std::uint8_t>& data) {
  DWORD rawType = type == RegType::Dword    ? REG_DWORD
                  : type == RegType::Binary ? REG_BINARY
                                            : REG_SZ;
  std::vector<std::uint8_t> stored = data;
  if (rawType == REG_SZ) stored = StringDataFromUtf8(data);
  const LONG result = RegSetValueExW(AsKey(key), ToWide(name).c_str(), 0, rawType, stored.data(),
                                     static_cast<DWORD>(stored.size()));
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteValue(Handle key, const std::string& name) {
  const LONG result = RegDeleteValueW(AsKey(key), ToWide(name).c_str());
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteKey(const std::string& subKey) {
  const std::size_t start = std::min(subKey.find_first_not_of('\\'), subKey.size());
  const LONG result = RegDeleteKeyW(HKEY_LOCAL_MACHINE, ToWide(subKey.substr(start)).c_str());
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

}  // namespace Plat
