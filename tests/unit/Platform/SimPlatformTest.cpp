// The simulated platform's own rules that other tests rely on: find-file
// wildcards and ordering, full-path resolution, console scrolling, and the
// calendar conversion.
#include <string>
#include <thread>
#include <vector>

#include "TestWorld.h"

namespace {

class SimPlatformTest : public TestWorld {
 protected:
  // Every name find-first/next delivers for a pattern, or "error N".
  static std::vector<std::string> Names(const std::string& pattern) {
    Plat::FindData data;
    const Plat::Handle search = Plat::FindFirst(pattern, 0x37, data);
    if (search == Plat::InvalidHandle) return {"error " + std::to_string(Plat::LastError())};
    std::vector<std::string> names{std::string(data.Name, data.NameLength)};
    while (Plat::FindNext(search, data)) names.emplace_back(data.Name, data.NameLength);
    EXPECT_EQ(Plat::ErrorNoMoreFiles, Plat::LastError());
    Plat::FindEnd(search);
    return names;
  }

  static std::string Full(const std::string& path) {
    std::string full;
    return Plat::FullPathName(path, full) ? full : "failed";
  }
};

using NameList = std::vector<std::string>;

TEST_F(SimPlatformTest, FindDeliversDotsFirstThenInsertionOrder) {
  Sim::AddFile("C:\\DIR", "zeta.txt", 1);
  Sim::AddDirectory("C:\\DIR\\Sub");
  Sim::AddFile("C:\\DIR", "alpha", 2);
  EXPECT_EQ((NameList{".", "..", "zeta.txt", "Sub", "alpha"}), Names("C:\\DIR\\*"));
  EXPECT_EQ((NameList{"DIR"}), Names("c:\\*.*"));  // a root has no dot entries
  EXPECT_EQ((NameList{"error 3"}), Names("C:\\NONE\\*"));
  EXPECT_EQ((NameList{"error 3"}), Names("Q:\\*"));
  EXPECT_EQ((NameList{"error 2"}), Names("C:\\DIR\\*.doc"));
  // A final "." or ".." resolves first: the directory's own entry comes back.
  EXPECT_EQ((NameList{"DIR"}), Names("C:\\DIR\\Sub\\.."));
}

TEST_F(SimPlatformTest, WildcardsFollowTheDosRules) {
  for (const char* name : {"README", "readme.txt", "read.me.txt", "RE", "REP.DOC"})
    Sim::AddFile("C:\\D", name, 1);
  EXPECT_EQ((NameList{".", "..", "README", "readme.txt", "read.me.txt", "RE", "REP.DOC"}),
            Names("C:\\D\\*.*"));
  EXPECT_EQ((NameList{"README"}), Names("C:\\D\\readme."));
  EXPECT_EQ((NameList{".", "..", "README", "RE"}), Names("C:\\D\\*."));
  EXPECT_EQ((NameList{"readme.txt", "read.me.txt"}), Names("C:\\D\\*.TXT"));
  EXPECT_EQ((NameList{"README", "readme.txt", "read.me.txt", "RE", "REP.DOC"}),
            Names("C:\\D\\re*.*"));
  EXPECT_EQ((NameList{"REP.DOC"}), Names("C:\\D\\RE?.*"));
  EXPECT_EQ((NameList{"RE"}), Names("C:\\D\\R?"));
  EXPECT_EQ((NameList{"error 2"}), Names("C:\\D\\R???"));  // "?" is exactly one character
}

TEST_F(SimPlatformTest, FindMatchesAliasesAndCutsLongNames) {
  Sim::Entry entry;
  entry.Name = "Long Document Name.html";
  entry.Alias = "LONGDO~1.HTM";
  Sim::AddEntry("C:\\W", entry);
  const std::string longest(259, 'x');
  Sim::AddFile("C:\\W", longest, 1);
  Sim::AddFile("C:\\W", longest + "yz", 1);
  Plat::FindData data;
  ASSERT_NE(Plat::InvalidHandle, Plat::FindFirst("C:\\W\\*.HTM", 0x37, data));
  EXPECT_STREQ("Long Document Name.html", data.Name);
  EXPECT_STREQ("LONGDO~1.HTM", data.AltName);
  EXPECT_EQ((NameList{longest, longest}), Names("C:\\W\\x*"));
}

TEST_F(SimPlatformTest, InjectedFindErrors) {
  Sim::AddFile("C:\\A", "f", 1);
  Sim::FailFindFirst("c:\\a\\F", 5);
  Sim::FailDirectory("C:\\B\\", 21);
  EXPECT_EQ((NameList{"error 5"}), Names("C:\\A\\f"));
  EXPECT_EQ((NameList{"f"}), Names("C:\\A\\f*"));
  EXPECT_EQ((NameList{"error 21"}), Names("C:\\B\\*.*"));
}

TEST_F(SimPlatformTest, FullPathResolution) {
  Sim::SetWorkingDirectory("C:\\WORK\\SUB");
  EXPECT_EQ("C:\\WORK\\SUB\\*.TXT", Full("*.TXT"));
  EXPECT_EQ("C:\\WORK\\SUB", Full("."));
  EXPECT_EQ("C:\\WORK\\", Full("..\\"));
  EXPECT_EQ("C:\\WORK\\SUB\\X", Full("C:X"));
  EXPECT_EQ("C:\\WORK\\SUB", Full("C:"));
  EXPECT_EQ("D:\\X", Full("D:X"));
  EXPECT_EQ("C:\\ROOT", Full("\\ROOT"));
  EXPECT_EQ("C:\\", Full("..\\..\\.."));
  // Trailing dots and blanks go from a relative path; a full one keeps them,
  // as they may belong to the names.
  EXPECT_EQ("C:\\WORK\\SUB\\README", Full("README."));
  EXPECT_EQ("C:\\WORK\\A\\B", Full("..\\A. \\B.."));
  EXPECT_EQ("C:\\X\\README.", Full("C:\\X\\README."));
  EXPECT_EQ("C:\\A. \\B..", Full("C:\\A. \\B.."));
  EXPECT_EQ("C:\\X", Full("C:\\X\\."));
  EXPECT_EQ("C:\\X\\", Full("C:\\X\\"));
  EXPECT_EQ("\\\\SERVER\\SHARE\\x", Full("\\\\SERVER\\SHARE\\x"));
  Sim::SetWorkingDirectory("C:\\");
  EXPECT_EQ("C:\\", Full("."));
}

TEST_F(SimPlatformTest, ScrollMovesTheRectangleAndFillsWhatItUncovers) {
  Sim::SetConsole(4, 3);
  const Plat::Handle out = Plat::StdHandle(Plat::StdStream::Output);
  const char* rows[3] = {"abcd", "efgh", "ijkl"};
  for (int row = 0; row < 3; ++row) {
    Plat::Cell cells[4];
    for (int column = 0; column < 4; ++column) cells[column] = {static_cast<char16_t>(rows[row][column]), 7};
    ASSERT_TRUE(Plat::ConsoleWriteRow(out, cells, 4, 0, row));
  }
  ASSERT_TRUE(Plat::ConsoleScroll(out, 1, 2, 0, 3, 0, {u' ', 15}));
  EXPECT_EQ("efgh", Sim::RowText(0));
  EXPECT_EQ("ijkl", Sim::RowText(1));
  EXPECT_EQ("    ", Sim::RowText(2));
  EXPECT_EQ(15, Sim::CellAt(3, 2).Attr);
  EXPECT_EQ(7, Sim::CellAt(3, 1).Attr);
  // Moving down past the bottom clips the copy; the source area is filled.
  ASSERT_TRUE(Plat::ConsoleScroll(out, 0, 1, 1, 2, 2, {u'.', 1}));
  EXPECT_EQ("e..h", Sim::RowText(0));
  EXPECT_EQ("i..l", Sim::RowText(1));
  EXPECT_EQ(" fg ", Sim::RowText(2));
  EXPECT_EQ(2, Sim::Console().Scrolls);
  EXPECT_EQ(3, Sim::Console().RowWrites);
}

TEST_F(SimPlatformTest, FileTimesRoundTripThroughTheCalendar) {
  Plat::CalendarTime calendar;
  ASSERT_TRUE(Plat::FileTimeToCalendar(Sim::MakeFileTime(2000, 2, 29, 23, 59, 58), calendar));
  EXPECT_EQ(2000, calendar.Year);
  EXPECT_EQ(2, calendar.Month);
  EXPECT_EQ(29, calendar.Day);
  EXPECT_EQ(2, calendar.DayOfWeek);  // a Tuesday
  EXPECT_EQ(23, calendar.Hour);
  EXPECT_EQ(59, calendar.Minute);
  EXPECT_EQ(58, calendar.Second);
  ASSERT_TRUE(Plat::FileTimeToCalendar({0, 0}, calendar));
  EXPECT_EQ(1601, calendar.Year);
  EXPECT_EQ(1, calendar.DayOfWeek);  // 1601-01-01 was a Monday
  ASSERT_TRUE(Plat::FileTimeToCalendar({0xFFFFFFFFu, 0x7FFFFFFFu}, calendar));
  EXPECT_EQ(30828, calendar.Year);  // the last representable day, 30828-09-14
  EXPECT_EQ(14, calendar.Day);
  EXPECT_FALSE(Plat::FileTimeToCalendar({0, 0x80000000u}, calendar));
  EXPECT_EQ(1, Plat::LocalNow().DayOfWeek);  // the default clock: Monday 2026-12-07

  Sim::SetTimeZoneBias(-90);
  Plat::FileTime local;
  ASSERT_TRUE(Plat::FileTimeToLocal(Sim::MakeFileTime(2001, 1, 1, 1, 0), local));
  ASSERT_TRUE(Plat::FileTimeToCalendar(local, calendar));
  EXPECT_EQ(2000, calendar.Year);
  EXPECT_EQ(31, calendar.Day);
  EXPECT_EQ(23, calendar.Hour);
  EXPECT_EQ(30, calendar.Minute);
}

TEST_F(SimPlatformTest, RegistryKeysAndValues) {
  Sim::SetRegistryString("SOFTWARE\\Vendor\\App", "Text", "abc");
  Sim::SetRegistryDword("SOFTWARE\\Vendor\\App", "Number", 0x01020304);
  EXPECT_EQ(Plat::InvalidHandle, Plat::RegOpen("SOFTWARE\\Vendor\\Ap"));
  EXPECT_NE(Plat::InvalidHandle, Plat::RegOpen("\\software\\VENDOR"));  // a parent key exists
  const Plat::Handle key = Plat::RegOpen("\\SOFTWARE\\vendor\\app");
  ASSERT_NE(Plat::InvalidHandle, key);
  std::string name;
  ASSERT_TRUE(Plat::RegEnumValueName(key, 1, name));
  EXPECT_EQ("Number", name);
  EXPECT_FALSE(Plat::RegEnumValueName(key, 2, name));
  Plat::RegType type;
  std::vector<std::uint8_t> data(2);
  ASSERT_EQ(Plat::RegReadValue(key, "text", type, data), Plat::RegRead::MoreData);
  EXPECT_EQ(data.size(), 3u);
  ASSERT_EQ(Plat::RegReadValue(key, "text", type, data), Plat::RegRead::Ok);
  EXPECT_EQ(Plat::RegType::String, type);
  EXPECT_EQ((std::vector<std::uint8_t>{'a', 'b', 'c'}), data);
  data.resize(8);
  ASSERT_EQ(Plat::RegReadValue(key, "Number", type, data), Plat::RegRead::Ok);
  EXPECT_EQ((std::vector<std::uint8_t>{4, 3, 2, 1}), data);
  ASSERT_EQ(Plat::RegReadValue(key, "Other", type, data), Plat::RegRead::Missing);
  EXPECT_EQ(Plat::RegType::Missing, type);
}

// Threads searching at once each see whole enumerations and their own last
// error, even while another thread's calls fail with a different code.
TEST_F(SimPlatformTest, SearchesFromSeveralThreadsAtOnce) {
  for (int i = 0; i < 100; ++i) Sim::AddFile("C:\\DIR", "f" + std::to_string(i), 1);
  const NameList whole = Names("C:\\DIR\\*");
  std::vector<int> faults(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t, &whole, &faults] {
      for (int round = 0; round < 50; ++round) {
        const bool failing = t % 2 == 1;
        const NameList got = Names(failing ? "C:\\NONE\\*" : "C:\\DIR\\*");
        if (got != (failing ? NameList{"error 3"} : whole)) ++faults[t];
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), faults);
}

}  // namespace
