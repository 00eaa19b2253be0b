#pragma once

struct FileEntry;

// The batch file !OVBATCH.BAT of /@.
void OpenBatchFile();
void WriteBatchLine(const FileEntry& entry);
void CloseBatchFile();
