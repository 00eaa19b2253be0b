// The read-ahead's jobs on one thread, every clock reading given: each row
// of JobMoves made through the calls of whoever may make it, then the limits
// that decide when a read may begin: the count of reads at once and its
// back-off, the byte budget, and how old a read may be when the walk takes it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Engine/Walk/ReadAheadJobs.h"
#include "Engine/Walk/ReadAheadQueue.h"

namespace {

constexpr std::size_t NoSlot = ReadAheadJobs::NoSlot;

ReadAheadLimits Limits(std::size_t ahead, std::size_t budget, unsigned fresh = 1000) {
  ReadAheadLimits limits;
  limits.MaxAhead = ahead;
  limits.MaxHeld = ahead;
  limits.ByteBudget = budget;
  limits.FreshMilliseconds = fresh;
  return limits;
}

// The jobs with slots that only note what they are told to discard; the
// reads themselves are the test's to make up.
struct Jobs final : ReadAheadSlots, ReadStop::Grant {
  explicit Jobs(ReadAheadLimits limits = Limits(4, 1000)) : jobs(*this, *this, limits) {}

  std::size_t ReadInto(std::size_t, const std::string&, const ReadStop&) override { return 0; }
  void Discard(std::size_t slot) override { discarded.push_back(slot); }
  bool Hold(std::size_t slot, std::size_t bytes) override { return jobs.Hold(slot, bytes); }

  // The stack as the walk holds it: the last taken next.
  void Plan(std::vector<std::string> stack) { jobs.Plan(stack); }

  // The slot holding key's job (the last one, should an abandoned read share it).
  std::size_t SlotOf(const std::string& key) const {
    std::size_t found = NoSlot;
    for (std::size_t slot = 0; slot < jobs.Slots(); ++slot)
      if (jobs.StateOf(slot) != JobState::Free && jobs.KeyOf(slot) == key) found = slot;
    return found;
  }
  JobState Of(const std::string& key) const {
    const std::size_t slot = SlotOf(key);
    return slot == NoSlot ? JobState::Free : jobs.StateOf(slot);
  }
  // A reader begins the next read and ends it whole, holding bytes.
  std::size_t ReadWhole(std::size_t bytes, std::uint64_t now = 0) {
    const std::size_t slot = jobs.Begin(now);
    if (slot != NoSlot) jobs.End(slot, false, bytes);
    return slot;
  }
  // A reader begins the next read, asks for more than the budget and gives up.
  std::size_t ReadPastTheBudget() {
    const std::size_t slot = jobs.Begin(0);
    EXPECT_FALSE(jobs.Hold(slot, 1001));
    jobs.End(slot, true, 0);
    return slot;
  }
  std::string Began() { return KeyBegun(jobs.Begin(0)); }
  std::string KeyBegun(std::size_t slot) const { return slot == NoSlot ? "none" : jobs.KeyOf(slot); }

