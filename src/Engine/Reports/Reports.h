#pragma once

// The directory tree (/TREE) and the drive statistics (/I); both end the program.
[[noreturn]] void ShowTree();
[[noreturn]] void ShowDriveStatistics();
