#include "Engine/CommandLine.h"

#include "Common/FileSpecState.h"
#include "Engine/FileSpec.h"
#include "Platform/Platform.h"

std::string BuildCommandText(const std::string& presetSwitches,
                             const std::vector<std::string>& arguments) {
  std::string text;
  for (std::size_t i = 1; i < arguments.size(); ++i) text += " " + arguments[i];
  return presetSwitches + " " + text;
}

void SplitCommandLine() {
  std::vector<std::string> arguments = Plat::CommandArguments();
  if (arguments.size() > 1) FileSpecs.push_back(arguments[1]);
  ParseFileSpec(FileSpecs.empty() ? std::string() : FileSpecs.front());
}
