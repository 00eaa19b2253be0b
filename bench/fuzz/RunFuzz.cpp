// Fuzz driver: whole runs of the program on the simulated platform with random
// command lines, console shapes, date patterns and locales, and direct calls of
// the parsers and formatters. A run must return 0 without a crash, a hang or a
// sanitizer report.
//
// With clang's libFuzzer (one configure line):
//   cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
//     -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined
//     -fno-sanitize-recover=undefined -D_GLIBCXX_ASSERTIONS -Wno-unknown-warning-option"
//   cmake --build build/fuzz --target orvl_fuzz
//   build/fuzz/orvl_fuzz -max_len=4096 -timeout=10 -rss_limit_mb=4096 -max_total_time=600 CORPUS
// With any other compiler (configured with the same sanitizers) the target is a
// plain random loop: orvl_fuzz [seconds] [seed], or orvl_fuzz FILE to replay one
// input and see what it runs (the loop keeps its current input in
// orvl-fuzz-last.bin), or orvl_fuzz --sweep for a fixed grid of switch sets,
// console shapes and redirection widths.
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "Common/Colours.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/State.h"
#include "Console/Console.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/CommandLine/SwitchTable.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
#include "ORVL/Driver.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

namespace {

// Replaying one input shows what it runs.
bool Verbose = false;

// ---------------------------------------------------------------- input bytes

// Texts are read from the front of the input and the shape of the world from
// its back, so that a short input still gets a command line; both read 0 once
// they meet, and 0 always picks the plain choice.
struct ByteSource {
  const std::uint8_t* Data;
  std::size_t Front;
  std::size_t Back;
};

std::uint8_t TextByte(ByteSource& in) { return in.Front < in.Back ? in.Data[in.Front++] : 0; }
std::uint8_t ShapeByte(ByteSource& in) { return in.Front < in.Back ? in.Data[--in.Back] : 0; }

int PickText(ByteSource& in, int count) { return count <= 1 ? 0 : TextByte(in) % count; }
int Pick(ByteSource& in, int count) { return count <= 1 ? 0 : ShapeByte(in) % count; }
// A rare variation of the world: one input in eight (never on a zero byte).
bool Rare(ByteSource& in) { return ShapeByte(in) % 8 == 7; }

std::uint64_t ShapeWord(ByteSource& in, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | ShapeByte(in);
  return value;
}

std::uint64_t TextWord(ByteSource& in, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | TextByte(in);
  return value;
}

template <std::size_t N>
const char* PickFrom(ByteSource& in, const char* const (&words)[N]) {
  return words[TextByte(in) % N];
}

// ---------------------------------------------------------------- dictionaries

const char* const Fragments[] = {"/",
                                 "/",
                                 "/",
                                 "-",
                                 "-",
                                 ":",
                                 "\"",
                                 "@",
                                 "\\",
                                 "*",
                                 "?",
                                 ".",
                                 "..",
                                 "C:",
                                 "D:",
                                 "Z:",
                                 "\\\\srv\\share",
                                 "\\\\srv\\share\\",
                                 ",",
                                 "]",
                                 "[",
                                 "[D",
                                 "[T",
                                 "[S",
                                 "M",
                                 "O",
                                 "A",
                                 "K",
                                 "T",
                                 "G",
                                 "S",
                                 "B",
                                 "W",
                                 "D",
                                 "V",
                                 "X",
                                 "N",
                                 "Z",
                                 "Q",
                                 "E",
                                 "L",
                                 "!",
                                 "J",
                                 "Y",
                                 "Y2K",
                                 "7BIT",
                                 "BYTE",
                                 "TREE",
                                 "TURBO",
                                 "FREE",
                                 "CLR",
                                 "I",
                                 "U",
                                 "F",
                                 "H",
                                 "P",
                                 "R",
                                 "C",
                                 "0",
                                 "1",
                                 "2",
                                 "3",
                                 "4",
                                 "5",
                                 "9",
                                 "12",
                                 "99",
                                 "100",
                                 "1439",
                                 "9999",
                                 "+",
                                 " ",
                                 "AM",
                                 "PM",
                                 "am",
                                 "a",
                                 "w",
                                 "c",
                                 "k",
                                 "m",
                                 "g",
                                 "t",
                                 "e",
                                 "E",
                                 ".5",
                                 "1.5",
                                 "e99",
                                 "E-400",
                                 "9999999999",
                                 "2147483647",
                                 "2147483648",
                                 "-2147483648",
                                 "9223372036854775807",
                                 "9223372036854775808",
                                 "18446744073709551616",
                                 "DIR",
                                 "SUB",
                                 "A B",
                                 "\x80",
                                 "\xff",
                                 "\xe9",
                                 "\x10",
                                 "\x01",
                                 "~",
                                 "|",
                                 "",
                                 "*.*",
                                 "*.TXT",
                                 "README.",
                                 "...",
                                 "DIR\\SUB",
                                 "C:\\DIR",
                                 "C:\\DIR\\",
                                 "C:.",
                                 "x.y.z"};

// Switch words from the parser's own table, and the range switch with each
// kind; the argument is appended separately.
const std::vector<std::string> SwitchWords = [] {
  std::vector<std::string> words = SwitchWordList();
  words.insert(words.end(), {"[D", "[T", "[S"});
  return words;
}();

const char* PickFrom(ByteSource& in, const std::vector<std::string>& words) {
  return words[TextByte(in) % words.size()].c_str();
}

const char* const ArgumentPieces[] = {
    "N",        "S",        "T",         "T1",    "T2",    "T3",    "A",       "F",
    "D",        "O",        "O5",        "O20",   "O0",    "O99",   "C",       "R",
    "E",        "U",        "G",         "-G",    "-",     "-N",    "-S",      "-D",
    "-E",       "H",        "W",         "Q",     "X",     "1",     "7",       "40",
    "132",      "200",      "32767",     "99999", "-7",    "+5",    "-0",      "0",
    "1-1-2000", "12-31-99", "2-30-2024", "7-4",   "31-12", "10:00", "12:30pm", "AM1",
    "11:59:59", "23:59",    "25:00",     "1K",    "2M",    "1.5G",  "3T",      "1E3",
    ",",        "]",        "A",         "C",     "W",     ":",     "9999",    "2147483648",
    "1e400k",   ".5",       "-1-1"};

const char* const SpecPieces[] = {"C:\\DIR",
                                  "C:\\DIR\\",
                                  "C:\\DIR\\*.TXT",
                                  "C:\\",
                                  "C:",
                                  "D:",
                                  "D:\\DATA",
                                  "Z:\\",
                                  "*.*",
                                  "*",
                                  "?",
                                  "*.DOC",
                                  "README.",
                                  ".",
                                  "..",
                                  "...",
                                  "DIR",
                                  "SUB",
                                  "C:\\A B",
                                  "C:\\x.y.z",
                                  "\\\\srv\\share",
                                  "\\\\srv\\share\\dir",
                                  "\\",
                                  "C:\\DIR\\SUB\\DEEP",
                                  "C:\\DIR\\SYS",
                                  "C:\\DIR\\..\\DIR",
                                  "C:..\\DIR",
                                  "MANY*",
                                  "*.DAT",
                                  "C:\\\xe9t\xe9",
                                  "?.?",
                                  "*.",
                                  "x.y.*"};

const char* const PatternPieces[] = {
    "c",    "d",  "dd",   "ddd",        "dddd", "ddddd",    "dddddd",     "m",   "mm",   "mmm",
    "mmmm", "y",  "yy",   "yyyy",       "h",    "hh",       "H",          "n",   "nn",   "s",
    "ss",   "t",  "tt",   "am/pm",      "a/p",  "ampm",     "AMPM",       "aaa", "aaaa", "a",
    "e",    "ee", "g",    "gg",         "\"",   "'",        "/",          ":",   " ",    "-",
    "x",    "q",  "\x80", "\"quoted\"", "'q'",  "hh:mm:ss", "dd/mm/yyyy", "zzz"};

const char* const LocalePieces[] = {"M",     "d",      "y",  "yy",   "yyyy",  "dddd", "MMMM",
                                    "h",     "H",      "mm", "ss",   "t",     "tt",   "c",
                                    "ddddd", "dddddd", "T",  "/",    ".",     "-",    " ",
                                    "'",     "\"",     ",",  "ampm", "am/pm", "\x80", ""};

const char* const KeyPieces[] = {" ", "\r", "n", "N",    "q", "Q", "x",
                                 "X", "h",  "H", "\x1b", "?", "a"};

const char* const OddNames[] = {"README",
                                "README.TXT",
                                "a.b.c.d",
                                ".hidden",
                                "...x",
                                "x.",
                                "UPPER.DOC",
                                "lower.doc",
                                "with space.txt",
                                "  lead",
                                "\xe9t\xe9.txt",
                                "\x80\x81\xfe\xff",
                                "\x10\x11.\x12",
                                "DIR",
                                "SUB",
                                "T",
                                "~$TMP.~~~",
                                "%PATH%.bat",
                                "name.verylongextension",
                                "...",
                                "SUB.",
                                "SUB ",
                                " ",
                                ". .",
                                "\xff\xff\xff\xff\xff\xff\xff\xff.\xff\xff\xff"};

// A text of dictionary words, raw bytes, numbers and long runs.
template <std::size_t N>
std::string FragmentText(ByteSource& in, const char* const (&words)[N], int parts) {
  std::string text;
  int count = PickText(in, parts + 1);
  for (int i = 0; i < count; ++i) {
    int choice = PickText(in, 16);
    if (choice < 11) {
      text += PickFrom(in, words);
    } else if (choice < 13) {
      text += static_cast<char>(TextByte(in));
    } else if (choice < 14) {
      text += std::to_string(static_cast<std::int64_t>(TextWord(in, 8)));
    } else if (choice < 15) {
      std::string piece = PickFrom(in, words);
      int repeats = 1 + static_cast<int>(TextWord(in, 2) % 600);
      for (int r = 0; r < repeats && text.size() < 8000; ++r) text += piece;
    } else {
      text += std::string(1 + TextByte(in) * 4u, static_cast<char>(TextByte(in)));
    }
  }
  return text;
}

// ---------------------------------------------------------------- the world

Plat::FileTime RandomTime(ByteSource& in) {
  switch (Pick(in, 8)) {
    case 5: return {};
    case 6: return {0xFFFFFFFFu, Rare(in) ? 0xFFFFFFFFu : 0x7FFFFFFFu};
    case 7:
      return {static_cast<std::uint32_t>(ShapeWord(in, 4)),
              static_cast<std::uint32_t>(ShapeWord(in, 4))};
    default:
      return Sim::MakeFileTime(1980 + Pick(in, 100), 1 + Pick(in, 12), 1 + Pick(in, 28),
                               Pick(in, 24), Pick(in, 60), Pick(in, 60));
  }
}

std::uint64_t RandomSize(ByteSource& in) {
  static const std::uint64_t sizes[] = {0,
                                        1,
                                        999,
                                        1023,
                                        1024,
                                        1048575,
                                        1048576,
                                        (1ull << 30) - 1,
                                        1ull << 30,
                                        1ull << 40,
                                        0x7FFFFFFFFFFFFFFFull,
                                        0x8000000000000000ull,
                                        0xFFFFFFFFFFFFFFFFull};
  if (!Rare(in)) return ShapeWord(in, 1 + Pick(in, 4));
  return Rare(in) ? ShapeWord(in, 8) : sizes[Pick(in, std::size(sizes))];
}

std::string RandomName(ByteSource& in, int index) {
  std::string name;
  switch (Pick(in, 4)) {
    case 0: name = "FILE" + std::to_string(index) + (index % 3 ? ".TXT" : ".doc"); break;
    case 1: name = OddNames[Pick(in, std::size(OddNames))]; break;
    case 2: name = std::string(1 + Pick(in, 255), static_cast<char>('a' + index % 26)); break;
    default: name = FragmentText(in, Fragments, 3); break;
  }
  // No file system delivers a name holding a path separator, a colon or a NUL.
  if (name.empty() || name.find_first_of(std::string("\\/:\0", 4)) != std::string::npos)
    name = "F" + std::to_string(index);
  return name;
}

void AddRandomEntries(ByteSource& in, const std::string& directory, int count) {
  for (int i = 0; i < count; ++i) {
    Sim::Entry entry;
    entry.Name = RandomName(in, i);
    if (Rare(in)) entry.Alias = "ALIAS~" + std::to_string(i) + ".X";
    entry.Attributes = Rare(in) ? static_cast<std::uint32_t>(ShapeWord(in, 2)) : Plat::AttrArchive;
    entry.Attributes &= ~Plat::AttrDirectory;  // directories are made below
    entry.Creation = RandomTime(in);
    entry.Access = RandomTime(in);
    entry.Write = RandomTime(in);
    entry.Size = RandomSize(in);
    if (Rare(in)) entry.Owner = Rare(in) ? std::string(300, 'o') : "BUILTIN\\Administrators";
    if (Rare(in)) entry.Compressed = static_cast<std::int64_t>(ShapeWord(in, 8) >> Pick(in, 64));
    Sim::AddEntry(directory, entry);
  }
}

void BuildDrives(ByteSource& in) {
  Sim::Drive c;
  c.Label = Rare(in) ? FragmentText(in, Fragments, 3) : "SYSTEM";
  if (Rare(in)) {
    switch (Pick(in, 7)) {
      case 0: c.Geometry = {0, 0, 0, 0}; break;
      case 1: c.Geometry = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}; break;
      case 2: c.Geometry = {128, 4096, 0xFFFFFFFFu, 0xFFFFFFFFu}; break;
      case 3: c.FreeSpaceError = Pick(in, 2) ? 21 : 15; break;
      case 4: c.VolumeQueryFails = true; break;
      case 5: c.HasFreeSpaceEx = false; break;
      default: c.SpaceEx = {~0ull, ~0ull, ~0ull}; break;
    }
  }
  Sim::AddDrive(c);
  Sim::Drive d;
  d.Letter = 'D';
  d.Label = "\xff\x80 odd";
  d.FileSystem = "FAT";
  d.Geometry = {64, 512, 12, 65535};
  Sim::AddDrive(d);
}

