// The walks read ahead on workers (four processors, find calls of random
// length) and alone (one processor): the same output, batch file and exit
// code, with directories failing at chosen places and the run's own files
// growing inside the tree; and memory held at most 16 MiB above the walk
// alone. Also built into the ThreadSanitizer target (orvl_thread_tests).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Console/Console.h"
#include "ORVL/Driver.h"
#include "Platform/Sim/SimPlatform.h"
#include "Platform/Sim/SimThreads.h"
#include "HeapPeak.h"
#include "SimulatedWorld.h"

namespace {

using Words = std::vector<std::string>;

struct Outcome {
  int ExitCode = 0;
  std::string Output;
  std::string Batch;
};

// C:\T: six directories of five of four, files of assorted sizes and dates,
// descriptions in some, and three directories that cannot be read.
void BuildWorld(bool redirected = true) {
  ResetWorld();
  Sim::AddDrive(Sim::Drive{});
  if (redirected) Sim::SetRedirected();
  Sim::AddConfiguration();
  int made = 0;
  for (int a = 0; a < 6; ++a)
    for (int b = 0; b < 5; ++b)
      for (int c = 0; c < 4; ++c) {
        const std::string path =
            "C:\\T\\D" + std::to_string(a) + "\\E" + std::to_string(b) + "\\F" + std::to_string(c);
        for (const std::string& directory : {path.substr(0, 7), path.substr(0, 10), path}) {
          Sim::AddDirectory(directory);
          const int n = ++made;
          Sim::AddFile(directory, "N" + std::to_string(n % 7) + ".TXT", n * 37 % 9000,
                       Sim::MakeFileTime(1990 + n % 30, 1 + n % 12, 1 + n % 28, n % 24));
          Sim::AddFile(directory, "M" + std::to_string(n % 5) + ".DOC", n * 101);
          if (n % 9 == 0)
            Sim::SetFileContents(directory + "\\DESCRIPT.ION",
                                 "N" + std::to_string(n % 7) + ".TXT the first file\r\n");
        }
      }
  Sim::FailDirectory("C:\\T\\D2", Plat::ErrorAccessDenied);
  Sim::FailDirectory("C:\\T\\D4\\E1", Plat::ErrorInvalidName);
  Sim::FailDirectory("C:\\T\\D1\\E3\\F0", Plat::ErrorAccessDenied);
}

Outcome RunWith(const Words& words, unsigned processors,
                const std::function<void()>& place = [] {}) {
  BuildWorld();
  place();
  Sim::SetProcessorCount(processors);
  Sim::SetFindDelay(processors > 1 ? 40 : 0);
  Words arguments{"C:\\ORVL\\ORVL.EXE"};
  arguments.insert(arguments.end(), words.begin(), words.end());
  Sim::SetArguments(arguments);
  Outcome outcome;
  outcome.ExitCode = RunOrvl();
  Sim::SetProcessorCount(1);
  Sim::SetFindDelay(0);
  outcome.Output = Sim::StdOut();
  outcome.Batch = Sim::FileContents("C:\\!OVBATCH.BAT");
  return outcome;
}

TEST(ReadAheadWalkTest, WorkersChangeNothingInTheOutput) {
  const Words cases[] = {
      {"C:\\T", "/S"},
      {"C:\\T", "/S", "/B"},
      {"C:\\T\\N*.TXT", "/S", "/OD", "/V"},
      {"C:\\T\\[NM][0-3]*", "/S", "/R"},
      {"C:\\T", "/S", "/Z"},
      {"C:\\T", "/S", "/B", "/@echo $"},
      {"C:\\T\\*.TXT", "/S", "[S100,4000]", "[D1-1-2000,+4000]"},
      {"C:\\T\\*.XYZ", "/S"},
      {"C:\\T", "/TREE"},
  };
  for (const Words& words : cases) {
    const Outcome alone = RunWith(words, 1);
    const Outcome ahead = RunWith(words, 4);
    EXPECT_NE(alone.Output.find("3 directories could not be read"), std::string::npos);
    EXPECT_EQ(ahead.ExitCode, alone.ExitCode) << words[1];
    EXPECT_EQ(ahead.Output, alone.Output) << words[0] << " " << words[1];
    EXPECT_EQ(ahead.Batch, alone.Batch) << words[0] << " " << words[1];
  }
}

// The reads of a walk with workers are taken from the workers: the walk's own
// searches of the 80 directories below the root wait until a worker has begun
// one, so however the threads are scheduled, the walk reads fewer of them itself.
TEST(ReadAheadWalkTest, WorkersDoTheReading) {
  struct Searches {
    std::mutex Lock;
    std::condition_variable Begun;
    bool WorkerSearched = false;
    std::set<std::string> ReadByTheWalk;
  } searches;
  const std::thread::id walkThread = std::this_thread::get_id();
  for (const char* walk : {"/S", "/TREE"}) {
    ResetWorld();
    Sim::AddDrive(Sim::Drive{});
    Sim::SetRedirected();
    Sim::AddConfiguration();
    for (int index = 0; index < 80; ++index)
      Sim::AddFile("C:\\W\\D" + std::to_string(index), "F.TXT", 1);
    Sim::SetProcessorCount(4);
    searches.WorkerSearched = false;
    searches.ReadByTheWalk.clear();
    Sim::SetSearchGate([&](const std::string& pattern) {
      std::unique_lock<std::mutex> held(searches.Lock);
      if (std::this_thread::get_id() != walkThread) {
        searches.WorkerSearched = true;
        searches.Begun.notify_all();
      } else if (pattern.rfind("C:\\W\\D", 0) == 0) {
        // Bounded: workers that never search fail the count below instead.
        searches.Begun.wait_for(held, std::chrono::seconds(10),
                                [&] { return searches.WorkerSearched; });
        searches.ReadByTheWalk.insert(pattern.substr(0, pattern.find('\\', 5)));
      }
    });
    Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\W", walk});
    EXPECT_EQ(RunOrvl(), 0);
    Sim::SetSearchGate(nullptr);
    Sim::SetProcessorCount(1);
    EXPECT_LT(searches.ReadByTheWalk.size(), 80u) << walk << ": all read by the walk itself";
  }
}

TEST(ReadAheadWalkTest, FoldersHoldingTheRunsOwnFilesAreReadWhenTheWalkGetsThere) {
  // Their sizes grow as the run writes; read ahead, they would show an earlier moment.
  struct Case {
    Words Arguments;
    std::function<void()> Place;
  };
  const Case cases[] = {
      {{"C:\\T", "/S"}, [] { Sim::SetOutputFile("C:\\T\\D0\\E1\\LIST.TXT"); }},
      // A file the system cannot name (as wine's) may be anywhere: nothing is read ahead.
      {{"C:\\T", "/S"}, [] { Sim::SetOutputFile("C:\\T\\D0\\E1\\LIST.TXT", false); }},
      {{"C:\\T", "/TREE"}, [] { Sim::SetOutputFile("c:\\t\\d3\\list.txt"); }},
      {{"C:\\T", "/S", "/@echo $"}, [] { Sim::SetWorkingDirectory("C:\\T\\D0\\E2"); }},
  };
  for (const Case& c : cases) {
    const Outcome alone = RunWith(c.Arguments, 1, c.Place);
    const Outcome ahead = RunWith(c.Arguments, 4, c.Place);
    EXPECT_EQ(ahead.Output, alone.Output) << c.Arguments[1];
  }
}

TEST(ReadAheadWalkTest, CtrlCEndsTheWalkOnItsOwnThreadAlone) {
  // The console's thread only asks: the walk's thread writes the last line.
  for (unsigned processors : {1u, 4u}) {
    BuildWorld(false);
    Sim::PushKeys("n");
    Sim::ControlEventAtFind(60);
    Sim::SetProcessorCount(processors);
    Sim::SetArguments({"C:\\ORVL\\ORVL.EXE", "C:\\T", "/S"});
    EXPECT_EQ(RunOrvl(), 0);
    Sim::JoinControlEvent();
    Sim::SetProcessorCount(1);
    EXPECT_EQ(Sim::ConsoleWriterThreads(), 1u) << processors;
    EXPECT_EQ(Sim::ControlThreadExitCode(), -1) << processors;
    EXPECT_EQ(Sim::Console().Attribute, 7);
  }
}

// C:\M: five folders of 9,000 files whose names take 750 bytes each.
void BuildLargeFolders() {
  ResetWorld();
  Sim::AddDrive(Sim::Drive{});
  Sim::SetRedirected();
  Sim::AddConfiguration();
  std::string tail;
  for (int i = 0; i < 248; ++i) tail += "\xE4\xB8\x80";  // three bytes each
  for (int folder = 0; folder < 5; ++folder) {
    const std::string path = "C:\\M\\F" + std::to_string(folder);
    Sim::AddDirectory(path);
    for (int file = 0; file < 9000; ++file) Sim::AddFile(path, std::to_string(file) + tail, 0);
  }
}

// The heap's peak for a walk of the large folders with 1 and 4 processors.
void ExpectWorkersHoldAtMostSixteenMiBMore(const Words& words) {
  if (!HeapPeak::Counts()) GTEST_SKIP() << "the heap is counted under AddressSanitizer only";
  const long long allowance = 16 << 20;
  BuildLargeFolders();
  Words arguments{"C:\\ORVL\\ORVL.EXE"};
  arguments.insert(arguments.end(), words.begin(), words.end());
  long long peak[2] = {0, 0};
  for (unsigned processors : {1u, 4u}) {
    ResetRunValues();
    ResetConsoleEngine();
    Sim::SetArguments(arguments);
    Sim::SetProcessorCount(processors);
    if (!HeapPeak::Start()) GTEST_SKIP() << "the heap is counted under a sanitizer only";
    RunOrvl();
    peak[processors > 1] = HeapPeak::Bytes();
  }
  Sim::SetProcessorCount(1);
  EXPECT_GT(peak[0], 9000 * 750);
  EXPECT_LE(peak[1], peak[0] + allowance) << words[1];
}

// Two tests, not one: each is long under the sanitizers, and they run side by side.
TEST(ReadAheadWalkTest, TreeWorkersHoldAtMostSixteenMiBMoreThanTheWalkAlone) {
  ExpectWorkersHoldAtMostSixteenMiBMore({"C:\\M", "/TREE"});
}

TEST(ReadAheadWalkTest, ListingWorkersHoldAtMostSixteenMiBMoreThanTheWalkAlone) {
  ExpectWorkersHoldAtMostSixteenMiBMore({"C:\\M", "/S", "/A-D", "[S1]"});
}

}  // namespace
