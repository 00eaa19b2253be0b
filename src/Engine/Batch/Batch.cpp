// Batch mode is not written yet: the calls do nothing.
#include "Engine/Batch/Batch.h"

void OpenBatchFile() {}
void WriteBatchLine(const FileEntry&) {}
void CloseBatchFile() {}
