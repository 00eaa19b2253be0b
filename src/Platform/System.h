// The process and the system: OS version, privileges, the command line,
// starting other programs, the help viewer, ending the process, and the
// system's own text for an error code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Plat {

// GetVersionExA.
struct VersionRec {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Build = 0;
  std::uint32_t PlatformId = 0;  // 1 = 95/98 family, 2 = NT family
};
bool VersionInformation(VersionRec& version);

// LookupPrivilegeValueA + OpenProcessToken + AdjustTokenPrivileges, enabling
// "SeSecurityPrivilege"; false when any step fails.
bool EnableSecurityPrivilege();

// The process arguments: [0] the program file, [1..] the user's words with the
// quotes already removed.
std::vector<std::string> CommandArguments();

// CreateProcessW (as WinExec did): start a program without waiting; maximised when asked.
bool LaunchProgram(const std::string& path, bool maximised);

// WinHelpA with the help-finder command.
bool ShowHelpFile(const std::string& path);

// ExitProcess: ends the process at once (used only by the control handler).
[[noreturn]] void ExitProcess(int code);

// FormatMessageW text of a system error code, without its line end and final
// period; empty when the system has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace Plat
