#include "Engine/Walk/ReadAheadJobs.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "Base/AsciiCase.h"

namespace {
std::size_t HashOf(const std::string& key) { return std::hash<std::string_view>{}(key); }

// The row for this state and event; null for a move the table does not have.
constexpr const JobMove* RowFor(JobState from, JobEvent on) {
  for (const JobMove& move : JobMoves)
    if (move.From == from && move.On == on) return &move;
  return nullptr;
}
}  // namespace

std::size_t ReadAheadJobs::SlotCount(const ReadAheadLimits& limits) {
  return std::max<std::size_t>({1, limits.MaxAhead, limits.MaxHeld});
}

ReadAheadJobs::ReadAheadJobs(ReadAheadSlots& slots, ReadStop::Grant& grant,
                             const ReadAheadLimits& limits)
    : slots_(slots),
      maxAhead_(std::max<std::size_t>(1, limits.MaxAhead)),
      byteBudget_(limits.ByteBudget),
      freshMilliseconds_(limits.FreshMilliseconds),
      jobs_(SlotCount(limits)),
      stops_(std::make_unique<ReadStop[]>(SlotCount(limits))) {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) stops_[slot].Bind(grant, slot);
}

// Every state change goes through here, along a row of JobMoves; the callers
// only make moves they have checked the state for, so a missing row leaves
// the job as it is.
void ReadAheadJobs::Move(std::size_t slot, JobEvent event) {
  if (const JobMove* row = RowFor(jobs_[slot].State, event)) jobs_[slot].State = row->To;
}

void ReadAheadJobs::ReadWhenReached(std::span<const std::string> keys) {
  readWhenReached_.assign(keys.begin(), keys.end());
}

bool ReadAheadJobs::Unwanted(const std::string& key) const {
  for (const std::string& unwanted : readWhenReached_)
    if (EqualAsciiFolded(unwanted, key)) return true;
  return false;
}

void ReadAheadJobs::Plan(std::span<const std::string> stack) {
  if (stopping_ || budgetPassed_) return;
  const std::size_t window = std::min(stack.size(), maxAhead_);
  RankPlanned(stack, window);
  QueueUnread(stack, window);
}

// Gives each job its place among the next directories; a request that fell
// out of the window is dropped, a read already under way or done is kept
// unranked, the first to go when a slot or the budget is needed.
void ReadAheadJobs::RankPlanned(std::span<const std::string> stack, std::size_t window) {
  for (Job& job : jobs_) job.Rank = Unplanned;
  for (std::size_t rank = 0; rank < window; ++rank) {
    const std::string& key = stack[stack.size() - 1 - rank];
    const std::size_t slot = Find(key, HashOf(key));
    if (slot != NoSlot && jobs_[slot].Rank == Unplanned) jobs_[slot].Rank = rank;
  }
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == JobState::Queued && jobs_[slot].Rank == Unplanned)
      Move(slot, JobEvent::Unplan);
}

// Requests the directories of the window nobody has read, nearest first,
// making room from the reads that wait deepest in the stack.
void ReadAheadJobs::QueueUnread(std::span<const std::string> stack, std::size_t window) {
  for (std::size_t rank = 0; rank < window; ++rank) {
    const std::string& key = stack[stack.size() - 1 - rank];
    const std::size_t hash = HashOf(key);
    if (Find(key, hash) != NoSlot || Unwanted(key)) continue;
    std::size_t slot = FirstIn(JobState::Free);
    if (slot == NoSlot && EvictDeeperThan(rank)) slot = FirstIn(JobState::Free);
    if (slot == NoSlot) return;
    Move(slot, JobEvent::Request);
    Job& job = jobs_[slot];
    job.Key = key;
    job.Hash = hash;
    job.Rank = rank;
    job.Bytes = 0;
  }
}

// The job the walk may still take for key: an abandoned read is no longer it.
std::size_t ReadAheadJobs::Find(const std::string& key, std::size_t hash) const {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    if (job.State != JobState::Free && job.State != JobState::Taken &&
        job.State != JobState::Abandoned && job.Hash == hash && job.Key == key)
      return slot;
  }
  return NoSlot;
}

std::size_t ReadAheadJobs::FirstIn(JobState state) const {
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == state) return slot;
  return NoSlot;
}