void BuildWorld(ByteSource& in) {
  BuildDrives(in);
  const char* const directories[] = {"C:\\DIR", "C:\\DIR\\SUB", "C:\\DIR\\SUB\\DEEP",
                                     "C:\\A B", "C:\\x.y.z",    "C:\\\xe9t\xe9",
                                     "D:\\DATA"};
  for (const char* directory : directories) Sim::AddDirectory(directory);
  Sim::AddDirectory("C:\\" + std::string(240, 'L'));
  Sim::AddDirectory("C:\\DIR\\SYS", Plat::AttrDirectory | Plat::AttrHidden | Plat::AttrSystem);
  // Directories with odd names too: trailing dots and blanks, long names.
  for (int i = Rare(in) ? 1 + Pick(in, 4) : 0; i > 0; --i) {
    std::string name = RandomName(in, i);
    std::string path = std::string(Pick(in, 2) ? "C:\\DIR\\" : "C:\\") + name;
    if (Verbose) std::printf("directory [%s]\n", path.c_str());
    Sim::AddDirectory(path);
  }
  // Every directory holds a few plain files; the input adds more.
  for (const char* directory : directories) {
    Sim::AddFile(directory, "README.TXT", 1234, Sim::MakeFileTime(1999, 12, 31, 23, 59));
    Sim::AddFile(directory, "setup.exe", 3ull << 20, Sim::MakeFileTime(2000, 2, 29, 12));
    Sim::AddFile(directory, "NOEXT", 0, Sim::MakeFileTime(2026, 12, 1, 7));
    AddRandomEntries(in, directory, Pick(in, 6));
  }
  AddRandomEntries(in, "C:\\", Pick(in, 12));
  if (Rare(in)) {  // one directory with many entries
    int many = 200 + static_cast<int>(ShapeWord(in, 2) % 3000);
    for (int i = 0; i < many; ++i)
      Sim::AddFile("C:\\DIR\\SUB", "MANY" + std::to_string(i * 7919 % many) + ".DAT",
                   static_cast<std::uint64_t>(i) * 104729u,
                   Sim::MakeFileTime(2001, 1 + i % 12, 1 + i % 28));
  }
  if (Rare(in)) Sim::SetWorkingDirectory(Pick(in, 2) ? "C:\\DIR" : "D:\\DATA");
  if (Rare(in)) Sim::FailDirectory("C:\\DIR\\SUB", Pick(in, 2) ? 5 : ShapeWord(in, 4));
}

