#include "OConfig/InstallSwitch.h"

#include <vector>

#include "OConfig/ConfigurationStore.h"
#include "OConfig/OConfigView.h"
#include "OConfig/PathEntries.h"
#include "Platform/Basics.h"
#include "Platform/System.h"
#include "Platform/SystemPath.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The folder of this program file, as a PATH entry: no final backslash
// except after a drive ("C:\"), where it is needed.
std::string ProgramFolder() {
  const std::vector<std::string> arguments = Plat::CommandArguments();
  const std::string program = arguments.empty() ? std::string() : arguments.front();
  const std::size_t end = program.find_last_of('\\');
  if (end == std::string::npos) return {};
  if (end > 0 && program[end - 1] == ':') return program.substr(0, end + 1);
  return program.substr(0, end);
}

// Writes the PATH only when it changes, so a repeated run touches nothing.
bool ChangeSystemPath(const std::string& folder, bool add) {
  std::string path;
  if (Plat::ReadSystemPath(path)) {
    const std::string next = add ? PathWithFolder(path, folder) : PathWithoutFolder(path, folder);
    if (next == path || Plat::WriteSystemPath(next)) return true;
  }
  ShowWriteFailure(Plat::LastError(), "the system PATH");
  return false;
}

bool Install(const std::string& folder) {
  if (!ConfigurationExists()) {
    const std::uint32_t error = WriteDefaultConfiguration();
    if (error != 0) {
      ShowWriteFailure(error, "the configuration");
      return false;
    }
  }
  if (!ChangeSystemPath(folder, true)) return false;
  ShowNotice("The configuration is in place.");
  ShowNotice(folder + " is on the system PATH.");
  return true;
}

bool Uninstall(const std::string& folder) {
  if (!ChangeSystemPath(folder, false)) return false;
  ShowNotice(folder + " is off the system PATH.");
  ShowNotice("The configuration stays.");
  return true;
}

}  // namespace

InstallAction InstallActionOf(const std::string& argument) {
  const std::string upper = Upper(argument);
  if (upper == "/INSTALL") return InstallAction::Install;
  if (upper == "/UNINSTALL") return InstallAction::Uninstall;
  return InstallAction::None;
}

bool RunInstallAction(InstallAction action) {
  const std::string folder = ProgramFolder();
  if (folder.empty()) {
    ShowProblem("OConfig cannot tell which folder it was started from.");
    return false;
  }
  return action == InstallAction::Install ? Install(folder) : Uninstall(folder);
}
