// OConfig: the default configuration, its switches, and writes that happen
// whole or not at all.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CellRows.h"
#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "Configuration/Configuration.h"
#include "Configuration/ConfigurationKeys.h"
#include "OConfig/ConfigurationSet.h"
#include "OConfig/ConfigurationStore.h"
#include "OConfig/OConfig.h"
#include "ScanTestSupport.h"
#include "TestWorld.h"

namespace {

// The extensions of the shipped table: six programs, nine archives, eight
// documents, eight images and nine sources.
constexpr int DefaultExtensionCount = 40;

using Lines = std::vector<std::string>;

class OConfigTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetRedirected();
  }

  static int Run(const Lines& words) {
    Lines arguments{"C:\\ORVL\\OConfig.exe"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    ResetConsoleEngine();
    runStart_ = OutputLines().size();
    return RunOConfig();
  }

  // The output of the latest Run.
  static Lines RunLines() {
    const Lines lines = OutputLines();
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(std::min(runStart_, lines.size())),
                 lines.end());
  }

  static inline std::size_t runStart_ = 0;

  // The registry's keys and values; a restored value may come back at
  // another place in its key, which the lister does not mind.
  static Lines SortedRegistry() {
    Lines lines;
    std::string text = Sim::RegistryDump();
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
      end = text.find('\n', start);
      lines.push_back(text.substr(start, end - start));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // What the lister would read now.
  static void ReadBack() {
    ResetRunValues();
    ReadConfiguration();
  }

  // The last output line that starts so (output gathers over the runs).
  static std::string LineStarting(const std::string& start) {
    const Lines lines = OutputLines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
      if (line->rfind(start, 0) == 0) return *line;
    return "(none)";
  }
};

TEST_F(OConfigTest, FirstUseWritesTheDefaultsTheListerReads) {
  EXPECT_EQ(Run({}), 0);
  ReadBack();
  const ConfigurationSet defaults = DefaultConfigurationSet();
  ASSERT_EQ(Looks.ExtensionColourCount, DefaultExtensionCount);
  EXPECT_EQ(Looks.ExtensionColours[1].Extension, "EXE");
  const ColourRec standard;
  EXPECT_EQ(Looks.Colours.PromptColour, standard.PromptColour);
  EXPECT_EQ(Looks.Colours.FileColour, standard.FileColour);
  EXPECT_EQ(Looks.PresetSwitches, "");
  EXPECT_EQ(Looks.DateFormat, "");
  const Lines first = RunLines();
  EXPECT_EQ(Lines(first.begin(), first.begin() + 2),
            (Lines{"No configuration was stored: OConfig wrote the defaults.",
                   "Orvalist configuration"}));
  for (const ColsType& slot : defaults.Extensions) {
    EXPECT_TRUE(std::none_of(slot.Extension.begin(), slot.Extension.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || c == '.';
    })) << slot.Extension;
  }

  // A second run finds the configuration and writes nothing.
  const std::string before = Sim::RegistryDump();
  Sim::FailRegistryWrites(Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(Sim::RegistryDump(), before);
}

TEST_F(OConfigTest, SwitchesChangeEverySetting) {
  Run({});
  EXPECT_EQ(Run({"/EXT:log=0x1E", "/ext:TXT=12", "/-EXT:exe", "/COLOUR:Directory=9",
                 "/color:PromptColour=31", "/SWITCHES:/W /O-S", "/DATE:yyyy-mm-dd"}),
            0);
  ReadBack();
  std::vector<std::pair<std::string, int>> table;
  for (int slot = 1; slot <= Looks.ExtensionColourCount; ++slot)
    table.emplace_back(Looks.ExtensionColours[slot].Extension, Looks.ExtensionColours[slot].Colour);
  EXPECT_EQ(std::count(table.begin(), table.end(), std::make_pair(std::string("LOG"), 0x1E)), 1);
  EXPECT_EQ(std::count(table.begin(), table.end(), std::make_pair(std::string("TXT"), 12)), 1);
  EXPECT_EQ(std::count_if(table.begin(), table.end(), [](auto& e) { return e.first == "EXE"; }), 0);
  EXPECT_EQ(Looks.Colours.DirectoryColour, 9);
  EXPECT_EQ(Looks.Colours.PromptColour, 31);
  EXPECT_EQ(Looks.PresetSwitches, "/W /O-S");
  EXPECT_EQ(Looks.DateFormat, "yyyy-mm-dd");
  // The view shows the new state; the clock stands at 7 December 2026.
  EXPECT_EQ(LineStarting("  DirectoryColour"),
            "  DirectoryColour      9    directory names and <DIR>");
  EXPECT_EQ(LineStarting("  yyyy"), "  yyyy-mm-dd   today: 2026-12-07");
  EXPECT_EQ(LineStarting("  /W"), "  /W /O-S");

  EXPECT_EQ(Run({"/DEFAULTS", "/SWITCHES:", "/DATE:"}), 0);
  ReadBack();
  EXPECT_EQ(Looks.ExtensionColourCount, DefaultExtensionCount);
  EXPECT_EQ(Looks.Colours.DirectoryColour, 14);
  EXPECT_EQ(Looks.PresetSwitches, "");
}