void BuildConsole(ByteSource& in) {
  if (Pick(in, 3) == 0) {
    Sim::SetRedirected();
    return;
  }
  int columns = 40 + Pick(in, 93);
  int rows = 5 + Pick(in, 46);
  if (Rare(in)) {
    columns = 1 + Pick(in, 39);
    rows = 1 + Pick(in, 6);
  } else if (Rare(in)) {
    columns = 133 + static_cast<int>(ShapeWord(in, 2) % 900);
    rows = 50 + Pick(in, 250);
  }
  Sim::SetConsole(columns, rows, Pick(in, rows));
  std::string keys = Pick(in, 2) ? std::string(1 + Pick(in, 200), ' ') : std::string();
  for (int i = Pick(in, 20); i > 0; --i) keys += KeyPieces[Pick(in, std::size(KeyPieces))];
  Sim::PushKeys(keys);
  if (Rare(in)) Sim::FailNextConsoleWrite();
}

void BuildSystem(ByteSource& in) {
  if (Rare(in)) {
    switch (Pick(in, 3)) {
      case 0: Sim::SetVersion(1, 950); break;
      case 1: Sim::SetVersion(1, 1111); break;
      default: Sim::SetVersion(2, 1381, true); break;
    }
  }
  if (Rare(in)) Sim::SetPrivilegeResult(false);
  if (Rare(in)) Sim::SetFreeSpaceExService(false);
  if (Rare(in)) {
    Plat::CalendarTime now{1 + static_cast<int>(ShapeWord(in, 2) % 9999),
                           1 + Pick(in, 12),
                           0,
                           1 + Pick(in, 28),
                           Pick(in, 24),
                           Pick(in, 60),
                           Pick(in, 60),
                           Pick(in, 1000)};
    Sim::SetNow(now);
  }
  if (Rare(in)) Sim::SetTimeZoneBias(static_cast<std::int16_t>(ShapeWord(in, 2)));
  if (Rare(in)) Sim::FailTimeConversion(true);
  if (Rare(in)) {
    constexpr std::uint32_t OutputCodePages[] = {437, 1252, 65001};
    Sim::SetConsoleOutputCodePage(OutputCodePages[Pick(in, 3)]);
  }
}

