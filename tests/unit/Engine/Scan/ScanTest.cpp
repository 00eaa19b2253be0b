#include <cmath>
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/RunState.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Listing/ColumnTable.h"
#include "Engine/Scan/Scan.h"
#include "ORVL/DirectorySteps.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;
constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;

class ScanTest : public TestWorld {
 protected:
  // The listing and the walk a run's driver keeps.
  static inline DirectoryListing Listing;
  static inline RunWalkRec Walk;

  void SetUp() override {
    TestWorld::SetUp();
    Listing = DirectoryListing{};
    Walk = RunWalkRec{};
    FreshWorld("");
    StartupOptions().ShowFree = false;
    StartupRunSpec().ClusterSize = 4096;
  }

  static void FreshWorld(const std::string& label) {
    Sim::Reset();
    ResetConsoleEngine();
    Sim::Drive drive;
    drive.Label = label;
    Sim::AddDrive(drive);
    Sim::AddDirectory("C:\\DIR");
    Sim::SetRedirected();
    ListIn("C:\\DIR\\", "*");
  }

  static void ListIn(const std::string& directory, const std::string& mask) {
    StartupRunSpec().CurrentDir = directory;
    StartupRunSpec().FileMask = mask;
    StartupRunSpec().SearchSpec = ConsoleEngine.ReportPath = directory + mask;
  }

  static void Add(const std::string& name, std::uint32_t attributes) {
    Sim::Entry entry;
    entry.Name = name;
    entry.Attributes = attributes;
    Sim::AddEntry("C:\\DIR", entry);
  }

  static void Scan() {
    StartupOptions().AliasesListed = ListingUsesAliases();  // settled at start-up in a run
    const ReadRequest request = RequestFor(RunSpec.CurrentDir, RunSpec.SearchSpec);
    DirectoryRead read = ReadDirectory(request);
    DirectoryLayout layout;
    ScanDirectory(request, read, Walk, Listing, layout);
  }

  static Lines Names() {
    Lines names;
    for (const FileEntry* entry : Listing.FileList) names.push_back(entry->Name);
    return names;
  }
};

