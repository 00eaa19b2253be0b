// Start-up steps that depend on the operating system.
#include "Configuration/PlatformChecks.h"

#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Platform/System.h"

namespace {

constexpr std::uint32_t Windows95Family = 1;
constexpr std::uint32_t WindowsNtFamily = 2;
constexpr std::uint32_t LastPlainWin95Build = 1000;  // 95 OSR2 and 98 build above it

}  // namespace

void CheckPlatform() {
  Plat::VersionRec version;
  if (!Plat::VersionInformation(version))
    FatalError("Critical Error: Can't identify operating system (contact Orvalist tech support)",
               true);
  StartupOptions().IsNT = version.PlatformId == WindowsNtFamily;
  StartupOptions().IsWin95OSR2 =
      version.PlatformId == Windows95Family && (version.Build & 0xFFFF) > LastPlainWin95Build;
}

void CheckNtOptions() {
  if (Options.ShowOwner) {
    if (!Options.IsNT) FatalError("Display of owner information requires Windows NT", true);
    EnableSecurityPrivilege();  // owners that cannot be read show as such
  }
  if (Options.ShowCompression && !Options.IsNT)
    FatalError("Display of compression information requires Windows NT", true);
}

bool EnableSecurityPrivilege() { return Plat::EnableSecurityPrivilege(); }