void BuildLocale(ByteSource& in) {
  if (!Rare(in)) return;
  for (int i = 1 + Pick(in, 5); i > 0; --i) {
    auto item = static_cast<Plat::LocaleItem>(Pick(in, 8 + 7 + 7 + 12 + 12));
    std::string value;
    if (item == Plat::LocaleItem::DateOrder)
      value = std::to_string(Pick(in, 5) - 1);
    else
      value = FragmentText(in, LocalePieces, 8);
    Sim::SetLocale(item, value);
  }
}

// ---------------------------------------------------------------- command lines

const char* const DateBounds[] = {"1-1-2000",   "12-31-99",    "2-29-2024",   "2-29-2023", "7-4",
                                  "31-12",      "2000-1-1",    "+5",          "-7",        "-0",
                                  "+0",         "-2147483648", "+2147483647", "13-13-13",  "0-0",
                                  "9999-12-31", "1-1-1",       "12-31-9999",  "1-1-0"};
const char* const TimeBounds[] = {
    "10:00", "12:30pm", "AM1",  "11:59:59", "23:59",       "-30",         "+90",   "0:0",
    "24:00", "12am",    "pm12", "0:60",     "+2147483647", "-2147483648", "1:2:3", "9999"};
const char* const SizeBounds[] = {"1K",
                                  "2M",
                                  "1.5G",
                                  "3T",
                                  "1E3",
                                  "0",
                                  "-5",
                                  "+1K",
                                  "1e-3",
                                  ".5",
                                  "9223372036854775807",
                                  "8388607T",
                                  "8388608T",
                                  "1e400k",
                                  "5.5",
                                  "+9223372036854775807",
                                  "-9223372036854775807"};