TEST_F(ScanTest, AttributeSelectionsAndDots) {
  Add("A.TXT", Plat::AttrArchive);
  Add("H.TXT", Plat::AttrArchive | Plat::AttrHidden);
  Add("R.TXT", Plat::AttrReadOnly);
  Add("S.SYS", Plat::AttrSystem | Plat::AttrHidden);
  Add("SUB", Plat::AttrDirectory | Plat::AttrHidden);
  struct Case {
    std::vector<AttrIndex> want, exclude;
    bool filter, hideDots;
    Lines names;
    int dirs;
  };
  const Case cases[] = {
      {{}, {}, false, true, {"A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}, 1},
      {{}, {}, false, false, {".", "..", "A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}, 3},
      {{AttrH}, {}, true, true, {"H.TXT", "S.SYS", "SUB"}, 1},
      {{AttrH}, {AttrS}, true, true, {"H.TXT", "SUB"}, 1},
      {{AttrH, AttrA}, {}, true, true, {"H.TXT"}, 0},
      {{}, {AttrD, AttrH}, true, true, {"A.TXT", "R.TXT"}, 0},
      {{AttrD}, {}, true, false, {".", "..", "SUB"}, 3},
      {{}, {}, true, true, {"A.TXT", "H.TXT", "R.TXT", "S.SYS", "SUB"}, 1},
  };
  for (const Case& c : cases) {
    StartupOptions().AttrFilter = c.filter;
    StartupOptions().AttrWant = {};
    StartupOptions().AttrExclude = {};
    for (AttrIndex index : c.want) StartupOptions().AttrWant[index] = true;
    for (AttrIndex index : c.exclude) StartupOptions().AttrExclude[index] = true;
    StartupOptions().HideDots = c.hideDots;
    Scan();
    EXPECT_EQ(Names(), c.names);
    EXPECT_EQ(Listing.ListedCount, static_cast<int>(c.names.size()));
    EXPECT_EQ(Listing.DirDirCount, c.dirs);
  }
}

TEST_F(ScanTest, CountsBytesAndWholeClusters) {
  for (std::uint64_t size :
       {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{4096}, std::uint64_t{4097}, 5 * GiB + 1})
    Sim::AddFile("C:\\DIR", "F" + std::to_string(size), size);
  Add("SUB", Plat::AttrDirectory);
  Scan();
  ASSERT_EQ(Listing.FileList.size(), 6u);
  EXPECT_EQ(Listing.FileList[4]->Size, static_cast<std::int64_t>(5 * GiB + 1));
  EXPECT_EQ(Listing.DirFileCount, 5);
  EXPECT_EQ(Listing.DirDirCount, 1);
  EXPECT_EQ(Listing.DirBytes, static_cast<std::int64_t>(8194 + 5 * GiB + 1));
  EXPECT_EQ(Listing.DirAllocated, static_cast<std::int64_t>(4096 + 4096 + 8192 + 5 * GiB + 4096));
  EXPECT_EQ(Walk.TotalBytes, Listing.DirBytes);
  EXPECT_EQ(Walk.TotalAllocated, Listing.DirAllocated);

  StartupRunSpec().NoClusterSize = true;
  Scan();
  EXPECT_EQ(Listing.DirAllocated, 0);
  EXPECT_EQ(Walk.TotalAllocated, static_cast<std::int64_t>(16384 + 5 * GiB + 4096));
  EXPECT_EQ(Walk.TotalFiles, 10);
}

// Sizes a signed count cannot hold, and sums past it, stop at the largest
// count instead of wrapping to negative figures.
TEST_F(ScanTest, HugeSizesAndTheirSumsStopAtTheLargestCount) {
  constexpr std::int64_t Largest = 9223372036854775807;
  const std::uint64_t half = 1ull << 62;
  Sim::AddFile("C:\\DIR", "HALF1", half);
  Sim::AddFile("C:\\DIR", "HALF2", half);
  Sim::AddFile("C:\\DIR", "ODD", half + 1);
  Sim::AddFile("C:\\DIR", "ABSURD", 0xFFFFFFFFFFFFFFFFull);
  Scan();
  ASSERT_EQ(Listing.FileList.size(), 4u);
  EXPECT_EQ(Listing.FileList[3]->Size, Largest);
  EXPECT_EQ(Listing.DirBytes, Largest);
  EXPECT_EQ(Listing.DirAllocated, Largest);
  Scan();
  EXPECT_EQ(Walk.TotalBytes, Largest);
  EXPECT_EQ(Walk.TotalAllocated, Largest);

  // Rounding the largest size up to a whole cluster has nowhere to go either.
  FreshWorld("");
  Sim::AddFile("C:\\DIR", "LAST", static_cast<std::uint64_t>(Largest));
  Scan();
  EXPECT_EQ(Listing.DirAllocated, Largest);
}

TEST_F(ScanTest, NamesAreWholeAndAliasesFallBack) {
  Sim::Entry aliased;
  aliased.Name = "Long Document Name.txt";
  aliased.Alias = "LONGDO~1.TXT";
  Sim::AddEntry("C:\\DIR", aliased);
  Sim::AddFile("C:\\DIR", "Another long name.doc", 1);
  Sim::AddFile("C:\\DIR", std::string(259, 'x'), 1);
  SetColumns({{'f', 13}, {'n', 0}});  // aliases are kept only for a column that uses them
  Scan();
  ASSERT_EQ(Listing.FileList.size(), 3u);
  EXPECT_EQ(Listing.FileList[0]->ShortName(), "LONGDO~1.TXT");
  EXPECT_EQ(Listing.FileList[1]->ShortName(), "Another long");
  EXPECT_EQ(Listing.FileList[2]->Name, std::string(259, 'x'));
  EXPECT_EQ(Listing.MaxNameLength, 259);
  SetColumns({{'s', 7}, {'n', 0}});
  Scan();
  EXPECT_EQ(Listing.FileList[0]->ShortName(), "");  // no column uses it: not made
  SetColumns({{'f', 13}, {'n', 0}});

  const std::string directory = "C:\\" + std::string(100, 'd');
  Sim::AddFile(directory, "A.TXT", 1);
  Sim::AddFile(directory, std::string(200, 'n'), 1);
  ListIn(directory + "\\", "*");
  StartupOptions().FullPath = true;
  Scan();
  // A cut full path would name a file that does not exist.
  EXPECT_EQ(Names(), (Lines{directory + "\\A.TXT", directory + "\\" + std::string(200, 'n')}));
  EXPECT_EQ(Listing.FileList[0]->ShortName(), "A.TXT");
}

// The listing takes the read's records and names as they are, and gives its
// earlier buffers to the read for the next directory.
TEST_F(ScanTest, TheReadMovesIntoTheListingWithoutACopy) {
  Sim::AddFile("C:\\DIR", "FIRST.TXT", 1);
  Sim::AddFile("C:\\DIR", "SECOND.TXT", 1);
  Scan();
  const ReadRequest request = RequestFor(RunSpec.CurrentDir, RunSpec.SearchSpec);
  DirectoryRead read = ReadDirectory(request);
  const char* names = read.Texts.data();
  const FileEntry* records = &read.Entries[0];
  const char* earlierNames = Listing.Texts.data();
  DirectoryLayout layout;
  ScanDirectory(request, read, Walk, Listing, layout);
  EXPECT_EQ(Listing.FileList, (std::vector<FileEntry*>{&Listing.Records[0], &Listing.Records[1]}));
  EXPECT_EQ(&Listing.Records[0], records);
  EXPECT_EQ(Listing.Texts.data(), names);
  EXPECT_GE(Listing.FileList[1]->Name.data(), names);  // the name where the read put it
  EXPECT_LT(Listing.FileList[1]->Name.data(), names + Listing.Texts.size());
  EXPECT_EQ(Listing.FileList[1]->Name, "SECOND.TXT");
  EXPECT_EQ(read.Texts.data(), earlierNames);
}

TEST_F(ScanTest, RangeFiltersDropEntriesButTheirWidthsCount) {
  const Plat::FileTime inRange = Sim::MakeFileTime(2020, 1, 2);
  const Plat::FileTime outside = Sim::MakeFileTime(2021, 12, 25, 10, 11, 12);
  Sim::AddFile("C:\\DIR", "IN.TXT", 150, inRange);
  Sim::AddFile("C:\\DIR", "OUTSIDE-WITH-A-LONGER-NAME.TXT", 150, outside);
  Sim::AddFile("C:\\DIR", "TOO-BIG", 1000, inRange);
  Sim::AddFile("C:\\DIR", "LAST.TXT", 150, inRange);
  StartupOptions().TimeKindNeeded[LastWrite] = true;
  StartupOptions().DateRangeOn = StartupOptions().SizeRangeOn = true;
  StartupOptions().DateRangeStamp = LastWrite;
  StartupOptions().DateLow = StartupOptions().DateHigh = std::floor(StampToLocalDateTime(inRange));
  StartupOptions().SizeLow = 100;
  StartupOptions().SizeHigh = 200;
  Scan();
  EXPECT_EQ(Names(), (Lines{"IN.TXT", "LAST.TXT"}));
  EXPECT_EQ(Listing.FileList[1], &Listing.Records[1]);  // a dropped entry's place was taken
  EXPECT_EQ(Listing.DirFileCount, 2);
  EXPECT_EQ(Listing.DirBytes, 300);
  EXPECT_EQ(Listing.MaxNameLength, 30);
  EXPECT_EQ(Listing.TimeColumnWidth[LastWrite],
            FormatDateTime(Looks.DateFormat, StampToLocalDateTime(outside)).size());
  EXPECT_EQ(Listing.TimeColumnWidth[Creation] + Listing.TimeColumnWidth[LastAccess], 0);
}

// Copies share a stamp to the second, and the date text of the first serves
// the second; the filter must still test the second one.
TEST_F(ScanTest, AStampSharedToTheSecondIsFilteredAgain) {
  const Plat::FileTime inRange = Sim::MakeFileTime(2020, 1, 2);
  const Plat::FileTime outside = Sim::MakeFileTime(2021, 12, 25, 10, 11, 12);
  Sim::AddFile("C:\\DIR", "IN.TXT", 1, inRange);
  Sim::AddFile("C:\\DIR", "COPY1.TXT", 1, outside);
  Sim::AddFile("C:\\DIR", "COPY2.TXT", 1, outside);
  StartupOptions().TimeKindNeeded[LastWrite] = true;
  StartupOptions().DateRangeOn = true;
  StartupOptions().DateRangeStamp = LastWrite;
  StartupOptions().DateLow = StartupOptions().DateHigh = std::floor(StampToLocalDateTime(inRange));
  Scan();
  EXPECT_EQ(Names(), Lines{"IN.TXT"});
  StartupOptions().DateRangeOn = false;
  StartupOptions().TimeRangeOn = true;
  StartupOptions().TimeLow = StartupOptions().TimeHigh = 0;  // midnight only
  Scan();
  EXPECT_EQ(Names(), Lines{"IN.TXT"});
}

// ---------------------------------------------------------------- header line

TEST_F(ScanTest, HeaderPlacesTheLabelAtTheRightEdgeAndCutsThePath) {
  const std::string labelled = LineOf({{63, "Volume Label: "}, {77, "DATA"}});
  const std::string longDirectory = "C:\\" + std::string(60, 'p');
  struct Case {
    std::string label, directory;
    Lines expected;
  };
  const Case cases[] = {
      {"DATA", "C:\\DIR", {LineOf({{1, "Path: C:\\DIR\\*"}, {63, "Volume Label: DATA"}})}},
      {"DATA",
       longDirectory,
       {LineOf({{1, "Path: " + (longDirectory + "\\*").substr(0, 54) + "\x10"},
                {63, "Volume Label: DATA"}})}},
      // Without a label the room is 73: a path of 73 fits whole; a longer one
      // shows 72 characters and the marker, as any other cut text does.
      {"", "C:\\" + std::string(68, 'q'), {"Path: C:\\" + std::string(68, 'q') + "\\*"}},
      {"", "C:\\" + std::string(69, 'q'), {"Path: C:\\" + std::string(69, 'q') + "\x10"}},
      {"", "C:\\" + std::string(90, 'q'), {"Path: C:\\" + std::string(69, 'q') + "\x10"}},
  };
  for (const Case& c : cases) {
    FreshWorld(c.label);
    Sim::AddFile(c.directory, "A.TXT", 1);
    ListIn(c.directory + "\\", "*");
    Scan();
    EXPECT_EQ(OutputLines(), c.expected) << c.directory;
  }
}

TEST_F(ScanTest, HeaderColoursCaptionsAndValuesOnTheConsole) {
  FreshWorld("DATA");
  Sim::SetConsole(80, 25);
  StartupLooks().Colours.HeadingColour = 0x0C;
  StartupLooks().Colours.HeadingValueColour = 0x1A;
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Scan();
  EXPECT_EQ(Sim::RowText(0), "Path: C:\\DIR\\*" + std::string(48, ' ') + "Volume Label: DATA");
  EXPECT_EQ(RowAttributes(0),
            AttributeRuns({{6, 0x0C}, {8, 0x1A}, {48, 0}, {14, 0x0C}, {4, 0x1A}}, 80));

  // Nothing left after the filters: the message line carries the heading colour.
  FreshWorld("");
  Sim::SetConsole(80, 25);
  StartupLooks().Colours.HeadingColour = 0x0C;
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  StartupOptions().AttrFilter = StartupOptions().AttrWant[AttrS] = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(Sim::RowTrimmed(1), "No files found");
  EXPECT_EQ(RowAttributes(1), AttributeRuns({{14, 0x0C}}, 80));
}

TEST_F(ScanTest, HeaderShowsEveryMaskAndConvertsPathAndLabel) {
  FreshWorld("\u00C9T\u00E9");
  Sim::AddFile("C:\\CAF\u00C9", "B.TXT", 1);
  Sim::AddFile("C:\\CAF\u00C9", "A.DOC", 1);
  StartupRunSpec().FileSpecs = {"*.TXT", "*.XYZ", "*.DOC"};
  ListIn("C:\\CAF\u00C9\\", "*.TXT");
  Scan();
  EXPECT_EQ(Names(), (Lines{"B.TXT", "A.DOC"}));
  EXPECT_EQ(OutputLines(), Lines{LineOf({{1, "Path: C:\\CAF\x90\\*.TXT *.XYZ *.DOC"},
                                         {64, "Volume Label: \x90T\x82"}})});
}

TEST_F(ScanTest, LabelTooWideForTheLineIsLeftOut) {
  FreshWorld(std::string(32, 'L'));
  StartupOptions().RedirectWidth = 40;
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Scan();
  EXPECT_EQ(OutputLines(), Lines{"Path: C:\\DIR\\*"});
}

TEST_F(ScanTest, WalkShowsTheLabelOnlyForTheFirstDirectory) {
  FreshWorld("DATA");
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  StartupOptions().Recursive = true;
  Scan();
  Walk.FirstDirectory = false;
  Scan();
  EXPECT_EQ(OutputLines(), (Lines{LineOf({{1, "Path: C:\\DIR\\*"}, {63, "Volume Label: DATA"}}),
                                  "Path: C:\\DIR\\*"}));
}

// ---------------------------------------------------------------- nothing found, errors

TEST_F(ScanTest, PlainListingWithNothingToShowEnds) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  ListIn("C:\\DIR\\", "*.XYZ");
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(OutputLines(),
            (Lines{"Path: C:\\DIR\\*.XYZ", "No files found matching search specification"}));

  FreshWorld("DATA");
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  StartupOptions().AttrFilter = StartupOptions().AttrWant[AttrS] = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(OutputLines(), (Lines{LineOf({{1, "Path: C:\\DIR\\*"}, {63, "Volume Label: DATA"}}),
                                  "No files found"}));

  FreshWorld("DATA");
  StartupOptions().Bare = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(Sim::StdOut(), "");

  // On a console too: no row, and not even the console restore's blank.
  FreshWorld("DATA");
  Sim::SetConsole(80, 25);
  StartupOptions().Bare = true;
  EXPECT_TRUE(EndsProgram(Scan));
  EXPECT_EQ(Sim::StdOut(), "");
  EXPECT_EQ(Sim::Console().RowWrites, 0);
}

TEST_F(ScanTest, WalkDecidesPerDirectoryWhatToShow) {
  struct Case {
    const char* what;
    std::string mask;
    std::vector<std::string> specs;
    std::uint32_t failure;
    bool shown;
    int listed, counted;
    Lines lines;
  };
  const Case cases[] = {
      {"no match", "*.XYZ", {}, 0, false, 0, 0, {}},
      {"filtered", "*.TXT", {}, 0, true, 0, 1, {"Path: C:\\DIR\\*.TXT"}},
      {"first mask only",
       "*.DOC",
       {"*.DOC", "*.XYZ"},
       0,
       true,
       1,
       1,
       {"Path: C:\\DIR\\*.DOC *.XYZ"}},
      {"unreachable", "*", {}, Plat::ErrorPathNotFound, true, 0, 1, {"Path: C:\\DIR\\*"}},
  };
  for (const Case& c : cases) {
    FreshWorld("");
    Sim::AddFile("C:\\DIR", "A.TXT", 1);
    Sim::AddFile("C:\\DIR", "B.DOC", 1);
    if (c.failure) Sim::FailDirectory("C:\\DIR", c.failure);
    Walk.ShownDirCount = 0;
    StartupOptions().Recursive = true;
    StartupOptions().AttrFilter = StartupOptions().AttrWant[AttrS] =
        c.what == std::string("filtered");
    StartupRunSpec().FileSpecs = c.specs;
    ListIn("C:\\DIR\\", c.mask);
    Scan();
    EXPECT_EQ(Listing.DirShown, c.shown) << c.what;
    EXPECT_EQ(Listing.ListedCount, c.listed) << c.what;
    EXPECT_EQ(Walk.ShownDirCount, c.counted) << c.what;
    EXPECT_EQ(OutputLines(), c.lines) << c.what;
  }
}

TEST_F(ScanTest, WalkCollectsEverySubdirectory) {
  Add("A", Plat::AttrDirectory);
  Add("B", Plat::AttrDirectory | Plat::AttrHidden | Plat::AttrSystem);
  Add("F.TXT", Plat::AttrArchive);
  Add("C", Plat::AttrDirectory);
  StartupOptions().Recursive = true;
  StartupOptions().AttrFilter = StartupOptions().AttrExclude[AttrH] = true;
  ListIn("C:\\DIR\\", "*.TXT");
  Scan();
  EXPECT_EQ(Names(), Lines{"F.TXT"});
  EXPECT_EQ(Walk.PendingDirs, (Lines{"C:\\DIR\\A", "C:\\DIR\\B", "C:\\DIR\\C"}));
}

// A name of dots and blanks only would lead the walk back into this very
// directory, over and over; a trailing dot after a real name leads elsewhere.
TEST_F(ScanTest, WalkPassesOverDirectoriesThatPathsCannotName) {
  for (const char* name : {"...", " ", ". .", "A.", "B"}) Add(name, Plat::AttrDirectory);
  StartupOptions().Recursive = true;
  Scan();
  EXPECT_EQ(Walk.PendingDirs, (Lines{"C:\\DIR\\A.", "C:\\DIR\\B"}));
}

// Every text a search's code gives, with the exit status it ends the run
// with (-1: the run goes on silently); the system's texts are the simulated
// table's, as wine gives texts of its own.
TEST_F(ScanTest, FindErrorsEndTheRunOrGoOn) {
  struct Case {
    std::uint32_t code;
    bool recursive, driveInvalid;
    const char* message;
    int exit;
  };
  const Case cases[] = {
      {2, false, false, nullptr, -1},
      {2, true, false, nullptr, -1},
      {2, false, true, "No files found matching search specification", 1},
      {3, false, false, "No files found", 1},
      {3, true, false, nullptr, -1},
      {3, false, true, "Invalid drive specification", 3},
      {3, true, true, "Invalid drive specification", 3},
      {5, false, false, "File access denied", 3},
      {5, true, false, "File access denied", 3},
      {18, false, false, "No files found", 1},
      {18, true, false, "No more files", 3},
      {21, false, false, "Drive not ready", 3},
      {21, true, false, "Drive not ready", 3},
      {32, false, false,
       "The process cannot access the file because it is being used by another process", 3},
      {53, false, false, "The computer name specified in the network path cannot be located", 3},
      {65, false, false, "Access denied", 3},
      {123, false, false, "The filename, directory name, or volume label syntax is incorrect", 3},
      {206, false, false, "The filename or extension is too long", 3},
      {1005, false, false, "Error 1005", 3},
  };
  for (const Case& c : cases) {
    FreshWorld("");
    StartupOptions().Recursive = c.recursive;
    StartupRunSpec().DriveInvalid = c.driveInvalid;
    Lines expected;
    if (c.message) expected = {"Path: C:\\DIR\\*", c.message};
    int exit = -1;
    try {
      ReportFindError(c.code);
    } catch (const ProgramEnded& end) {
      exit = end.ExitCode;
    }
    EXPECT_EQ(exit, c.exit) << c.code << " " << c.recursive;
    EXPECT_EQ(OutputLines(), expected) << c.code << " " << c.recursive;
  }
  EXPECT_FALSE(EndsProgram([] { ReportFindError(0); }));
}

TEST_F(ScanTest, EveryEntryOfAHugeDirectoryIsListed) {
  // Its time is measured by bench/ListingBench.cpp, not here.
  constexpr int count = 150000;
  for (int i = 0; i < count; ++i) Sim::AddFile("C:\\DIR", "F" + std::to_string(i), 1);
  SetColumns({{'f', 13}, {'n', 0}});
  Scan();
  EXPECT_EQ(Listing.ListedCount, count);
  EXPECT_EQ(Listing.FileList.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(Listing.FileList[99999]->Name, "F99999");
  EXPECT_EQ(Listing.FileList.back()->Name, "F149999");
  EXPECT_EQ(Listing.FileList.back()->ShortName(), "F149999");
  EXPECT_EQ(Listing.DirBytes, count);
  EXPECT_EQ(OutputLines(), (Lines{"Path: C:\\DIR\\*"}));
}

TEST_F(ScanTest, RunningOutOfMemoryEndsTheRunWithAMessage) {
  Sim::AddFile("C:\\DIR", "A.TXT", 1);
  Scan();
  EXPECT_TRUE(EndsProgram([] { EndForLackOfMemory(); }));
  EXPECT_EQ(OutputLines(), (Lines{"Path: C:\\DIR\\*", "Path: C:\\DIR\\*",
                                  "Not enough memory to list every entry of this directory"}));
}

}  // namespace
