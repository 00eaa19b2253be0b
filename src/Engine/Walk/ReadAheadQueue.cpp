#include "Engine/Walk/ReadAheadQueue.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "Base/AsciiCase.h"

namespace {
std::size_t HashOf(const std::string& key) { return std::hash<std::string_view>{}(key); }

bool SameFolded(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

// What a worker is started with; it owns this until it ends.
struct WorkerStart {
  ReadAheadQueue* Queue = nullptr;
  std::shared_ptr<void> KeepAlive;
};
}  // namespace

unsigned ReadAheadWorkers(unsigned processors) {
  return processors <= 1 ? 0 : std::min(processors - 1, 4u);
}

bool ReadStop::Hold(std::size_t bytes) const {
  return queue_ == nullptr || queue_->Hold(slot_, bytes);
}

std::size_t ReadAheadQueue::SlotCount(const ReadAheadLimits& limits) {
  return std::max<std::size_t>({1, limits.MaxAhead, limits.MaxHeld});
}

ReadAheadQueue::ReadAheadQueue(Slots& slots, const ReadAheadLimits& limits)
    : slots_(slots),
      maxAhead_(std::max<std::size_t>(1, limits.MaxAhead)),
      byteBudget_(limits.ByteBudget),
      freshMilliseconds_(limits.FreshMilliseconds),
      endWaitMilliseconds_(limits.EndWaitMilliseconds),
      jobs_(SlotCount(limits)),
      stops_(std::make_unique<ReadStop[]>(SlotCount(limits))) {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    stops_[slot].queue_ = this;
    stops_[slot].slot_ = slot;
  }
}

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
  stopping_ = true;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    stops_[slot].requested_.store(true, std::memory_order_relaxed);
    if (jobs_[slot].State == JobState::Queued) jobs_[slot].State = JobState::Free;
  }
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
  readWhenReached_.assign(keys.begin(), keys.end());
}

bool ReadAheadQueue::Unwanted(const std::string& key) const {
  for (const std::string& unwanted : readWhenReached_)
    if (SameFolded(unwanted, key)) return true;
  return false;
}

void ReadAheadQueue::Plan(std::span<const std::string> stack) {
  if (workers_.empty()) return;
  Plat::MonitorLock hold(monitor_);
  if (stopping_ || budgetPassed_) return;
  const std::size_t window = std::min(stack.size(), maxAhead_);
  RankPlanned(stack, window);
  QueueUnread(stack, window);
  monitor_.WakeAll();
}

// Gives each job its place among the next directories; a request that fell
// out of the window is dropped, a read already under way or done is kept
// unranked, the first to go when a slot or the budget is needed.
void ReadAheadQueue::RankPlanned(std::span<const std::string> stack, std::size_t window) {
  for (Job& job : jobs_) job.Rank = Unplanned;
  for (std::size_t rank = 0; rank < window; ++rank) {
    const std::string& key = stack[stack.size() - 1 - rank];
    const std::size_t slot = Find(key, HashOf(key));
    if (slot != NoSlot && jobs_[slot].Rank == Unplanned) jobs_[slot].Rank = rank;
  }
  for (Job& job : jobs_)
    if (job.State == JobState::Queued && job.Rank == Unplanned) job.State = JobState::Free;
}

// Requests the directories of the window nobody has read, nearest first,
// making room from the reads that wait deepest in the stack.
void ReadAheadQueue::QueueUnread(std::span<const std::string> stack, std::size_t window) {
  for (std::size_t rank = 0; rank < window; ++rank) {
    const std::string& key = stack[stack.size() - 1 - rank];
    const std::size_t hash = HashOf(key);
    if (Find(key, hash) != NoSlot || Unwanted(key)) continue;
    std::size_t slot = FreeSlot();
    if (slot == NoSlot) slot = DeepestDeeperThan(rank, JobState::Refused);
    if (slot == NoSlot && EvictDeeperThan(rank)) slot = FreeSlot();
    if (slot == NoSlot) return;
    Job& job = jobs_[slot];
    job.State = JobState::Queued;
    job.Key = key;
    job.Hash = hash;
    job.Rank = rank;
    job.Bytes = 0;
  }
}

std::size_t ReadAheadQueue::Find(const std::string& key, std::size_t hash) const {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    if (job.State != JobState::Free && job.State != JobState::Taken && !job.Dropped &&
        job.Hash == hash && job.Key == key)
      return slot;
  }
  return NoSlot;
}

std::size_t ReadAheadQueue::FreeSlot() const {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == JobState::Free) return slot;
  return NoSlot;
}

// The job in this state that waits deepest in the stack, if deeper than rank.
std::size_t ReadAheadQueue::DeepestDeeperThan(std::size_t rank, JobState state) const {
  std::size_t deepest = NoSlot;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    if (job.State == state && job.Rank > rank &&
        (deepest == NoSlot || job.Rank > jobs_[deepest].Rank))
      deepest = slot;
  }
  return deepest;
}

// Throws away the finished read deepest in the stack, if it lies deeper than rank.
bool ReadAheadQueue::EvictDeeperThan(std::size_t rank) {
  const std::size_t deepest = DeepestDeeperThan(rank, JobState::Done);
  if (deepest == NoSlot) return false;
  slots_.Discard(deepest);
  heldBytes_ -= jobs_[deepest].Bytes;
  jobs_[deepest].State = JobState::Free;
  return true;
}

// A read begun too long ago for the walk to take: the directory may have
// changed since, and a walk without workers would read it only now.
bool ReadAheadQueue::Stale(const Job& job) const {
  return Plat::TickMilliseconds() - job.StartedAt > freshMilliseconds_;
}