// A range argument put together the way the grammar reads it: an optional
// stamp letter, one or two bounds and the closing bracket, now and then with
// a piece out of place.
std::string RangeArgument(ByteSource& in, char kind) {
  std::string text;
  if (PickText(in, 4) == 3) text += "ACW"[PickText(in, 3)];
  auto bound = [&] {
    switch (kind) {
      case 'D': return std::string(PickFrom(in, DateBounds));
      case 'T': return std::string(PickFrom(in, TimeBounds));
      default: return std::string(PickFrom(in, SizeBounds));
    }
  };
  if (PickText(in, 8) != 7) text += bound();
  if (PickText(in, 2)) text += "," + bound();
  if (PickText(in, 8) != 7) text += "]";
  if (PickText(in, 8) == 7) text += PickFrom(in, ArgumentPieces);
  return text;
}

std::string SwitchArgument(ByteSource& in) {
  std::string word = PickFrom(in, SwitchWords);
  std::string argument = "/" + word;
  if (word[0] == '[' && PickText(in, 4) != 3)
    argument += RangeArgument(in, word[1]);
  else
    for (int i = PickText(in, 4); i > 0; --i) argument += PickFrom(in, ArgumentPieces);
  if (PickText(in, 8) == 7) argument += FragmentText(in, Fragments, 4);
  // Several switches may share one argument.
  if (PickText(in, 8) == 7) argument += SwitchArgument(in);
  return argument;
}

