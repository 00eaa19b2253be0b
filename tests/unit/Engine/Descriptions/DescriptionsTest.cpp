#include <string>
#include <vector>

#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/Entries/Entries.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ListingFields.h"
#include "Engine/Listing/ListingLayout.h"
#include "ORVL/Driver.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

using Lines = std::vector<std::string>;

class DescriptionsTest : public TestWorld {
 protected:
  static inline DescriptionTable Table;

  void SetUp() override {
    TestWorld::SetUp();
    Sim::AddDirectory("C:\\D");
    Table = DescriptionTable{};
  }

  static bool Load(const std::string& bytes) {
    Sim::SetFileContents("C:\\D\\DESCRIPT.ION", bytes);
    return LoadDescriptions("C:\\D\\DESCRIPT.ION", Table);
  }

  // Loads and sorts as the scan's description step does.
  static void Prepare(const std::string& bytes) {
    Sim::SetFileContents("C:\\D\\DESCRIPT.ION", bytes);
    StartupOptions().ShowDescriptions = StartupOptions().FormatChosen = true;
    PrepareDescriptions("C:\\D\\", Table);
  }

  static const std::string& LookupDescription(std::string_view name) {
    return ::LookupDescription(Table, name);
  }
};

TEST_F(DescriptionsTest, WorkedLines) {
  Prepare(
      "README.TXT Read me first\r\n"
      "readme2.txt    padded text\n"
      "\"A.TXT\" quoted\r\n"
      "\"ABCDEFGH.TXT\" long quoted\n"
      "Annual report 1997.doc yearly\n"
      "NOBLANK\n"
      "dup.txt first\n"
      "DUP.TXT second\n"
      "TRAIL.TXT ends in blanks  ");
  EXPECT_TRUE(Table.Here);
  struct Row {
    const char* Name;
    const char* Description;
  } rows[] = {
      {"readme.txt", "Read me first"},
      {"README2.TXT", "padded text"},
      {"A.TXT", ""},
      {"A.TXT\"", "quoted"},
      {"abcdefgh.txt", "long quoted"},
      {"Annual report 1997.doc", ""},
      {"ANNUAL", "report 1997.doc yearly"},
      {"", "NOBLANK"},
      {"Dup.txt", "first"},
      {"TRAIL.TXT", "ends in blanks  "},
      {"MISSING.TXT", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(LookupDescription(row.Name), row.Description) << row.Name;
}

TEST_F(DescriptionsTest, MarkerLinesAndMissingFilesGiveNone) {
  EXPECT_FALSE(Load("A.TXT -\x04Q marker\r\nB.TXT    -\x04Qx\n"));
  EXPECT_FALSE(LoadDescriptions("C:\\D\\NONE.ION", Table));
  Sim::AddDirectory("C:\\D\\DIR.ION");
  EXPECT_FALSE(LoadDescriptions("C:\\D\\DIR.ION", Table));
  // A marker line leaves its slot to the next line.
  EXPECT_TRUE(Load("A.TXT -\x04Q marker\nB.TXT bee\n"));
  EXPECT_EQ(Table.TextCount, 1u);
  EXPECT_EQ(Table.Pool[0].Name, "B.TXT");
}

TEST_F(DescriptionsTest, EveryOneOfManyRecordsIsFound) {
  for (int count : {1, 65535, 70000}) {
    std::string bytes;
    for (int i = count; i-- > 0;)
      bytes += "F" + std::to_string(i) + ".X d" + std::to_string(i) + "\n";
    Prepare(bytes);
    for (int i = 0; i < count; i += (count > 1 ? 997 : 1))
      ASSERT_EQ(LookupDescription("f" + std::to_string(i) + ".x"), "d" + std::to_string(i))
          << count;
    EXPECT_EQ(LookupDescription("F" + std::to_string(count - 1) + ".X"),
              "d" + std::to_string(count - 1));
    Table.Clear();
  }
}

// Whatever the file holds, what can be read is read and nothing else happens.
TEST_F(DescriptionsTest, BadFilesAreReadAsFarAsTheyGo) {
  EXPECT_TRUE(Load("LONG.TXT " + std::string(100000, 'x') + "\nNEXT.TXT n"));
  EXPECT_EQ(LookupDescription("LONG.TXT"), std::string(1015, 'x'));  // the line's first 1,024 bytes
  EXPECT_EQ(LookupDescription("NEXT.TXT"), "n");

  Prepare(
      std::string("N\0L.TXT a\0b\nEND.TXT e\x1A"
                  "AFTER.TXT x\n",
                  34));
  EXPECT_EQ(LookupDescription(std::string("N\0L.TXT", 7)), std::string("a\0b", 3));
  EXPECT_EQ(LookupDescription("END.TXT"), "e");
  EXPECT_EQ(LookupDescription("AFTER.TXT"), "");

  std::string binary;
  for (unsigned i = 0, seed = 1; i < 300000; ++i, seed = seed * 1103515245u + 12345u)
    binary += static_cast<char>((seed >> 16) == 0x1A ? 0 : seed >> 16);
  Prepare(binary);

  std::string many;
  for (int i = 0; i < 200000; ++i) many += "F" + std::to_string(i) + " d\n";
  EXPECT_TRUE(Load(many));
  EXPECT_EQ(Table.TextCount, DescriptionPoolSlots);  // the surplus lines are ignored

  // Reading stops at the byte limit; the line it cuts is dropped.
  Sim::SetFileContents("C:\\D\\DESCRIPT.ION", "A.TXT one\nB.TXT two\nC.TXT three\n");
  EXPECT_TRUE(LoadDescriptions("C:\\D\\DESCRIPT.ION", Table, 25));
  EXPECT_EQ(Table.TextCount, 2u);
  EXPECT_EQ(LookupDescription("B.TXT"), "two");
  // Only a plain file: a link, which may lead to a device, is not read.
  Sim::Entry link;
  link.Name = "DESCRIPT.ION";
  link.Attributes = Plat::AttrArchive | Plat::AttrReparsePoint;
  Sim::AddDirectory("C:\\L");
  Sim::SetFileContents("C:\\L\\DESCRIPT.ION", "A.TXT one\n");
  Sim::AddEntry("C:\\L", link);
  EXPECT_FALSE(LoadDescriptions("C:\\L\\DESCRIPT.ION", Table));

  Sim::SetReadChunkLimit(5);
  Sim::FailFileRead("C:\\D\\DESCRIPT.ION", 23);
  EXPECT_TRUE(Load("AB.TXT one\nCD.TXT two\n"));  // the first piece is kept
  EXPECT_EQ(Table.TextCount, 1u);
  EXPECT_EQ(LookupDescription("AB.TX"), "");
}

// The ANSI code page (1252), or UTF-8 after a byte-order mark, however the
// file is read; names are cut after 13 characters and lines never inside one.
TEST_F(DescriptionsTest, AnsiAndUtf8Files) {
  const std::string mark = "\xEF\xBB\xBF";
  struct Row {
    std::string Bytes;
    const char* Name;
    std::string Description;
  } rows[] = {
      {"caf\xE9.txt caf\xE9 \x80\r\n", "caf\u00E9.txt", "caf\u00E9 \u20AC"},
      {mark + "caf\u00E9.txt \u65E5\u672C \U0001F600\r\n", "CAF\u00E9.TXT",
       "\u65E5\u672C \U0001F600"},
      {"caf\u00E9.txt x", "caf\u00C3\u00A9.txt", "x"},  // no mark: read as 1252
      {mark + "\"\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9.TXT\" quoted",
       "\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9.TXT", "quoted"},
      {mark + "L.TXT " + Repeat("\u00E9", 600), "L.TXT", Repeat("\u00E9", 507)},
  };
  for (std::size_t limit : {std::size_t{64 * 1024}, std::size_t{2}}) {
    Sim::SetReadChunkLimit(limit);
    for (const Row& row : rows) {
      EXPECT_TRUE(Load(row.Bytes)) << row.Name;
      EXPECT_EQ(LookupDescription(row.Name), row.Description) << row.Name << " " << limit;
    }
  }
}

// A /Z walk over C:\R with a description file only in A: the others are
// listed in the layout from before /Z, and A in the description layout.
TEST_F(DescriptionsTest, LayoutSwapsPerDirectory) {
  Sim::AddDrive(Sim::Drive{});
  Sim::SetRedirected();
  Sim::AddConfiguration();
  for (const char* directory : {"C:\\R\\A", "C:\\R\\B"}) {
    Sim::AddDirectory(directory);
    Sim::Entry entry;
    entry.Name = "Long name.txt";
    entry.Alias = "LONGNA~1.TXT";
    entry.Size = 5;
    Sim::AddEntry(directory, entry);
    Sim::AddFile(directory, "NOTE.TXT", 7);
  }
  Sim::SetFileContents("C:\\R\\A\\DESCRIPT.ION",
                       "note.txt the quick brown fox jumps over the lazy dog and runs on and on "
                       "until the line ends\r\n");
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\R\\*.TXT", "/S", "/Z", "/H"});
  RunOrvl();
  const std::string V(1, static_cast<char>(179));
  Lines expected = {
      "Path: C:\\R\\B\\*.TXT",
      "     5 Long name.txt     " + V + "     7 NOTE.TXT          " + V,
      "Path: C:\\R\\A\\*.TXT",
      LineOf({{1, "     5"}, {8, "LONGNA~1.TXT"}, {21, "Long name.txt"}}),
      LineOf({{1, "     7"},
              {8, "NOTE.TXT"},
              {21, "the quick brown fox jumps over the lazy dog and runs on and"}}),
      LineOf({{21, "on until the line ends"}}),
  };
  Lines lines = OutputLines();
  Lines shown;
  for (const std::string& line : lines)
    if (line.rfind("Path: ", 0) == 0 || line.find("NOTE.TXT") != std::string::npos ||
        line.find("Long name") != std::string::npos || line.find("until") != std::string::npos)
      shown.push_back(line);
  EXPECT_EQ(shown, expected);
}

// A description column that starts beyond the line (a date wider than its
// plan pushes it there) has no room: no description, and no empty lines.
TEST_F(DescriptionsTest, NoRoomShowsNoDescription) {
  WriteAt("     5 A.TXT", 1, 7);
  WriteDescriptionText(30, std::string(60, 'x'), 85);
  NewLine();
  WriteDescriptionText(30, "abc def", 78);  // a room of three cells still wraps
  NewLine();
  EXPECT_EQ(ConsoleEngine.CurrentRow, 3);
  EXPECT_EQ(Sim::RowTrimmed(0), "     5 A.TXT");
  EXPECT_EQ(Sim::RowTrimmed(1), std::string(77, ' ') + "abc");
  EXPECT_EQ(Sim::RowTrimmed(2), std::string(77, ' ') + "def");
}

}  // namespace
