// The one doorway from the portable core to the operating system.
// Every call here is shaped after the Win32 call it stands for; the core never
// includes <windows.h>. Texts cross this doorway in UTF-8 both ways; paths are
// in the ordinary form (the real layer adds the extended-length prefix itself). Two implementations
// exist: Win32/Win32Platform.cpp (the real calls, linked into the .exe) and Sim/ (in-memory, for
// tests and benchmarks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Plat {

// ---------------------------------------------------------------- handles

using Handle = std::intptr_t;
constexpr Handle InvalidHandle = -1;

// The error code left by the latest failing call (GetLastError).
std::uint32_t LastError();

// Win32 error codes the core reacts to.
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorPathNotFound = 3;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorInvalidDrive = 15;
constexpr std::uint32_t ErrorNoMoreFiles = 18;
constexpr std::uint32_t ErrorInvalidName = 123;

// ---------------------------------------------------------------- find-file

// FILETIME: 100 ns units since 1601-01-01 UTC, low word first.
struct FileTime {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;
};

// A stamp as one number of ticks, and back.
inline std::uint64_t TicksOf(const FileTime& time) {
  return (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
}
inline FileTime FileTimeOfTicks(std::uint64_t ticks) {
  return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

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
// ReadFile into buffer; read = 0 at the end of the file. False on error.
bool ReadFileBytes(Handle file, char* buffer, std::size_t capacity, std::size_t& read);
// WriteFile of all the bytes; false when not all were written (code in LastError()).
bool WriteFileBytes(Handle file, const char* data, std::size_t length);
// CloseHandle of a file opened above.
bool CloseFile(Handle file);
// FormatMessageW text of a system error code, without its line end and final
// period; empty when the system has none.
std::string SystemErrorText(std::uint32_t code);

// ---------------------------------------------------------------- volumes and disks

// GetVolumeInformationW on a root such as "C:\".
struct VolumeInfo {
  std::string Label;
  std::string FileSystem;
  std::uint32_t MaxComponentLength = 0;
  std::uint32_t FileSystemFlags = 0;
};
bool VolumeInformation(const std::string& root, VolumeInfo& info);

// GetDiskFreeSpaceW on a root such as "C:\".
struct DiskGeometry {
  std::uint32_t SectorsPerCluster = 0;
  std::uint32_t BytesPerSector = 0;
  std::uint32_t FreeClusters = 0;
  std::uint32_t TotalClusters = 0;
};
bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry);

// GetDiskFreeSpaceExW, reached at run time (LoadLibraryA of "KERNEL32.DLL",
// then GetProcAddress): false when the service is missing or the call fails.
struct DiskSpaceEx {
  std::uint64_t FreeToCaller = 0;
  std::uint64_t TotalBytes = 0;
  std::uint64_t TotalFree = 0;
};
enum class ServiceLookup { Found, LibraryMissing, EntryMissing };
ServiceLookup LookUpDiskFreeSpaceEx();
bool DiskFreeSpaceEx(const std::string& root, DiskSpaceEx& space);

// GetFullPathNameW against the current working directory; an absolute path that
// needs no normalisation comes back unchanged (trailing dots and blanks kept).
bool FullPathName(const std::string& path, std::string& full);

// GetCompressedFileSizeW: false when the call reports failure.
bool CompressedFileSize(const std::string& path, std::uint64_t& size);

// Owner account name of a file (GetFileSecurityW, GetSecurityDescriptorOwner,
// LookupAccountSidW on the local system); false on any failure.
bool FileOwnerName(const std::string& path, std::string& account);

// ---------------------------------------------------------------- system

// GetVersionExA.
struct VersionRec {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Build = 0;
  std::uint32_t PlatformId = 0;  // 1 = 95/98 family, 2 = NT family
};
bool VersionInformation(VersionRec& version);

// LookupPrivilegeValueA + OpenProcessToken + AdjustTokenPrivileges, enabling
// "SeSecurityPrivilege"; false when any step fails.
bool EnableSecurityPrivilege();

// The process arguments: [0] the program file, [1..] the user's words with the
// quotes already removed.
std::vector<std::string> CommandArguments();

// CreateProcessW (as WinExec did): start a program without waiting; maximised when asked.
bool LaunchProgram(const std::string& path, bool maximised);

// ExitProcess: ends the process at once (used only by the control handler).
[[noreturn]] void ExitProcess(int code);

// ---------------------------------------------------------------- time

// SYSTEMTIME.
struct CalendarTime {
  int Year = 0;
  int Month = 0;      // 1..12
  int DayOfWeek = 0;  // 0 = Sunday
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Milliseconds = 0;
};
// FileTimeToLocalFileTime.
bool FileTimeToLocal(const FileTime& utc, FileTime& local);
// FileTimeToSystemTime.
bool FileTimeToCalendar(const FileTime& time, CalendarTime& calendar);
// GetLocalTime.
CalendarTime LocalNow();

// ---------------------------------------------------------------- locale

// GetLocaleInfoA items of the user's default locale.
enum class LocaleItem {
  ShortDate,      // LOCALE_SSHORTDATE, e.g. "M/d/yyyy"
  LongDate,       // LOCALE_SLONGDATE
  LongTime,       // LOCALE_STIMEFORMAT, e.g. "h:mm:ss tt"
  DateSeparator,  // LOCALE_SDATE
  TimeSeparator,  // LOCALE_STIME
  DateOrder,      // LOCALE_IDATE: "0" M-D-Y, "1" D-M-Y, "2" Y-M-D
  AmMarker,       // LOCALE_S1159
  PmMarker,       // LOCALE_S2359
  DayName1,       // LOCALE_SDAYNAME1 (Monday) ... DayName7 (Sunday)
  DayName2,
  DayName3,
  DayName4,
  DayName5,
  DayName6,
  DayName7,
  AbbrevDayName1,  // LOCALE_SABBREVDAYNAME1 (Mon) ... 7 (Sun)
  AbbrevDayName2,
  AbbrevDayName3,
  AbbrevDayName4,
  AbbrevDayName5,
  AbbrevDayName6,
  AbbrevDayName7,
  MonthName1,  // LOCALE_SMONTHNAME1 ... 12
  MonthName2,
  MonthName3,
  MonthName4,
  MonthName5,
  MonthName6,
  MonthName7,
  MonthName8,
  MonthName9,
  MonthName10,
  MonthName11,
  MonthName12,
  AbbrevMonthName1,  // LOCALE_SABBREVMONTHNAME1 ... 12
  AbbrevMonthName2,
  AbbrevMonthName3,
  AbbrevMonthName4,
  AbbrevMonthName5,
  AbbrevMonthName6,
  AbbrevMonthName7,
  AbbrevMonthName8,
  AbbrevMonthName9,
  AbbrevMonthName10,
  AbbrevMonthName11,
  AbbrevMonthName12,
};
std::string LocaleInfo(LocaleItem item);

// Era name and year of the era of the user's calendar for a date (the
// Gregorian calendar has one era, "A.D." style, and the year itself).
std::string EraName(const CalendarTime& date);
int EraYear(const CalendarTime& date);

// ---------------------------------------------------------------- code pages

// GetACP, GetOEMCP, and GetConsoleOutputCP (0 when the process has no console).
std::uint32_t AnsiCodePage();
std::uint32_t OemCodePage();
std::uint32_t ConsoleOutputCodePage();
constexpr std::uint32_t Utf8CodePage = 65001;

// WideCharToMultiByte without best-fit mapping: appends the bytes of text in
// the code page (an unmappable character becomes '?'); true when every
// character was held exactly.
bool WideToCodePage(std::uint32_t codePage, std::u16string_view text, std::string& bytes);
// MultiByteToWideChar: the bytes of a text in the code page as UTF-16.
std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes);