std::string RandomArgument(ByteSource& in) {
  switch (PickText(in, 8)) {
    case 0:
    case 1:
    case 2:
    case 3: return SwitchArgument(in);
    case 4:
    case 5: return PickFrom(in, SpecPieces);
    case 6: return std::string(PickFrom(in, SpecPieces)) + FragmentText(in, Fragments, 4);
    default: return FragmentText(in, Fragments, 8);
  }
}

std::vector<std::string> RandomArguments(ByteSource& in) {
  std::vector<std::string> arguments{Rare(in) ? FragmentText(in, Fragments, 3)
                                              : std::string("C:\\ORVL\\ORVL.EXE")};
  for (int count = PickText(in, 8); count > 0; --count) arguments.push_back(RandomArgument(in));
  return arguments;
}

void ShowRun(const std::vector<std::string>& arguments) {
  if (!Verbose) return;
  for (const std::string& argument : arguments) std::printf("argument [%s]\n", argument.c_str());
  std::printf("preset [%s]\ndate pattern [%s]\n", Looks.PresetSwitches.c_str(),
              Looks.DateFormat.c_str());
  const Sim::ConsoleState& console = Sim::Console();
  std::printf("console %dx%d\n", console.Columns, console.Rows);
  std::fflush(stdout);
}

void ResetAll() { ResetWorld(); }

void WholeRun(ByteSource& in) {
  ResetAll();
  std::vector<std::string> arguments = RandomArguments(in);
  BuildWorld(in);
  BuildConsole(in);
  BuildSystem(in);
  BuildLocale(in);
  // As the configuration would set them.
  if (Rare(in)) Looks.DateFormat = FragmentText(in, PatternPieces, 10);
  if (Rare(in)) Looks.PresetSwitches = SwitchArgument(in) + " " + SwitchArgument(in);
  Sim::SetArguments(arguments);
  ShowRun(arguments);
  int code = RunOrvl();
  if (code < 0 || code > 3) {
    std::fprintf(stderr, "RunOrvl returned %d\n", code);
    std::abort();
  }
}

// ---------------------------------------------------------------- direct calls

double RandomDateValue(ByteSource& in) {
  static const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  DBL_MAX,
                                  -DBL_MAX,
                                  DBL_MIN,
                                  -DBL_MIN,
                                  1e300,
                                  -1e300,
                                  9.3e18,
                                  -9.3e18,
                                  0.0,
                                  -0.0,
                                  -0.5,
                                  -1.0,
                                  -693593.0,
                                  -693594.0,
                                  -693593.9999999999,
                                  2958465.0,
                                  2958465.9999999999,
                                  2958466.0,
                                  0.99999999999,
                                  36525.5,
                                  4.9e-324};
  switch (PickText(in, 4)) {
    case 0: return values[PickText(in, std::size(values))];
    case 1: {
      std::uint64_t bits = TextWord(in, 8);
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
    case 2: return static_cast<double>(static_cast<std::int32_t>(TextWord(in, 4))) / 86400.0;
    default:
      return static_cast<double>(static_cast<std::int32_t>(TextWord(in, 3)) - 700000) +
             TextByte(in) / 255.0;
  }
}

std::int64_t RandomInt64(ByteSource& in) {
  static const std::int64_t values[] = {std::numeric_limits<std::int64_t>::min(),
                                        std::numeric_limits<std::int64_t>::max(),
                                        std::numeric_limits<std::int64_t>::min() + 1,
                                        -1,
                                        0,
                                        1,
                                        999,
                                        1000,
                                        1023,
                                        1024,
                                        -1024,
                                        1048575,
                                        1073741823,
                                        1073741824,
                                        -999999};
  if (PickText(in, 2)) return values[PickText(in, std::size(values))];
  return static_cast<std::int64_t>(TextWord(in, 8)) >> PickText(in, 64);
}