TEST_F(OConfigTest, BadSwitchChangesNothing) {
  Run({});
  const std::string before = Sim::RegistryDump();
  struct Case {
    const char* Argument;
    const char* Message;
  };
  const Case cases[] = {
      {"/EXT:TXT=256", "OConfig: '256' is not a colour: give a number from 0 to 255."},
      {"/EXT:TXT=1x", "OConfig: '1x' is not a colour: give a number from 0 to 255."},
      {"/EXT:.TXT=1", "OConfig: '.TXT' is not an extension (give it without the dot)."},
      {"/EXT:TXT", "OConfig: give the extension and its colour, for example /EXT:TXT=11."},
      {"/-EXT:NONE", "OConfig: no colour is set for the extension 'NONE'."},
      {"/COLOUR:Nope=1", "OConfig: there is no display colour called 'Nope'."},
      {"/SWITCHES:/W/SET", "OConfig: /SET cannot be a preset switch."},
      {"/X", "OConfig: '/X' is not an OConfig switch."},
      {"/install", "OConfig: /install stands alone."},
  };
  for (const Case& test : cases) {
    // A good switch before the bad one is not written either.
    EXPECT_EQ(Run({"/EXT:NEW=3", test.Argument}), 1) << test.Argument;
    EXPECT_EQ(Sim::RegistryDump(), before) << test.Argument;
    const Lines lines = OutputLines();
    const auto at = std::find(lines.begin(), lines.end(), test.Message);
    ASSERT_NE(at, lines.end()) << test.Message;
    EXPECT_EQ(*std::next(at), "Nothing was changed.");
    EXPECT_EQ(LineStarting("OConfig " ORVL_VERSION),
              "OConfig " ORVL_VERSION " shows and changes the Orvalist configuration.");
  }
}

TEST_F(OConfigTest, FailedWritesPutBackAndNeverDelete) {
  // Without the rights to write, nothing is written and the error is shown.
  Sim::FailRegistryWrites(Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Sim::RegistryDump(), "");
  EXPECT_EQ(RunLines(), (Lines{"OConfig could not write the configuration: Access is denied.",
                               "Writing under HKEY_LOCAL_MACHINE needs administrator rights.",
                               "The configuration was left as it was."}));

  // A change failing at any write, the putting back too, keeps every key and
  // every value it did not mean to change.
  for (int failures : {1, 3}) {
    for (int successes = 0;; ++successes) {
      Sim::Reset();
      Sim::SetRedirected();
      Run({"/EXT:LOG=5"});
      const Lines before = SortedRegistry();
      Sim::FailRegistryWrites(1450, successes, failures);
      if (Run({"/EXT:TXT=12", "/-EXT:EXE", "/DATE:yy"}) == 0) break;
      ASSERT_TRUE(ConfigurationExists()) << successes;
      ReadBack();
      EXPECT_EQ(Looks.ExtensionColours[Looks.ExtensionColourCount].Extension, "LOG") << successes;
      if (failures == 1) EXPECT_EQ(SortedRegistry(), before) << successes;
    }
  }
}

