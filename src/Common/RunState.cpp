#include "Common/RunState.h"

std::vector<std::string> PendingDirs;
bool PendingDirsCreated = false;
std::string ProgramDir;
bool FirstDirectory = true;
bool IsNT = false;
bool IsWin95OSR2 = false;
std::string DateSeparator = "/";
std::string TimeSeparator = ":";
bool DescriptionsLoaded = false;
bool DescriptionsHere = false;
