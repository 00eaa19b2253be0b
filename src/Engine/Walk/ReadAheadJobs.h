// The read-ahead's jobs, one per slot, and every move between their states:
// the table JobMoves is the whole of it, and Move makes no other. Who decides
// what (which directory next, the count and byte limits, the back-off from
// huge folders, how old a read may be when taken) is here too. No threads
// and no lock: ReadAheadQueue holds its lock around every call and runs the
// reads; the tests drive these moves on one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Base/ReadStop.h"

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

// The side that holds the values, one per slot.
class ReadAheadSlots {
 public:
  // Reads key into slot and returns the bytes the value holds. Runs on a
  // worker, or on the walk's thread while it waits for one, with no lock
  // held; nothing else touches the slot meanwhile.
  virtual std::size_t ReadInto(std::size_t slot, const std::string& key, const ReadStop& stop) = 0;
  // Frees a read the walk will not take from this slot.
  virtual void Discard(std::size_t slot) = 0;

 protected:
  ~ReadAheadSlots() = default;
};

enum class JobState : unsigned char {
  Free,       // the slot holds nothing
  Queued,     // asked for, not begun
  Running,    // a reader is inside its read
  Abandoned,  // Running, but the walk read the directory itself: its reader frees it
  Done,       // read, held for the walk
  Refused,    // its read gave up: the walk reads the directory itself
  Taken,      // the walk holds the read until it releases the slot
};

enum class JobEvent : unsigned char {
  Request,     // the walk's plan asks for the directory
  Unplan,      // the directory left the window before a reader began it
  Stop,        // the read-ahead ends
  Begin,       // a reader begins the read
  Finish,      // the read ended whole
  GiveUp,      // the read gave up: a stop, or the budget had no room for it
  Claim,       // the walk reaches the directory
  ClaimStale,  // the walk reaches it, but its read began too long ago
  Evict,       // a nearer read needs the room
  Release,     // the walk is done with the read
};

// Who may make a move: the walk's thread in its own calls (Plan, Claim,
// Release, Stop), or a reader: a worker, or the walk's thread reading another
// job while it waits in Claim for a Running one.
enum class Mover : unsigned char { Walk, Reader, Either };

struct JobMove {
  JobState From;
  JobEvent On;
  JobState To;
  Mover By;
};

// Every move a job makes. A Running job the walk claims fresh does not move:
// the walk waits for its Finish or GiveUp, reading other Queued jobs meanwhile.
// A read gives up only once the read-ahead ends or the budget is passed, after
// which nothing is requested or begun: a Refused job waits for the walk.
inline constexpr JobMove JobMoves[] = {
    {JobState::Free, JobEvent::Request, JobState::Queued, Mover::Walk},
    {JobState::Queued, JobEvent::Unplan, JobState::Free, Mover::Walk},
    {JobState::Queued, JobEvent::Stop, JobState::Free, Mover::Walk},
    // Not begun, or given up: the walk reads it itself rather than wait.
    {JobState::Queued, JobEvent::Claim, JobState::Free, Mover::Walk},
    {JobState::Refused, JobEvent::Claim, JobState::Free, Mover::Walk},
    {JobState::Queued, JobEvent::Begin, JobState::Running, Mover::Reader},
    {JobState::Running, JobEvent::Finish, JobState::Done, Mover::Reader},
    {JobState::Running, JobEvent::GiveUp, JobState::Refused, Mover::Reader},
    {JobState::Running, JobEvent::ClaimStale, JobState::Abandoned, Mover::Walk},
    {JobState::Abandoned, JobEvent::Finish, JobState::Free, Mover::Reader},
    {JobState::Abandoned, JobEvent::GiveUp, JobState::Free, Mover::Reader},
    {JobState::Done, JobEvent::Evict, JobState::Free, Mover::Either},
    {JobState::Done, JobEvent::ClaimStale, JobState::Free, Mover::Walk},
    {JobState::Done, JobEvent::Claim, JobState::Taken, Mover::Walk},
    {JobState::Taken, JobEvent::Release, JobState::Free, Mover::Walk},
};

