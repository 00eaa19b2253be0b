// Simulated platform: world state, reset, and the system, time, locale,
// code-page and standard-output calls. File system, console and registry live
// in SimFileSystem.cpp, SimConsole.cpp and SimRegistry.cpp.
#include "Platform/Sim/SimPlatform.h"

#include <algorithm>

#include "Base/AsciiCase.h"
#include "Base/CivilDate.h"
#include "Platform/Sim/SimThreads.h"
#include "Platform/Sim/SimWorld.h"

namespace {

// As on the real system, each thread has its own last error.
thread_local std::uint32_t ThreadLastError = 0;

}  // namespace

namespace Sim::Detail {

World& TheWorld() {
  static World world;
  static bool initialised = false;
  if (!initialised) {
    initialised = true;  // before Reset(), which comes back here
    Sim::Reset();
  }
  return world;
}

bool Fail(std::uint32_t code) {
  ThreadLastError = code;
  return false;
}

char UpperChar(char c) { return UpperAscii(c); }

std::string Upper(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = UpperChar(c);
  return result;
}

}  // namespace Sim::Detail

using namespace Sim::Detail;

namespace {

// ---------------------------------------------------------------- calendar arithmetic

constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t TicksPerDay = 86'400 * TicksPerSecond;

using CivilDate::CivilFromDays;
using CivilDate::DaysFromCivil;

// 0 = Sunday; 1970-01-01 was a Thursday.
int WeekDay(std::int64_t unixDays) { return static_cast<int>(((unixDays % 7) + 7 + 4) % 7); }

const std::int64_t EpochDays1601 = DaysFromCivil(1601, 1, 1);

// ---------------------------------------------------------------- locale defaults

void SetDefaultLocale(World& world) {
  using Plat::LocaleItem;
  auto& locale = world.Locale;
  locale[LocaleItem::ShortDate] = "M/d/yyyy";
  locale[LocaleItem::LongDate] = "dddd, MMMM d, yyyy";
  locale[LocaleItem::LongTime] = "h:mm:ss tt";
  locale[LocaleItem::DateSeparator] = "/";
  locale[LocaleItem::TimeSeparator] = ":";
  locale[LocaleItem::DateOrder] = "0";
  locale[LocaleItem::AmMarker] = "AM";
  locale[LocaleItem::PmMarker] = "PM";
  static const char* const dayNames[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                          "Friday", "Saturday", "Sunday"};
  static const char* const monthNames[12] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  for (int i = 0; i < 7; ++i) {
    locale[static_cast<LocaleItem>(static_cast<int>(LocaleItem::DayName1) + i)] = dayNames[i];
    locale[static_cast<LocaleItem>(static_cast<int>(LocaleItem::AbbrevDayName1) + i)] =
        std::string(dayNames[i], 3);
  }
  for (int i = 0; i < 12; ++i) {
    locale[static_cast<LocaleItem>(static_cast<int>(LocaleItem::MonthName1) + i)] = monthNames[i];
    locale[static_cast<LocaleItem>(static_cast<int>(LocaleItem::AbbrevMonthName1) + i)] =
        std::string(monthNames[i], 3);
  }
}

}  // namespace

// ================================================================ control API

