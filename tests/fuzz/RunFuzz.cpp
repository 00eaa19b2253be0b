// Fuzz driver: whole runs of the program on the simulated platform with random
// command lines, console shapes, date patterns and locales, and direct calls of
// the parsers and formatters. A run must return 0 without a crash, a hang or a
// sanitizer report.
//
// With clang's libFuzzer: tests/fuzz/fuzz-all-cores.sh SECONDS builds it
// optimised in build/fuzz and runs it on every core; by hand, after that:
//   build/fuzz/orvl_fuzz --dictionary > orvl.dict
//   build/fuzz/orvl_fuzz -dict=orvl.dict -max_len=8192 -len_control=0 -timeout=10
//     -rss_limit_mb=2048 -max_total_time=600 CORPUS
// With any other compiler (configured with the same sanitizers) the target is a
// plain random loop: orvl_fuzz [seconds] [seed], or orvl_fuzz FILE to replay one
// input and see what it runs (the loop keeps its current input in
// orvl-fuzz-last.bin), or orvl_fuzz --sweep for a fixed grid of switch sets,
// console shapes and redirection widths.
#include <algorithm>
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

#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/CommandLine/SwitchTable.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
#include "FuzzInput.h"
#include "FuzzWorld.h"
#include "ORVL/Driver.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

namespace {

void ShowRun(const std::vector<std::string>& arguments) {
  if (!Verbose) return;
  for (const std::string& argument : arguments) std::printf("argument [%s]\n", argument.c_str());
  std::printf("preset [%s]\ndate pattern [%s]\n", Looks.PresetSwitches.c_str(),
              Looks.DateFormat.c_str());
  const Sim::ConsoleState& console = Sim::Console();
  std::printf("console %dx%d\n", console.Columns, console.Rows);
  std::fflush(stdout);
}

// A command line ends at its first NUL: no argument the system hands over
// holds one, nor does any follow it.
void SetCommandLine(std::vector<std::string> arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::size_t nul = arguments[i].find('\0');
    if (nul == std::string::npos) continue;
    arguments[i].resize(nul);
    arguments.resize(i + 1);
  }
  Sim::SetArguments(arguments);
}

void WholeRun(ByteSource& in) {
  std::vector<std::string> arguments = RandomArguments(in);
  BuildWorld(in);
  BuildConsole(in);
  BuildSystem(in);
  BuildLocale(in);
  BuildRegistry(in);
  SetCommandLine(arguments);
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
    RestoreSavedWorld();
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
  BuildWorld(in);
  BuildConsole(in);
  BuildLocale(in);
  SetCommandLine(arguments);
  ShowRun(arguments);
  if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
}

// "Z:" hands over everything after it, line ends included, as the description
// file of a directory listed with /Z, in a world of the plain choices.
void DescriptionRun(const std::uint8_t* data, std::size_t size) {
  ByteSource none{data, 0, 0};
  BuildConsole(none);
  Sim::SetFileContents("C:\\DIR\\DESCRIPT.ION",
                       std::string(reinterpret_cast<const char*>(data), size));
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "/Z", "/S", "C:\\DIR"});
  if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
}

// "R:" hands the lines after it over as the configuration in the registry:
// the preset switches, the date pattern, then extension colours, one
// "NAME=number" a line.
void RegistryRun(const std::uint8_t* data, std::size_t size) {
  ByteSource none{data, 0, 0};
  BuildConsole(none);
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::size_t line = 0;
  for (int field = 0; line <= text.size(); ++field) {
    const std::size_t end = std::min(text.find('\n', line), text.size());
    const std::string value = text.substr(line, end - line);
    line = end + 1;
    if (field == 0) Sim::SetRegistryString(SettingsKey, SwitchesValue, value);
    if (field == 1) Sim::SetRegistryString(SettingsKey, DateValue, value);
    if (field < 2) continue;
    const std::size_t equals = value.rfind('=');
    Sim::SetRegistryDword(
        ExtensionsKey, value.substr(0, equals),
        equals == std::string::npos
            ? 0
            : static_cast<std::uint32_t>(std::strtoul(value.c_str() + equals + 1, nullptr, 10)));
  }
  Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\DIR"});
  if (const int code = RunOrvl(); code < 0 || code > 3) std::abort();  // 0 to 3 only
}

bool LiteralInput(const std::uint8_t* data, std::size_t size) {
  if (size >= 2 && data[0] == 'Z' && data[1] == ':') {
    DescriptionRun(data + 2, size - 2);
    return true;
  }
  if (size >= 2 && data[0] == 'R' && data[1] == ':') {
    RegistryRun(data + 2, size - 2);
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
    case 'D': ParseDateRange("[D" + text); return true;
    case 'T': ParseTimeRange("[T" + text); return true;
    case 'S': ParseSizeRange("[S" + text); return true;
    case 'M': LiteralRun({"C:\\ORVL\\ORVL.EXE", text, "/S"}, in); return true;
    case 'P': FormatDateTime(text, RandomDateValue(in)); return true;
    default: return false;
  }
}

// ---------------------------------------------------------------- dictionary

// libFuzzer's dictionary syntax: a quoted word, with quotes, backslashes and
// bytes outside printable ASCII escaped.
std::string DictionaryWord(const std::string& word) {
  std::string quoted = "\"";
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

// The grammar's own words, the switch table's among them, and the heads of
// the literal inputs: what mutations of a command line most often need.
void PrintDictionary() {
  std::vector<std::string> words{"C:", "Z:", "R:", "M:", "D:", "T:", "S:", "P:"};
  for (const std::string& word : SwitchWords) words.push_back("/" + word);
  auto add = [&](const auto& list) { words.insert(words.end(), std::begin(list), std::end(list)); };
  add(ArgumentPieces);
  add(SpecPieces);
  add(DateBounds);
  add(TimeBounds);
  add(SizeBounds);
  add(PatternPieces);
  add(LocalePieces);
  add(OddNames);
  add(Fragments);
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  for (const std::string& word : words)
    if (!word.empty()) std::printf("%s\n", DictionaryWord(word).c_str());
}

// The longest input run, told when the fuzzer ends.
std::size_t LongestInput = 0;

void TellLongestInput() {
  std::fprintf(stderr, "orvl_fuzz: longest input %zu bytes\n", LongestInput);
}

}  // namespace

// A small quarantine: freed blocks still wait there to catch a late use
// within a run (which frees far less), while a long session's memory stays
// flat and a block's memory is soon reused rather than taken fresh from the
// system. ASAN_OPTIONS still has the last word.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

// "--dictionary" prints the dictionary for -dict= and ends; libFuzzer itself
// leaves alone the flags that start with "--". Otherwise the base machine is
// built once.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    if (std::strcmp((*argv)[i], "--dictionary") == 0) {
      PrintDictionary();
      std::exit(0);
    }
  }
  BuildBaseWorld();
  std::atexit(TellLongestInput);
  return 0;
}

// Every run starts from the base machine and puts it back when it ends, so
// that a run frees all it took (libFuzzer reruns an input to look for a leak
// whenever a run ends with more blocks than it began with).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LongestInput = std::max(LongestInput, size);
  if (!LiteralInput(data, size)) {
    ByteSource in{data, 0, size};
    if (PickText(in, 4) == 3)
      DirectCalls(in);
    else
      WholeRun(in);
  }
  RestoreSavedWorld();
  return 0;
}

#ifndef ORVL_LIBFUZZER
int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
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
