// The scheduling half of reading ahead, whatever a read yields: which
// directories the workers read next, within what limits, and the hand-over of
// each finished read to the walk. The values themselves live in the slots of
// ReadAhead<Value> (ReadAhead.h); this class only says which slot holds what.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Platform/Threads.h"

// How far a walk reads ahead of itself. MaxAhead is the window: the next
// directories on the stack that workers are asked to read. MaxHeld bounds the
// reads held at once, those of the window and those a directory's children
// pushed out of it (kept, since they would only be read again). The budget
// bounds the bytes of every read ahead, finished or under way: a read that
// would take more gives up, and the walk reads that directory and every one
// after it itself.
struct ReadAheadLimits {
  std::size_t MaxAhead = 16;
  std::size_t ByteBudget = std::size_t{8} << 20;
  std::size_t MaxHeld = 32;
  // A read begun longer ago than this when the walk reaches its directory is
  // done again, so a listing is never older than that against a walk without
  // workers.
  unsigned FreshMilliseconds = 1000;
  // How long ending waits for the workers; one still inside a read after that
  // (a drive that does not answer) is left to end on its own.
  unsigned EndWaitMilliseconds = 2000;
};

// Worker threads for a machine: one per processor but one, whose reading the
// walk's own thread does (it reads when the workers are busy, and while it
// waits for one); at most four. None on one processor, where reading ahead
// only competes with the walk.
unsigned ReadAheadWorkers(unsigned processors);

class ReadAheadQueue;

// What a read sees of the read-ahead. A read on a worker asks before it takes
// more memory and looks now and then whether to give up (a stop, the budget,
// a walk that no longer wants it); what it returns then is thrown away. A
// default one, which the walk's own reads get, never asks a read to give up:
// only the queue raises the ones it hands its workers.
class ReadStop {
 public:
  ReadStop() = default;
  ReadStop(const ReadStop&) = delete;
  ReadStop& operator=(const ReadStop&) = delete;

  bool Requested() const { return requested_.load(std::memory_order_relaxed); }
  // The read is about to hold this many bytes in all; false: it must give up.
  bool Hold(std::size_t bytes) const;

 private:
  friend class ReadAheadQueue;
  ReadAheadQueue* queue_ = nullptr;
  std::size_t slot_ = 0;
  std::atomic<bool> requested_{false};
};

class ReadAheadQueue {
 public:
  // The side that holds the values.
  class Slots {
   public:
    // Reads key into slot and returns the bytes the value holds. Runs on a
    // worker, or on the walk's thread while it waits for one, with no lock
    // held; nothing else touches the slot meanwhile.
    virtual std::size_t ReadInto(std::size_t slot, const std::string& key,
                                 const ReadStop& stop) = 0;
    // Frees a read the walk will not take from this slot.
    virtual void Discard(std::size_t slot) = 0;

   protected:
    ~Slots() = default;
  };

  static constexpr std::size_t NoSlot = ~std::size_t{0};
  static std::size_t SlotCount(const ReadAheadLimits& limits);

  ReadAheadQueue(Slots& slots, const ReadAheadLimits& limits);
  ~ReadAheadQueue();
  ReadAheadQueue(const ReadAheadQueue&) = delete;
  ReadAheadQueue& operator=(const ReadAheadQueue&) = delete;

  // Starts the workers, each holding keepAlive until it ends, so that the
  // slots outlive a worker left inside a read. When a worker cannot be
  // started, none runs: the walk reads every directory itself.
  void Start(unsigned workers, const std::shared_ptr<void>& keepAlive) noexcept;
  // Directories the workers never read: the walk reads them when it gets there.
  void ReadWhenReached(std::span<const std::string> keys);
  // The walk's stack as it stands, its last element taken next.
  void Plan(std::span<const std::string> stack);
  // For the directory the walk takes now: the slot with its finished read
  // (waiting only for a worker already reading it), or NoSlot when the walk
  // reads it itself. A slot returned stays the walk's until Release.
  std::size_t Claim(const std::string& key);
  void Release(std::size_t slot);
  // Ends the workers, waiting for them at most EndWaitMilliseconds. Later reads are inline.
  void Stop();

  bool Threaded() const { return !workers_.empty(); }

 private:
  friend class ReadStop;
  enum class JobState { Free, Queued, Running, Done, Refused, Taken };
  static constexpr std::size_t Unplanned = ~std::size_t{0};
  struct Job {
    JobState State = JobState::Free;
    std::string Key;
    std::size_t Hash = 0;
    std::size_t Rank = Unplanned;  // place in the stack: 0 is taken next
    std::size_t Bytes = 0;         // held when Done, so far when Running
    std::uint64_t StartedAt = 0;   // tick when its read began
    bool Dropped = false;          // Running, but the walk read it itself
  };

  static void WorkerMain(void* start);
  void Work();
  bool RunPickedJob();
  void PassBudget();
  void Finish(std::size_t slot, bool gaveUp, std::size_t bytes);
  bool Hold(std::size_t slot, std::size_t bytes);
  bool EndWorkers();
  bool Stale(const Job& job) const;
  bool Unwanted(const std::string& key) const;
  std::size_t PickJob();
  bool BudgetFull() const;
  std::size_t Find(const std::string& key, std::size_t hash) const;
  std::size_t FreeSlot() const;
  std::size_t DeepestDeeperThan(std::size_t rank, JobState state) const;
  bool EvictDeeperThan(std::size_t rank);
  void RankPlanned(std::span<const std::string> stack, std::size_t window);
  void QueueUnread(std::span<const std::string> stack, std::size_t window);

  Slots& slots_;
  const std::size_t maxAhead_;
  const std::size_t byteBudget_;
  const unsigned freshMilliseconds_;
  const unsigned endWaitMilliseconds_;
  Plat::Monitor monitor_;
  std::vector<Job> jobs_;  // one per slot
  std::unique_ptr<ReadStop[]> stops_;  // one per slot, for the read in it
  std::vector<std::string> readWhenReached_;
  std::size_t heldBytes_ = 0;        // finished reads waiting to be taken
  std::size_t inProgressBytes_ = 0;  // reads under way, as far as they have got
  unsigned runningWorkers_ = 0;
  bool stopping_ = false;
  // Reads ahead under way at once: two at first (a worker, and the walk while
  // it waits), one more for each that ends holding under an eighth of the
  // budget, so that a tree of huge folders does not have many opened at once.
  std::size_t readsAllowed_ = 2;
  // A read passed the budget: folders that large may follow, and a read ahead
  // of one holds the system's memory too, so the walk reads the rest itself.
  bool budgetPassed_ = false;
  std::vector<std::unique_ptr<Plat::Thread>> workers_;
};