namespace Sim {

namespace {

World& SavedWorld() {
  static World saved;
  return saved;
}

// Makes `live` equal to `saved`, assigning the values of the keys both hold
// in place rather than building their nodes anew.
template <class Map>
void AssignNodeByNode(Map& live, const Map& saved) {
  auto at = live.begin();
  for (const auto& [key, value] : saved) {
    while (at != live.end() && live.key_comp()(at->first, key)) at = live.erase(at);
    if (at != live.end() && at->first == key) {
      at->second = value;
      ++at;
    } else {
      live.emplace_hint(at, key, value);
    }
  }
  live.erase(at, live.end());
}

// The world's maps of strings, held aside while the rest is copied.
struct WorldMaps {
  decltype(World::Directories) Directories;
  decltype(World::Registry) Registry;
  decltype(World::Locale) Locale;
  void SwapWith(World& world) {
    Directories.swap(world.Directories);
    Registry.swap(world.Registry);
    Locale.swap(world.Locale);
  }
};

// What lives beside the world: threads, their settings and the last error.
void ResetBesideWorld() {
  ThreadLastError = 0;
  SetProcessorCount(1);
  SetFindDelay(0);
  FailThreadStart(-1, false);
}

}  // namespace

void Reset() {
  JoinControlEvent();
  World& world = TheWorld();
  world = World();
  SetDefaultLocale(world);
  SetNow(world.Now);
  SetConsole(80, 25, 0);
  ResetBesideWorld();
}

void SaveWorld() { SavedWorld() = TheWorld(); }

void RestoreWorld() {
  JoinControlEvent();
  World& world = TheWorld();
  World& saved = SavedWorld();
  // The maps of strings are put back key by key, so that what a run left
  // alone keeps its memory; the rest of the world is copied whole.
  WorldMaps live;
  WorldMaps kept;
  live.SwapWith(world);
  kept.SwapWith(saved);
  world = saved;
  kept.SwapWith(saved);
  live.SwapWith(world);
  AssignNodeByNode(world.Directories, saved.Directories);
  AssignNodeByNode(world.Registry, saved.Registry);
  AssignNodeByNode(world.Locale, saved.Locale);
  ResetBesideWorld();
}

void SetArguments(const std::vector<std::string>& arguments) { TheWorld().Arguments = arguments; }

const std::string& StdOut() { return TheWorld().StdOut; }
const std::string& StdErr() { return TheWorld().StdErr; }

void SetStdOutReaderRoom(std::size_t bytes) { TheWorld().StdOutReaderRoom = bytes; }
int StdOutRefusedWrites() { return TheWorld().StdOutRefusedWrites; }

void SetVersion(std::uint32_t platformId, std::uint32_t build, bool fails) {
  World& world = TheWorld();
  world.Version.PlatformId = platformId;
  world.Version.Build = build;
  world.Version.Major = 4;
  world.Version.Minor = (platformId == 1 && (build & 0xFFFF) >= 1998) ? 10 : 0;
  world.VersionFails = fails;
}

void SetPrivilegeResult(bool ok) { TheWorld().PrivilegeResult = ok; }
void SetFreeSpaceExService(bool present) { TheWorld().FreeSpaceExPresent = present; }
void SetKernelLibrary(bool loads) { TheWorld().KernelLibraryPresent = loads; }
std::vector<std::string> LaunchedPrograms() { return TheWorld().Launched; }
void FailLaunch(std::uint32_t code) { TheWorld().LaunchError = code; }

void SetNow(const Plat::CalendarTime& local) {
  Plat::CalendarTime now = local;
  now.DayOfWeek = WeekDay(DaysFromCivil(now.Year, now.Month, now.Day));
  TheWorld().Now = now;
}

void SetTimeZoneBias(int minutes) { TheWorld().BiasMinutes = minutes; }
void FailTimeConversion(bool fails) { TheWorld().TimeConversionFails = fails; }

void SetLocale(Plat::LocaleItem item, const std::string& value) { TheWorld().Locale[item] = value; }

Plat::FileTime MakeFileTime(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t days = DaysFromCivil(year, month, day) - EpochDays1601;
  const std::int64_t ticks =
      days * TicksPerDay + (hour * 3600LL + minute * 60LL + second) * TicksPerSecond;
  return Plat::FileTimeOfTicks(static_cast<std::uint64_t>(ticks));
}

}  // namespace Sim

// ================================================================ platform calls

