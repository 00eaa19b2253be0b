#pragma once
#include <string>
#include <vector>

// The command text: the preset switches, a blank, then the arguments (those
// holding a blank re-quoted).
std::string BuildCommandText(const std::string& presetSwitches,
                             const std::vector<std::string>& arguments);
// Builds the command text, applies every switch, fills RunSpec.FileSpecs and parses
// the first file specification.
void SplitCommandLine();

// The walk over a command text: applies the switches and returns the file
// specifications separated by "|"; false when a "/" with nothing after it
// stopped the walk (BadOption is then set).
bool SplitCommandText(const std::string& text, std::string& specifications);
// Fills RunSpec.FileSpecs from the "|"-separated specifications; only the first may
// name a directory (the run ends otherwise).
void CollectFileSpecs(const std::string& specifications);

// Whether the lister would run with `text` as its preset switches, tried on a
// scratch copy of the options; the reason for people when not.
bool PresetSwitchesAccepted(const std::string& text, std::string& reason);
