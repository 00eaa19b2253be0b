#pragma once
#include <string>

// Applies one switch word (the text after "/"); errors set Options.BadOption.
void ParseSwitch(const std::string& word);
// Turns the /T choice into the date columns; runs once after parsing.
void ResolveTimeKind();
