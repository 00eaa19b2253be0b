#include "Common/RunState.h"

std::vector<std::string> PendingDirs;
bool PendingDirsCreated = false;
std::string ProgramDir;
bool FirstDirectory = true;
bool IsNT = false;
bool IsWin95OSR2 = false;
bool DescriptionsLoaded = false;
bool DescriptionsHere = false;
