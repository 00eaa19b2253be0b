// The standard library's threads stand in for the system's, so that
// ThreadSanitizer sees every lock and wake of the read-ahead.
#include "Platform/Sim/SimThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <new>
#include <random>
#include <thread>

#include "Platform/Sim/SimWorld.h"
#include "Platform/Threads.h"

namespace {
// One processor unless a test asks for more: the walk stays single-threaded.
std::atomic<unsigned> SimProcessors{1};
std::atomic<unsigned> FindDelayMicroseconds{0};
thread_local unsigned SearchesStartedHere = 0;
std::atomic<std::uint64_t> TicksAdded{0};
// Set and cleared by a test while no search runs.
std::function<void(const std::string&)> SearchGate;
// While held, the clock stands at this reading of the real one (0: it runs).
std::atomic<std::uint64_t> TicksHeldAt{0};
// Thread starts left before the one that fails (-1: none fails), and how.
std::atomic<int> StartsBeforeFailure{-1};
std::atomic<bool> FailureThrows{false};
}  // namespace

namespace Sim {
void SetProcessorCount(unsigned count) { SimProcessors = count == 0 ? 1 : count; }
void SetFindDelay(unsigned maxMicroseconds) { FindDelayMicroseconds = maxMicroseconds; }
unsigned SearchesStartedOnThisThread() { return SearchesStartedHere; }
void SetSearchGate(std::function<void(const std::string&)> gate) { SearchGate = std::move(gate); }
void AdvanceTicks(unsigned milliseconds) { TicksAdded += milliseconds; }

void HoldTicks(bool held) {
  TicksHeldAt = 0;
  if (held) TicksHeldAt = Plat::TickMilliseconds() - TicksAdded.load();
}

void FailThreadStart(int startsBefore, bool throws) {
  FailureThrows = throws;
  StartsBeforeFailure = startsBefore;
}

namespace Detail {
void CountSearchStart(const std::string& pattern) {
  ++SearchesStartedHere;
  if (SearchGate) SearchGate(pattern);
}

void PauseBeforeFind() {
  const unsigned most = FindDelayMicroseconds.load(std::memory_order_relaxed);
  if (most == 0) return;
  thread_local std::minstd_rand random(std::hash<std::thread::id>{}(std::this_thread::get_id()));
  std::this_thread::sleep_for(std::chrono::microseconds(random() % (most + 1)));
}
}  // namespace Detail
}  // namespace Sim

namespace {
// True when this start is the one a test made fail (it throws when asked to).
bool StartFails() {
  int left = StartsBeforeFailure.load();
  while (left >= 0 && !StartsBeforeFailure.compare_exchange_weak(left, left - 1)) {
  }
  if (left != 0) return false;
  if (FailureThrows) throw std::bad_alloc();
  return true;
}
}  // namespace

namespace Sim::Detail {

thread_local bool OnControlThread = false;
std::atomic<bool> ControlRequested{false};

void MarkControlThread() { OnControlThread = true; }
void ExpectControlRequest() { ControlRequested.store(false); }
void NoteControlRequest() { ControlRequested.store(true); }

void AwaitControlRequest() {
  // Bounded: a handler that never looks at the clock lets the firing thread go on.
  for (int waited = 0; waited < 10000 && !ControlRequested.load(); ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace Sim::Detail

namespace Plat {

unsigned ProcessorCount() { return SimProcessors; }

std::uint64_t TickMilliseconds() {
  if (Sim::Detail::OnControlThread) Sim::Detail::NoteControlRequest();
  const std::uint64_t heldAt = TicksHeldAt.load();
  if (heldAt != 0) return heldAt + TicksAdded.load();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
             std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) +
         TicksAdded.load();
}

struct Monitor::State {
  std::mutex Mutex;
  std::condition_variable Condition;
};

Monitor::Monitor() : state_(std::make_unique<State>()) {}
Monitor::~Monitor() = default;
void Monitor::Enter() { state_->Mutex.lock(); }
void Monitor::Leave() { state_->Mutex.unlock(); }

void Monitor::Wait() {
  std::unique_lock<std::mutex> held(state_->Mutex, std::adopt_lock);
  state_->Condition.wait(held);
  held.release();
}

void Monitor::WaitFor(unsigned milliseconds) {
  std::unique_lock<std::mutex> held(state_->Mutex, std::adopt_lock);
  if (TicksHeldAt.load() != 0) {
    // The held clock: the while passes at once, the lock let go meanwhile.
    Sim::AdvanceTicks(milliseconds);
    held.unlock();
    std::this_thread::yield();
    held.lock();
  } else {
    state_->Condition.wait_for(held, std::chrono::milliseconds(milliseconds));
  }
  held.release();
}

void Monitor::WakeAll() { state_->Condition.notify_all(); }

struct Thread::State {
  std::thread Running;
};

Thread::Thread(Body body, void* context) : state_(std::make_unique<State>()) {
  if (StartFails()) return;
  try {
    state_->Running = std::thread(body, context);
  } catch (const std::system_error&) {
  }
}

Thread::~Thread() { Join(); }
bool Thread::Started() const { return state_->Running.joinable(); }

void Thread::Join() {
  if (state_->Running.joinable()) state_->Running.join();
}

void Thread::Detach() {
  if (state_->Running.joinable()) state_->Running.detach();
}

}  // namespace Plat
