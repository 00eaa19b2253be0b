// State of the run itself: the recursive walk and the platform identity.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> PendingDirs;  // directories still to list (a stack)
extern bool PendingDirsCreated;               // /S or /TREE created the stack
extern std::string ProgramDir;                // directory of the program file, with "\"
extern bool FirstDirectory;                   // true until the first pending directory is taken
extern bool IsNT;                             // the NT family
extern bool IsWin95OSR2;                      // 95 OSR2 or 98: the extended free-space query exists
extern bool DescriptionsLoaded;               // a directory's description tables are loaded
extern bool DescriptionsHere;                 // the directory being listed has descriptions