std::string RangeText(ByteSource& in, const char* kind) {
  std::string text = PickText(in, 8) == 7 ? "" : kind;
  if (PickText(in, 4) != 3) return text + RangeArgument(in, kind[1]);
  for (int i = PickText(in, 6); i > 0; --i) text += PickFrom(in, ArgumentPieces);
  if (PickText(in, 4) == 3) text += FragmentText(in, Fragments, 4);
  return text;
}

void DirectCall(ByteSource& in) {
  std::string text;
  switch (PickText(in, 9)) {
    case 0:
      ParseSwitch(SwitchArgument(in).substr(1));
      ResolveTimeKind();
      break;
    case 1: ParseDateRange(RangeText(in, "[D")); break;
    case 2: ParseTimeRange(RangeText(in, "[T")); break;
    case 3: ParseSizeRange(RangeText(in, "[S")); break;
    case 4: ParseFileSpec(RandomArgument(in)); break;
    case 5: text = FormatDateTime(FragmentText(in, PatternPieces, 12), RandomDateValue(in)); break;
    case 6: {
      int width = PickText(in, 40);
      int decimals = PickText(in, 4);
      text = SizeText(RandomInt64(in), width, decimals);
      text = ShortSizeText(RandomInt64(in), decimals);
      break;
    }
    case 7:
      StartupOptions().ThousandsSeparator = PickText(in, 4) != 0;
      text = ThousandsText(RandomInt64(in));
      break;
    default:
      PassesDateTimeFilters(RandomDateValue(in));
      PassesSizeFilter(RandomInt64(in));
      break;
  }
}

void DirectCalls(ByteSource& in) {
  ResetAll();
  BuildWorld(in);
  BuildSystem(in);
  BuildLocale(in);
  Sim::SetRedirected();
  try {
    for (int calls = 1 + PickText(in, 16); calls > 0; --calls) DirectCall(in);
  } catch (const ProgramEnded&) {
    // /K and /M O end the run on a bad number, as they should.
  }
}

// ---------------------------------------------------------------- a fixed sweep

// Every switch set on every console shape and redirection width, in a world
// that holds a directory of 2,000 entries.
[[maybe_unused]] long Sweep() {
  const int shapes[][2] = {{1, 1},  {1, 5},   {2, 2},    {5, 1},      {10, 3},  {39, 5},
                           {40, 5}, {80, 25}, {132, 50}, {1000, 300}, {4000, 2}};
  const char* const widths[] = {"",        "/K40",    "/K41",         "/K132",    "/K1000",
                                "/K32767", "/K32768", "/K2147483647", "/K:99999", "/K-1"};
  const std::vector<std::vector<std::string>> sets = {
      {},
      {"/S"},
      {"/W"},
      {"/D"},
      {"/V"},
      {"/N"},
      {"/X", "/J"},
      {"/B", "/S"},
      {"/F", "/S", "/W"},
      {"/MNSTAFOCR"},
      {"/MT1T2T3AFSO98"},
      {"/MD"},
      {"/MS"},
      {"/MO99T1T2T3"},
      {"/1"},
      {"/9", "/D"},
      {"/Q4", "/Y"},
      {"/BYTE", "/V"},
      {"/Y2K", "/N", "/TA"},
      {"/7BIT", "/V", "/GA"},
      {"/CLR"},
      {"/?"},
      {"/Z"},
      {"/U", "/S"},
      {"/P", "/S", "/V"},
      {"/E", "/OE", "/-H"},
      {"/L", "/O-D", "/A-D"},
      {"/[S1K,1G]", "/[D1-1-1990]", "/[T0:00,23:59]", "/S"},
      {"C:\\DIR\\SUB", "/S", "/O-S"},
      {"C:\\DIR\\SUB\\MANY*", "/D", "/-P"},
      {"C:\\DIR\\SUB\\MANY*", "/W", "/Y"},
      {"*.TXT", "*.DOC", "/S"},
      {"\\\\srv\\share"},
      {"Z:\\"},
      {"C:\\" + std::string(250, 'L')},
  };
  long runs = 0;
  auto run = [&](const std::vector<std::string>& words, int columns, int rows) {
    ResetAll();
    ByteSource none{nullptr, 0, 0};
    BuildWorld(none);
    for (int i = 0; i < 2000; ++i)
      Sim::AddFile("C:\\DIR\\SUB",
                   "MANY" + std::to_string(i * 7919 % 2000) + std::string(i % 40, 'x'),
                   static_cast<std::uint64_t>(i) << (i % 40),
                   Sim::MakeFileTime(2001, 1 + i % 12, 1 + i % 28));
    if (columns == 0) {
      Sim::SetRedirected();
    } else {
      Sim::SetConsole(columns, rows, rows - 1);
      Sim::PushKeys(std::string(3000, ' ') + "n");
    }
    std::vector<std::string> arguments{"C:\\ORVL\\ORVL.EXE"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    Sim::SetArguments(arguments);
    if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
    ++runs;
  };
  for (const auto& words : sets) {
    for (const auto& shape : shapes) run(words, shape[0], shape[1]);
    for (const char* width : widths) {
      std::vector<std::string> redirected = words;
      if (*width) redirected.push_back(width);
      run(redirected, 0, 0);
    }
  }
  return runs;
}

// ---------------------------------------------------------------- literal inputs

// An input whose first line is "<letter>:<text>" hands the text over as it
// stands, so that the corpus seeds whole command lines, ranges, masks and date
// patterns and the fuzzer mutates them from there; the bytes after the line
// shape the world as usual.
std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words{"C:\\ORVL\\ORVL.EXE"};
  std::size_t at = 0;
  while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
    std::size_t end = text.find(' ', at);
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

void LiteralRun(const std::vector<std::string>& arguments, ByteSource& in) {
  ResetAll();
  BuildWorld(in);
  BuildConsole(in);
  BuildLocale(in);
  Sim::SetArguments(arguments);
  ShowRun(arguments);
  if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
}

// "Z:" hands over everything after it, line ends included, as the description
// file of a directory listed with /Z, in a world of the plain choices.
void DescriptionRun(const std::uint8_t* data, std::size_t size) {
  ResetAll();
  ByteSource none{data, 0, 0};
  BuildWorld(none);
  BuildConsole(none);
  BuildLocale(none);
  Sim::SetFileContents("C:\\DIR\\DESCRIPT.ION",
                       std::string(reinterpret_cast<const char*>(data), size));
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "/Z", "/S", "C:\\DIR"});
  if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
}

