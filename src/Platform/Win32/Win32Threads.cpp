// The system's threads and locks for the read-ahead workers. Threads start
// through the C runtime, which then sets up (and frees) its per-thread data.
#include "Platform/Threads.h"

#include <process.h>

#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

// ORVL_PROCESSORS=N (1 to 64) stands in for the system's count, so that the
// tests and benchmarks can run a walk without workers or with a chosen number.
unsigned ProcessorsFromEnvironment() {
  char text[8];
  const DWORD length = GetEnvironmentVariableA("ORVL_PROCESSORS", text, sizeof text);
  if (length == 0 || length >= sizeof text) return 0;
  unsigned count = 0;
  for (DWORD at = 0; at < length; ++at) {
    if (text[at] < '0' || text[at] > '9') return 0;
    count = count * 10 + static_cast<unsigned>(text[at] - '0');
  }
  return count <= 64 ? count : 0;
}

}  // namespace

unsigned ProcessorCount() {
  if (const unsigned chosen = ProcessorsFromEnvironment()) return chosen;
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors == 0 ? 1 : info.dwNumberOfProcessors;
}

std::uint64_t TickMilliseconds() { return GetTickCount64(); }

struct Monitor::State {
  SRWLOCK Lock = SRWLOCK_INIT;
  CONDITION_VARIABLE Condition = CONDITION_VARIABLE_INIT;
};

Monitor::Monitor() : state_(std::make_unique<State>()) {}
Monitor::~Monitor() = default;
void Monitor::Enter() { AcquireSRWLockExclusive(&state_->Lock); }
void Monitor::Leave() { ReleaseSRWLockExclusive(&state_->Lock); }
void Monitor::Wait() { SleepConditionVariableSRW(&state_->Condition, &state_->Lock, INFINITE, 0); }
void Monitor::WaitFor(unsigned milliseconds) {
  SleepConditionVariableSRW(&state_->Condition, &state_->Lock, milliseconds, 0);
}
void Monitor::WakeAll() { WakeAllConditionVariable(&state_->Condition); }

namespace {
struct ThreadStart {
  Thread::Body Run = nullptr;
  void* Context = nullptr;
};

// The start belongs to the thread, which may outlive its Thread when detached.
unsigned __stdcall ThreadEntry(void* start) {
  const ThreadStart thread = *static_cast<const ThreadStart*>(start);
  delete static_cast<const ThreadStart*>(start);
  thread.Run(thread.Context);
  return 0;
}
}  // namespace

struct Thread::State {
  HANDLE Handle = nullptr;
};

// A worker reads one directory at a time: a small stack is plenty.
constexpr unsigned WorkerStackBytes = 256 * 1024;

Thread::Thread(Body body, void* context) : state_(std::make_unique<State>()) {
  auto* start = new ThreadStart{body, context};
  state_->Handle = reinterpret_cast<HANDLE>(_beginthreadex(
      nullptr, WorkerStackBytes, ThreadEntry, start, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (state_->Handle == nullptr) delete start;
}

Thread::~Thread() { Join(); }
bool Thread::Started() const { return state_->Handle != nullptr; }

void Thread::Join() {
  if (state_->Handle == nullptr) return;
  WaitForSingleObject(state_->Handle, INFINITE);
  CloseHandle(state_->Handle);
  state_->Handle = nullptr;
}

void Thread::Detach() {
  if (state_->Handle == nullptr) return;
  CloseHandle(state_->Handle);
  state_->Handle = nullptr;
}

}  // namespace Plat