  std::vector<std::size_t> discarded;
  ReadAheadJobs jobs;
};

// A job brought into a row's From state and moved by its event: the states
// of "a" before and after.
using Scenario = std::function<std::pair<JobState, JobState>(Jobs&)>;

std::map<std::pair<JobState, JobEvent>, Scenario> Scenarios() {
  using S = JobState;
  using E = JobEvent;
  std::map<std::pair<JobState, JobEvent>, Scenario> scenarios;
  scenarios[{S::Free, E::Request}] = [](Jobs& t) {
    const S before = t.Of("a");
    t.Plan({"a"});
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Queued, E::Unplan}] = [](Jobs& t) {
    t.Plan({"c", "b", "a"});
    const S before = t.Of("a");
    t.Plan({"c", "b", "x", "y", "z", "w"});  // a has left the window of four
    EXPECT_EQ(t.Began(), "w");
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Queued, E::Stop}] = [](Jobs& t) {
    t.Plan({"a"});
    const S before = t.Of("a");
    t.jobs.Stop();
    EXPECT_EQ(t.jobs.Begin(0), NoSlot);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Queued, E::Claim}] = [](Jobs& t) {
    t.Plan({"a"});
    const S before = t.Of("a");
    EXPECT_EQ(t.jobs.Claim("a", 0), NoSlot);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Refused, E::Claim}] = [](Jobs& t) {
    t.Plan({"a"});
    t.ReadPastTheBudget();
    const S before = t.Of("a");
    EXPECT_EQ(t.jobs.Claim("a", 0), NoSlot);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Queued, E::Begin}] = [](Jobs& t) {
    t.Plan({"a"});
    const S before = t.Of("a");
    EXPECT_EQ(t.Began(), "a");
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Running, E::Finish}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.jobs.Begin(0);
    const S before = t.Of("a");
    t.jobs.End(slot, false, 10);
    EXPECT_TRUE(t.discarded.empty());
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Running, E::GiveUp}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.jobs.Begin(0);
    const S before = t.Of("a");
    EXPECT_FALSE(t.jobs.Hold(slot, 1001));
    t.jobs.End(slot, true, 0);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Running, E::ClaimStale}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.jobs.Begin(0);
    const S before = t.Of("a");
    EXPECT_EQ(t.jobs.Claim("a", 1001), NoSlot);
    EXPECT_TRUE(t.jobs.StopOf(slot).Requested());  // its reader is told to give up
    return std::pair{before, t.Of("a")};
  };
  for (const bool gaveUp : {false, true}) {
    scenarios[{S::Abandoned, gaveUp ? E::GiveUp : E::Finish}] = [gaveUp](Jobs& t) {
      t.Plan({"a"});
      const std::size_t slot = t.jobs.Begin(0);
      t.jobs.Claim("a", 1001);
      t.Plan({"a"});  // asked for again: a new job, the abandoned read left alone
      EXPECT_EQ(t.jobs.StateOf(slot), S::Abandoned);
      t.jobs.End(slot, gaveUp, 10);
      // A read that gave up was discarded by its reader; a whole one here.
      EXPECT_EQ(t.discarded, gaveUp ? std::vector<std::size_t>{} : std::vector{slot});
      EXPECT_EQ(t.Of("a"), S::Queued);
      return std::pair{S::Abandoned, t.jobs.StateOf(slot)};
    };
  }
  scenarios[{S::Done, E::Evict}] = [](Jobs& t) {
    t.Plan({"a", "b", "c", "d"});
    for (int read = 0; read < 4; ++read) t.ReadWhole(10);
    const S before = t.Of("a");
    t.Plan({"a", "b", "c", "d", "e"});  // e needs a slot: a waits deepest
    EXPECT_EQ(t.discarded, std::vector{t.SlotOf("e")});
    EXPECT_EQ(t.Of("e"), S::Queued);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Done, E::ClaimStale}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.ReadWhole(1000);
    const S before = t.Of("a");
    EXPECT_EQ(t.jobs.Claim("a", 1001), NoSlot);
    EXPECT_EQ(t.discarded, std::vector{slot});
    t.Plan({"b"});
    EXPECT_EQ(t.Began(), "b");  // the budget has its room back
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Done, E::Claim}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.ReadWhole(10);
    const S before = t.Of("a");
    EXPECT_EQ(t.jobs.Claim("a", 1000), slot);
    EXPECT_EQ(t.jobs.Take(slot), slot);
    return std::pair{before, t.Of("a")};
  };
  scenarios[{S::Taken, E::Release}] = [](Jobs& t) {
    t.Plan({"a"});
    const std::size_t slot = t.ReadWhole(10);
    t.jobs.Take(t.jobs.Claim("a", 0));
    const S before = t.Of("a");
    t.jobs.Release(slot);
    return std::pair{before, t.jobs.StateOf(slot)};
  };
  return scenarios;
}

TEST(ReadAheadJobsTest, EveryMoveOfTheTableIsMadeByItsEvent) {
  const auto scenarios = Scenarios();
  EXPECT_EQ(scenarios.size(), std::size(JobMoves));
  for (const JobMove& move : JobMoves) {
    const auto scenario = scenarios.find({move.From, move.On});
    const int row = static_cast<int>(&move - JobMoves);
    ASSERT_NE(scenario, scenarios.end()) << "no scenario for row " << row;
    Jobs jobs;
    const auto [before, after] = scenario->second(jobs);
    EXPECT_EQ(before, move.From) << "row " << row;
    EXPECT_EQ(after, move.To) << "row " << row;
  }
}

