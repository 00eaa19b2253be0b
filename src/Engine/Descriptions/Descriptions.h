#pragma once
#include <string>

// The scan's description step at the end of every shown directory.
void PrepareDescriptions();
// The description of an entry Name, or empty.
std::string LookupDescription(const std::string& name);
// Drops the loaded description tables.
void DiscardDescriptions();
