// The real platform: each call maps onto the Win32 call it is named after.
// With Win32SystemPath.cpp, the only code that includes <windows.h>.
#include "Platform/Platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library of the toolchain may have set it already
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

// winuser.h and winreg.h map these names onto the A/W variants; ours are the plain names.
#undef CharToOem
#undef RegDeleteKey
#undef RegDeleteValue

namespace Plat {

namespace {

HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle FromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

FileTime FromFiletime(const FILETIME& time) { return {time.dwLowDateTime, time.dwHighDateTime}; }
FILETIME ToFiletime(const FileTime& time) { return {time.Low, time.High}; }

void CopyFindData(const WIN32_FIND_DATAA& source, FindData& data) {
  data.Attributes = source.dwFileAttributes;
  data.CreationTime = FromFiletime(source.ftCreationTime);
  data.AccessTime = FromFiletime(source.ftLastAccessTime);
  data.WriteTime = FromFiletime(source.ftLastWriteTime);
  data.SizeHigh = source.nFileSizeHigh;
  data.SizeLow = source.nFileSizeLow;
  static_assert(sizeof data.Name == sizeof source.cFileName);
  static_assert(sizeof data.AltName == sizeof source.cAlternateFileName);
  std::memcpy(data.Name, source.cFileName, sizeof data.Name);
  std::memcpy(data.AltName, source.cAlternateFileName, sizeof data.AltName);
  data.Name[sizeof data.Name - 1] = '\0';
  data.AltName[sizeof data.AltName - 1] = '\0';
}

}  // namespace

std::uint32_t LastError() { return GetLastError(); }

// ---------------------------------------------------------------- find-file

Handle FindFirst(const std::string& pattern, std::uint32_t, FindData& data) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return InvalidHandle;
  CopyFindData(found, data);
  return FromHandle(search);
}

bool FindNext(Handle search, FindData& data) {
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(AsHandle(search), &found)) return false;
  CopyFindData(found, data);
  return true;
}

void FindEnd(Handle search) { FindClose(AsHandle(search)); }

// ---------------------------------------------------------------- plain files

Handle OpenFileForReading(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return file == INVALID_HANDLE_VALUE ? InvalidHandle : FromHandle(file);
}

Handle CreateFileForWriting(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
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
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == ' ' || result.back() == '.'))
    result.pop_back();
  return result;
}

// ---------------------------------------------------------------- volumes and disks

bool VolumeInformation(const std::string& root, VolumeInfo& info) {
  char label[MAX_PATH + 1] = {};
  char fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (!GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, &maxComponent, &flags,
                             fileSystem, sizeof fileSystem))
    return false;
  info.Label = label;
  info.FileSystem = fileSystem;
  info.MaxComponentLength = maxComponent;
  info.FileSystemFlags = flags;
  return true;
}

bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters))
    return false;
  geometry = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  return true;
}

namespace {

using DiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
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
          reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetDiskFreeSpaceExA"));
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
  if (!entry || !entry(root.c_str(), &freeToCaller, &totalBytes, &totalFree)) return false;
  space = {freeToCaller.QuadPart, totalBytes.QuadPart, totalFree.QuadPart};
  return true;
}

bool FullPathName(const std::string& path, std::string& full) {
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    char* filePart = nullptr;
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
    if (length == 0) return false;
    if (length < buffer.size()) {
      full.assign(buffer.data(), length);
      return true;
    }
    buffer.resize(length);  // too small: length is the size needed, NUL included
  }
}

bool CompressedFileSize(const std::string& path, std::uint64_t& size) {
  DWORD high = 0;
  SetLastError(NO_ERROR);  // all-ones low part is also a valid size
  const DWORD low = GetCompressedFileSizeA(path.c_str(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  size = (static_cast<std::uint64_t>(high) << 32) | low;
  return true;
}

bool FileOwnerName(const std::string& path, std::string& account) {
  // Reused across calls: the owner column asks once per listed file.
  static std::vector<unsigned char> descriptor;
  DWORD needed = 0;
  GetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed == 0) return false;
  if (descriptor.size() < needed) descriptor.resize(needed);
  if (!GetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), needed,
                        &needed))
    return false;
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || !owner) return false;
  char name[99] = {};
  char domain[99] = {};
  DWORD nameLength = sizeof name, domainLength = sizeof domain;
  SID_NAME_USE use;
  if (!LookupAccountSidA(nullptr, owner, name, &nameLength, domain, &domainLength, &use))
    return false;
  account = name;
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

