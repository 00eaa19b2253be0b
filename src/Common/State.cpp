#include "Common/State.h"

#include "Common/Colours.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/Entries/Entries.h"
#include "Common/Entries/EntryArena.h"
#include "Common/FileSpecState.h"
#include "Common/LocaleFormats.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"

void ResetSharedState() {
  StartupOptions() = OptionsRec{};
  SetColumns({{'s', 7}, {'n', 0}});
  StartupLooks() = LooksRec{};
  LocaleFormats = LocaleFormatsRec{};
  ThisDir = ThisDirRec{};
  ClearEntryTexts();
  EntryStore.OutOfMemory = nullptr;
  StartupRunSpec() = RunSpecRec{};
  RunWalk = RunWalkRec{};
  // The description pool and text slots keep their room for the next run.
  RunFiles.DescriptionsLoaded = RunFiles.DescriptionsHere = false;
  RunFiles.DescriptionIndex.clear();
  RunFiles.DescriptionTextCount = 0;
  RunFiles.BatchFile = BatchFileState{};
  RunEndAction = nullptr;
}
