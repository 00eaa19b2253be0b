// Control side of the simulated platform: tests build a world here (drives,
// directories, console, keys, clock, locale, registry) and inspect what the
// program did to it. Everything is reset by Sim::Reset().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Platform/Platform.h"

namespace Sim {

// Thrown by the simulated ExitProcess: the process ended at once.
struct ProcessExited {
  int ExitCode = 0;
};

// One directory entry of the virtual file system.
struct Entry {
  std::string Name;   // long name (may be any length)
  std::string Alias;  // 8.3 alias, empty when none
  std::uint32_t Attributes = Plat::AttrArchive;
  Plat::FileTime Creation, Access, Write;  // UTC
  std::uint64_t Size = 0;
  std::string Owner;             // empty: owner lookup fails
  std::int64_t Compressed = -1;  // -1: compressed-size query fails
};

struct Drive {
  char Letter = 'C';
  std::string Label;
  std::string FileSystem = "NTFS";
  std::uint32_t MaxComponentLength = 255;
  std::uint32_t FileSystemFlags = 0;
  bool VolumeQueryFails = false;
  Plat::DiskGeometry Geometry{8, 512, 1000, 2000};
  std::uint32_t FreeSpaceError = 0;  // non-zero: GetDiskFreeSpace fails with this code
  bool HasFreeSpaceEx = true;        // extended query answers
  Plat::DiskSpaceEx SpaceEx{};
};

// ---------------------------------------------------------------- world building

void Reset();  // empty world: no drives, 80x25 console with cursor at row 0, no keys
// Keeps the world as it stands; RestoreWorld() puts it back as Reset() would
// the empty one, reusing the memory the run left, so that many runs from one
// machine (the fuzz driver's) start cheaply.
void SaveWorld();
void RestoreWorld();

void AddDrive(const Drive& drive);
// Creates a directory (and its parents) given by a full path such as "C:\A\B".
void AddDirectory(const std::string& path, std::uint32_t attributes = Plat::AttrDirectory);
// Adds an entry to an existing directory; entries enumerate in insertion order,
// after "." and ".." (which every non-root directory delivers first).
void AddEntry(const std::string& directory, const Entry& entry);
// Convenience: a file with a size and one write time for all three stamps.
void AddFile(const std::string& directory, const std::string& name, std::uint64_t size,
             Plat::FileTime time = {});
// Makes find-first on exactly this pattern (case-insensitive) fail with the code.
void FailFindFirst(const std::string& pattern, std::uint32_t code);
// Makes find-first on any pattern inside this directory fail with the code;
// with RunsOutOfMemory, throw std::bad_alloc instead.
constexpr std::uint32_t RunsOutOfMemory = 0xFFFFFFFF;
void FailDirectory(const std::string& directory, std::uint32_t code);

// Plain files: the bytes a file holds (it also appears in its directory), and
// the bytes a file written by the program holds ("" when it was never created).
void SetFileContents(const std::string& path, const std::string& bytes);
std::string FileContents(const std::string& path);
bool FileExists(const std::string& path);
// Creating this file fails with the code.
void FailFileCreate(const std::string& path, std::uint32_t code);
// Reading this file fails with the code after the first read.
void FailFileRead(const std::string& path, std::uint32_t code);
// All writes together may add this many bytes; later ones fail with 112 (disk full).
void SetWriteRoom(std::size_t bytes);
// One read returns at most this many bytes (to exercise piecewise reading).
void SetReadChunkLimit(std::size_t bytes);

void SetWorkingDirectory(const std::string& path);             // default "C:\"
void SetArguments(const std::vector<std::string>& arguments);  // [0] the program file

// ---------------------------------------------------------------- console

// A console of the given buffer size with the cursor on cursorRow, filled with
// zero cells. Redirected(): standard output is not a console.
void SetConsole(int columns, int rows, int cursorRow = 0);
void SetRedirected();
// Redirected into this file (a full path), which shows the bytes written so
// far; unless named, the system cannot tell the program its path.
void SetOutputFile(const std::string& path, bool named = true);
void PushKeys(const std::string& keys);  // read one byte at a time by ConsoleReadKey
void FailNextConsoleWrite();             // the next ConsoleWriteRow fails
void FailKeyRead();                      // every ConsoleReadKey fails
void ControlEventAtKeyRead();            // the next ConsoleReadKey gets Ctrl+C instead

struct ConsoleState {
  int Columns = 80;
  int Rows = 25;
  std::vector<Plat::Cell> Cells;  // Rows x Columns
  int CursorColumn = 0;
  int CursorRow = 0;
  std::uint16_t Attribute = 7;
  int Scrolls = 0;    // number of ConsoleScroll calls
  int RowWrites = 0;  // number of ConsoleWriteRow calls
  bool ProcessedInput = false;
  bool ControlHandlerSet = false;
};
const ConsoleState& Console();
// Row text in UTF-8 (zero cells as blanks, trailing blanks kept).
std::string RowText(int row);
// Row text without trailing blanks.
std::string RowTrimmed(int row);
const Plat::Cell& CellAt(int column, int row);
// Everything written to standard output, in order.
const std::string& StdOut();
const std::string& StdErr();
// The reader of standard output goes away after taking this many more bytes:
// the write that would pass them fails, and so does every later one.
void SetStdOutReaderRoom(std::size_t bytes);
int StdOutRefusedWrites();  // writes tried after the reader went
// Runs the installed control handler as the console does: on a thread of its
// own, which JoinControlEvent (and Reset) waits for.
void FireControlEvent();
void JoinControlEvent();
// The find call after this many more fires a control event.
void ControlEventAtFind(int findsBefore);
// How many threads wrote to the screen or standard output.
std::size_t ConsoleWriterThreads();
// The code the handler ended the process with on its thread; -1 when it did not.
int ControlThreadExitCode();
// The screen's cells (row by row) as they were at each key read, in order;
// kept unless asked not to (a copy of the screen a key costs long runs dear).
const std::vector<std::vector<Plat::Cell>>& ScreensAtKeyReads();
void KeepScreensAtKeyReads(bool keep);

// ---------------------------------------------------------------- system

void SetVersion(std::uint32_t platformId, std::uint32_t build, bool fails = false);
void SetPrivilegeResult(bool ok);
// Whether GetDiskFreeSpaceExW can be found at run time (default true; never
// on a 95-family build of 1000 or below).
void SetFreeSpaceExService(bool present);
// Whether "KERNEL32.DLL" loads by name for that lookup (default true).
void SetKernelLibrary(bool loads);
std::vector<std::string> LaunchedPrograms();  // "path|max" or "path|normal"
void FailLaunch(std::uint32_t code);          // every launch fails with the code

// Local clock and time zone: local = UTC + biasMinutes.
void SetNow(const Plat::CalendarTime& local);
void SetTimeZoneBias(int minutes);
void FailTimeConversion(bool fails);  // FileTimeToLocal fails for every stamp

// Locale: defaults are English (United States).
void SetLocale(Plat::LocaleItem item, const std::string& value);

// Code pages: ANSI 1252, OEM 437; the console's output code page is 437
// unless set (0: the process has no console).
void SetConsoleOutputCodePage(std::uint32_t codePage);
// The plain-output code page asked for by whoever started the program (0: none).
void SetRequestedPlainCodePage(std::uint32_t codePage);
void SetRequestedBareNames(Plat::BareNamesRequest request);

// ---------------------------------------------------------------- registry

// A key under HKEY_LOCAL_MACHINE; values keep insertion order.
void AddRegistryKey(const std::string& subKey);
void SetRegistryDword(const std::string& subKey, const std::string& name, std::uint32_t value);
void SetRegistryBinary(const std::string& subKey, const std::string& name,
                       const std::vector<std::uint8_t>& data);
void SetRegistryString(const std::string& subKey, const std::string& name,
                       const std::string& value);
// A configured installation: the three value keys with the default display
// colours, no extension colours, and these preset switches and date pattern.
void AddConfiguration(const std::string& defaultSwitches = "", const std::string& defaultDate = "");
// A value of any type with raw data (a String without its NUL).
void SetRegistryValue(const std::string& subKey, const std::string& name, Plat::RegType type,
                      const std::vector<std::uint8_t>& data);
// Reading this value fails with the code.
void FailRegistryRead(const std::string& subKey, const std::string& name, std::uint32_t code);
// Opening or creating this key (which may exist) fails with the code.
void FailRegistryOpen(const std::string& subKey, std::uint32_t code);
// The first read that finds this value longer than its buffer is followed at
// once by another writer storing `grown` in it (same type).
void GrowRegistryValueOnRead(const std::string& subKey, const std::string& name,
                             const std::vector<std::uint8_t>& grown);
// After `successes` more writes (create, set, delete), `count` writes fail with the code.
void FailRegistryWrites(std::uint32_t code, int successes = 0, int count = 1 << 30);
// The process is stopped (ProcessExited) in place of the write after `writes` more.
void StopRegistryWritesAfter(int writes);
// Another process's writer arrives after `writes` more writes: it runs at once
// when the configuration lock is free, else as soon as it is released.
void InterleaveRegistryWriter(int writes, std::function<void()> writer);
// Another process holds the configuration lock: every wait for it runs out.
void HoldConfigurationLockElsewhere(bool held);
// The whole registry as text, one "KEY" line per key and "  NAME type data" per
// value, keys in order: for comparing the registry before and after.
std::string RegistryDump();

// ---------------------------------------------------------------- system PATH

void SetSystemPath(const std::string& path);  // default: empty
std::string SystemPath();
// WriteSystemPath fails with the code (0: it succeeds again).
void FailSystemPathWrite(std::uint32_t code);

// ---------------------------------------------------------------- helpers

// A FILETIME for a UTC calendar date and time.
Plat::FileTime MakeFileTime(int year, int month, int day, int hour = 0, int minute = 0,
                            int second = 0);

}  // namespace Sim
