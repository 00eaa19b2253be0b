// The configuration lock as a named mutex, visible across sessions where the
// system has them.
#include "Platform/ConfigLock.h"

#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

// Systems without session namespaces refuse the "Global\" prefix.
HANDLE CreateLockMutex() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Global\\Brackwater.Orvalist.Configuration");
  if (mutex == nullptr && GetLastError() != ERROR_ACCESS_DENIED)
    mutex = CreateMutexW(nullptr, FALSE, L"Brackwater.Orvalist.Configuration");
  return mutex;
}

}  // namespace

Handle TakeConfigurationLock(std::uint32_t timeoutMs) {
  HANDLE mutex = CreateLockMutex();
  if (mutex == nullptr) return InvalidHandle;
  const DWORD waited = WaitForSingleObject(mutex, timeoutMs);
  // Abandoned: the holder was stopped part-way; what it left is whole value by value.
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return FromHandle(mutex);
  const DWORD error = waited == WAIT_TIMEOUT ? ErrorWaitTimeout : GetLastError();
  CloseHandle(mutex);
  SetLastError(error);
  return InvalidHandle;
}

void ReleaseConfigurationLock(Handle lock) {
  HANDLE mutex = AsHandle(lock);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

}  // namespace Plat
