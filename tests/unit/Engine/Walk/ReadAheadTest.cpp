// Reading ahead on workers: a walk over many small directories, with reads of
// random length, takes the same values in the same order as a walk that reads
// every directory itself, whether or not its workers start; the byte budget
// holds for reads under way too; old reads are done again; a stop ends every
// worker, waiting only so long for one stuck in a read, and never reaches
// the walk's own reads. The moves and limits one at a time: ReadAheadJobsTest.
// These also run under ThreadSanitizer (orvl_thread_tests).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Engine/Walk/ReadAhead.h"
#include "Platform/Sim/SimThreads.h"

namespace {

// Live and peak bytes of every Blob, whichever thread holds it.
struct ByteTracker {
  std::atomic<std::size_t> Live{0};
  std::atomic<std::size_t> Peak{0};
  void Add(std::size_t bytes) {
    std::size_t now = Live += bytes;
    std::size_t peak = Peak;
    while (now > peak && !Peak.compare_exchange_weak(peak, now)) {
    }
  }
};

// A directory's read: its text, its children, and bytes that count.
struct Blob {
  std::string Text;
  std::vector<std::string> Children;
  std::size_t Bytes = 0;  // what it stands for holding, counted by its tracker
  ByteTracker* Tracker = nullptr;

  Blob() = default;
  Blob(Blob&& other) noexcept
      : Text(std::move(other.Text)),
        Children(std::move(other.Children)),
        Bytes(std::exchange(other.Bytes, 0)),
        Tracker(other.Tracker) {}
  Blob& operator=(Blob&&) = delete;
  ~Blob() {
    if (Tracker != nullptr) Tracker->Live -= Bytes;
  }
};

// Many small directories: up to five children each, about 1,500 in all.
std::map<std::string, std::vector<std::string>> MakeTree() {
  std::map<std::string, std::vector<std::string>> tree;
  std::mt19937 random(22);
  std::vector<std::string> open{"R"};
  for (std::size_t made = 1; !open.empty() && made < 1500;) {
    std::string parent = open.back();
    open.pop_back();
    for (unsigned child = random() % 6; child > 0; --child, ++made) {
      tree[parent].push_back(parent + "\\" + std::to_string(made));
      open.insert(open.begin() + random() % (open.size() + 1), tree[parent].back());
    }
  }
  return tree;
}

const std::map<std::string, std::vector<std::string>>& Tree() {
  static const auto tree = MakeTree();
  return tree;
}

// The fake read: deterministic content, random delay, a failure code in the
// value; its bytes (up to maxBytes) grow a step at a time, each asked for first.
Blob ReadFake(const std::string& directory, const ReadStop& stop, std::size_t maxBytes,
              ByteTracker& tracker) {
  const std::size_t hash = std::hash<std::string>{}(directory);
  thread_local std::mt19937 random(static_cast<unsigned>(hash));
  std::this_thread::sleep_for(std::chrono::microseconds(random() % 60));
  Blob blob;
  auto found = Tree().find(directory);
  if (found != Tree().end()) blob.Children = found->second;
  blob.Text = directory + (hash % 7 == 0 ? " error 5" : " ok");
  blob.Tracker = &tracker;
  const std::size_t size = 1 + hash % maxBytes;
  for (std::size_t step = 4096; blob.Bytes < size;) {
    const std::size_t next = std::min(size, blob.Bytes + step);
    if (!stop.Hold(next)) break;
    tracker.Add(next - blob.Bytes);
    blob.Bytes = next;
  }
  return blob;
}

// The simulated clock stands still for a test: only the test moves it, and a
// bounded wait passes at once.
struct HeldClock {
  HeldClock() { Sim::HoldTicks(true); }
  ~HeldClock() { Sim::HoldTicks(false); }
  HeldClock(const HeldClock&) = delete;
  HeldClock& operator=(const HeldClock&) = delete;
};

// A depth-first walk as the lister does it: take, push the children, plan.
std::vector<std::string> Walk(const ReadAheadLimits& limits, unsigned workers,
                              ByteTracker& tracker, std::size_t maxBytes = 16384) {
  ReadAhead<Blob> ahead(
      [&](const std::string& key, const ReadStop& stop) {
        return ReadFake(key, stop, maxBytes, tracker);
      },
      [](const Blob& blob) { return blob.Bytes; }, limits, workers);
  std::vector<std::string> stack{"R"}, taken;
  while (!stack.empty()) {
    std::string next = std::move(stack.back());
    stack.pop_back();
    Blob blob = ahead.Take(next);
    taken.push_back(blob.Text);
    stack.insert(stack.end(), blob.Children.rbegin(), blob.Children.rend());
    ahead.Plan(stack);
  }
  return taken;
}

TEST(ReadAheadTest, TakesWhatInlineReadsGiveInTheSameOrder) {
  ByteTracker inlineTracker;
  const std::vector<std::string> expected = Walk({}, 0, inlineTracker);
  ASSERT_GT(expected.size(), 1000u);
  struct Case {
    ReadAheadLimits Limits;
    unsigned Workers;
  };
  const Case cases[] = {
      {{1, 1 << 20}, 1},      // one ahead at a time
      {{16, 8 << 20}, 3},     // the shipped limits
      {{4, 1 << 20, 4}, 4},   // children push finished reads out: evictions
      {{4, 1 << 20, 12}, 2},  // reads pushed out of the window are kept
      {{64, 20000}, 3},       // the budget, not the count, bounds the reads
  };
  for (const Case& c : cases) {
    ByteTracker tracker;
    EXPECT_EQ(Walk(c.Limits, c.Workers, tracker), expected) << c.Limits.MaxAhead;
    EXPECT_EQ(tracker.Live, 0u);
  }
}

TEST(ReadAheadTest, ReadsUnderWayCountAgainstTheBudget) {
  // Reads up to four budgets large: the walk holds one at a time, as without
  // workers; everything read ahead, finished or not, stays within the budget.
  const ReadAheadLimits limits{64, 64 * 1024};
  ByteTracker alone;
  const std::vector<std::string> expected = Walk(limits, 0, alone, 4 * limits.ByteBudget);
  for (unsigned workers : {1u, 4u}) {
    ByteTracker tracker;
    EXPECT_EQ(Walk(limits, workers, tracker, 4 * limits.ByteBudget), expected);
    EXPECT_LE(tracker.Peak, alone.Peak + limits.ByteBudget) << workers;
  }
}

TEST(ReadAheadTest, AWorkerThatCannotStartLeavesTheReadsToTheWalk) {
  ByteTracker alone;
  const std::vector<std::string> expected = Walk({}, 0, alone);
  for (bool throws : {false, true}) {
    for (int startsBefore = 0; startsBefore < 4; ++startsBefore) {
      Sim::FailThreadStart(startsBefore, throws);
      ByteTracker tracker;
      EXPECT_EQ(Walk({}, 4, tracker), expected) << startsBefore << throws;
    }
  }
  // Out of memory half-way through starting: none of the workers is used.
  Sim::FailThreadStart(2, true);
  ReadAhead<int> ahead([](const std::string&, const ReadStop&) { return 1; },
                       [](int) { return sizeof(int); }, {}, 4);
  Sim::FailThreadStart(-1, false);
  EXPECT_FALSE(ahead.Threaded());
  EXPECT_EQ(ahead.Take("a"), 1);
}

TEST(ReadAheadTest, WhileTheWalkWaitsForAWorkerItReadsWhatNoneHasBegun) {
  std::atomic<bool> firstBegun{false}, secondRead{false};
  std::atomic<std::thread::id> secondReader{};
  ReadAhead<std::string> ahead(
      [&](const std::string& key, const ReadStop&) {
        if (key == "second") {
          secondReader = std::this_thread::get_id();
          secondRead = true;
          return key;
        }
        firstBegun = true;
        // The only worker is held here until someone else reads "second".
        for (int waited = 0; !secondRead && waited < 10000; ++waited)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return key;
      },
      [](const std::string& read) { return read.size(); }, {}, 1);
  const std::vector<std::string> stack{"second", "first"};
  ahead.Plan(stack);
  while (!firstBegun) std::this_thread::yield();
  EXPECT_EQ(ahead.Take("first"), "first");
  EXPECT_EQ(secondReader.load(), std::this_thread::get_id());
  EXPECT_EQ(ahead.Take("second"), "second");
}

TEST(ReadAheadTest, AfterAReadPassesTheBudgetTheWalkReadsTheRestItself) {
  const std::thread::id walk = std::this_thread::get_id();
  std::atomic<int> bigTries{0}, aheadReads{0};
  ReadAhead<bool> ahead(
      [&](const std::string& key, const ReadStop& stop) {
        if (key == "big") ++bigTries;
        if (std::this_thread::get_id() != walk && key != "big") ++aheadReads;
        return key != "big" || stop.Hold(std::size_t{1} << 40);
      },
      [](bool) { return std::size_t{1}; }, {}, 2);
  ahead.Plan(std::vector<std::string>{"big"});
  while (bigTries == 0) std::this_thread::yield();
  EXPECT_TRUE(ahead.Take("big"));  // given up ahead, read whole by the walk
  std::vector<std::string> rest;
  for (int folder = 0; folder < 50; ++folder) rest.push_back("f" + std::to_string(folder));
  ahead.Plan(rest);  // nothing is asked of the workers any more
  while (!rest.empty()) {
    EXPECT_TRUE(ahead.Take(rest.back()));
    rest.pop_back();
    ahead.Plan(rest);
  }
  EXPECT_EQ(aheadReads, 0);
}

TEST(ReadAheadTest, AReadBegunLongerAgoThanTheBoundIsDoneAgain) {
  std::atomic<int> version{1};
  std::atomic<int> reads{0};
  const ReadAheadLimits limits;
  ReadAhead<int> ahead(
      [&](const std::string&, const ReadStop&) {
        const int read = version;
        ++reads;
        return read;
      },
      [](int) { return sizeof(int); }, limits, 2);
  const HeldClock clock;  // let go before the workers end
  const std::vector<std::string> stack{"old", "fresh"};
  ahead.Plan(stack);
  while (reads < 2) std::this_thread::yield();
  version = 2;
  EXPECT_EQ(ahead.Take("fresh"), 1);
  Sim::AdvanceTicks(limits.FreshMilliseconds + 1);
  EXPECT_EQ(ahead.Take("old"), 2);
}

TEST(ReadAheadTest, ReadsAfterAStopAreTheWalksOwnAndWhole) {
  ReadAhead<bool> ahead(
      [](const std::string&, const ReadStop& stop) {
        return stop.Requested() || !stop.Hold(std::size_t{1} << 40);
      },
      [](bool) { return sizeof(bool); }, {}, 2);
  ahead.Stop();
  EXPECT_FALSE(ahead.Take("a"));
}

TEST(ReadAheadTest, EndingWaitsOnlySoLongForAReadThatDoesNotReturn) {
  struct Gate {
    std::mutex Lock;
    std::condition_variable Changed;
    bool Inside = false;
    bool Open = false;
  };
  const auto gate = std::make_shared<Gate>();
  // Opens the gate after ten seconds should ending wait for the read.
  std::thread fallback([gate] {
    std::unique_lock<std::mutex> held(gate->Lock);
    gate->Changed.wait_for(held, std::chrono::seconds(10), [&] { return gate->Open; });
    gate->Open = true;
    gate->Changed.notify_all();
  });
  {
    // Ending waits its two seconds at once, the read still inside the gate.
    const HeldClock clock;
    const ReadAheadLimits limits;
    // The reader holds the gate by value: it may outlive the walk.
    ReadAhead<int> ahead(
        [gate](const std::string&, const ReadStop&) {
          std::unique_lock<std::mutex> held(gate->Lock);
          gate->Inside = true;
          gate->Changed.notify_all();
          gate->Changed.wait(held, [&] { return gate->Open; });
          return 1;
        },
        [](int) { return sizeof(int); }, limits, 1);
    const std::vector<std::string> stack{"stuck"};
    ahead.Plan(stack);
    std::unique_lock<std::mutex> held(gate->Lock);
    gate->Changed.wait(held, [&] { return gate->Inside; });
  }
  {
    std::lock_guard<std::mutex> held(gate->Lock);
    EXPECT_FALSE(gate->Open);
    gate->Open = true;
    gate->Changed.notify_all();
  }
  fallback.join();
  // The worker left behind ends and frees what it shared.
  while (gate.use_count() > 1) std::this_thread::yield();
}

TEST(ReadAheadTest, AFailureOnAWorkerIsThrownWhenTheWalkTakesIt) {
  std::atomic<bool> reached{false};
  ReadAhead<int> ahead(
      [&](const std::string& key, const ReadStop&) -> int {
        if (key != "bad") return 1;
        reached = true;
        throw std::runtime_error("unreadable");
      },
      [](int) { return sizeof(int); }, {}, 2);
  const std::vector<std::string> stack{"good", "bad"};
  ahead.Plan(stack);
  while (!reached) std::this_thread::yield();
  EXPECT_THROW(ahead.Take("bad"), std::runtime_error);
  EXPECT_EQ(ahead.Take("good"), 1);
}

TEST(ReadAheadTest, StopEndsEveryWorkerAndTellsTheReads) {
  std::atomic<int> running{0};
  std::atomic<int> sawStop{0};
  std::atomic<bool> quickRead{false};
  ReadAhead<int> ahead(
      [&](const std::string& key, const ReadStop& stop) {
        if (key == "quick") {
          quickRead = true;
          return 0;
        }
        ++running;
        // Bounded, so a stop that never arrives fails instead of hanging.
        for (int wait = 0; wait < 20000 && !stop.Requested(); ++wait)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop.Requested()) ++sawStop;
        --running;
        return 0;
      },
      [](int) { return sizeof(int); }, {}, 3);
  // A read ending within the budget lets a third be under way at once.
  ahead.Plan(std::vector<std::string>{"quick"});
  while (!quickRead) std::this_thread::yield();
  EXPECT_EQ(ahead.Take("quick"), 0);
  const std::vector<std::string> stack{"a", "b", "c", "d", "e"};
  ahead.Plan(stack);
  while (running < 3) std::this_thread::yield();
  ahead.Stop();
  EXPECT_EQ(running, 0);
  EXPECT_EQ(sawStop, 3);
}

}  // namespace
