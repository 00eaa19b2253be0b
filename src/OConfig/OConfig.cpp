// OConfig's run: read what there is, apply the switches in memory, write the
// result whole, then show it.
#include "OConfig/OConfig.h"

#include <string>

#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Console/Console.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "OConfig/ConfigurationStore.h"
#include "OConfig/InstallSwitch.h"
#include "OConfig/OConfigArguments.h"
#include "OConfig/OConfigView.h"
#include "Platform/Platform.h"

namespace {

constexpr int BadArgument = 1;
constexpr int WriteFailed = 2;

// What a run changed, to show once the lock is let go.
struct ChangeOutcome {
  int ExitCode = 0;
  bool Show = false;  // the configuration is to be shown
  StoredConfiguration Stored;
  ConfigurationSet Next;
};

bool ApplyArguments(const std::vector<std::string>& arguments, ConfigurationSet& next, bool& help) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    ArgumentKind kind;
    std::string problem;
    if (InstallActionOf(arguments[i]) != InstallAction::None)
      problem = arguments[i] + " stands alone";
    if (!problem.empty() || !ApplyArgument(arguments[i], next, kind, problem)) {
      ShowProblem("OConfig: " + problem + ".");
      ShowProblem("Nothing was changed.");
      NewLine();
      ShowOConfigUsage();
      return false;
    }
    help = help || kind == ArgumentKind::Help;
  }
  return true;
}

// Read, change and write under the lock; every run also repairs what the
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
  bool help = false;
  if (!ApplyArguments(arguments, outcome.Next, help)) {
    outcome.ExitCode = BadArgument;
  } else if (help) {
    ShowOConfigUsage();
  } else {
    const StoreResult result = StoreConfiguration(outcome.Stored, outcome.Next);
    if (result.Error != 0) {
      if (outcome.Stored.AnyKey) ShowFaults(outcome.Stored.Faults, false);
      ShowWriteFailure(result.Error, "the configuration", result.PutBack);
      outcome.ExitCode = WriteFailed;
    }
    outcome.Show = result.Error == 0;
  }
  return outcome;
}

int Configure() {
  ReadLocaleSeparators();
  InitialiseOutput();
  const ChangeOutcome outcome = Change(Plat::CommandArguments());
  if (outcome.Show) {
    if (!outcome.Stored.AnyKey)
      ShowNotice("No configuration was stored: OConfig wrote the defaults.");
    else
      ShowFaults(outcome.Stored.Faults, true);
    ShowConfiguration(outcome.Next, outcome.Stored.UnconvertibleNames);
  }
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
