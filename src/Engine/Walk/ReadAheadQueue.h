// The threads of reading ahead, whatever a read yields: the workers, the lock
// around the jobs (ReadAheadJobs, which decides every move), and the walk
// waiting for a read under way. The values themselves live in the slots of
// ReadAhead<Value> (ReadAhead.h); this class only runs the reads into them.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Engine/Walk/ReadAheadJobs.h"
#include "Platform/Threads.h"

// Worker threads for a machine: one per processor but one, whose reading the
// walk's own thread does (it reads when the workers are busy, and while it
// waits for one); at most four. None on one processor, where reading ahead
// only competes with the walk.
unsigned ReadAheadWorkers(unsigned processors);

class ReadAheadQueue final : ReadStop::Grant {
 public:
  using Slots = ReadAheadSlots;
  static constexpr std::size_t NoSlot = ReadAheadJobs::NoSlot;
  static std::size_t SlotCount(const ReadAheadLimits& limits) {
    return ReadAheadJobs::SlotCount(limits);
  }

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
  static void WorkerMain(void* start);
  void Work();
  bool RunPickedJob();
  bool Hold(std::size_t slot, std::size_t bytes) override;
  bool EndWorkers();

  Slots& slots_;
  const unsigned endWaitMilliseconds_;
  Plat::Monitor monitor_;
  ReadAheadJobs jobs_;  // touched only with monitor_ held
  unsigned runningWorkers_ = 0;
  std::vector<std::unique_ptr<Plat::Thread>> workers_;
};
