#include "Engine/Usage.h"

#include "Common/RunEnd.h"

void ShowUsage() { EndProgram(); }
void WriteHelpPair(const std::string&, std::uint8_t) {}
