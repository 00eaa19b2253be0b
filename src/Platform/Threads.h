// Threads for reading ahead, behind the platform doorway: the Windows toolchain
// has no standard threads, so the real layer uses the system's own (a thread per
// worker, a slim reader/writer lock with a condition variable) and the simulated
// layer the standard ones, which ThreadSanitizer understands.
#pragma once

#include <cstdint>
#include <memory>

namespace Plat {

// GetSystemInfo's number of processors; at least 1.
unsigned ProcessorCount();

// GetTickCount64: milliseconds on a clock that only moves forward.
std::uint64_t TickMilliseconds();

// A lock with one condition to wait on. Wait gives the lock up while it
// sleeps and holds it again when it returns; it may return without a wake,
// so callers wait in a loop on their own condition.
class Monitor {
 public:
  Monitor();
  ~Monitor();
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  void Enter();
  void Leave();
  void Wait();
  // Wait for at most this long.
  void WaitFor(unsigned milliseconds);
  void WakeAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Holds a monitor's lock for a scope.
class MonitorLock {
 public:
  explicit MonitorLock(Monitor& monitor) : monitor_(monitor) { monitor_.Enter(); }
  ~MonitorLock() { monitor_.Leave(); }
  MonitorLock(const MonitorLock&) = delete;
  MonitorLock& operator=(const MonitorLock&) = delete;

 private:
  Monitor& monitor_;
};

// A thread running body(context). Started() is false when the system refused
// to start it; Join waits for the body to return (the destructor joins too);
// after Detach the thread runs on alone and nothing waits for it.
class Thread {
 public:
  using Body = void (*)(void* context);
  Thread(Body body, void* context);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool Started() const;
  void Join();
  void Detach();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace Plat
