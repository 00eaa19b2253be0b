// OConfig's run: read what there is, apply the switches in memory, write the
// result whole, then show it.
#include "OConfig/OConfig.h"

#include <string>

#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"
#include "Configuration/PresetCheck.h"
#include "Console/Console.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "OConfig/ConfigurationStore.h"
#include "OConfig/InstallSwitch.h"
#include "OConfig/OConfigArguments.h"
#include "OConfig/OConfigView.h"
#include "Platform/System.h"

namespace {

constexpr int BadArgument = 1;
constexpr int WriteFailed = 2;

// What a run did, to show once the lock is let go (showing may wait for keys).
struct ChangeOutcome {
  int ExitCode = 0;
  bool Written = false;  // the configuration is to be shown
  bool Help = false;
  std::string Problem;  // the argument that could not be applied, for people
  StoredConfiguration Stored;
  ConfigurationSet Next;
};

bool ApplyArguments(const std::vector<std::string>& arguments, ChangeOutcome& outcome) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    ArgumentKind kind;
    if (InstallActionOf(arguments[i]) != InstallAction::None) {
      outcome.Problem = arguments[i] + " stands alone";
      return false;
    }
    if (!ApplyArgument(arguments[i], outcome.Next, kind, outcome.Problem)) return false;
    outcome.Help = outcome.Help || kind == ArgumentKind::Help;
  }
  return true;
}

// Read, change and write under the lock; every write also repairs what the
// lister cannot use.
ChangeOutcome Change(const std::vector<std::string>& arguments) {
  ChangeOutcome outcome;
  ConfigurationLock lock;
  if (!lock.Taken()) {
    ShowLockFailure(lock.Error(), ConfigurationLock::TimeoutMs);
    outcome.ExitCode = WriteFailed;
    return outcome;
  }
  if (arguments.size() == 2 && InstallActionOf(arguments[1]) != InstallAction::None) {
    outcome.ExitCode = RunInstallAction(InstallActionOf(arguments[1])) ? 0 : WriteFailed;
    return outcome;
  }
  outcome.Stored = LoadConfiguration();
  outcome.Next = RepairedSet(outcome.Stored);
  if (!ApplyArguments(arguments, outcome)) {
    outcome.ExitCode = BadArgument;
  } else if (!outcome.Help) {
    const StoreResult result = StoreConfiguration(outcome.Stored, outcome.Next);
    if (result.Error != 0) {
      if (outcome.Stored.AnyKey) ShowFaults(outcome.Stored.Faults, false);
      ShowWriteFailure(result.Error, "the configuration", result.PutBack);
      outcome.ExitCode = WriteFailed;
    }
    outcome.Written = result.Error == 0;
  }
  return outcome;
}

void ShowOutcome(const ChangeOutcome& outcome) {
  if (outcome.ExitCode == BadArgument) {
    ShowProblem("OConfig: " + outcome.Problem + ".");
    ShowProblem("Nothing was changed.");
    NewLine();
    ShowOConfigUsage();
  } else if (outcome.Help) {
    ShowOConfigUsage();
  } else if (outcome.Written) {
    if (!outcome.Stored.AnyKey)
      ShowNotice("No configuration was stored: OConfig wrote the defaults.");
    else
      ShowFaults(outcome.Stored.Faults, true);
    std::string reason, warning;
    if (PresetSwitchesAccepted(outcome.Next.Switches, reason, &warning) && !warning.empty()) {
      ShowNotice(warning);
      NewLine();
    }
    ShowConfiguration(outcome.Next, outcome.Stored.UnconvertibleNames);
  }
}

int Configure() {
  ReadLocaleSeparators(StartupOptions());
  InitialiseOutput();
  const ChangeOutcome outcome = Change(Plat::CommandArguments());
  ShowOutcome(outcome);
  return outcome.ExitCode;
}

}  // namespace

int RunOConfig() {
  int exitCode = 0;
  try {
    exitCode = Configure();
    FWriteFinish();
  } catch (const ProgramEnded& end) {
    exitCode = end.ExitCode;
  }
  return EndRun(exitCode);
}
