#include "Common/Colours.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/FileSpecState.h"
#include "Common/LocaleFormats.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/StartupWriters.h"

void ResetSharedState() {
  StartupOptions() = OptionsRec{};
  SetColumns({{'s', 7}, {'n', 0}});
  StartupLooks() = LooksRec{};
  LocaleFormats = LocaleFormatsRec{};
  StartupRunSpec() = RunSpecRec{};
  RunFiles.BatchFile = BatchFileState{};
  RunEndAction = nullptr;
  ResetRunEnd();
}
