// The standard library's threads stand in for the system's, so that
// ThreadSanitizer sees every lock and wake of the read-ahead.
#include "Platform/Sim/SimThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "Platform/Sim/SimWorld.h"
#include "Platform/Threads.h"

namespace {
// One processor unless a test asks for more: the walk stays single-threaded.
std::atomic<unsigned> SimProcessors{1};
std::atomic<unsigned> FindDelayMicroseconds{0};
thread_local unsigned SearchesStartedHere = 0;
}  // namespace

namespace Sim {
void SetProcessorCount(unsigned count) { SimProcessors = count == 0 ? 1 : count; }
void SetFindDelay(unsigned maxMicroseconds) { FindDelayMicroseconds = maxMicroseconds; }
unsigned SearchesStartedOnThisThread() { return SearchesStartedHere; }

namespace Detail {
void CountSearchStart() { ++SearchesStartedHere; }

void PauseBeforeFind() {
  const unsigned most = FindDelayMicroseconds.load(std::memory_order_relaxed);
  if (most == 0) return;
  thread_local std::minstd_rand random(std::hash<std::thread::id>{}(std::this_thread::get_id()));
  std::this_thread::sleep_for(std::chrono::microseconds(random() % (most + 1)));
}
}  // namespace Detail
}  // namespace Sim

namespace Plat {

unsigned ProcessorCount() { return SimProcessors; }

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

void Monitor::WakeAll() { state_->Condition.notify_all(); }

struct Thread::State {
  std::thread Running;
};

Thread::Thread(Body body, void* context) : state_(std::make_unique<State>()) {
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

}  // namespace Plat