// ---------------------------------------------------------------- console

enum class StdStream { Input, Output };
// GetStdHandle.
Handle StdHandle(StdStream which);

// GetConsoleScreenBufferInfo: false when the handle is not a console.
struct ScreenInfo {
  int Columns = 0;  // buffer size
  int Rows = 0;
  int CursorColumn = 0;
  int CursorRow = 0;
  std::uint16_t Attributes = 0;
};
bool ConsoleScreenInfo(Handle output, ScreenInfo& info);

// One console cell, laid out as CHAR_INFO with a UTF-16 character.
struct Cell {
  char16_t Char = 0;
  std::uint16_t Attr = 0;
};
static_assert(sizeof(Cell) == 4, "a cell is four bytes");

// WriteConsoleOutputW of one row of cells at (column, row), 0-based.
bool ConsoleWriteRow(Handle output, const Cell* cells, int count, int column, int row);
// ReadConsoleOutputW of one row of cells from column 0: what the screen shows.
bool ConsoleReadRow(Handle output, Cell* cells, int count, int row);
// ScrollConsoleScreenBufferW: moves the rectangle rows top..bottom, columns
// left..right to start at row destRow (same columns); uncovered cells are
// filled with fill.
bool ConsoleScroll(Handle output, int top, int bottom, int left, int right, int destRow, Cell fill);
// SetConsoleCursorPosition (0-based).
bool ConsoleSetCursor(Handle output, int column, int row);
// SetConsoleTextAttribute.
bool ConsoleSetAttribute(Handle output, std::uint16_t attribute);
// SetConsoleMode on the input handle to processed input only.
bool ConsoleSetProcessedInput(Handle input);
// ReadConsoleA of one byte; false when the read fails.
bool ConsoleReadKey(Handle input, char& key);
// SetConsoleCtrlHandler: the handler runs for every console control event.
using ControlHandler = void (*)();
bool ConsoleSetControlHandler(ControlHandler handler);

