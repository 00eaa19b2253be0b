// What a read sees of whoever asked for it: whether to give up, and leave to
// hold more memory. A read asks before it takes more and looks now and then
// whether to give up; what it returns then is thrown away. A default one, which
// a walk's own reads get, never asks a read to give up: only the read-ahead
// raises the ones it hands its readers.
#pragma once

#include <atomic>
#include <cstddef>

class ReadStop {
 public:
  // Who grants a read more memory, by the slot it reads into.
  class Grant {
   public:
    virtual bool Hold(std::size_t slot, std::size_t bytes) = 0;

   protected:
    ~Grant() = default;
  };

  ReadStop() = default;
  ReadStop(const ReadStop&) = delete;
  ReadStop& operator=(const ReadStop&) = delete;

  void Bind(Grant& grant, std::size_t slot) {
    grant_ = &grant;
    slot_ = slot;
  }

  bool Requested() const { return requested_.load(std::memory_order_relaxed); }
  // The read is about to hold this many bytes in all; false: it must give up.
  bool Hold(std::size_t bytes) const { return grant_ == nullptr || grant_->Hold(slot_, bytes); }

  void Raise() { requested_.store(true, std::memory_order_relaxed); }
  void Lower() { requested_.store(false, std::memory_order_relaxed); }

 private:
  Grant* grant_ = nullptr;
  std::size_t slot_ = 0;
  std::atomic<bool> requested_{false};
};
