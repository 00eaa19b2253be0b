#include "Common/State.h"

#include "Common/Colours.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/Entries/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/LocaleFormats.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"

void ResetSharedState() {
  StartupOptions() = OptionsRec{};
  SetColumns({{'s', 7}, {'n', 0}});

  Colours = ColourRec{};
  ExtensionColours = {};
  ExtensionColourCount = 0;
  ColourEnabled = true;
  PresetSwitches.clear();
  DateFormat.clear();
  LocaleFormats = LocaleFormatsRec{};

  FileList.clear();
  ClearEntryTexts();
  OutOfMemory = nullptr;
  ListedCount = DirFileCount = DirDirCount = MaxNameLength = 0;
  DirBytes = DirAllocated = 0;
  TimeColumnWidth = {};
  DirShown = true;
  TotalFiles = ShownDirCount = 0;
  TotalBytes = TotalAllocated = 0;

  RunSpec.FileSpecs.clear();
  RunSpec.SearchSpec.clear();
  RunSpec.CurrentDir.clear();
  RunSpec.FileMask.clear();
  RunSpec.FileExt.clear();
  RunSpec.FileBase.clear();
  RunSpec.DriveNumber = 255;
  RunSpec.SectorsPerCluster = RunSpec.BytesPerSector = RunSpec.FreeClusters = RunSpec.TotalClusters = 0;
  RunSpec.ClusterSize = 0;
  RunSpec.NoClusterSize = RunSpec.DriveInvalid = false;

  PendingDirs.clear();
  PendingDirsCreated = false;
  ProgramDir.clear();
  FirstDirectory = true;
  IsNT = IsWin95OSR2 = false;
  DescriptionsLoaded = DescriptionsHere = false;
  DescriptionIndex.clear();
  DescriptionTextCount = 0;
  BatchFile = BatchFileState{};
  RunEndAction = nullptr;
}
