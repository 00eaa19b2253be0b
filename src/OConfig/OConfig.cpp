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
#include "Platform/System.h"

namespace {

constexpr int BadArgument = 1;
constexpr int WriteFailed = 2;

int Configure() {
  ReadLocaleSeparators();
  InitialiseOutput();
  const bool exists = ConfigurationExists();
  const ConfigurationSet previous = exists ? LoadConfigurationSet() : DefaultConfigurationSet();
  ConfigurationSet next = previous;
  const std::vector<std::string> arguments = Plat::CommandArguments();
  if (arguments.size() == 2 && InstallActionOf(arguments[1]) != InstallAction::None)
    return RunInstallAction(InstallActionOf(arguments[1])) ? 0 : WriteFailed;
  bool help = false;
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
      return BadArgument;
    }
    help = help || kind == ArgumentKind::Help;
  }
  if (help) {
    ShowOConfigUsage();
    return 0;
  }
  std::uint32_t error = 0;
  if (!exists && arguments.size() <= 1)
    error = WriteDefaultConfiguration();
  else if (arguments.size() > 1)
    error = StoreConfigurationSet(next, exists ? &previous : nullptr);
  if (error != 0) {
    ShowWriteFailure(error, "the configuration");
    return WriteFailed;
  }
  ShowConfiguration(next);
  return 0;
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
