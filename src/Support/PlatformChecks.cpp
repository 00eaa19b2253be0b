#include "Support/PlatformChecks.h"

#include "Common/RunState.h"
#include "Platform/Platform.h"

void CheckPlatform() {
  Plat::VersionRec version;
  if (Plat::VersionInformation(version)) IsNT = version.PlatformId == 2;
}
void CheckNtOptions() {}
bool EnableSecurityPrivilege() { return Plat::EnableSecurityPrivilege(); }
