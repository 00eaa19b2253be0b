// Reading ahead on worker threads while a walk works through its directories:
// the walk tells it the directories it will take next (its stack) and takes
// each directory's read when it gets there, done ahead or read on the spot.
// Every read is the same function, so a value taken is the value an inline
// read would have given; anything it throws is thrown again by Take.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Engine/Walk/ReadAheadQueue.h"
#include "Platform/Threads.h"

template <typename Value>
class ReadAhead final {
 public:
  // Reads one directory; called on workers and on the walk's thread at once,
  // so it must only read what does not change during the walk, and hold only
  // copies: a worker left inside a read may run on after the walk has ended.
  using Reader = std::function<Value(const std::string& directory, const ReadStop& stop)>;
  // The bytes a read holds, for the budget.
  using Measure = std::function<std::size_t(const Value&)>;

  // When the workers or their memory cannot be had, the walk reads every
  // directory itself.
  ReadAhead(Reader read, Measure bytes, const ReadAheadLimits& limits = {},
            unsigned workers = ReadAheadWorkers(Plat::ProcessorCount()))
      : read_(std::move(read)) {
    if (workers == 0) return;
    try {
      core_ = std::make_shared<Core>(read_, std::move(bytes), limits);
      core_->Queue.Start(workers, core_);
    } catch (...) {
    }
    if (core_ && !core_->Queue.Threaded()) core_.reset();
  }
  ~ReadAhead() { Stop(); }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Directories the walk reads itself when it gets there, never ahead.
  void ReadWhenReached(std::span<const std::string> directories) {
    if (core_) core_->Queue.ReadWhenReached(directories);
  }

  // The walk's stack after each change, its last element taken next.
  void Plan(std::span<const std::string> stack) {
    if (core_) core_->Queue.Plan(stack);
  }

  // The read of the directory the walk takes now.
  Value Take(const std::string& directory) {
    std::optional<Value> ahead = TakeReadAhead(directory);
    // Read here with a stop nothing raises: never cut short.
    return ahead ? std::move(*ahead) : read_(directory, ownStop_);
  }
  void Take(const std::string& directory, Value& into) { into = Take(directory); }

  // The read a worker did for the directory the walk takes now; none when the
  // walk must read it itself (into buffers of its own, which it may reuse).
  std::optional<Value> TakeReadAhead(const std::string& directory) {
    const std::size_t slot = core_ ? core_->Queue.Claim(directory) : ReadAheadQueue::NoSlot;
    if (slot == ReadAheadQueue::NoSlot) return std::nullopt;
    Slot& held = core_->Held[slot];
    std::exception_ptr failure = std::exchange(held.Failure, nullptr);
    std::optional<Value> value;
    if (!failure) value.emplace(std::move(*held.Read));
    held.Read.reset();
    core_->Queue.Release(slot);
    if (failure) std::rethrow_exception(failure);
    return value;
  }

  // Ends the workers (the destructor does too); later reads are the walk's own.
  void Stop() {
    if (!core_) return;
    core_->Queue.Stop();
    core_.reset();
  }
  bool Threaded() const { return core_ != nullptr; }

 private:
  struct Slot {
    std::optional<Value> Read;
    std::exception_ptr Failure;
  };

  // What the workers use, shared with them: it lives until the last one ends.
  struct Core final : ReadAheadQueue::Slots {
    Core(const Reader& read, Measure bytes, const ReadAheadLimits& limits)
        : Read(read),
          Bytes(std::move(bytes)),
          Held(ReadAheadQueue::SlotCount(limits)),
          Queue(*this, limits) {}

    std::size_t ReadInto(std::size_t slot, const std::string& key, const ReadStop& stop) override {
      Slot& held = Held[slot];
      try {
        held.Read.emplace(Read(key, stop));
        return Bytes(*held.Read);
      } catch (...) {
        held.Failure = std::current_exception();
        return 0;
      }
    }

    void Discard(std::size_t slot) override {
      Held[slot].Read.reset();
      Held[slot].Failure = nullptr;
    }

    const Reader Read;
    const Measure Bytes;
    std::vector<Slot> Held;
    ReadAheadQueue Queue;  // last: its workers use everything above
  };

  const Reader read_;
  const ReadStop ownStop_;
  std::shared_ptr<Core> core_;
};
