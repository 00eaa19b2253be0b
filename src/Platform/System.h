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

// CreateProcessW: runs a program in this console and waits for it to end, so
// that it has the console to itself (Ctrl+C is the program's meanwhile); a
// window of its own, should it need one, is maximised when asked. False (code
// in LastError()) when it could not be started.
bool LaunchProgram(const std::string& path, bool maximised);

// GetCurrentProcessId: tells apart the files two runs at once create.
std::uint32_t ProcessId();

// ExitProcess: ends the process at once (used only by the control handler).
[[noreturn]] void ExitProcess(int code);

// FormatMessageW text of a system error code, without its line end and final
// period; empty when the system has none. Its first insert (%1) names
// `subject`; inserts with nothing to fill them are left out.
std::string SystemErrorText(std::uint32_t code, const std::string& subject = {});

}  // namespace Plat
