// Times a whole redirected run over one directory of 100,000 entries on the
// simulated platform: scan, sort and listing, without the real file system.
// Build: cmake --build build/native --target orvl_bench; run: build/native/orvl_bench
// With arguments, "orvl_bench ENTRIES [OPTION...]" makes one run only, for
// counting instructions: valgrind --tool=callgrind --toggle-collect='RunOrvl*'
// (bench/perf-table.sh does this).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Common/State.h"
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
  return TimeStandardRuns();
}
