// Drawing the tree: one line per directory, indented by the level flags of its
// ancestors, and the closing line with the count and the space consumed.
#include <algorithm>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Reports/TreeWalk.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"

namespace {

// Line drawing glyphs; the engine turns them into 7-bit forms under /7BIT.
const std::string ContinuingBranch = std::string(Glyph::LineVertical) + "   ";
constexpr char EmptyBranch[] = "    ";
const std::string Tee = Glyph::LineBranchRight + RepeatGlyph(Glyph::LineHorizontal, 2);
const std::string Corner = Glyph::LineCornerUpRight + RepeatGlyph(Glyph::LineHorizontal, 2);

constexpr int SizeDecimals = 2;

bool LevelFlag(const TreeWalkState& tree, int level) {
  return level >= 0 && level < static_cast<int>(tree.LevelFlags.size()) &&
         tree.LevelFlags[static_cast<std::size_t>(level)];
}

// The flags widen with the tree, so any depth is drawn alike.
void SetLevelFlag(TreeWalkState& tree, int level, bool on) {
  if (level >= static_cast<int>(tree.LevelFlags.size()))
    tree.LevelFlags.resize(static_cast<std::size_t>(level) + 1, false);
  tree.LevelFlags[static_cast<std::size_t>(level)] = on;
}

// The last component of a directory path that ends in a backslash.
std::string OwnName(const std::string& directory) {
  std::size_t end = directory.size() - 1;
  std::size_t start = directory.find_last_of('\\', end - 1);
  return directory.substr(start + 1, end - start - 1);
}

// The depth of the directory visited next (0 when none is left); the pending
// entry stands for its path with "\*.*" appended, one backslash more.
int NextDepth(const TreeWalkState& tree) {
  return tree.PendingDirs.empty() ? 0 : PathDepth(tree.PendingDirs.back()) + 1;
}

}  // namespace

int PathDepth(const std::string& path) {
  return static_cast<int>(std::count(path.begin(), path.end(), '\\'));
}

void DrawRootLine(TreeWalkState& tree) {
  tree.RootLevel = PathDepth(tree.CurrentDir) + 2;
  WriteAt(tree.CurrentDir, 1, Looks.Colours.SummaryTextColour);
}

void DrawDirectoryLine(TreeWalkState& tree) {
  int depth = PathDepth(tree.CurrentDir);
  for (int level = tree.RootLevel; level <= depth; ++level)
    WriteText(LevelFlag(tree, level) ? ContinuingBranch : EmptyBranch, Looks.Colours.LineColour);
  bool siblingFollows = NextDepth(tree) >= depth;
  WriteText(siblingFollows ? Tee : Corner, Looks.Colours.LineColour);
  SetLevelFlag(tree, depth + 1, siblingFollows);
  WriteText(" " + OwnName(tree.CurrentDir), Looks.Colours.SummaryTextColour);
}

void FinishDirectoryLine(TreeWalkState& tree) {
  if (!RunSpec.NoClusterSize)
    WriteText(" (" + ShortSizeText(tree.DirAllocated, SizeDecimals) + ")",
              Looks.Colours.FileColour);
  NewLine();
  tree.TotalAllocated = AddByteCounts(tree.TotalAllocated, tree.DirAllocated);
  tree.DirAllocated = 0;
}

void WriteClosingLine(const TreeWalkState& tree) {
  WriteAt(std::to_string(tree.DirectoryCount), 1, Looks.Colours.SummaryFigureColour);
  WriteText(" directories", Looks.Colours.SummaryTextColour);
  if (!RunSpec.NoClusterSize) {
    WriteText(" consuming ", Looks.Colours.SummaryTextColour);
    WriteText(ThousandsText(tree.TotalAllocated), Looks.Colours.SummaryFigureColour);
    WriteText(" bytes", Looks.Colours.SummaryTextColour);
    if (tree.TotalAllocated >= KiloBytes) {
      WriteText(" (", Looks.Colours.SummaryTextColour);
      WriteText(ShortSizeText(tree.TotalAllocated, SizeDecimals) + "B",
                Looks.Colours.SummaryFigureColour);
      WriteText(")", Looks.Colours.SummaryTextColour);
    }
  }
  NewLine();
}