TEST(ReadAheadJobsTest, TheWalkWaitingForARunningReadTakesItOrReadsItself) {
  // The read ends whole, or gives up (its stop raised) while the walk waits.
  for (const bool gaveUp : {false, true}) {
    Jobs t;
    t.Plan({"a"});
    const std::size_t slot = t.jobs.Begin(0);
    EXPECT_EQ(t.jobs.Claim("a", 0), slot);
    EXPECT_EQ(t.Of("a"), JobState::Running);  // the walk waits: no move
    t.jobs.End(slot, gaveUp, 10);
    EXPECT_EQ(t.jobs.Take(slot), gaveUp ? NoSlot : slot);
    EXPECT_EQ(t.jobs.StateOf(slot), gaveUp ? JobState::Free : JobState::Taken);
  }
}

TEST(ReadAheadJobsTest, AReadTheWalkWaitsForIsNeverThrownAwayForRoom) {
  Jobs t;
  t.Plan({"a", "b"});  // b is next; the walk takes a first all the same
  const std::size_t b = t.jobs.Begin(0), a = t.jobs.Begin(0);
  EXPECT_EQ(t.jobs.Claim("a", 0), a);
  t.jobs.End(a, false, 600);
  EXPECT_FALSE(t.jobs.Hold(b, 500));
  EXPECT_EQ(t.jobs.Take(a), a);
  EXPECT_TRUE(t.discarded.empty());
}

TEST(ReadAheadJobsTest, ReadersTakeTheNearestRequestAndNeverTheOnesLeftToTheWalk) {
  Jobs t;
  const std::vector<std::string> written{"C"};
  t.jobs.ReadWhenReached(written);
  t.Plan({"d", "c", "b", "a"});
  EXPECT_EQ(t.Began(), "a");
  t.Plan({"d", "c", "b"});  // a is taken: b comes next
  EXPECT_EQ(t.Began(), "b");
  t.jobs.End(t.SlotOf("b"), false, 1);  // a third read at once from now on
  EXPECT_EQ(t.Began(), "d");            // c is the walk's, in any case
  EXPECT_EQ(t.Of("c"), JobState::Free);
}

TEST(ReadAheadJobsTest, TwoReadsAtOnceAtFirstAndOneMoreAfterEachSmallOne) {
  // The budget is 1000: a read under an eighth of it lets one more begin at once.
  struct Case {
    std::size_t FirstBytes;
    std::size_t AtOnceAfter;
  };
  for (const Case c : {Case{124, 3}, Case{125, 2}, Case{999, 2}}) {
    Jobs t(Limits(8, 1000));
    t.Plan({"f", "e", "d", "c", "b", "a"});
    EXPECT_NE(t.jobs.Begin(0), NoSlot);
    EXPECT_NE(t.jobs.Begin(0), NoSlot);
    EXPECT_EQ(t.jobs.Begin(0), NoSlot) << "a third read before any ended";
    t.jobs.End(t.SlotOf("a"), false, c.FirstBytes);
    std::size_t running = 1;
    while (t.jobs.Begin(0) != NoSlot) ++running;
    EXPECT_EQ(running, c.AtOnceAfter) << c.FirstBytes;
  }
}

TEST(ReadAheadJobsTest, AReadBeginsOnlyWhileTheBudgetHasRoom) {
  // "a" is held, nearer than "b": it is not thrown away to make room for b.
  struct Case {
    std::size_t HeldBytes;
    std::string Began;
  };
  for (const Case& c : {Case{999, "b"}, Case{1000, "none"}}) {
    Jobs t;
    t.Plan({"b", "a"});
    t.ReadWhole(c.HeldBytes);
    EXPECT_EQ(t.Began(), c.Began) << c.HeldBytes;
  }
  // Held deeper than the next request, it is.
  Jobs t;
  t.Plan({"a"});
  const std::size_t held = t.ReadWhole(1000);
  t.Plan({"a", "b"});
  EXPECT_EQ(t.Began(), "b");
  EXPECT_EQ(t.discarded, std::vector{held});
}