TEST_F(OConfigTest, KeyThatCannotBeOpenedIsNotCalledMissing) {
  Run({});
  Sim::FailRegistryOpen(SettingsKey, Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(RunLines(),
            (Lines{"orvl cannot use what is stored here:", "  Settings",
                   "    Access is denied: orvl stops with \"Unable to read configuration data.\"",
                   "    repair: no preset switches and the locale's date pattern",
                   "OConfig repairs these (and only these) whenever it can write the "
                   "configuration.",
                   "", "OConfig could not write the configuration: Access is denied.",
                   "Writing under HKEY_LOCAL_MACHINE needs administrator rights.",
                   "The configuration was left as it was."}));
}

TEST_F(OConfigTest, NamesThatCannotBeConvertedAreLeftAlone) {
  Run({});
  const std::string lone = "A\xED\xA0\x80";  // a lone surrogate, as UTF-8 cannot carry it
  Sim::SetRegistryDword(ExtensionsKey, lone, 5);
  EXPECT_EQ(Run({"/EXT:TXT=12", "/-EXT:EXE"}), 0);
  EXPECT_NE(Sim::RegistryDump().find("  " + lone + " dword 5 0 0 0\n"), std::string::npos);
  EXPECT_EQ(LineStarting("  1 more"), "  1 more with names that cannot be read, left as they are");
}

TEST_F(OConfigTest, WritersTakeTurns) {
  Run({});
  for (int i = 1; i <= 20; ++i) Sim::SetRegistryDword(ExtensionsKey, "X" + std::to_string(i), 1);
  // A second writer arriving in the middle waits for the first to finish.
  Sim::InterleaveRegistryWriter(1, [] {
    Sim::SetArguments({"C:\\ORVL\\OConfig.exe", "/-EXT:X2"});
    RunOConfig();
  });
  EXPECT_EQ(Run({"/-EXT:X1"}), 0);
  ReadBack();
  EXPECT_EQ(Looks.ExtensionColourCount, DefaultExtensionCount + 18);

  // One that cannot have its turn changes nothing and says so.
  const std::string before = Sim::RegistryDump();
  Sim::HoldConfigurationLockElsewhere(true);
  EXPECT_EQ(Run({"/EXT:TXT=3"}), 2);
  EXPECT_EQ(Sim::RegistryDump(), before);
  EXPECT_EQ(RunLines(),
            (Lines{"OConfig could not change the configuration: another OConfig has been changing",
                   "it for 5 seconds. Nothing was changed; try again when it has finished."}));
}

// Stopped before any of its writes, a change leaves every value old or new,
// all readable by the lister; the same switches again finish it.
TEST_F(OConfigTest, StoppedWriteLeavesEachValueOldOrNew) {
  const Lines change{"/EXT:TXT=12",         "/EXT:NEW=3",   "/-EXT:EXE",
                     "/COLOUR:Directory=9", "/SWITCHES:/W", "/DATE:yy"};
  Run({});
  Run(change);
  const std::string finished = Sim::RegistryDump();
  for (int writes = 0;; ++writes) {
    Sim::Reset();
    Sim::SetRedirected();
    Run({});
    Sim::StopRegistryWritesAfter(writes);
    try {
      Run(change);
      break;
    } catch (const Sim::ProcessExited&) {
    }
    ResetRunValues();
    ASSERT_FALSE(EndsProgram([] { ReadConfiguration(); })) << writes;
    std::map<std::string, int> table;
    for (int slot = 1; slot <= Looks.ExtensionColourCount; ++slot)
      table[Looks.ExtensionColours[slot].Extension] = Looks.ExtensionColours[slot].Colour;
    EXPECT_TRUE(table["TXT"] == 11 || table["TXT"] == 12) << writes;
    EXPECT_TRUE(Looks.Colours.DirectoryColour == 14 || Looks.Colours.DirectoryColour == 9)
        << writes;
    EXPECT_TRUE(Looks.PresetSwitches.empty() || Looks.PresetSwitches == "/W") << writes;
    Run(change);
    EXPECT_EQ(Sim::RegistryDump(), finished) << writes;
  }
}

// A first write stopped after any of its writes leaves the lister starting
// OConfig, and OConfig alone then writes what an unbroken first write would.
TEST_F(OConfigTest, StoppedFirstWriteIsCompletedLater) {
  Run({});
  const std::string whole = Sim::RegistryDump();
  for (int writes = 0;; ++writes) {
    Sim::Reset();
    Sim::SetRedirected();
    Sim::StopRegistryWritesAfter(writes);
    try {
      Run({});
      break;
    } catch (const Sim::ProcessExited&) {
    }
    ResetRunValues();
    StartupOptions().ProgramDir = "C:\\ORVL\\";
    ASSERT_TRUE(EndsProgram([] { ReadConfiguration(); })) << writes;
    EXPECT_EQ(Sim::LaunchedPrograms(), Lines{"C:\\ORVL\\OConfig.exe|max"}) << writes;
    EXPECT_EQ(Run({}), 0) << writes;
    EXPECT_EQ(Sim::RegistryDump(), whole) << writes;
  }
}

// The registry ignores the case of value names: "txt" is the lister's TXT,
// shown and written in upper case.
TEST_F(OConfigTest, NamesInAnyCaseAreOneValue) {
  struct Case {
    Lines Arguments;
    int Colour;  // of TXT afterwards; -1: none
  };
  const Case cases[] = {
      {{}, 11}, {{"/DEFAULTS"}, 11}, {{"/EXT:TXT=12"}, 12}, {{"/ext:txt=12"}, 12}, {{"/-EXT:TXT"}, -1},
  };
  for (const Case& test : cases) {
    Sim::Reset();
    Sim::SetRedirected();
    Run({});
    ASSERT_TRUE(Plat::RegDeleteKey(ExtensionsKey));
    Sim::SetRegistryDword(ExtensionsKey, "txt", 11);
    Sim::SetRegistryDword(ExtensionsKey, "Log", 3);
    EXPECT_EQ(Run(test.Arguments), 0);
    const std::string dump = Sim::RegistryDump();
    const std::string text = test.Arguments.empty() ? "" : test.Arguments.front();
    EXPECT_EQ(dump.find("  txt "), std::string::npos) << text;
    EXPECT_EQ(dump.find("  Log "), std::string::npos) << text;
    const std::string txt = "  TXT dword " + std::to_string(test.Colour) + " 0 0 0\n";
    EXPECT_EQ(dump.find(txt) != std::string::npos, test.Colour >= 0) << text;
    const Lines lines = RunLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                              return line.find("OConfig") == std::string::npos &&
                                     (line.find("TXT=") != std::string::npos ||
                                      line.find("txt=") != std::string::npos);
                            }),
              test.Colour >= 0 ? 1 : 0)
        << text;
  }
  const Lines lines = OutputLines();
  const Lines fault{"  'txt' in Colours\\Extensions",
                    "    orvl matches upper-case names only and never uses it",
                    "    now renamed TXT"};
  EXPECT_NE(std::search(lines.begin(), lines.end(), fault.begin(), fault.end()), lines.end());
}

