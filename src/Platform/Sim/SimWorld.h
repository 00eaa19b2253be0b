// Internal state of the simulated platform, shared by the Sim*.cpp files.
// Tests never include this; they use SimPlatform.h.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Platform/Platform.h"
#include "Platform/Sim/SimPlatform.h"

namespace Sim::Detail {

// One directory of the virtual file system. Entries keep insertion order; the
// two indexes map upper-cased long names and aliases to positions.
struct DirectoryRec {
  std::string Path;  // full path as created, e.g. "C:\A\B" ("C:\" for a root)
  bool IsRoot = false;
  Entry Self;  // what "." and ".." report
  std::vector<Entry> Entries;
  std::map<std::string, std::size_t> ByName;
  std::map<std::string, std::size_t> ByAlias;
};

// An open find-first search.
struct SearchRec {
  const DirectoryRec* Directory = nullptr;
  std::vector<int> Mask;  // mask after the DOS wildcard translation
  int Next = 0;           // -2 ".", -1 "..", then entry positions
};

// An open plain file.
struct OpenFileRec {
  std::string Key;  // upper-case full path
  std::size_t Position = 0;
  bool Writing = false;
};

struct RegValue {
  std::string Name;
  Plat::RegType Type = Plat::RegType::Missing;
  std::vector<std::uint8_t> Data;
};

struct World {
  Plat::Handle NextHandle = 0x1000;

  // file system
  std::map<char, Drive> Drives;                            // upper-case letter
  std::map<std::string, DirectoryRec> Directories;         // upper-case full path
  std::map<std::string, std::uint32_t> FailedPatterns;     // upper-case pattern
  std::map<std::string, std::uint32_t> FailedDirectories;  // upper-case path
  std::vector<char> MaskTable;                             // find-file's match table, reused
  std::map<Plat::Handle, SearchRec> Searches;
  std::string WorkingDirectory = "C:\\";

  // plain files
  std::map<std::string, std::string> FileContents;  // upper-case full path -> bytes
  std::map<std::string, std::string> FileNames;     // upper-case full path -> as given
  std::map<Plat::Handle, OpenFileRec> OpenFiles;
  std::map<std::string, std::uint32_t> FailedCreates;         // upper-case full path -> code
  std::map<std::string, std::uint32_t> FailedReads;           // upper-case full path -> code
  std::size_t WriteRoom = static_cast<std::size_t>(-1);       // bytes all writes may still add
  std::size_t ReadChunkLimit = static_cast<std::size_t>(-1);  // most bytes one read returns

  // system
  std::vector<std::string> Arguments{"C:\\ORVL\\orvl.exe"};
  Plat::VersionRec Version{4, 0, 1381, 2};
  bool VersionFails = false;
  bool PrivilegeResult = true;
  bool FreeSpaceExPresent = true;
  bool KernelLibraryPresent = true;
  std::vector<std::string> Launched;
  std::uint32_t LaunchError = 0;  // non-zero: launching fails with it
  std::string StdOut;
  std::string StdErr;
  std::size_t StdOutReaderRoom = static_cast<std::size_t>(-1);  // bytes the reader still takes
  bool StdOutFailed = false;
  int StdOutRefusedWrites = 0;
  std::string OutputFile;  // full path: standard output goes to this file, which shows its size
  bool OutputFileUnnamed = false;  // the system cannot name it (as under wine)

  // time, locale, code page
  Plat::CalendarTime Now{2026, 12, 1, 7, 12, 0, 0, 0};
  int BiasMinutes = 0;
  bool TimeConversionFails = false;
  std::map<Plat::LocaleItem, std::string> Locale;
  std::uint32_t ConsoleOutputCodePage = 437;
  std::uint32_t RequestedPlainCodePage = 0;
  Plat::BareNamesRequest RequestedBareNames;

