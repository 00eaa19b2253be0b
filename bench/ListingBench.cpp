// Times whole redirected runs on the simulated platform: one directory of
// 100,000 entries (scan, sort and listing, without the real file system), then
// the runs a quadratic step would show at once (a huge directory, a hostile sort).
// Build: cmake --build build/native --target orvl_bench; run: build/native/orvl_bench
// With arguments, "orvl_bench ENTRIES [OPTION...]" makes one run only, for
// counting instructions: valgrind --tool=callgrind --toggle-collect='RunOrvl*'
// (bench/perf-table.sh does this).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Console/Console.h"
#include "ORVL/Driver.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

namespace {

void BuildWorld(int entries) {
  ResetWorld();
  Sim::AddDrive(Sim::Drive{});
  Sim::AddConfiguration();
  Sim::AddDirectory("C:\\BIG");
  for (int i = 0; i < entries; ++i) {
    // Scrambled names so that the sort has real work to do.
    unsigned key = static_cast<unsigned>(i) * 2654435761u;
    std::string name = "file" + std::to_string(key % 1000003) + "_" + std::to_string(i) + ".txt";
    Sim::AddFile("C:\\BIG", name, static_cast<std::uint64_t>(key % 100000),
                 Sim::MakeFileTime(2020, 1 + i % 12, 1 + i % 28, i % 24, i % 60));
  }
  Sim::SetRedirected();
}

double TimeRun(const std::vector<std::string>& arguments) {
  Sim::SetArguments(arguments);
  ResetSharedState();
  ResetConsoleEngine();
  auto start = std::chrono::steady_clock::now();
  RunOrvl();
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

int TimeStandardRuns() {
  const int entries = 100000;
  BuildWorld(entries);
  const std::vector<std::vector<std::string>> runs = {
      {"C:\\ORVL\\orvl.exe", "C:\\BIG"},
      {"C:\\ORVL\\orvl.exe", "C:\\BIG", "/V"},
      {"C:\\ORVL\\orvl.exe", "C:\\BIG", "/D", "/O-S"},
      {"C:\\ORVL\\orvl.exe", "C:\\BIG", "/B"},
  };
  std::size_t before = 0;
  for (const auto& run : runs) {
    double seconds = TimeRun(run);
    std::printf("%-22s %6.3f s  (%zu bytes of output)\n", run.back().c_str(), seconds,
                Sim::StdOut().size() - before);
    before = Sim::StdOut().size();
  }
  return 0;
}

// Sizes in the order that drives a median-of-three quicksort to its worst case.
std::vector<std::uint64_t> CraftedSizes(int count) {
  std::vector<int> slots(static_cast<std::size_t>(count));
  for (int at = 0; at < count; ++at) slots[static_cast<std::size_t>(at)] = at;
  std::vector<std::uint64_t> sizes(static_cast<std::size_t>(count));
  for (int right = count - 1; right > 0; --right) {
    sizes[static_cast<std::size_t>(slots[static_cast<std::size_t>(right / 2)])] =
        static_cast<std::uint64_t>(right);
    std::swap(slots[static_cast<std::size_t>(right / 2)], slots[static_cast<std::size_t>(right)]);
  }
  return sizes;
}

// The runs a quadratic step would show at once: a huge directory of plain
// names, and a size sort over the crafted order.
int TimeHostileRuns() {
  const int entries = 150000;
  ResetWorld();
  Sim::AddDrive(Sim::Drive{});
  Sim::AddConfiguration();
  Sim::AddDirectory("C:\\HUGE");
  Sim::AddDirectory("C:\\CRAFTED");
  for (int i = 0; i < entries; ++i) Sim::AddFile("C:\\HUGE", "F" + std::to_string(i), 1);
  const std::vector<std::uint64_t> sizes = CraftedSizes(100000);
  for (std::size_t i = 0; i < sizes.size(); ++i)
    Sim::AddFile("C:\\CRAFTED", "F" + std::to_string(i), sizes[i]);
  Sim::SetRedirected();
  std::printf("huge directory (150,000) %6.3f s\n", TimeRun({"C:\\ORVL\\orvl.exe", "C:\\HUGE"}));
  std::printf("crafted sizes /OS       %6.3f s\n",
              TimeRun({"C:\\ORVL\\orvl.exe", "C:\\CRAFTED", "/OS"}));
  return 0;
}

int RunOnce(int entries, char** options, int optionCount) {
  BuildWorld(entries);
  std::vector<std::string> run = {"C:\\ORVL\\orvl.exe", "C:\\BIG"};
  run.insert(run.end(), options, options + optionCount);
  double seconds = TimeRun(run);
  std::printf("%d entries, %6.3f s, %zu bytes of output\n", entries, seconds, Sim::StdOut().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return RunOnce(std::atoi(argv[1]), argv + 2, argc - 2);
  TimeStandardRuns();
  return TimeHostileRuns();
}