TEST_F(OConfigTest, MissingKeyGetsDefaultsAndOthersStay) {
  Run({"/COLOUR:Directory=9", "/SWITCHES:/W", "/DATE:yy"});
  ASSERT_TRUE(Plat::RegDeleteKey(ExtensionsKey));
  EXPECT_EQ(Run({}), 0);
  ReadBack();
  EXPECT_EQ(Looks.ExtensionColourCount, DefaultExtensionCount);
  EXPECT_EQ(Looks.Colours.DirectoryColour, 9);
  EXPECT_EQ(Looks.PresetSwitches, "/W");
  EXPECT_EQ(Looks.DateFormat, "yy");
}

TEST_F(OConfigTest, UnusableValuesAreShownAndRepaired) {
  Run({});
  Sim::SetRegistryString(ExtensionsKey, "TXT", "11");
  Sim::SetRegistryDword(ExtensionsKey, "ZZ", 300);
  Sim::SetRegistryBinary(DisplayKey, EntitiesValue, std::vector<std::uint8_t>(12, 1));
  Sim::SetRegistryString(SettingsKey, SwitchesValue, "\"/SET\"");
  EXPECT_EQ(Run({}), 0);
  const Lines lines = RunLines();
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 14),
            (Lines{"OConfig repaired what orvl could not use:", "  'TXT' in Colours\\Extensions",
                   "    orvl stops with \"Invalid data type for 'TXT'\"",
                   "    now set to 11, its default", "  'ZZ' in Colours\\Extensions",
                   "    holds 300, which is no colour: orvl ignores it", "    now removed",
                   "  Entities in Colours\\Display",
                   "    orvl stops with \"Invalid data type for 'Entities'\"",
                   "    now the default display colours", "  DefaultSwitches in Settings",
                   "    orvl does not accept /SET\"", "    now no preset switches", ""}));
  ReadBack();
  EXPECT_EQ(Looks.Colours.PromptColour, 0x4E);
  EXPECT_EQ(Looks.PresetSwitches, "");
  // Repaired, nothing is left to say.
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(RunLines().front(), "Orvalist configuration");
}

