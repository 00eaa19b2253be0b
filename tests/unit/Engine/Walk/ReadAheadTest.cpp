// Reading ahead on workers: a walk over many small directories, with reads of
// random length, takes the same values in the same order as a walk that reads
// every directory itself; the byte budget holds; a stop ends every worker.
// These also run under ThreadSanitizer (orvl_thread_tests).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Engine/Walk/ReadAhead.h"

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
  std::vector<char> Bytes;
  ByteTracker* Tracker = nullptr;

  Blob() = default;
  Blob(Blob&& other) noexcept = default;
  Blob& operator=(Blob&&) = delete;
  ~Blob() {
    if (Tracker != nullptr) Tracker->Live -= Bytes.size();
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

// The fake read: deterministic content, random delay, a failure code in the value.
Blob ReadFake(const std::string& directory, ByteTracker& tracker) {
  const std::size_t hash = std::hash<std::string>{}(directory);
  thread_local std::mt19937 random(static_cast<unsigned>(hash));
  std::this_thread::sleep_for(std::chrono::microseconds(random() % 60));
  Blob blob;
  auto found = Tree().find(directory);
  if (found != Tree().end()) blob.Children = found->second;
  blob.Text = directory + (hash % 7 == 0 ? " error 5" : " ok");
  blob.Bytes.resize(1 + hash % 16384);
  blob.Tracker = &tracker;
  tracker.Add(blob.Bytes.size());
  return blob;
}

// A depth-first walk as the lister does it: take, push the children, plan.
std::vector<std::string> Walk(const ReadAheadLimits& limits, unsigned workers,
                              ByteTracker& tracker) {
  ReadAhead<Blob> ahead(
      [&](const std::string& key, const ReadStop&) { return ReadFake(key, tracker); },
      [](const Blob& blob) { return blob.Bytes.size(); }, limits, workers);
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

TEST(ReadAheadTest, HeldBytesStayWithinTheBudget) {
  // Beyond the budget: one read under way per worker and the one the walk holds.
  const unsigned workers = 3;
  const ReadAheadLimits limits{64, 64 * 1024};
  ByteTracker tracker;
  Walk(limits, workers, tracker);
  EXPECT_LE(tracker.Peak, limits.ByteBudget + (workers + 2) * 16384);
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
  ReadAhead<int> ahead(
      [&](const std::string&, const ReadStop& stop) {
        ++running;
        // Bounded, so a stop that never arrives fails instead of hanging.
        for (int wait = 0; wait < 20000 && !stop.Requested(); ++wait)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop.Requested()) ++sawStop;
        --running;
        return 0;
      },
      [](int) { return sizeof(int); }, {}, 3);
  const std::vector<std::string> stack{"a", "b", "c", "d", "e"};
  ahead.Plan(stack);
  while (running < 3) std::this_thread::yield();
  ahead.Stop();
  EXPECT_EQ(running, 0);
  EXPECT_EQ(sawStop, 3);
}

}  // namespace
