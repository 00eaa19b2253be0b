#pragma once

// Settles the run's values from the registry, the platform and the command
// line, shows what is shown before the first directory and opens the batch file.
class BatchFile;

// batch: the run's batch file, opened under /@.
void StartUp(BatchFile& batch);
