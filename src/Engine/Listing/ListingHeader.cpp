// The header line of a directory: the volume label at the right edge (first
// directory only in a recursive walk) and "Path: " with the search pattern.
#include <algorithm>

#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Engine/Listing/Listing.h"
#include "Platform/Volumes.h"

namespace {

// The volume query fills a buffer of 129 characters, terminating zero included.
constexpr int MaxLabelCells = 128;

// Writes the label when there is one and it leaves room for a path; returns
// the columns it takes from the path's room.
int WriteVolumeLabel(int width, int room) {
  Plat::VolumeInfo volume;
  if (!Plat::VolumeInformation(RunSpec.SearchSpec.substr(0, 2) + "\\", volume)) return 0;
  const std::string label(CellPrefix(volume.Label, MaxLabelCells));
  int length = TextCells(label);
  // A label too wide for the line would start left of column 1.
  if (length == 0 || room - (length + 15) < 1) return 0;
  WriteAt("Volume Label: ", width - length - 13, Looks.Colours.HeadingColour);
  WriteAt(label, width - length + 1, Looks.Colours.HeadingValueColour);
  return length + 15;
}

std::string HeaderPathText(const DirectoryListing& listing) {
  if (RunSpec.FileSpecs.size() < 2) return listing.SearchSpec;
  std::string text = listing.CurrentDir + RunSpec.FileMask;
  for (std::size_t index = 1; index < RunSpec.FileSpecs.size(); ++index) {
    text += ' ';
    text += RunSpec.FileSpecs[index];
  }
  return text;
}

// A path longer than the room is cut and ends in the marker. At column 7 a
// text keeps at most W - 7 cells, marker included: without a label the path
// gives up one cell more than its room, so that the marker is not cut off.
void WritePath(const DirectoryListing& listing, int room, int width) {
  room = std::max(room, 0);
  std::string text = HeaderPathText(listing);
  if (TextCells(text) > room) {
    text.resize(PrefixForCells(text, std::min(room, width - 8)));
    text += Glyph::CutMarker;
  }
  WriteAt("Path: ", 1, Looks.Colours.HeadingColour);
  WriteAt(text, 7, Looks.Colours.HeadingValueColour);
}

}  // namespace

void WriteHeaderLine(const DirectoryListing& listing, bool firstDirectory) {
  if (Options.Bare) return;
  EnsureOutput();
  int width = ScreenWidth();
  int room = width - 7;
  if (!Options.Recursive || firstDirectory) room -= WriteVolumeLabel(width, room);
  if (listing.DirShown || !Options.Recursive) WritePath(listing, room, width);
}
