#include "Common/Colours.h"

ColourRec Colours;
std::array<ColsType, MaxExtensionColours + 1> ExtensionColours;
int ExtensionColourCount = 0;
bool ColourEnabled = true;
std::string PresetSwitches;
std::string DateFormat;
