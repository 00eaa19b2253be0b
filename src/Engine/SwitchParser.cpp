#include "Engine/SwitchParser.h"

void ParseSwitch(const std::string&) {}
void ResolveTimeKind() {}
