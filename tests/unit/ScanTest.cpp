#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "Common/Colours.h"
#include "Common/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunState.h"
#include "Engine/DateFormat.h"
#include "Engine/DateTimeValue.h"
#include "Engine/Scan.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;

class ScanTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDrive(Sim::Drive{});
    Sim::AddDirectory("C:\\DIR");
    Sim::SetRedirected();
    Options.ShowFree = false;
    ListIn("C:\\DIR\\", "*");
    ClusterSize = 4096;
  }

  static void LabelDrive(const std::string& label) {
    Sim::Drive drive;
    drive.Label = label;
    Sim::AddDrive(drive);
  }

  static void ListIn(const std::string& directory, const std::string& mask) {
    CurrentDir = directory;
    FileMask = mask;
    SearchSpec = directory + mask;
  }

  static Sim::Entry Item(const std::string& name, std::uint32_t attributes,
                         std::uint64_t size = 0) {
    Sim::Entry entry;
    entry.Name = name;
    entry.Attributes = attributes;
    entry.Size = size;
    return entry;
  }

  static void Scan() {
    DirFileCount = 0;
    DirDirCount = 0;
    FileList.clear();
    ScanDirectory(SearchSpec);
  }

  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const FileEntry* entry : FileList) names.push_back(entry->Name);
    return names;
  }

  static void AddMixedEntries() {
    Sim::AddEntry("C:\\DIR", Item("A.TXT", Plat::AttrArchive));
    Sim::AddEntry("C:\\DIR", Item("H.TXT", Plat::AttrArchive | Plat::AttrHidden));
    Sim::AddEntry("C:\\DIR", Item("R.TXT", Plat::AttrReadOnly));
    Sim::AddEntry("C:\\DIR", Item("S.SYS", Plat::AttrSystem | Plat::AttrHidden));
    Sim::AddEntry("C:\\DIR", Item("SUB", Plat::AttrDirectory | Plat::AttrHidden));
  }
};

// ---------------------------------------------------------------- filters