bool LiteralInput(const std::uint8_t* data, std::size_t size) {
  if (size >= 2 && data[0] == 'Z' && data[1] == ':') {
    DescriptionRun(data + 2, size - 2);
    return true;
  }
  if (size < 2 || data[1] != ':') return false;
  const std::uint8_t* end = static_cast<const std::uint8_t*>(std::memchr(data, '\n', size));
  std::size_t length = end ? static_cast<std::size_t>(end - data) : size;
  if (length < 2) return false;  // the line end came before the ':'
  std::string text(reinterpret_cast<const char*>(data) + 2, length - 2);
  ByteSource in{data, end ? length + 1 : size, size};
  switch (data[0]) {
    case 'C': LiteralRun(SplitWords(text), in); return true;
    case 'D':
      ResetAll();
      ParseDateRange("[D" + text);
      return true;
    case 'T':
      ResetAll();
      ParseTimeRange("[T" + text);
      return true;
    case 'S':
      ResetAll();
      ParseSizeRange("[S" + text);
      return true;
    case 'M': LiteralRun({"C:\\ORVL\\ORVL.EXE", text, "/S"}, in); return true;
    case 'P':
      ResetAll();
      FormatDateTime(text, RandomDateValue(in));
      return true;
    default: return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (LiteralInput(data, size)) return 0;
  ByteSource in{data, 0, size};
  if (PickText(in, 4) == 3)
    DirectCalls(in);
  else
    WholeRun(in);
  return 0;
}

#ifndef ORVL_LIBFUZZER
int main(int argc, char** argv) {
  if (argc == 2 && std::ifstream(argv[1]).good()) {
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    Verbose = true;
    return LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  if (argc == 2 && std::string(argv[1]) == "--sweep") {
    std::printf("%ld runs\n", Sweep());
    return 0;
  }
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
  std::mt19937_64 random(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::random_device{}());
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> bytes;
  long runs = 0;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
         seconds) {
    bytes.resize(random() % 1024);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    std::ofstream("orvl-fuzz-last.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    if (++runs % 10000 == 0) {
      std::printf("%ld inputs\n", runs);
      std::fflush(stdout);
    }
  }
  std::printf("%ld inputs\n", runs);
  return 0;
}
#endif