// The job in this state that waits deepest in the stack, if deeper than rank.
std::size_t ReadAheadJobs::DeepestDeeperThan(std::size_t rank, JobState state) const {
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
bool ReadAheadJobs::EvictDeeperThan(std::size_t rank) {
  const std::size_t deepest = DeepestDeeperThan(rank, JobState::Done);
  if (deepest == NoSlot) return false;
  slots_.Discard(deepest);
  heldBytes_ -= jobs_[deepest].Bytes;
  Move(deepest, JobEvent::Evict);
  return true;
}

// A read begun too long ago for the walk to take: the directory may have
// changed since, and a walk without workers would read it only now.
bool ReadAheadJobs::Stale(const Job& job, std::uint64_t now) const {
  return now - job.StartedAt > freshMilliseconds_;
}

std::size_t ReadAheadJobs::Claim(const std::string& key, std::uint64_t now) {
  const std::size_t slot = Find(key, HashOf(key));
  if (slot == NoSlot) return NoSlot;
  Job& job = jobs_[slot];
  if (job.State == JobState::Queued || job.State == JobState::Refused) {
    Move(slot, JobEvent::Claim);
    return NoSlot;
  }
  if (Stale(job, now)) {
    if (job.State == JobState::Running) {
      stops_[slot].Raise();  // its reader gives up and frees the slot
    } else {
      slots_.Discard(slot);
      heldBytes_ -= job.Bytes;
    }
    Move(slot, JobEvent::ClaimStale);
    return NoSlot;
  }
  job.Rank = 0;  // never evicted while the walk waits for it
  return slot;
}

std::size_t ReadAheadJobs::Take(std::size_t slot) {
  Job& job = jobs_[slot];
  if (job.State == JobState::Refused) {  // the budget had no room for all of it
    Move(slot, JobEvent::Claim);
    return NoSlot;
  }
  heldBytes_ -= job.Bytes;
  Move(slot, JobEvent::Claim);
  return slot;
}

void ReadAheadJobs::Release(std::size_t slot) { Move(slot, JobEvent::Release); }

void ReadAheadJobs::Stop() {
  stopping_ = true;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    stops_[slot].Raise();
    if (jobs_[slot].State == JobState::Queued) Move(slot, JobEvent::Stop);
  }
}

std::size_t ReadAheadJobs::Begin(std::uint64_t now) {
  if (stopping_ || budgetPassed_) return NoSlot;
  std::size_t nearest = NoSlot, running = 0;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot) {
    const Job& job = jobs_[slot];
    running += job.State == JobState::Running;
    if (job.State == JobState::Queued && (nearest == NoSlot || job.Rank < jobs_[nearest].Rank))
      nearest = slot;
  }
  if (nearest == NoSlot || running >= readsAllowed_) return NoSlot;
  // Room in the budget, made by throwing away reads that wait deeper than it.
  while (BudgetFull())
    if (!EvictDeeperThan(jobs_[nearest].Rank)) return NoSlot;
  Move(nearest, JobEvent::Begin);
  Job& job = jobs_[nearest];
  job.Bytes = 0;
  job.StartedAt = now;
  stops_[nearest].Lower();
  return nearest;
}

bool ReadAheadJobs::BudgetFull() const {
  const std::size_t used = heldBytes_ + inProgressBytes_;
  return used > 0 && used >= byteBudget_;
}

// Granted while every read ahead together stays within the budget, making
// room from finished reads deeper than this one.
bool ReadAheadJobs::Hold(std::size_t slot, std::size_t bytes) {
  Job& job = jobs_[slot];
  ReadStop& stop = stops_[slot];
  if (stop.Requested()) return false;
  while (heldBytes_ + inProgressBytes_ - job.Bytes + bytes > byteBudget_) {
    if (!EvictDeeperThan(job.Rank)) {
      stop.Raise();
      return false;
    }
  }
  inProgressBytes_ = inProgressBytes_ - job.Bytes + bytes;
  job.Bytes = bytes;
  return true;
}

void ReadAheadJobs::End(std::size_t slot, bool gaveUp, std::size_t bytes) {
  Job& job = jobs_[slot];
  inProgressBytes_ -= job.Bytes;
  job.Bytes = 0;
  if (job.State == JobState::Abandoned) {
    if (!gaveUp) slots_.Discard(slot);
  } else if (gaveUp) {
    if (!stopping_ && !budgetPassed_) PassBudget();
  } else {
    job.Bytes = bytes;
    heldBytes_ += bytes;
    // A large folder hints at more: no more at once then.
    if (bytes < byteBudget_ / 8) readsAllowed_ = std::min(readsAllowed_ + 1, jobs_.size());
  }
  Move(slot, gaveUp ? JobEvent::GiveUp : JobEvent::Finish);
}

// From now on the walk reads every directory itself; the reads under way
// give up too, so that none holds a large folder while the walk reads one.
void ReadAheadJobs::PassBudget() {
  budgetPassed_ = true;
  for (std::size_t slot = 0; slot < jobs_.size(); ++slot)
    if (jobs_[slot].State == JobState::Running) stops_[slot].Raise();
}
