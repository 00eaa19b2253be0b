// The fuzz driver's input grammar: how an input's bytes are read (texts from
// the front, the world's shape from the back), the dictionaries the texts
// are drawn from and the command lines put together of them. Included once,
// by RunFuzz.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Engine/CommandLine/SwitchTable.h"

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

}  // namespace
