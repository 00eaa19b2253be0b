// Reading ahead on worker threads while a walk works through its directories:
// the walk tells it the directories it will take next (its stack) and takes
// each directory's read when it gets there, done ahead or read on the spot.
// Every read is the same function, so a value taken is the value an inline
// read would have given; anything it throws is thrown again by Take.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Engine/Walk/ReadAheadQueue.h"
#include "Platform/Threads.h"

template <typename Value>
class ReadAhead final : private ReadAheadQueue::Slots {
 public:
  // Reads one directory; called on workers and on the walk's thread at once,
  // so it must only read what does not change during the walk.
  using Reader = std::function<Value(const std::string& directory, const ReadStop& stop)>;
  // The bytes a read holds, for the budget.
  using Measure = std::function<std::size_t(const Value&)>;

  ReadAhead(Reader read, Measure bytes, const ReadAheadLimits& limits = {},
            unsigned workers = ReadAheadWorkers(Plat::ProcessorCount()))
      : read_(std::move(read)),
        bytes_(std::move(bytes)),
        slots_(ReadAheadQueue::SlotCount(limits)),
        queue_(*this, limits, workers) {}
  ~ReadAhead() { queue_.Stop(); }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The walk's stack after each change, its last element taken next.
  void Plan(std::span<const std::string> stack) { queue_.Plan(stack); }

  // The read of the directory the walk takes now.
  Value Take(const std::string& directory) {
    const std::size_t slot = queue_.Claim(directory);
    if (slot == ReadAheadQueue::NoSlot) return read_(directory, queue_.StopSignal());
    Slot& held = slots_[slot];
    std::exception_ptr failure = std::exchange(held.Failure, nullptr);
    std::optional<Value> value;
    if (!failure) value.emplace(std::move(*held.Read));
    held.Read.reset();
    queue_.Release(slot);
    if (failure) std::rethrow_exception(failure);
    return std::move(*value);
  }

  // Ends the workers at once (the destructor does too).
  void Stop() { queue_.Stop(); }
  bool Threaded() const { return queue_.Threaded(); }

 private:
  struct Slot {
    std::optional<Value> Read;
    std::exception_ptr Failure;
  };

  std::size_t ReadInto(std::size_t slot, const std::string& key, const ReadStop& stop) override {
    Slot& held = slots_[slot];
    try {
      held.Read.emplace(read_(key, stop));
      return bytes_(*held.Read);
    } catch (...) {
      held.Failure = std::current_exception();
      return 0;
    }
  }

  void Discard(std::size_t slot) override {
    slots_[slot].Read.reset();
    slots_[slot].Failure = nullptr;
  }

  const Reader read_;
  const Measure bytes_;
  std::vector<Slot> slots_;
  ReadAheadQueue queue_;  // last: its workers use everything above
};
