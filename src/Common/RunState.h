// State of the run itself: the recursive walk, the platform identity and the
// program-wide date and time separators.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> PendingDirs;  // directories still to list (a stack)
extern bool PendingDirsCreated;               // /S or /TREE created the stack
extern std::string ProgramDir;                // directory of the program file, with "\"
extern bool FirstDirectory;                   // true until the first pending directory is taken
extern bool IsNT;                             // the NT family
extern bool IsWin95OSR2;                      // 95 OSR2 or 98: the extended free-space query exists
extern std::string DateSeparator;  // "/" in patterns prints this; "-" after an absolute date bound
extern std::string TimeSeparator;  // ":" in patterns prints this; ":" after an absolute time bound
extern bool DescriptionsLoaded;    // a directory's description tables are loaded
extern bool DescriptionsHere;      // the directory being listed has descriptions