TEST_F(OConfigTest, PresetsTheListerRefusesAreNotStored) {
  Run({});
  const std::string before = Sim::RegistryDump();
  struct Case {
    const char* Argument;
    const char* Message;
  };
  const Case cases[] = {
      {"/SWITCHES:/ZZZ", "OConfig: orvl does not accept /ZZZ."},
      {"/SWITCHES:\"/SET\"", "OConfig: orvl does not accept /SET\"."},
      {"/SWITCHES:/SET:", "OConfig: orvl does not accept /SET:."},
      {"/SWITCHES:/W /", "OConfig: a \"/\" has no switch after it."},
      {"/SWITCHES:/?", "OConfig: /? cannot be a preset switch."},
      // It would take every run's own arguments into its command.
      {"/SWITCHES:/@del $", "OConfig: /@ cannot be a preset switch."},
      {"/SWITCHES:/MO20000000000", "OConfig: orvl stops on /MO20000000000."},
      // Every run would stop before listing a directory.
      {"/SWITCHES:sub\\* other\\*",
       "OConfig: orvl stops with \"Multiple file specs: directory can only be specified in "
       "first parameter\"."},
      {"/SWITCHES:A* C:\\X\\B*",
       "OConfig: orvl stops with \"Multiple file specs: directory can only be specified in "
       "first parameter\"."},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(Run({test.Argument}), 1) << test.Argument;
    EXPECT_EQ(Sim::RegistryDump(), before) << test.Argument;
    // A long message is broken at blanks to fit the 80 columns.
    const Lines lines = RunLines();
    std::string message = lines.front();
    for (std::size_t k = 1; k < lines.size() && lines[k] != "Nothing was changed."; ++k)
      message += " " + lines[k];
    EXPECT_EQ(message, test.Message);
  }
  EXPECT_EQ(Run({"/SWITCHES:/W /O-S /!"}), 0);
  EXPECT_EQ(LineStarting("  /W"), "  /W /O-S /!");
  // Stored by hand, such a preset is shown and repaired.
  Sim::SetRegistryString(SettingsKey, SwitchesValue, "sub\\* other\\*");
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(LineStarting("  DefaultSwitches"), "  DefaultSwitches in Settings");
  EXPECT_EQ(LineStarting("    now no preset"), "    now no preset switches");

  // Owners on a system of the 95 family.
  Sim::SetVersion(1, 1111);
  EXPECT_EQ(Run({"/SWITCHES:/MO"}), 1);
  EXPECT_EQ(RunLines().front(),
            "OConfig: orvl stops with \"Display of owner information requires Windows NT\".");
}

// A drive that is not there now may be a removable one.
TEST_F(OConfigTest, PresetOnAMissingDriveIsKeptWithAWarning) {
  Run({});
  EXPECT_EQ(Run({"/SWITCHES:Q:\\ /W"}), 0);
  EXPECT_EQ(RunLines().front(),
            "Drive Q: of the preset switches is missing now (a removable drive?).");
  EXPECT_EQ(LineStarting("  Q:"), "  Q:\\ /W");
}

TEST_F(OConfigTest, ExtensionsPastTheTableAreCountedAsUnused) {
  Run({"/DEFAULTS"});
  for (int i = 0; i < 150; ++i) Sim::SetRegistryDword(ExtensionsKey, "X" + std::to_string(i), 1);
  EXPECT_EQ(Run({"/EXT:NEW=3"}), 1);
  EXPECT_EQ(RunLines().front(), "OConfig: 190 extensions are stored; orvl uses the first 100.");
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(LineStarting("Extension colours"),
            "Extension colours (190 stored; orvl uses the first 100)");
  EXPECT_EQ(LineStarting("  and"), "  and 90 more, which orvl does not use");
}