namespace Plat {

std::uint32_t LastError() { return ThreadLastError; }

bool VersionInformation(VersionRec& version) {
  const auto lock = LockWorld();
  const World& world = TheWorld();
  if (world.VersionFails) return Fail(87);
  version = world.Version;
  return true;
}

bool EnableSecurityPrivilege() {
  const auto lock = LockWorld();
  return TheWorld().PrivilegeResult ? true : Fail(1300);
}

std::vector<std::string> CommandArguments() {
  const auto lock = LockWorld();
  return TheWorld().Arguments;
}

bool LaunchProgram(const std::string& path, bool maximised) {
  const auto lock = LockWorld();
  if (TheWorld().LaunchError != 0) return Fail(TheWorld().LaunchError);
  TheWorld().Launched.push_back(path + (maximised ? "|max" : "|normal"));
  return true;
}

std::uint32_t ProcessId() { return 4242; }

void ExitProcess(int code) { throw Sim::ProcessExited{code}; }

bool FileTimeToLocal(const FileTime& utc, FileTime& local) {
  const auto lock = LockWorld();
  const World& world = TheWorld();
  if (world.TimeConversionFails) return Fail(87);
  const std::int64_t shift = static_cast<std::int64_t>(world.BiasMinutes) * 60 * TicksPerSecond;
  local = Plat::FileTimeOfTicks(Plat::TicksOf(utc) + static_cast<std::uint64_t>(shift));
  return true;
}

bool FileTimeToCalendar(const FileTime& time, CalendarTime& calendar) {
  if (time.High >= 0x80000000u) return Fail(87);
  const std::uint64_t ticks = Plat::TicksOf(time);
  const std::int64_t days = static_cast<std::int64_t>(ticks / TicksPerDay);
  const std::int64_t rest = static_cast<std::int64_t>(ticks % TicksPerDay);
  CalendarTime result;
  CivilFromDays(days + EpochDays1601, result.Year, result.Month, result.Day);
  result.DayOfWeek = WeekDay(days + EpochDays1601);
  result.Hour = static_cast<int>(rest / (3600 * TicksPerSecond));
  result.Minute = static_cast<int>(rest / (60 * TicksPerSecond) % 60);
  result.Second = static_cast<int>(rest / TicksPerSecond % 60);
  result.Milliseconds = static_cast<int>(rest / 10'000 % 1000);
  calendar = result;
  return true;
}

CalendarTime LocalNow() {
  const auto lock = LockWorld();
  return TheWorld().Now;
}

std::string LocaleInfo(LocaleItem item) {
  const auto lock = LockWorld();
  const auto& locale = TheWorld().Locale;
  const auto found = locale.find(item);
  return found == locale.end() ? std::string() : found->second;
}

std::string EraName(const CalendarTime&) { return "A.D."; }
int EraYear(const CalendarTime& date) { return date.Year; }

bool StdOutWrite(const char* data, std::size_t length) {
  const auto lock = LockWorld();
  World& world = TheWorld();
  if (world.StdOutFailed || length > world.StdOutReaderRoom) {
    world.StdOutFailed = true;
    ++world.StdOutRefusedWrites;
    return false;
  }
  world.StdOutReaderRoom -= length;
  // Most writes come from the thread that wrote last: it is looked at first.
  auto& writers = world.ConsoleWriters;
  const std::thread::id self = std::this_thread::get_id();
  if ((writers.empty() || writers.back() != self) &&
      std::find(writers.begin(), writers.end(), self) == writers.end())
    writers.push_back(self);
  world.StdOut.append(data, length);
  if (!world.Redirected) EchoToConsole(data, length);
  if (!world.OutputFile.empty()) ShowInDirectory(world.OutputFile, world.StdOut.size());
  return true;
}
bool StdOutFlush() {
  const auto lock = LockWorld();
  return !TheWorld().StdOutFailed;
}
void StdErrWrite(const char* data, std::size_t length) {
  const auto lock = LockWorld();
  TheWorld().StdErr.append(data, length);
}

}  // namespace Plat
