// The process and the system: last error, OS version, privilege, the command
// line, starting programs, the help viewer, exit and error texts.
#include "Base/MessageInserts.h"
#include "Platform/Console.h"
#include "Platform/System.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

std::uint32_t LastError() { return GetLastError(); }

std::string SystemErrorText(std::uint32_t code, const std::string& subject) {
  wchar_t text[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, 512, nullptr);
  std::string result = FillMessageInserts(FromWide(text, length), subject);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == ' ' || result.back() == '.'))
    result.pop_back();
  return result;
}

bool VersionInformation(VersionRec& version) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return false;
  version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
  return true;
}

bool EnableSecurityPrivilege() {
  LUID privilege;
  if (!LookupPrivilegeValueA(nullptr, "SeSecurityPrivilege", &privilege)) return false;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;

  TOKEN_PRIVILEGES request = {};
  request.PrivilegeCount = 1;
  request.Privileges[0].Luid = privilege;
  request.Privileges[0].Attributes = 0;
  TOKEN_PRIVILEGES previous = {};
  DWORD previousSize = sizeof previous;
  bool ok = AdjustTokenPrivileges(token, FALSE, &request, sizeof request, &previous, &previousSize);
  if (ok) {
    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = privilege;
    previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    ok = AdjustTokenPrivileges(token, FALSE, &previous, previousSize, nullptr, nullptr);
  }
  CloseHandle(token);
  return ok;
}

}  // namespace Plat

// The C library's own splitting of the wide command line (the same rules as
// the narrow argv it builds for main).
extern "C" int __wgetmainargs(int* count, wchar_t*** arguments, wchar_t*** environment,
                              int expandWildcards, void* startInfo);

namespace Plat {

// Argument 0 is the program file itself, whatever the user typed to start it.
std::vector<std::string> CommandArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** words = nullptr;
  wchar_t** environment = nullptr;
  int newMode = 0;
  if (__wgetmainargs(&count, &words, &environment, 0, &newMode) >= 0 && words)
    for (int i = 0; i < count; ++i) arguments.push_back(FromWide(words[i]));
  wchar_t module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    if (arguments.empty())
      arguments.push_back(FromWide(module, length));
    else
      arguments.front() = FromWide(module, length);
  }
  return arguments;
}

bool LaunchProgram(const std::string& path, bool maximised) {
  std::wstring commandLine = L"\"" + ToWide(path) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  // Set after the start: a child would inherit the ignoring of Ctrl+C.
  SetConsoleCtrlHandler(nullptr, TRUE);
  WaitForSingleObject(process.hProcess, INFINITE);
  SetConsoleCtrlHandler(nullptr, FALSE);
  CloseHandle(process.hProcess);
  return true;
}

std::uint32_t ProcessId() { return GetCurrentProcessId(); }

void ExitProcess(int code) {
  StdOutFlush();
  ::ExitProcess(static_cast<UINT>(code));
}

}  // namespace Plat
