// The registry configuration: first run, missing keys, wrong value types,
// short and long colour values, and the extension table it fills.
#include <string>
#include <vector>

#include "RunValues/Colours.h"
#include "Configuration/Configuration.h"
#include "Configuration/ConfigurationKeys.h"
#include "Engine/Listing/NameColour.h"
#include "ScanTestSupport.h"
#include "ListingBuilder.h"
#include "TestWorld.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

class ConfigurationTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetRedirected();
    StartupOptions().ProgramDir = "C:\\ORVL\\";
  }

  // A complete configuration with an empty extension table.
  static void Configure() {
    Sim::AddRegistryKey(ExtensionsKey);
    Sim::SetRegistryBinary(DisplayKey, EntitiesValue, {7, 15, 14, 3, 12, 10, 15, 78, 14, 15, 15});
    Sim::SetRegistryString(SettingsKey, SwitchesValue, "");
    Sim::SetRegistryString(SettingsKey, DateValue, "");
  }

  // The run's output when reading ends the program; empty when it does not.
  static Lines EndingOutput() {
    if (!EndsProgram([] { ReadConfiguration(); })) return {};
    return OutputLines();
  }

  static Bytes Colours11() {
    Bytes bytes;
    const ColourRec& c = Looks.Colours;
    for (std::uint8_t colour :
         {c.FileColour, c.DateColour, c.DirectoryColour, c.LineColour, c.HeadingColour,
          c.HeadingValueColour, c.DetailColour, c.PromptColour, c.SummaryFigureColour,
          c.SummaryTextColour, c.BannerColour})
      bytes.push_back(colour);
    return bytes;
  }
};

TEST_F(ConfigurationTest, FirstRunStartsTheConfigurationProgram) {
  EXPECT_EQ(EndingOutput(),
            Lines{"Running OCONFIG so you can set up default configuration (first time only)"});
  EXPECT_EQ(Sim::LaunchedPrograms(), std::vector<std::string>{"C:\\ORVL\\OConfig.exe|max"});

  // When OConfig cannot be started, the run says why (the system's message
  // with its insert filled) and where it was looked for.
  struct Case {
    std::uint32_t Error;
    const char* Reason;
  };
  const Case cases[] = {
      {Plat::ErrorFileNotFound, "The system cannot find the file specified."},
      {193, "OConfig.exe is not a valid Win32 application."},
  };
  for (const Case& test : cases) {
    Sim::Reset();
    Sim::SetRedirected();
    ResetConsoleEngine();
    Sim::FailLaunch(test.Error);
    EXPECT_EQ(EndingOutput(),
              (Lines{"Running OCONFIG so you can set up default configuration (first time only)",
                     std::string("OConfig could not be started: ") + test.Reason,
                     "It was looked for as C:\\ORVL\\OConfig.exe"}));
  }
}

// OConfig's first write left its mark, of whatever type: it completes the set.
TEST_F(ConfigurationTest, AnUnfinishedFirstWriteStartsTheConfigurationProgram) {
  Configure();
  Sim::SetRegistryString(SettingsKey, UnfinishedValue, "");
  EXPECT_EQ(EndingOutput(),
            Lines{"Running OCONFIG so you can set up default configuration (first time only)"});
}

TEST_F(ConfigurationTest, MissingDisplayOrSettingsKeyCannotBeRead) {
  Sim::AddRegistryKey(ExtensionsKey);
  EXPECT_EQ(EndingOutput(), Lines{"Unable to read configuration data."});

  Sim::Reset();
  Sim::SetRedirected();
  ResetConsoleEngine();
  Sim::AddRegistryKey(ExtensionsKey);
  Sim::AddRegistryKey(DisplayKey);
  EXPECT_EQ(EndingOutput(), Lines{"Unable to read configuration data."});
  EXPECT_TRUE(Sim::LaunchedPrograms().empty());
}

TEST_F(ConfigurationTest, BadValuesEndTheRunNamingTheValue) {
  struct Case {
    const char* Key;
    const char* Name;
    Plat::RegType Type;
    Bytes Data;
    std::uint32_t ReadError;  // non-zero: the data cannot be fetched
    const char* Message;
  };
  using T = Plat::RegType;
  const Case cases[] = {
      {ExtensionsKey, "TXT", T::String, {'1', '0'}, 0, "Invalid data type for 'TXT'"},
      {ExtensionsKey, "BIN", T::Binary, {10, 0, 0, 0}, 0, "Invalid data type for 'BIN'"},
      {ExtensionsKey, "LOG", T::Dword, {10, 0, 0, 0, 0}, 0, "Invalid data type for 'LOG'"},
      {DisplayKey, "Entities", T::Dword, {7, 0, 0, 0}, 0, "Invalid data type for 'Entities'"},
      {DisplayKey, "Entities", T::Binary, Bytes(12, 7), 0, "Invalid data type for 'Entities'"},
      {SettingsKey,
       "DefaultSwitches",
       T::Dword,
       {1, 0, 0, 0},
       0,
       "Invalid data type for 'DefaultSwitches'"},
      {SettingsKey, "DefaultDate", T::Other, {'x'}, 0, "Invalid data type for 'DefaultDate'"},
      {ExtensionsKey, "TXT", T::Dword, {10, 0, 0, 0}, 1450, "Failed to get data for 'TXT'"},
      {DisplayKey, "Entities", T::Binary, {7}, 1450, "Failed to get data for 'Entities'"},
      {SettingsKey, "DefaultDate", T::String, {'d'}, 1450, "Failed to get data for 'DefaultDate'"},
  };
  for (const Case& test : cases) {
    SetUp();
    Configure();
    Sim::SetRegistryValue(test.Key, test.Name, test.Type, test.Data);
    if (test.ReadError) Sim::FailRegistryRead(test.Key, test.Name, test.ReadError);
    EXPECT_EQ(EndingOutput(), Lines{test.Message}) << test.Message;
  }
}

