// The machine-wide PATH of the simulated world: one text.
#include "Platform/Sim/SimWorld.h"

using Sim::Detail::Fail;
using Sim::Detail::TheWorld;

namespace Sim {

void SetSystemPath(const std::string& path) { TheWorld().SystemPath = path; }
std::string SystemPath() { return TheWorld().SystemPath; }
void FailSystemPathWrite(std::uint32_t code) { TheWorld().SystemPathWriteError = code; }

}  // namespace Sim

namespace Plat {

bool ReadSystemPath(std::string& path) {
  const auto lock = Sim::Detail::LockWorld();
  path = TheWorld().SystemPath;
  return true;
}

bool WriteSystemPath(const std::string& path) {
  const auto lock = Sim::Detail::LockWorld();
  if (TheWorld().SystemPathWriteError != 0) return Fail(TheWorld().SystemPathWriteError);
  TheWorld().SystemPath = path;
  return true;
}

}  // namespace Plat