TEST(ReadAheadJobsTest, ReadsUnderWayAndHeldShareTheBudget) {
  Jobs t;
  t.Plan({"c", "b", "a"});
  const std::size_t a = t.jobs.Begin(0), b = t.jobs.Begin(0);
  EXPECT_TRUE(t.jobs.Hold(a, 600));
  EXPECT_TRUE(t.jobs.Hold(a, 500));  // a read may shrink
  EXPECT_TRUE(t.jobs.Hold(b, 500));  // exactly the budget
  t.jobs.End(a, false, 500);
  EXPECT_EQ(t.jobs.Begin(0), NoSlot);  // 1000 in use: c waits
  EXPECT_FALSE(t.jobs.Hold(b, 501));   // a is nearer: not thrown away for b
  EXPECT_TRUE(t.jobs.StopOf(b).Requested());
  EXPECT_TRUE(t.discarded.empty());
}

TEST(ReadAheadJobsTest, AReadMakesRoomFromHeldReadsDeeperThanItOnly) {
  // b is nearer than a, which is held: b may have its room.
  Jobs deeper;
  deeper.Plan({"a", "b"});
  const std::size_t b = deeper.jobs.Begin(0), a = deeper.jobs.Begin(0);
  deeper.jobs.End(a, false, 600);
  EXPECT_TRUE(deeper.jobs.Hold(b, 500));
  EXPECT_EQ(deeper.discarded, std::vector{a});
  EXPECT_EQ(deeper.Of("a"), JobState::Free);
  // Both have left the window: neither is nearer, nothing is thrown away.
  Jobs level;
  level.Plan({"a", "b"});
  const std::size_t b2 = level.jobs.Begin(0), a2 = level.jobs.Begin(0);
  level.jobs.End(a2, false, 600);
  level.Plan({"x"});
  EXPECT_FALSE(level.jobs.Hold(b2, 500));
  EXPECT_TRUE(level.discarded.empty());
}

TEST(ReadAheadJobsTest, OnceAReadPassesTheBudgetTheWalkReadsTheRestItself) {
  Jobs t;
  t.Plan({"c", "b", "a"});
  const std::size_t a = t.jobs.Begin(0), b = t.jobs.Begin(0);
  EXPECT_FALSE(t.jobs.Hold(a, 1001));
  t.jobs.End(a, true, 0);
  EXPECT_TRUE(t.jobs.StopOf(b).Requested());  // the read under way gives up too
  EXPECT_EQ(t.jobs.Begin(0), NoSlot);         // c is never begun
  t.jobs.End(b, true, 0);
  t.Plan({"e", "d"});
  EXPECT_EQ(t.Of("d"), JobState::Free);  // nor anything planned later
  EXPECT_EQ(t.jobs.Claim("b", 0), NoSlot);
  EXPECT_EQ(t.jobs.Claim("c", 0), NoSlot);
}

TEST(ReadAheadJobsTest, AReadIsTakenUpToTheFreshBoundAfterItBegan) {
  struct Case {
    std::uint64_t TakenAt;
    bool Taken;
  };
  for (const Case c : {Case{5000, true}, Case{5001, false}}) {
    Jobs t(Limits(4, 1000, 1000));
    t.Plan({"a"});
    const std::size_t slot = t.ReadWhole(10, 4000);
    EXPECT_EQ(t.jobs.Claim("a", c.TakenAt), c.Taken ? slot : NoSlot) << c.TakenAt;
  }
}

TEST(ReadAheadJobsTest, WorkersForAMachine) {
  const std::pair<unsigned, unsigned> machines[] = {{0, 0}, {1, 0}, {2, 1}, {3, 2},
                                                    {5, 4}, {6, 4}, {64, 4}};
  for (const auto& [processors, workers] : machines)
    EXPECT_EQ(ReadAheadWorkers(processors), workers) << processors;
}

}  // namespace
