#include "Engine/Walk/ReadAheadQueue.h"

#include <algorithm>

namespace {
// What a worker is started with; it owns this until it ends.
struct WorkerStart {
  ReadAheadQueue* Queue = nullptr;
  std::shared_ptr<void> KeepAlive;
};
}  // namespace

unsigned ReadAheadWorkers(unsigned processors) {
  return processors <= 1 ? 0 : std::min(processors - 1, 4u);
}

ReadAheadQueue::ReadAheadQueue(Slots& slots, const ReadAheadLimits& limits)
    : slots_(slots),
      endWaitMilliseconds_(limits.EndWaitMilliseconds),
      jobs_(slots, *this, limits) {}

ReadAheadQueue::~ReadAheadQueue() { Stop(); }

void ReadAheadQueue::Start(unsigned workers, const std::shared_ptr<void>& keepAlive) noexcept {
  try {
    workers_.reserve(workers);
    for (unsigned i = 0; i < workers; ++i) {
      auto start = std::make_unique<WorkerStart>(WorkerStart{this, keepAlive});
      auto worker = std::make_unique<Plat::Thread>(WorkerMain, start.get());
      if (!worker->Started()) continue;  // refused by the system: one worker fewer
      start.release();                   // the worker's now
      {
        Plat::MonitorLock hold(monitor_);
        ++runningWorkers_;
      }
      workers_.push_back(std::move(worker));  // room reserved: cannot throw
    }
  } catch (...) {
    // Out of memory half-way: the workers started are told to end, and none is used.
    Stop();
  }
}

void ReadAheadQueue::Stop() {
  if (!EndWorkers())
    for (auto& worker : workers_) worker->Detach();
  workers_.clear();  // joins the workers that have ended
}

// Tells every worker to end and waits for them, for a while: false when one
// is still inside a read.
bool ReadAheadQueue::EndWorkers() {
  Plat::MonitorLock hold(monitor_);
  jobs_.Stop();
  monitor_.WakeAll();
  const std::uint64_t deadline = Plat::TickMilliseconds() + endWaitMilliseconds_;
  while (runningWorkers_ > 0) {
    const std::uint64_t now = Plat::TickMilliseconds();
    if (now >= deadline) return false;
    monitor_.WaitFor(static_cast<unsigned>(deadline - now));
  }
  return true;
}

void ReadAheadQueue::ReadWhenReached(std::span<const std::string> keys) {
  Plat::MonitorLock hold(monitor_);
  jobs_.ReadWhenReached(keys);
}

void ReadAheadQueue::Plan(std::span<const std::string> stack) {
  if (workers_.empty()) return;
  Plat::MonitorLock hold(monitor_);
  jobs_.Plan(stack);
  monitor_.WakeAll();
}

std::size_t ReadAheadQueue::Claim(const std::string& key) {
  if (workers_.empty()) return NoSlot;  // one processor: the plain walk, no lock taken
  Plat::MonitorLock hold(monitor_);
  const std::size_t slot = jobs_.Claim(key, Plat::TickMilliseconds());
  if (slot == NoSlot) {
    monitor_.WakeAll();  // a stale read thrown away leaves the budget room
    return NoSlot;
  }
  // Rather than wait idle, the walk reads what no worker has begun: with one
  // worker fewer than processors, every processor still reads.
  while (jobs_.StateOf(slot) == JobState::Running)
    if (jobs_.Stopping() || !RunPickedJob()) monitor_.Wait();
  const std::size_t taken = jobs_.Take(slot);
  monitor_.WakeAll();  // the budget has room again
  return taken;
}

void ReadAheadQueue::Release(std::size_t slot) {
  Plat::MonitorLock hold(monitor_);
  jobs_.Release(slot);
}

void ReadAheadQueue::WorkerMain(void* start) {
  // Released last: it may free the queue itself, once nothing waits for this worker.
  const std::unique_ptr<WorkerStart> owned(static_cast<WorkerStart*>(start));
  owned->Queue->Work();
}

void ReadAheadQueue::Work() {
  monitor_.Enter();
  while (!jobs_.Stopping())
    if (!RunPickedJob()) monitor_.Wait();
  --runningWorkers_;
  monitor_.WakeAll();
  monitor_.Leave();
}

// Reads the next queued directory, the lock let go meanwhile; false when
// none may begin. Called with the lock held.
bool ReadAheadQueue::RunPickedJob() {
  const std::size_t slot = jobs_.Begin(Plat::TickMilliseconds());
  if (slot == NoSlot) return false;
  monitor_.Leave();
  const ReadStop& stop = jobs_.StopOf(slot);
  const std::size_t bytes = slots_.ReadInto(slot, jobs_.KeyOf(slot), stop);
  const bool gaveUp = stop.Requested();
  if (gaveUp) slots_.Discard(slot);  // freed before the lock is taken again
  monitor_.Enter();
  jobs_.End(slot, gaveUp, bytes);
  monitor_.WakeAll();
  return true;
}

bool ReadAheadQueue::Hold(std::size_t slot, std::size_t bytes) {
  Plat::MonitorLock hold(monitor_);
  return jobs_.Hold(slot, bytes);
}
