// Simulated platform: the configuration lock, and the writer of another
// process that waits for it.
#include <utility>

#include "Platform/ConfigLock.h"
#include "Platform/Sim/SimWorld.h"

using namespace Sim::Detail;

namespace {

constexpr Plat::Handle LockHandle = 0x30;

}  // namespace

namespace Sim {

void StopRegistryWritesAfter(int writes) { TheWorld().RegistryWritesBeforeStop = writes; }

void InterleaveRegistryWriter(int writes, std::function<void()> writer) {
  TheWorld().RegistryWritesBeforeWriter = writes;
  TheWorld().OtherWriter = std::move(writer);
}

void HoldConfigurationLockElsewhere(bool held) { TheWorld().ConfigLockHeldElsewhere = held; }

}  // namespace Sim

namespace Plat {

// A process stopped while holding it leaves it abandoned: the next taker gets it.
Handle TakeConfigurationLock(std::uint32_t) {
  World& world = TheWorld();
  if (world.ConfigLockHeldElsewhere) {
    Fail(ErrorWaitTimeout);
    return InvalidHandle;
  }
  world.ConfigLockHeld = true;
  return LockHandle;
}

// A writer that arrived while the lock was held gets its turn now.
void ReleaseConfigurationLock(Handle) {
  World& world = TheWorld();
  world.ConfigLockHeld = false;
  if (world.OtherWriter && world.RegistryWritesBeforeWriter < 0)
    std::exchange(world.OtherWriter, nullptr)();
}

}  // namespace Plat
