// The scheduling half of reading ahead, whatever a read yields: which
// directories the workers read next, within what limits, and the hand-over of
// each finished read to the walk. The values themselves live in the slots of
// ReadAhead<Value> (ReadAhead.h); this class only says which slot holds what.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Platform/Threads.h"

// How far a walk reads ahead of itself. MaxAhead is the window: the next
// directories on the stack that workers are asked to read. MaxHeld bounds the
// reads held at once, those of the window and those a directory's children
// pushed out of it (kept, since they would only be read again). The budget
// bounds the bytes of finished reads waiting to be taken (a read already under
// way may take it past the budget once).
struct ReadAheadLimits {
  std::size_t MaxAhead = 16;
  std::size_t ByteBudget = std::size_t{8} << 20;
  std::size_t MaxHeld = 32;
};

// Worker threads for a machine: none on one processor, where reading ahead
// only competes with the walk; otherwise one per processor, at most four.
unsigned ReadAheadWorkers(unsigned processors);

// What a read on a worker sees of a request to stop: a long read may look now
// and then and return early; what it returns then is thrown away.
class ReadStop {
 public:
  bool Requested() const { return requested_.load(std::memory_order_relaxed); }

 private:
  friend class ReadAheadQueue;
  std::atomic<bool> requested_{false};
};

class ReadAheadQueue {
 public:
  // The side that holds the values.
  class Slots {
   public:
    // Reads key into slot and returns the bytes the value holds. Runs on a
    // worker with no lock held; nothing else touches the slot meanwhile.
    virtual std::size_t ReadInto(std::size_t slot, const std::string& key,
                                 const ReadStop& stop) = 0;
    // Frees a finished read the walk will not take from this slot.
    virtual void Discard(std::size_t slot) = 0;

   protected:
    ~Slots() = default;
  };

  static constexpr std::size_t NoSlot = ~std::size_t{0};
  static std::size_t SlotCount(const ReadAheadLimits& limits);

  ReadAheadQueue(Slots& slots, const ReadAheadLimits& limits, unsigned workers);
  ~ReadAheadQueue();
  ReadAheadQueue(const ReadAheadQueue&) = delete;
  ReadAheadQueue& operator=(const ReadAheadQueue&) = delete;

  // The walk's stack as it stands, its last element taken next.
  void Plan(std::span<const std::string> stack);
  // For the directory the walk takes now: the slot with its finished read
  // (waiting only for a worker already reading it), or NoSlot when the walk
  // reads it itself. A slot returned stays the walk's until Release.
  std::size_t Claim(const std::string& key);
  void Release(std::size_t slot);
  // Ends every worker: none is running when this returns. Later reads are inline.
  void Stop();

  const ReadStop& StopSignal() const { return stop_; }
  bool Threaded() const { return !workers_.empty(); }

 private:
  enum class JobState { Free, Queued, Running, Done, Taken };
  static constexpr std::size_t Unplanned = ~std::size_t{0};
  struct Job {
    JobState State = JobState::Free;
    std::string Key;
    std::size_t Hash = 0;
    std::size_t Rank = Unplanned;  // place in the stack: 0 is taken next
    std::size_t Bytes = 0;
  };

  static void WorkerMain(void* queue);
  void Work();
  std::size_t PickJob();
  std::size_t Find(const std::string& key, std::size_t hash) const;
  std::size_t FreeSlot() const;
  bool EvictDeeperThan(std::size_t rank);
  void RankPlanned(std::span<const std::string> stack, std::size_t window);
  void QueueUnread(std::span<const std::string> stack, std::size_t window);

  Slots& slots_;
  const std::size_t maxAhead_;
  const std::size_t byteBudget_;
  Plat::Monitor monitor_;
  std::vector<Job> jobs_;  // one per slot
  std::size_t heldBytes_ = 0;
  bool stopping_ = false;
  ReadStop stop_;
  std::vector<std::unique_ptr<Plat::Thread>> workers_;
};
