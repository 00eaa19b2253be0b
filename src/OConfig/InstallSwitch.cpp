#include "OConfig/InstallSwitch.h"

#include <vector>

#include "Base/AsciiCase.h"
#include "Configuration/ConfigurationKeys.h"
#include "Configuration/RegistryValues.h"
#include "OConfig/ConfigurationStore.h"
#include "OConfig/OConfigView.h"
#include "OConfig/PathEntries.h"
#include "Platform/Basics.h"
#include "Platform/RegistryWrite.h"
#include "Platform/System.h"
#include "Platform/SystemPath.h"

namespace {

std::string Upper(std::string text) {
  UpperAsciiInPlace(text);
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

enum class PathChange { Failed, Unchanged, Changed };

// Where /UNINSTALL took the folder off: the entry that followed it. Nothing
// depends on it being kept, so failures to keep it are passed over.
void KeepPathPlace(const std::string& follower) {
  RegistryKey settings(Plat::RegCreate(SettingsKey));
  if (settings.IsOpen())
    Plat::RegWriteValue(settings.Handle, PathPlaceValue, Plat::RegType::String,
                        {follower.begin(), follower.end()});
}

// The place kept by the last /UNINSTALL, used once.
std::string TakePathPlace() {
  std::string follower;
  RegistryKey settings(Plat::RegOpen(SettingsKey));
  if (!settings.IsOpen() ||
      ReadStringValue(settings.Handle, PathPlaceValue, follower) == ValueRead::Missing)
    return {};
  RegistryKey writable(Plat::RegCreate(SettingsKey));
  if (writable.IsOpen()) Plat::RegDeleteValue(writable.Handle, PathPlaceValue);
  return follower;
}

// Writes the PATH only when it changes, so a repeated run touches nothing.
// An upgrade takes the folder off and puts it on again: it goes back where
// it was, as the program found first on the PATH may depend on it.
PathChange ChangeSystemPath(const std::string& folder, bool add) {
  std::string path;
  if (Plat::ReadSystemPath(path)) {
    const std::string next = add ? PathWithFolder(path, folder, TakePathPlace())
                                 : PathWithoutFolder(path, folder);
    if (next == path) return PathChange::Unchanged;
    if (!add) KeepPathPlace(FolderFollower(path, folder));
    if (Plat::WriteSystemPath(next)) return PathChange::Changed;
  }
  ShowWriteFailure(Plat::LastError(), "the system PATH");
  return PathChange::Failed;
}

// Defaults for whatever is missing or unusable; what is usable stays.
bool Install(const std::string& folder) {
  std::string refusal;
  if (!PathCanHoldFolder(folder, refusal)) {
    ShowProblem("OConfig cannot put " + folder + " on the system PATH: " + refusal + ".");
    return false;
  }
  const StoredConfiguration stored = LoadConfiguration();
  if (!stored.Faults.empty()) {
    const StoreResult result = StoreConfiguration(stored, RepairedSet(stored));
    if (result.Error != 0) {
      ShowWriteFailure(result.Error, "the configuration", result.PutBack);
      return false;
    }
  }
  if (ChangeSystemPath(folder, true) == PathChange::Failed) return false;
  ShowNotice("The configuration is in place.");
  ShowNotice(folder + " is on the system PATH.");
  return true;
}

bool Uninstall(const std::string& folder) {
  const PathChange change = ChangeSystemPath(folder, false);
  if (change == PathChange::Failed) return false;
  ShowNotice(change == PathChange::Changed ? folder + " was taken off the system PATH."
                                           : folder + " was not on the system PATH.");
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
