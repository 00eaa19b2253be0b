// The two reports are not written yet: they end the output at once.
#include "Engine/Reports/Reports.h"

#include "Common/RunEnd.h"
#include "TurboScroll/TurboScroll.h"

void ShowTree() {
  FWriteFinish();
  EndProgram();
}

void ShowDriveStatistics() {
  FWriteFinish();
  EndProgram();
}
