#include "Engine/Listing.h"

#include "Common/Entries.h"
#include "Common/Options.h"
#include "Common/RunState.h"
#include "Engine/Summary.h"
#include "TurboScroll/TurboScroll.h"

// Interim: one name per line until the listing formats land.
void ShowListing() {
  for (const FileEntry* entry : FileList) WriteLine(entry->Name, 1, 7);
  ShowSummary(DirFileCount, DirDirCount, DirBytes, DirAllocated);
  if (!Options.Recursive) {
    FWriteFinish();
    Done = true;
  }
}