// Argument 0 is the program file itself, whatever the user typed to start it.
std::vector<std::string> CommandArguments() {
  std::vector<std::string> arguments;
  for (int i = 0; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  char module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    if (arguments.empty())
      arguments.emplace_back(module);
    else
      arguments.front() = module;
  }
  return arguments;
}

bool LaunchProgram(const std::string& path, bool maximised) {
  // Quoted, so that a program directory with blanks starts the right program.
  const std::string command = "\"" + path + "\"";
  return WinExec(command.c_str(), maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL) > 31;
}

bool ShowHelpFile(const std::string& path) {
  return WinHelpA(nullptr, path.c_str(), HELP_FINDER, 0);
}

void ExitProcess(int code) {
  StdOutFlush();
  ::ExitProcess(static_cast<UINT>(code));
}

// ---------------------------------------------------------------- time

bool FileTimeToLocal(const FileTime& utc, FileTime& local) {
  const FILETIME in = ToFiletime(utc);
  FILETIME out;
  if (!FileTimeToLocalFileTime(&in, &out)) return false;
  local = FromFiletime(out);
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

// GetDateFormatA with a picture of its own, e.g. "g" for the era.
std::string DatePicture(const CalendarTime& date, const char* picture) {
  const SYSTEMTIME time = ToSystemTime(date);
  char text[80] = {};
  const int length = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, picture, text, sizeof text);
  return length > 0 ? std::string(text) : std::string();
}

}  // namespace

std::string LocaleInfo(LocaleItem item) {
  char text[256] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LocaleType(item), text, sizeof text);
  return length > 0 ? std::string(text) : std::string();
}

std::string EraName(const CalendarTime& date) { return DatePicture(date, "g"); }

int EraYear(const CalendarTime& date) {
  const std::string year = DatePicture(date, "yyyy");
  return year.empty() ? date.Year : std::atoi(year.c_str());
}

// ---------------------------------------------------------------- code pages

void CharToOem(char* text, std::size_t length) {
  CharToOemBuffA(text, text, static_cast<DWORD>(length));
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
  return WriteConsoleOutputA(AsHandle(output), reinterpret_cast<const CHAR_INFO*>(cells), size,
                             origin, &region);
}

bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow,
                   Cell fill) {
  const SMALL_RECT source = {static_cast<SHORT>(left), static_cast<SHORT>(top),
                             static_cast<SHORT>(right), static_cast<SHORT>(bottom)};
  const COORD destination = {static_cast<SHORT>(left), static_cast<SHORT>(destRow)};
  CHAR_INFO filler;
  filler.Char.AsciiChar = fill.Char;
  filler.Attributes = fill.Attr;
  return ScrollConsoleScreenBufferA(AsHandle(output), &source, nullptr, destination, &filler);
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
    std::memcpy(OutputBuffer + OutputUsed, data, part);
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
  const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str() + start, 0, KEY_READ, &key);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return InvalidHandle;
  }
  return reinterpret_cast<Handle>(key);
}

void RegClose(Handle key) { RegCloseKey(AsKey(key)); }

bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name) {
  char text[16384];
  DWORD length = sizeof text;
  const LONG result =
      RegEnumValueA(AsKey(key), index, text, &length, nullptr, nullptr, nullptr, nullptr);
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return false;
  }
  name.assign(text, length);
  return true;
}

bool RegReadValue(Handle key, const std::string& name, RegType& type,
                  std::vector<std::uint8_t>& data) {
  DWORD rawType = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &rawType, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) {
    type = RegType::Missing;
    data.clear();
    return true;
  }
  if (result == ERROR_SUCCESS) {
    data.resize(size);
    result = RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &rawType, data.data(), &size);
  }
  if (result != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(result));
    return false;
  }
  data.resize(size);
  type = TypeOf(rawType);
  if (type == RegType::String || type == RegType::ExpandString)
    while (!data.empty() && data.back() == 0) data.pop_back();
  return true;
}

Handle RegCreate(const std::string& subKey) {
  const std::size_t start = std::min(subKey.find_first_not_of('\\'), subKey.size());
  HKEY key = nullptr;
  const LONG result =
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str() + start, 0, nullptr,
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
  if (rawType == REG_SZ) stored.push_back(0);
  const LONG result = RegSetValueExA(AsKey(key), name.c_str(), 0, rawType, stored.data(),
                                     static_cast<DWORD>(stored.size()));
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteValue(Handle key, const std::string& name) {
  const LONG result = RegDeleteValueA(AsKey(key), name.c_str());
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

bool RegDeleteKey(const std::string& subKey) {
  const std::size_t start = std::min(subKey.find_first_not_of('\\'), subKey.size());
  const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, subKey.c_str() + start);
  if (result == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(result));
  return false;
}

}  // namespace Plat
