#include "Engine/Walk/ReadAheadQueue.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace {
std::size_t HashOf(const std::string& key) { return std::hash<std::string_view>{}(key); }
}  // namespace

unsigned ReadAheadWorkers(unsigned processors) {
  return processors <= 1 ? 0 : std::min(processors, 4u);
}

std::size_t ReadAheadQueue::SlotCount(const ReadAheadLimits& limits) {
  return std::max<std::size_t>({1, limits.MaxAhead, limits.MaxHeld});
}

ReadAheadQueue::ReadAheadQueue(Slots& slots, const ReadAheadLimits& limits, unsigned workers)
    : slots_(slots),
      maxAhead_(std::max<std::size_t>(1, limits.MaxAhead)),
      byteBudget_(limits.ByteBudget),
      jobs_(SlotCount(limits)) {
  for (unsigned i = 0; i < workers; ++i) {
    auto worker = std::make_unique<Plat::Thread>(WorkerMain, this);
    // A thread the system would not start is one worker fewer.
    if (worker->Started()) workers_.push_back(std::move(worker));
  }
}

ReadAheadQueue::~ReadAheadQueue() { Stop(); }

void ReadAheadQueue::Stop() {
  {
    Plat::MonitorLock hold(monitor_);
    stopping_ = true;
    stop_.requested_.store(true, std::memory_order_relaxed);
    for (Job& job : jobs_)
      if (job.State == JobState::Queued) job.State = JobState::Free;
    monitor_.WakeAll();
  }
  for (auto& worker : workers_) worker->Join();
  workers_.clear();
}

void ReadAheadQueue::Plan(std::span<const std::string> stack) {
  if (workers_.empty()) return;
  Plat::MonitorLock hold(monitor_);
  if (stopping_) return;
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
    if (Find(key, hash) != NoSlot) continue;
    std::size_t slot = FreeSlot();
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
    if (job.State != JobState::Free && job.State != JobState::Taken && job.Hash == hash &&
        job.Key == key)
      return slot;
  }
  return NoSlot;
}

std::size_t ReadAheadQueue::FreeSlot() const {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == JobState::Free) return slot;
  return NoSlot;
}

// Throws away the finished read deepest in the stack, if it lies deeper than rank.
bool ReadAheadQueue::EvictDeeperThan(std::size_t rank) {
  std::size_t deepest = NoSlot;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    if (job.State == JobState::Done && job.Rank > rank &&
        (deepest == NoSlot || job.Rank > jobs_[deepest].Rank))
      deepest = slot;
  }
  if (deepest == NoSlot) return false;
  slots_.Discard(deepest);
  heldBytes_ -= jobs_[deepest].Bytes;
  jobs_[deepest].State = JobState::Free;
  return true;
}

std::size_t ReadAheadQueue::Claim(const std::string& key) {
  if (workers_.empty()) return NoSlot;  // one processor: the plain walk, no lock taken
  Plat::MonitorLock hold(monitor_);
  const std::size_t slot = Find(key, HashOf(key));
  if (slot == NoSlot) return NoSlot;
  Job& job = jobs_[slot];
  // Not started: the walk reads it itself rather than wait for a worker.
  if (job.State == JobState::Queued) {
    job.State = JobState::Free;
    return NoSlot;
  }
  job.Rank = 0;  // never evicted while the walk waits for it
  while (job.State == JobState::Running) monitor_.Wait();
  heldBytes_ -= job.Bytes;
  job.State = JobState::Taken;
  monitor_.WakeAll();  // the budget has room again
  return slot;
}

void ReadAheadQueue::Release(std::size_t slot) {
  Plat::MonitorLock hold(monitor_);
  jobs_[slot].State = JobState::Free;
}

void ReadAheadQueue::WorkerMain(void* queue) { static_cast<ReadAheadQueue*>(queue)->Work(); }

void ReadAheadQueue::Work() {
  monitor_.Enter();
  while (!stopping_) {
    const std::size_t slot = PickJob();
    if (slot == NoSlot) {
      monitor_.Wait();
      continue;
    }
    monitor_.Leave();
    const std::size_t bytes = slots_.ReadInto(slot, jobs_[slot].Key, stop_);
    monitor_.Enter();
    jobs_[slot].Bytes = bytes;
    jobs_[slot].State = JobState::Done;
    heldBytes_ += bytes;
    monitor_.WakeAll();
  }
  monitor_.Leave();
}

// The queued directory nearest the top of the stack, when the budget has room
// for it (made by throwing away reads that wait deeper than it).
std::size_t ReadAheadQueue::PickJob() {
  std::size_t nearest = NoSlot;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    if (job.State == JobState::Queued && (nearest == NoSlot || job.Rank < jobs_[nearest].Rank))
      nearest = slot;
  }
  if (nearest == NoSlot) return NoSlot;
  while (heldBytes_ > 0 && heldBytes_ >= byteBudget_)
    if (!EvictDeeperThan(jobs_[nearest].Rank)) return NoSlot;
  jobs_[nearest].State = JobState::Running;
  return nearest;
}
