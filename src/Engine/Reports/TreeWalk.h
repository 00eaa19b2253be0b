// The directory tree: the state of one walk and the lines it draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TreeWalkState {
  std::string CurrentDir;        // the directory being drawn, ends in "\"
  std::vector<std::string> PendingDirs;  // directories still to draw (a stack)
  int RootLevel = 0;             // root depth + 2: level of the first indentation column
  std::vector<bool> LevelFlags;  // [d + 1]: the last directory drawn at depth d has a sibling below
  std::int32_t DirectoryCount = 1;  // directories found, the root included
  std::int64_t DirAllocated = 0;    // allocated bytes of the directory being read
  std::int64_t TotalAllocated = 0;  // allocated bytes of the directories finished
};

// The depth of a path: the number of its backslashes.
int PathDepth(const std::string& path);

// The root's line: its directory as the file specification named it.
void DrawRootLine(TreeWalkState& tree);
// A later directory's line (CurrentDir): indentation, tee or corner, its name.
void DrawDirectoryLine(TreeWalkState& tree);
// Ends the line of the directory just read with its size, and counts it.
void FinishDirectoryLine(TreeWalkState& tree);
// "n directories consuming ... bytes (...)".
void WriteClosingLine(const TreeWalkState& tree);