class ReadAheadJobs {
 public:
  static constexpr std::size_t NoSlot = ~std::size_t{0};
  static std::size_t SlotCount(const ReadAheadLimits& limits);

  // Each slot's stop grants its read memory through grant.
  ReadAheadJobs(ReadAheadSlots& slots, ReadStop::Grant& grant, const ReadAheadLimits& limits);

  // The walk's calls.
  void ReadWhenReached(std::span<const std::string> keys);
  // The walk's stack as it stands, its last element taken next.
  void Plan(std::span<const std::string> stack);
  // The walk reaches key: NoSlot when it reads the directory itself, else the
  // job's slot, Done or Running; Take it once it is no longer Running.
  std::size_t Claim(const std::string& key, std::uint64_t now);
  // The slot, now the walk's until Release, or NoSlot when its read gave up.
  std::size_t Take(std::size_t slot);
  void Release(std::size_t slot);
  // No more reads ahead: requests dropped, reads under way told to give up.
  void Stop();

  // A reader's calls. Begin picks the queued directory nearest the top of
  // the stack, when the count and the budget allow a read: its slot, or NoSlot.
  std::size_t Begin(std::uint64_t now);
  const std::string& KeyOf(std::size_t slot) const { return jobs_[slot].Key; }
  const ReadStop& StopOf(std::size_t slot) const { return stops_[slot]; }
  // The read in slot asks to hold this many bytes in all.
  bool Hold(std::size_t slot, std::size_t bytes);
  // The read ended; one that gave up (its stop raised) has had its value discarded.
  void End(std::size_t slot, bool gaveUp, std::size_t bytes);

  JobState StateOf(std::size_t slot) const { return jobs_[slot].State; }
  std::size_t Slots() const { return jobs_.size(); }
  bool Stopping() const { return stopping_; }

 private:
  static constexpr std::size_t Unplanned = ~std::size_t{0};
  struct Job {
    JobState State = JobState::Free;
    std::string Key;
    std::size_t Hash = 0;
    std::size_t Rank = Unplanned;  // place in the stack: 0 is taken next
    std::size_t Bytes = 0;         // held when Done, so far when Running
    std::uint64_t StartedAt = 0;   // tick when its read began
  };

  void Move(std::size_t slot, JobEvent event);
  void PassBudget();
  bool Stale(const Job& job, std::uint64_t now) const;
  bool Unwanted(const std::string& key) const;
  bool BudgetFull() const;
  std::size_t Find(const std::string& key, std::size_t hash) const;
  std::size_t FirstIn(JobState state) const;
  std::size_t DeepestDeeperThan(std::size_t rank, JobState state) const;
  bool EvictDeeperThan(std::size_t rank);
  void RankPlanned(std::span<const std::string> stack, std::size_t window);
  void QueueUnread(std::span<const std::string> stack, std::size_t window);

  ReadAheadSlots& slots_;
  const std::size_t maxAhead_;
  const std::size_t byteBudget_;
  const unsigned freshMilliseconds_;
  std::vector<Job> jobs_;              // one per slot
  std::unique_ptr<ReadStop[]> stops_;  // one per slot, for the read in it
  std::vector<std::string> readWhenReached_;
  std::size_t heldBytes_ = 0;        // finished reads waiting to be taken
  std::size_t inProgressBytes_ = 0;  // reads under way, as far as they have got
  bool stopping_ = false;
  // Reads ahead under way at once: two at first (a worker, and the walk while
  // it waits), one more for each that ends holding under an eighth of the
  // budget, so that a tree of huge folders does not have many opened at once.
  std::size_t readsAllowed_ = 2;
  // A read passed the budget: folders that large may follow, and a read ahead
  // of one holds the system's memory too, so the walk reads the rest itself.
  bool budgetPassed_ = false;
};
