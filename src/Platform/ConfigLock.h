// The lock that makes the processes changing the configuration take turns:
// a named mutex, held from the read of the configuration to its last write.
#pragma once

#include <cstdint>

#include "Platform/Platform.h"

namespace Plat {

// CreateMutexW of the configuration's named mutex and a wait of at most
// timeoutMs for it; a holder that ended without letting go counts as gone.
// InvalidHandle when it could not be had (code in LastError(): 258 when the
// wait ran out).
Handle TakeConfigurationLock(std::uint32_t timeoutMs);
// ReleaseMutex and CloseHandle of a lock taken above.
void ReleaseConfigurationLock(Handle lock);

constexpr std::uint32_t ErrorWaitTimeout = 258;

}  // namespace Plat
