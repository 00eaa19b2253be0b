#include "Engine/Summary.h"

void ShowSummary(std::int32_t, std::int32_t, std::int64_t, std::int64_t) {}
std::string FreeSpaceText() { return "0B"; }
