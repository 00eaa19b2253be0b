#pragma once
#include <string>
#include <string_view>

// The scan's description step at the end of every shown directory: loads the
// directory's DESCRIPT.ION, or swaps to the layout from before /Z without one.
void PrepareDescriptions();
// Reads a description file into the tables; true when it gave at least one
// description. A file that cannot be opened gives none, without a message.
bool LoadDescriptions(const std::string& path);
// The description of an entry Name, or empty.
const std::string& LookupDescription(std::string_view name);
// Drops the loaded description tables.
void DiscardDescriptions();