// ---------------------------------------------------------------- standard output

// Plain bytes to standard output (buffered; StdOutFlush pushes them out).
void StdOutWrite(const char* data, std::size_t length);
void StdOutFlush();

// ---------------------------------------------------------------- registry

// Keys under HKEY_LOCAL_MACHINE, opened for reading only: reading is all the
// lister does, and users without administrator rights may always read.
Handle RegOpen(const std::string& subKey);
void RegClose(Handle key);
// The index-th value name of an open key (registry order); false past the end.
bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name);

enum class RegType { Missing, Dword, Binary, String, ExpandString, Other };
// Reads a value whatever its type; false when its data cannot be fetched.
// For a missing value: true with type Missing.
// A Dword arrives as its four bytes, low byte first; String and ExpandString
// data come as UTF-8 without the terminating NUL.
bool RegReadValue(Handle key, const std::string& name, RegType& type,
                  std::vector<std::uint8_t>& data);

// The writing side, used only by the configuration program.
// RegCreateKeyExW: creates the key (and its parents) or opens it, for reading
// and writing; InvalidHandle on failure (code in LastError()).
Handle RegCreate(const std::string& subKey);
// RegSetValueExW with Dword, Binary or String data (a String is given in UTF-8
// and stored with its terminating NUL); false on failure (code in LastError()).
bool RegWriteValue(Handle key, const std::string& name, RegType type,
                   const std::vector<std::uint8_t>& data);
// RegDeleteValueW; false on failure (code in LastError()).
bool RegDeleteValue(Handle key, const std::string& name);
// RegDeleteKeyW of a key without subkeys; false on failure (code in LastError()).
bool RegDeleteKey(const std::string& subKey);

// ---------------------------------------------------------------- system PATH

// The machine-wide PATH as stored (the Path value of the system environment,
// variables unexpanded), in UTF-8; empty when there is none. Only the
// installer's switches of the configuration program touch it.
// False on failure (code in LastError()).
bool ReadSystemPath(std::string& path);
// Stores a new machine-wide PATH, keeping the value's type, and tells the
// running programs that the environment changed. False on failure (code in
// LastError()); a text that is not valid UTF-8 is refused, never stored.
bool WriteSystemPath(const std::string& path);

}  // namespace Plat
