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
inline constexpr const char* MultipleFileSpecsMessage =
    "Multiple file specs: directory can only be specified in first parameter";
// The "|"-separated specifications as a list, repeats left out; false as soon
// as one after the first names a directory (only the first may).
bool FileSpecList(const std::string& specifications, std::vector<std::string>& list);
// Fills RunSpec.FileSpecs from the "|"-separated specifications; only the first may
// name a directory (the run ends otherwise).
void CollectFileSpecs(const std::string& specifications);