  // console
  ConsoleState Console;
  bool Redirected = false;
  std::deque<char> Keys;
  bool FailNextWrite = false;
  bool FailKeys = false;
  bool ControlEventAtKeyRead = false;
  std::vector<Plat::Cell> ScrollCopy;                   // the cells a scroll moves, reused
  std::vector<std::vector<Plat::Cell>> KeyReadScreens;  // the screen at every key read
  bool KeepKeyReadScreens = true;                       // whether they are kept
  Plat::ControlHandler Handler = nullptr;
  bool KeyReadWoken = false;                    // the handler woke a key read
  std::vector<std::thread::id> ConsoleWriters;  // threads that wrote to the console or output
  int ControlThreadExitCode = -1;               // the handler ended the process with this
  int FindsBeforeControlEvent = -1;             // -1: no find call fires one

  // registry
  std::map<std::string, std::vector<RegValue>> Registry;  // upper-case key path
  std::map<Plat::Handle, std::string> OpenKeys;
  std::map<Plat::Handle, bool> WritableKeys;              // opened by RegCreate
  std::map<std::string, std::uint32_t> UnreadableValues;  // "KEY|NAME" upper-cased
  std::map<std::string, std::vector<std::uint8_t>> GrowingValues;  // likewise: data after growth
  std::map<std::string, std::uint32_t> UnopenableKeys;             // upper-case key path: error
  int RegistryWritesBeforeFailure = -1;                   // -1: writes never fail
  int RegistryFailingWrites = 0;                          // writes failing after those
  std::uint32_t RegistryWriteError = 0;
  int RegistryWritesBeforeStop = -1;    // -1: never; the process ends in place of that write
  int RegistryWritesBeforeWriter = -1;  // -1: no other writer arrives
  std::function<void()> OtherWriter;    // arrives then; waits while the lock is held
  bool ConfigLockHeld = false;          // by this process
  bool ConfigLockHeldElsewhere = false;

  // machine-wide PATH
  std::string SystemPath;
  std::uint32_t SystemPathWriteError = 0;  // non-zero: WriteSystemPath fails with it
};

World& TheWorld();
// Every platform call holds this while it touches the world, so that several
// threads may call at once; a call inside a call takes it again freely. A
// flag rather than a recursive mutex: the benchmarks count every instruction.
inline std::atomic_flag WorldBusy;
inline thread_local int WorldDepth = 0;

class WorldGuard {
 public:
  WorldGuard() {
    if (WorldDepth++ == 0)
      while (WorldBusy.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  ~WorldGuard() {
    if (--WorldDepth == 0) WorldBusy.clear(std::memory_order_release);
  }
  WorldGuard(const WorldGuard&) = delete;
  WorldGuard& operator=(const WorldGuard&) = delete;
};

[[nodiscard]] inline WorldGuard LockWorld() { return {}; }

// The delay SetFindDelay asks for, taken before a find call holds the world.
void PauseBeforeFind();
// Counts a find-first for the calling thread, and passes its test's gate.
void CountSearchStart(const std::string& pattern);
// The control event's thread: marked as such, it tells, at its first look at
// the clock (the handler has asked for the end by then), the thread that
// fired it, which waits for that so that the run surely sees the request.
void MarkControlThread();
void ExpectControlRequest();
void NoteControlRequest();
void AwaitControlRequest();

// Records the error code for the calling thread's LastError(); returns false
// for `return Fail(code);`.
bool Fail(std::uint32_t code);
std::string Upper(const std::string& text);
char UpperChar(char c);

// Text written to standard output lands on a console screen at its cursor,
// in its attribute, as a real console shows it (without scrolling).
void EchoToConsole(const char* data, std::size_t length);

// A file the program writes shows in its directory with the bytes it holds.
void ShowInDirectory(const std::string& path, std::size_t size);

// Handles of the simulated standard streams.
constexpr Plat::Handle InputHandle = 0x10;
constexpr Plat::Handle OutputHandle = 0x14;

}  // namespace Sim::Detail
