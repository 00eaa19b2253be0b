// The floor for reading a tree on several threads: workers pull directories
// from one shared queue, read each with a bare find-first/find-next loop,
// queue its subdirectories, and print nothing but a closing count.
// Usage: orvl_par [/T:threads] [directory]   (default: one thread per
// processor, the current directory). /T:1 is the single-threaded bare loop
// without printing.
// Built in the Windows tree: cmake --build build/win --target orvl_par
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class SharedQueue {
 public:
  explicit SharedQueue(std::string root) { pending_.push_back(std::move(root)); }

  // The next directory, or false when every directory has been read.
  bool Take(std::string& directory) {
    AcquireSRWLockExclusive(&lock_);
    while (pending_.empty() && busy_ > 0) SleepConditionVariableSRW(&wake_, &lock_, INFINITE, 0);
    bool found = !pending_.empty();
    if (found) {
      directory = std::move(pending_.back());
      pending_.pop_back();
      ++busy_;
    }
    ReleaseSRWLockExclusive(&lock_);
    return found;
  }

  // One directory read: its subdirectories join the queue.
  void Finish(std::vector<std::string>& subdirectories, unsigned long long entries) {
    AcquireSRWLockExclusive(&lock_);
    for (std::string& subdirectory : subdirectories) pending_.push_back(std::move(subdirectory));
    subdirectories.clear();
    --busy_;
    entries_ += entries;
    ++directories_;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&wake_);
  }

  unsigned long long Entries() const { return entries_; }
  unsigned long long Directories() const { return directories_; }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
  std::vector<std::string> pending_;
  int busy_ = 0;
  unsigned long long entries_ = 0;
  unsigned long long directories_ = 0;
};

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Reads one directory (prefix ends with a backslash); returns its entry count.
unsigned long long ReadDirectory(const std::string& prefix,
                                 std::vector<std::string>& subdirectories) {
  unsigned long long entries = 0;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((prefix + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    ++entries;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      subdirectories.push_back(prefix + data.cFileName + "\\");
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return entries;
}

DWORD WINAPI Worker(void* context) {
  auto* queue = static_cast<SharedQueue*>(context);
  std::string directory;
  std::vector<std::string> subdirectories;
  while (queue->Take(directory)) {
    unsigned long long entries = ReadDirectory(directory, subdirectories);
    queue->Finish(subdirectories, entries);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  int threads = static_cast<int>(system.dwNumberOfProcessors);
  std::string directory = ".";
  for (int i = 1; i < argc; ++i) {
    if (_strnicmp(argv[i], "/T:", 3) == 0)
      threads = std::atoi(argv[i] + 3);
    else
      directory = argv[i];
  }
  if (threads < 1) threads = 1;
  char full[MAX_PATH];
  if (GetFullPathNameA(directory.c_str(), MAX_PATH, full, nullptr) != 0) directory = full;
  if (directory.back() != '\\') directory += '\\';

  SharedQueue queue(directory);
  std::vector<HANDLE> started;
  for (int i = 1; i < threads; ++i)
    started.push_back(CreateThread(nullptr, 0, Worker, &queue, 0, nullptr));
  Worker(&queue);
  for (HANDLE thread : started) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  std::printf("%llu entries in %llu directories\n", queue.Entries(), queue.Directories());
  return 0;
}
