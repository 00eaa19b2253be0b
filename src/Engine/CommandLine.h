#pragma once
#include <string>
#include <vector>

// The command text: the preset switches, a blank, then the arguments (those
// holding a blank re-quoted).
std::string BuildCommandText(const std::string& presetSwitches,
                             const std::vector<std::string>& arguments);
// Builds the command text, applies every switch, fills FileSpecs and parses
// the first file specification.
void SplitCommandLine();