TEST_F(ConfigurationTest, ReadsEveryPart) {
  Configure();
  Sim::SetRegistryDword(ExtensionsKey, "TXT", 10);
  Sim::SetRegistryDword(ExtensionsKey, "EXE", 12);
  Sim::SetRegistryDword(ExtensionsKey, "bin", 9);  // lower case: never matches
  Sim::SetRegistryDword(ExtensionsKey, "\xFF", 7);  // a name the system cannot convert: passed over
  Sim::SetRegistryDword(ExtensionsKey, "GZ", 0x1E);
  Sim::SetRegistryDword(ExtensionsKey, "MAX", 255);
  Sim::SetRegistryDword(ExtensionsKey, "OVER", 256);  // no attribute: passed over
  Sim::SetRegistryBinary(DisplayKey, EntitiesValue, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  Sim::SetRegistryString(SettingsKey, SwitchesValue, "/W /O-S");
  // An expandable string, cut at its first NUL.
  Sim::SetRegistryValue(SettingsKey, DateValue, Plat::RegType::ExpandString,
                        {'y', 'y', '-', 'm', 'm', 0, 'x'});

  ReadConfiguration();
  EXPECT_EQ(Colours11(), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(Looks.PresetSwitches, "/W /O-S");
  EXPECT_EQ(Looks.DateFormat, "yy-mm");
  ASSERT_EQ(Looks.ExtensionColourCount, 5);
  std::vector<std::pair<std::string, int>> slots;
  for (int slot = 1; slot <= 5; ++slot)
    slots.emplace_back(Looks.ExtensionColours[slot].Extension, Looks.ExtensionColours[slot].Colour);
  EXPECT_EQ(slots, (std::vector<std::pair<std::string, int>>{
                       {"TXT", 10}, {"EXE", 12}, {"bin", 9}, {"GZ", 0x1E}, {"MAX", 255}}));

  struct Case {
    const char* Name;
    bool Directory;
    std::uint8_t Colour;
  };
  const Case names[] = {{"readme.txt", false, 10},      {"setup.EXE", false, 12},
                        {"setup.exe", false, 12},       {"notes", false, 1},
                        {"data.bin", false, 1},         {"src.txt", true, 3},
                        {"archive.tar.gz", false, 0x1E}};
  for (const Case& test : names) {
    ListingBuilder built;
    built.Add(test.Name, 0, test.Directory ? Plat::AttrDirectory : Plat::AttrArchive);
    EXPECT_EQ(NameColour(*built.Listed().FileList[0]), test.Colour) << test.Name;
  }
}

// Another writer makes the value longer between the answer "more data" and
// the next read: the read is made again at the new size.
TEST_F(ConfigurationTest, ValueThatGrowsWhileReadIsReadWhole) {
  for (std::size_t grown : {300u, 5000u}) {
    SetUp();
    Configure();
    const std::string first(290, 'a'), second(grown + 1, 'b');
    Sim::SetRegistryString(SettingsKey, SwitchesValue, first);
    Sim::GrowRegistryValueOnRead(SettingsKey, SwitchesValue, Bytes(second.begin(), second.end()));
    EXPECT_EQ(EndingOutput(), Lines{}) << grown;
    EXPECT_EQ(Looks.PresetSwitches, second) << grown;
  }
}

TEST_F(ConfigurationTest, ShortOrMissingColoursKeepTheDefaults) {
  const Bytes defaults{7, 15, 14, 3, 12, 10, 15, 78, 14, 15, 15};
  Configure();
  Sim::SetRegistryBinary(DisplayKey, EntitiesValue, {1, 2, 3});
  ReadConfiguration();
  EXPECT_EQ(Colours11(), (Bytes{1, 2, 3, 3, 12, 10, 15, 78, 14, 15, 15}));

  SetUp();
  Sim::AddRegistryKey(ExtensionsKey);
  Sim::AddRegistryKey(DisplayKey);
  Sim::AddRegistryKey(SettingsKey);
  ReadConfiguration();
  EXPECT_EQ(Colours11(), defaults);
  EXPECT_EQ(Looks.PresetSwitches, "");
  EXPECT_EQ(Looks.DateFormat, "");
}

TEST_F(ConfigurationTest, TableKeepsTheFirstHundredColours) {
  Configure();
  for (int i = 1; i <= 105; ++i)
    Sim::SetRegistryDword(ExtensionsKey, "E" + std::to_string(i), i == 2 ? 256 : i);
  ReadConfiguration();
  // E2 is no attribute and is skipped; E101 and later do not fit.
  ASSERT_EQ(Looks.ExtensionColourCount, 99);
  EXPECT_EQ(Looks.ExtensionColours[1].Extension, "E1");
  EXPECT_EQ(Looks.ExtensionColours[2].Extension, "E3");
  EXPECT_EQ(Looks.ExtensionColours[99].Extension, "E100");
  EXPECT_EQ(Looks.ExtensionColours[99].Colour, 100);
}

}  // namespace