std::size_t ReadAheadQueue::Claim(const std::string& key) {
  if (workers_.empty()) return NoSlot;  // one processor: the plain walk, no lock taken
  Plat::MonitorLock hold(monitor_);
  const std::size_t slot = Find(key, HashOf(key));
  if (slot == NoSlot) return NoSlot;
  Job& job = jobs_[slot];
  // Not started, or given up: the walk reads it itself rather than wait.
  if (job.State == JobState::Queued || job.State == JobState::Refused) {
    job.State = JobState::Free;
    return NoSlot;
  }
  if (Stale(job)) {
    if (job.State == JobState::Running) {
      // Its worker gives up and frees the slot when it sees this.
      job.Dropped = true;
      stops_[slot].requested_.store(true, std::memory_order_relaxed);
    } else {
      slots_.Discard(slot);
      heldBytes_ -= job.Bytes;
      job.State = JobState::Free;
      monitor_.WakeAll();  // the budget has room again
    }
    return NoSlot;
  }
  job.Rank = 0;  // never evicted while the walk waits for it
  // Rather than wait idle, the walk reads what no worker has begun: with one
  // worker fewer than processors, every processor still reads.
  while (job.State == JobState::Running)
    if (stopping_ || !RunPickedJob()) monitor_.Wait();
  if (job.State == JobState::Refused) {  // the budget had no room for all of it
    job.State = JobState::Free;
    return NoSlot;
  }
  heldBytes_ -= job.Bytes;
  job.State = JobState::Taken;
  monitor_.WakeAll();  // the budget has room again
  return slot;
}

void ReadAheadQueue::Release(std::size_t slot) {
  Plat::MonitorLock hold(monitor_);
  jobs_[slot].State = JobState::Free;
}

void ReadAheadQueue::WorkerMain(void* start) {
  // Released last: it may free the queue itself, once nothing waits for this worker.
  const std::unique_ptr<WorkerStart> owned(static_cast<WorkerStart*>(start));
  owned->Queue->Work();
}

void ReadAheadQueue::Work() {
  monitor_.Enter();
  while (!stopping_)
    if (!RunPickedJob()) monitor_.Wait();
  --runningWorkers_;
  monitor_.WakeAll();
  monitor_.Leave();
}

// Reads the next queued directory, the lock let go meanwhile; false when
// none is queued or the budget has no room. Called with the lock held.
bool ReadAheadQueue::RunPickedJob() {
  const std::size_t slot = PickJob();
  if (slot == NoSlot) return false;
  monitor_.Leave();
  const std::size_t bytes = slots_.ReadInto(slot, jobs_[slot].Key, stops_[slot]);
  const bool gaveUp = stops_[slot].Requested();
  if (gaveUp) slots_.Discard(slot);  // freed before the lock is taken again
  monitor_.Enter();
  Finish(slot, gaveUp, bytes);
  return true;
}

void ReadAheadQueue::Finish(std::size_t slot, bool gaveUp, std::size_t bytes) {
  Job& job = jobs_[slot];
  inProgressBytes_ -= job.Bytes;
  job.Bytes = 0;
  if (job.Dropped) {
    if (!gaveUp) slots_.Discard(slot);
    job.Dropped = false;
    job.State = JobState::Free;
  } else if (gaveUp) {
    job.State = JobState::Refused;
    if (!stopping_ && !budgetPassed_) PassBudget();
  } else {
    job.Bytes = bytes;
    job.State = JobState::Done;
    heldBytes_ += bytes;
    // A large folder hints at more: no more at once then.
    if (bytes < byteBudget_ / 8) readsAllowed_ = std::min(readsAllowed_ + 1, jobs_.size());
  }
  monitor_.WakeAll();
}

// From now on the walk reads every directory itself; the reads under way
// give up too, so that none holds a large folder while the walk reads one.
void ReadAheadQueue::PassBudget() {
  budgetPassed_ = true;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == JobState::Running)
      stops_[slot].requested_.store(true, std::memory_order_relaxed);
}

bool ReadAheadQueue::BudgetFull() const {
  const std::size_t used = heldBytes_ + inProgressBytes_;
  return used > 0 && used >= byteBudget_;
}

// The queued directory nearest the top of the stack, when the budget has room
// for it (made by throwing away reads that wait deeper than it).
std::size_t ReadAheadQueue::PickJob() {
  if (budgetPassed_) return NoSlot;
  std::size_t nearest = NoSlot, running = 0;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    running += job.State == JobState::Running;
    if (job.State == JobState::Queued && (nearest == NoSlot || job.Rank < jobs_[nearest].Rank))
      nearest = slot;
  }
  if (nearest == NoSlot || running >= readsAllowed_) return NoSlot;
  while (BudgetFull())
    if (!EvictDeeperThan(jobs_[nearest].Rank)) return NoSlot;
  Job& job = jobs_[nearest];
  job.State = JobState::Running;
  job.Bytes = 0;
  job.StartedAt = Plat::TickMilliseconds();
  stops_[nearest].requested_.store(false, std::memory_order_relaxed);
  return nearest;
}

// A read under way asks for more: granted while every read ahead together
// stays within the budget, making room from finished reads deeper than it.
bool ReadAheadQueue::Hold(std::size_t slot, std::size_t bytes) {
  Plat::MonitorLock hold(monitor_);
  Job& job = jobs_[slot];
  ReadStop& stop = stops_[slot];
  if (stop.Requested()) return false;
  while (heldBytes_ + inProgressBytes_ - job.Bytes + bytes > byteBudget_) {
    if (!EvictDeeperThan(job.Rank)) {
      stop.requested_.store(true, std::memory_order_relaxed);
      return false;
    }
  }
  inProgressBytes_ = inProgressBytes_ - job.Bytes + bytes;
  job.Bytes = bytes;
  return true;
}