TEST_F(OConfigTest, InstallSetsUpAndUninstallTakesBackOnlyThePath) {
  const std::string path = "%SystemRoot%\\system32;C:\\Tools";
  Sim::SetSystemPath(path);
  EXPECT_EQ(Run({"/INSTALL"}), 0);
  EXPECT_EQ(Run({"/install"}), 0);  // a repair or a second run adds nothing
  EXPECT_EQ(Sim::SystemPath(), path + ";C:\\ORVL");
  EXPECT_EQ(OutputLines(),
            (Lines{"The configuration is in place.", "C:\\ORVL is on the system PATH.",
                   "The configuration is in place.", "C:\\ORVL is on the system PATH."}));
  ReadBack();
  EXPECT_EQ(Looks.ExtensionColourCount, DefaultExtensionCount);

  EXPECT_EQ(Run({"/UNINSTALL"}), 0);
  EXPECT_EQ(Sim::SystemPath(), path);
  EXPECT_TRUE(ConfigurationExists());
  const Lines lines = OutputLines();
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
            (Lines{"C:\\ORVL was taken off the system PATH.", "The configuration stays."}));
  EXPECT_EQ(Run({"/UNINSTALL"}), 0);
  EXPECT_EQ(OutputLines().back(), "The configuration stays.");
  EXPECT_EQ(LineStarting("C:"), "C:\\ORVL was not on the system PATH.");
}

// An upgrade uninstalls then installs: the entry goes back where it was.
TEST_F(OConfigTest, ReinstallPutsThePathEntryBackInPlace) {
  for (const std::string path :
       {"C:\\ORVL;A", "A;c:\\orvl\\;B", "A;C:\\ORVL", "A;;C:\\ORVL;B;", "C:\\ORVL"}) {
    Sim::Reset();
    Sim::SetRedirected();
    Sim::SetSystemPath(path);
    EXPECT_EQ(Run({"/UNINSTALL"}), 0) << path;
    EXPECT_EQ(Run({"/INSTALL"}), 0) << path;
    std::string expected = path;
    if (path == "A;c:\\orvl\\;B") expected = "A;C:\\ORVL;B";
    EXPECT_EQ(Sim::SystemPath(), expected);
    // The place is used once: a later uninstall and install with the
    // follower gone append the entry.
    EXPECT_EQ(Run({"/UNINSTALL"}), 0) << path;
    Sim::SetSystemPath("X");
    EXPECT_EQ(Run({"/INSTALL"}), 0) << path;
    EXPECT_EQ(Sim::SystemPath(), "X;C:\\ORVL") << path;
  }
}

TEST_F(OConfigTest, InstallKeepsAnExistingConfiguration) {
  Run({"/SWITCHES:/W", "/EXT:TXT=3"});
  const std::string before = Sim::RegistryDump();
  EXPECT_EQ(Run({"/INSTALL"}), 0);
  EXPECT_EQ(Sim::RegistryDump(), before);
}

TEST_F(OConfigTest, FailedInstallSaysWhatWasNotWritten) {
  Sim::SetSystemPath("C:\\Tools");
  Sim::FailSystemPathWrite(Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({"/INSTALL"}), 2);
  EXPECT_EQ(Sim::SystemPath(), "C:\\Tools");
  EXPECT_EQ(OutputLines(), (Lines{"OConfig could not write the system PATH: Access is denied.",
                                  "Writing under HKEY_LOCAL_MACHINE needs administrator rights.",
                                  "The system PATH was left as it was."}));

  // Without the configuration the PATH is not touched.
  Sim::Reset();
  Sim::SetRedirected();
  Sim::SetSystemPath("C:\\Tools");
  Sim::FailRegistryWrites(Plat::ErrorAccessDenied);
  EXPECT_EQ(Run({"/INSTALL"}), 2);
  EXPECT_EQ(Sim::SystemPath(), "C:\\Tools");
  EXPECT_FALSE(ConfigurationExists());
}

TEST_F(OConfigTest, ColoursAreShownInThemselves) {
  Run({});
  Sim::SetConsole(80, 80);
  EXPECT_EQ(Run({"/COLOUR:Directory=0x1E"}), 0);
  int row = 0;
  while (row < 80 && Sim::RowTrimmed(row).rfind("  DirectoryColour", 0) != 0) ++row;
  ASSERT_LT(row, 80);
  EXPECT_EQ(RowAttributes(row),
            AttributeRuns({{2, 0}, {15, 0x1E}, {6, 0}, {2, 7}, {3, 0}, {25, 7}}, 80));
}

}  // namespace