TEST_F(ScanTest, AttributeSelectionsAndDots) {
  AddMixedEntries();
  struct Case {
    std::vector<AttrIndex> want, exclude;
    bool filter, hideDots;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {{}, {}, false, true, {"A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}},
      {{}, {}, false, false, {".", "..", "A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}},
      {{AttrH}, {}, true, true, {"H.TXT", "S.SYS", "SUB"}},
      {{AttrH}, {AttrS}, true, true, {"H.TXT", "SUB"}},
      {{AttrH, AttrA}, {}, true, true, {"H.TXT"}},
      {{}, {AttrD, AttrH}, true, true, {"A.TXT", "R.TXT"}},
      {{AttrD}, {}, true, false, {".", "..", "SUB"}},
      // /A with letters that are all cleared again lists everything.
      {{}, {}, true, true, {"A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Options.AttrFilter = c.filter;
    Options.AttrWant = {};
    Options.AttrExclude = {};
    for (AttrIndex index : c.want) Options.AttrWant[index] = true;
    for (AttrIndex index : c.exclude) Options.AttrExclude[index] = true;
    Options.HideDots = c.hideDots;
    Scan();
    EXPECT_EQ(Names(), c.names) << "case " << i;
    EXPECT_EQ(ListedCount, static_cast<int>(c.names.size())) << "case " << i;
  }
}

TEST_F(ScanTest, DotsCountAsDirectories) {
  AddMixedEntries();
  Options.HideDots = false;
  Scan();
  EXPECT_EQ(DirDirCount, 3);
  EXPECT_EQ(DirFileCount, 4);
}

TEST_F(ScanTest, MultipleSpecificationsListEachInTurn) {
  Sim::AddFile("C:\\DIR", "A.DOC", 1);
  Sim::AddFile("C:\\DIR", "B.TXT", 1);
  Sim::AddFile("C:\\DIR", "C.DOC", 1);
  FileSpecs = {"*.TXT", "*.XYZ", "*.DOC"};
  ListIn("C:\\DIR\\", "*.TXT");
  Scan();
  EXPECT_EQ(Names(), (std::vector<std::string>{"B.TXT", "A.DOC", "C.DOC"}));
  EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: C:\\DIR\\*.TXT *.XYZ *.DOC"});
}

// ---------------------------------------------------------------- counters

TEST_F(ScanTest, CountsBytesAndWholeClusters) {
  Sim::AddFile("C:\\DIR", "ZERO", 0);
  Sim::AddFile("C:\\DIR", "ONE", 1);
  Sim::AddFile("C:\\DIR", "CLUSTER", 4096);
  Sim::AddFile("C:\\DIR", "MORE", 4097);
  Sim::AddFile("C:\\DIR", "HUGE", 5 * GiB + 1);
  Sim::AddEntry("C:\\DIR", Item("SUB", Plat::AttrDirectory));
  Scan();
  ASSERT_EQ(FileList.size(), 6u);
  EXPECT_EQ(FileList[4]->Size, static_cast<std::int64_t>(5 * GiB + 1));
  EXPECT_EQ(DirFileCount, 5);
  EXPECT_EQ(DirDirCount, 1);
  EXPECT_EQ(DirBytes, static_cast<std::int64_t>(0 + 1 + 4096 + 4097 + 5 * GiB + 1));
  EXPECT_EQ(DirAllocated, static_cast<std::int64_t>(0 + 4096 + 4096 + 8192 + 5 * GiB + 4096));
  EXPECT_EQ(TotalFiles, 5);
  EXPECT_EQ(TotalBytes, DirBytes);
  EXPECT_EQ(TotalAllocated, DirAllocated);
}

TEST_F(ScanTest, UnknownClusterSizeLeavesAllocationAlone) {
  Sim::AddFile("C:\\DIR", "ONE", 1);
  NoClusterSize = true;
  Scan();
  EXPECT_EQ(DirBytes, 1);
  EXPECT_EQ(DirAllocated, 0);
  EXPECT_EQ(TotalAllocated, 0);
}

TEST_F(ScanTest, TotalsAccumulateOverDirectories) {
  Sim::AddFile("C:\\DIR", "ONE", 10);
  Sim::AddFile("C:\\OTHER", "TWO", 20);
  Sim::AddFile("C:\\OTHER", "THREE", 30);
  Options.Recursive = true;
  Scan();
  ListIn("C:\\OTHER\\", "*");
  Scan();
  EXPECT_EQ(TotalFiles, 3);
  EXPECT_EQ(TotalBytes, 60);
  EXPECT_EQ(TotalAllocated, 3 * 4096);
  EXPECT_EQ(ShownDirCount, 2);
}

// ---------------------------------------------------------------- names

TEST_F(ScanTest, NamesAreCutAndAliasesFallBack) {
  const std::string longest(259, 'x');
  Sim::Entry aliased = Item("Long Document Name.txt", Plat::AttrArchive);
  aliased.Alias = "LONGDO~1.TXT";
  Sim::AddEntry("C:\\DIR", aliased);
  Sim::AddEntry("C:\\DIR", Item("Another long name.doc", Plat::AttrArchive));
  Sim::AddEntry("C:\\DIR", Item(longest, Plat::AttrArchive));
  Scan();
  ASSERT_EQ(FileList.size(), 3u);
  EXPECT_EQ(FileList[0]->ShortName, "LONGDO~1.TXT");
  EXPECT_EQ(FileList[1]->ShortName, "Another long");
  EXPECT_EQ(FileList[2]->Name, longest.substr(0, 255));
  EXPECT_EQ(MaxNameLength, 255);
}

TEST_F(ScanTest, FullPathNamesBeginWithTheDirectory) {
  const std::string directory = "C:\\" + std::string(100, 'd');
  Sim::AddFile(directory, "A.TXT", 1);
  Sim::AddFile(directory, std::string(200, 'n'), 1);
  ListIn(directory + "\\", "*");
  Options.FullPath = true;
  Scan();
  ASSERT_EQ(FileList.size(), 2u);
  EXPECT_EQ(FileList[0]->Name, directory + "\\A.TXT");
  EXPECT_EQ(FileList[0]->ShortName, "A.TXT");
  EXPECT_EQ(FileList[1]->Name, (directory + "\\" + std::string(200, 'n')).substr(0, 255));
  EXPECT_EQ(MaxNameLength, 255);
}

TEST_F(ScanTest, PoolSlotsAreReusedWithoutNewStorage) {
  Sim::AddFile("C:\\DIR", "FIRST.TXT", 1);
  Sim::AddFile("C:\\DIR", "SECOND.TXT", 1);
  Sim::AddFile("C:\\OTHER", "ONLY.TXT", 1);
  Scan();
  const char* storage = PoolSlot(1).Name.data();
  ListIn("C:\\OTHER\\", "*");
  Scan();
  ASSERT_EQ(FileList.size(), 1u);
  EXPECT_EQ(FileList[0], &PoolSlot(1));
  EXPECT_EQ(PoolSlot(1).Name.data(), storage);
  EXPECT_EQ(PoolSlot(2).Name, "SECOND.TXT");  // stale, outside the list
  EXPECT_EQ(ListedCount, 1);
}

// ---------------------------------------------------------------- time stamps and ranges

TEST_F(ScanTest, DateFilterDropsEntriesButTheirWidthsCount) {
  Plat::FileTime inRange = Sim::MakeFileTime(2020, 1, 2);
  Plat::FileTime outside = Sim::MakeFileTime(2021, 12, 25, 10, 11, 12);
  Sim::AddFile("C:\\DIR", "IN.TXT", 1, inRange);
  Sim::AddFile("C:\\DIR", "OUTSIDE-WITH-A-LONGER-NAME.TXT", 1, outside);
  Sim::AddFile("C:\\DIR", "LAST.TXT", 1, inRange);
  Options.TimeKindNeeded[LastWrite] = true;
  Options.DateRangeOn = true;
  Options.DateRangeStamp = LastWrite;
  Options.DateLow = Options.DateHigh = std::floor(StampToLocalDateTime(inRange));
  Scan();
  EXPECT_EQ(Names(), (std::vector<std::string>{"IN.TXT", "LAST.TXT"}));
  EXPECT_EQ(FileList[1], &PoolSlot(2));  // the dropped entry's slot was taken again
  EXPECT_EQ(MaxNameLength, 30);
  EXPECT_EQ(TimeColumnWidth[LastWrite],
            FormatDateTime(DateFormat, StampToLocalDateTime(outside)).size());
  EXPECT_EQ(TimeColumnWidth[Creation], 0);
  EXPECT_EQ(TimeColumnWidth[LastAccess], 0);
  EXPECT_EQ(DirFileCount, 2);
}

TEST_F(ScanTest, SizeFilterDropsEntriesFromEveryCount) {
  Sim::AddFile("C:\\DIR", "SMALL", 10);
  Sim::AddFile("C:\\DIR", "FITS", 150);
  Sim::AddFile("C:\\DIR", "LARGE", 1000);
  Options.SizeRangeOn = true;
  Options.SizeLow = 100;
  Options.SizeHigh = 200;
  Scan();
  EXPECT_EQ(Names(), std::vector<std::string>{"FITS"});
  EXPECT_EQ(DirBytes, 150);
  EXPECT_EQ(DirFileCount, 1);
}

// ---------------------------------------------------------------- header line

TEST_F(ScanTest, HeaderShowsTheLabelAtTheRightEdge) {
  LabelDrive("DATA");
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Scan();
  EXPECT_EQ(OutputLines(),
            std::vector<std::string>{
                LineOf({{1, "Path: "}, {7, "C:\\DIR\\*"}, {63, "Volume Label: "}, {77, "DATA"}})});
}

TEST_F(ScanTest, LongPathBesideTheLabelIsCutWithItsMarker) {
  LabelDrive("DATA");
  const std::string directory = "C:\\" + std::string(60, 'p');
  Sim::AddFile(directory, "A.TXT", 1);
  ListIn(directory + "\\", "*");
  Scan();
  const std::string shown = (directory + "\\*").substr(0, 54) + "\x10";
  EXPECT_EQ(OutputLines(), std::vector<std::string>{LineOf(
                               {{1, "Path: "}, {7, shown}, {63, "Volume Label: "}, {77, "DATA"}})});
}

TEST_F(ScanTest, LongPathWithoutLabel) {
  // Room is 73 columns: a path of 73 fits whole; a longer one shows 72
  // characters, as the marker would not fit behind it.
  for (int length : {73, 74, 120}) {
    Sim::Reset();
    ResetConsoleEngine();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    const std::string directory = "C:\\" + std::string(static_cast<std::size_t>(length - 5), 'q');
    Sim::AddFile(directory, "A.TXT", 1);
    ListIn(directory + "\\", "*");
    Scan();
    const std::string path = directory + "\\*";
    const std::string shown = length == 73 ? path : path.substr(0, 72);
    EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: " + shown}) << length;
  }
}

TEST_F(ScanTest, LabelTooWideForTheLineIsLeftOut) {
  Options.RedirectWidth = 40;
  LabelDrive(std::string(32, 'L'));
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Scan();
  EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: C:\\DIR\\*"});
}

TEST_F(ScanTest, WalkShowsTheLabelOnlyForTheFirstDirectory) {
  LabelDrive("DATA");
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.Recursive = true;
  Scan();
  FirstDirectory = false;
  Scan();
  EXPECT_EQ(OutputLines(),
            (std::vector<std::string>{
                LineOf({{1, "Path: "}, {7, "C:\\DIR\\*"}, {63, "Volume Label: "}, {77, "DATA"}}),
                "Path: C:\\DIR\\*"}));
}

TEST_F(ScanTest, PathIsConvertedToTheConsoleCodePageButTheLabelIsNot) {
  Sim::SetOemMapping(0xE9, 0x82);
  LabelDrive("\xE9T\xE9");
  Sim::AddFile("C:\\CAF\xE9", "A.TXT", 1);
  ListIn("C:\\CAF\xE9\\", "*");
  Scan();
  EXPECT_EQ(
      OutputLines(),
      std::vector<std::string>{LineOf(
          {{1, "Path: "}, {7, "C:\\CAF\x82\\*"}, {64, "Volume Label: "}, {78, "\xE9T\xE9"}})});
}

TEST_F(ScanTest, BareListingWritesNoHeader) {
  LabelDrive("DATA");
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.Bare = true;
  Scan();
  EXPECT_EQ(ListedCount, 1);
  EXPECT_EQ(Sim::StdOut(), "");
}

// ---------------------------------------------------------------- nothing found

TEST_F(ScanTest, MaskWithoutMatchEndsWithItsMessage) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  ListIn("C:\\DIR\\", "*.XYZ");
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(OutputLines(),
            (std::vector<std::string>{"Path: C:\\DIR\\*.XYZ",
                                      "No files found matching search specification"}));
}

TEST_F(ScanTest, EverythingFilteredOutEndsWithNoFilesFound) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.AttrFilter = true;
  Options.AttrWant[AttrS] = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(OutputLines(), (std::vector<std::string>{"Path: C:\\DIR\\*", "No files found"}));
}

TEST_F(ScanTest, BareListingEndsSilently) {
  ListIn("C:\\DIR\\", "*.XYZ");
  Options.Bare = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(Sim::StdOut(), "");
}

// ---------------------------------------------------------------- recursive scans

TEST_F(ScanTest, WalkPassesOverDirectoriesWithoutMatch) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.Recursive = true;
  ListIn("C:\\DIR\\", "*.XYZ");
  Scan();
  EXPECT_FALSE(DirShown);
  EXPECT_EQ(ListedCount, 0);
  EXPECT_EQ(ShownDirCount, 0);
  EXPECT_EQ(Sim::StdOut(), "");
}

TEST_F(ScanTest, WalkShowsADirectoryWhereOnlyTheFirstSpecificationMatched) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.Recursive = true;
  FileSpecs = {"*.TXT", "*.XYZ"};
  ListIn("C:\\DIR\\", "*.TXT");
  Scan();
  EXPECT_TRUE(DirShown);
  EXPECT_EQ(ListedCount, 1);
  EXPECT_EQ(ShownDirCount, 1);
  EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: C:\\DIR\\*.TXT *.XYZ"});
}

TEST_F(ScanTest, WalkShowsTheHeaderOfAFilteredDirectory) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Options.Recursive = true;
  Options.AttrFilter = true;
  Options.AttrWant[AttrS] = true;
  Scan();
  EXPECT_TRUE(DirShown);
  EXPECT_EQ(ListedCount, 0);
  EXPECT_EQ(ShownDirCount, 1);
  EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: C:\\DIR\\*"});
}

TEST_F(ScanTest, WalkShowsAnUnreachableDirectoryAndGoesOn) {
  Sim::FailDirectory("C:\\DIR", Plat::ErrorPathNotFound);
  Options.Recursive = true;
  Scan();
  EXPECT_TRUE(DirShown);
  EXPECT_EQ(ShownDirCount, 1);
  EXPECT_EQ(OutputLines(), std::vector<std::string>{"Path: C:\\DIR\\*"});
}

TEST_F(ScanTest, WalkEndsOnAccessDenied) {
  Sim::AddFile("C:\\DIR\\LOCKED", "A.TXT", 1);
  Sim::FailDirectory("C:\\DIR\\LOCKED", Plat::ErrorAccessDenied);
  Options.Recursive = true;
  ListIn("C:\\DIR\\LOCKED\\", "*");
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(OutputLines(),
            (std::vector<std::string>{"Path: C:\\DIR\\LOCKED\\*", "File access denied"}));
}

TEST_F(ScanTest, WalkCollectsEverySubdirectory) {
  Sim::AddEntry("C:\\DIR", Item("A", Plat::AttrDirectory));
  Sim::AddEntry("C:\\DIR", Item("B", Plat::AttrDirectory | Plat::AttrHidden | Plat::AttrSystem));
  Sim::AddFile("C:\\DIR", "F.TXT", 1);
  Sim::AddEntry("C:\\DIR", Item("C", Plat::AttrDirectory));
  Options.Recursive = true;
  Options.AttrFilter = true;
  Options.AttrExclude[AttrH] = true;
  ListIn("C:\\DIR\\", "*.TXT");
  Scan();
  EXPECT_EQ(Names(), std::vector<std::string>{"F.TXT"});
  EXPECT_EQ(PendingDirs, (std::vector<std::string>{"C:\\DIR\\A", "C:\\DIR\\B", "C:\\DIR\\C"}));
}

// ---------------------------------------------------------------- find errors

TEST_F(ScanTest, FindErrorsEndTheRunOrGoOn) {
  struct Case {
    std::uint32_t code;
    bool recursive, driveInvalid;
    const char* message;  // null: the run goes on silently
  };
  const Case cases[] = {
      {2, false, false, nullptr},
      {2, true, false, nullptr},
      {2, false, true, "No files found matching search specification"},
      {3, false, false, "No files found"},
      {3, true, false, nullptr},
      {3, false, true, "Invalid drive specification"},
      {3, true, true, "Invalid drive specification"},
      {5, false, false, "File access denied"},
      {5, true, false, "File access denied"},
      {18, false, false, "No files found"},
      {18, true, false, "No more files"},
      {21, true, false, "Drive not ready"},
      {1005, false, false, "Error 1005"},
  };
  for (const Case& c : cases) {
    Sim::Reset();
    Sim::SetRedirected();
    ResetConsoleEngine();
    Options.Recursive = c.recursive;
    DriveInvalid = c.driveInvalid;
    bool ended = EndsProgram([&] { ReportFindError(c.code); });
    std::vector<std::string> expected;
    if (c.message) expected = {"Path: C:\\DIR\\*", c.message};
    EXPECT_EQ(ended, c.message != nullptr) << c.code << " " << c.recursive;
    EXPECT_EQ(OutputLines(), expected) << c.code << " " << c.recursive;
  }
  EXPECT_FALSE(EndsProgram([] { ReportFindError(0); }));
}

// ---------------------------------------------------------------- pool capacity

TEST_F(ScanTest, EntriesBeyondThePoolAreCountedButNotListed) {
  // A quadratic step anywhere would take minutes here.
  const auto started = std::chrono::steady_clock::now();
  Sim::AddEntry("C:\\DIR", Item("HIDDEN", Plat::AttrHidden | Plat::AttrArchive, 7));
  for (int i = 0; i < EntryPoolSlots; ++i) Sim::AddFile("C:\\DIR", "F" + std::to_string(i), 1);

  Scan();
  EXPECT_EQ(ListedCount, EntryPoolSlots);
  EXPECT_EQ(FileList.size(), static_cast<std::size_t>(EntryPoolSlots));
  EXPECT_EQ(FileList.back()->Name, "F99998");
  EXPECT_EQ(DirFileCount, EntryPoolSlots + 1);
  EXPECT_EQ(DirBytes, EntryPoolSlots + 7);
  EXPECT_EQ(DirAllocated, static_cast<std::int64_t>(EntryPoolSlots + 1) * 4096);
  EXPECT_TRUE(EntryLimitReached);
  EXPECT_EQ(OutputLines(), (std::vector<std::string>{"Path: C:\\DIR\\*",
                                                     "Only the first 100,000 entries are listed"}));

  // Exactly a full pool is no overflow.
  Options.AttrFilter = true;
  Options.AttrExclude[AttrH] = true;
  Scan();
  EXPECT_EQ(ListedCount, EntryPoolSlots);
  EXPECT_EQ(DirFileCount, EntryPoolSlots);
  EXPECT_FALSE(EntryLimitReached);
  EXPECT_EQ(OutputLines().size(), 3u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

}  // namespace
