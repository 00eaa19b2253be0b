// What the batch file's lines and its ends share: writing the buffer, and
// the one warning a failure gets.
#pragma once

#include <cstdint>

#include "Engine/Batch/BatchFileState.h"

// Writes the buffer; false (with the code) when the file did not take it all
// or there is no file.
bool WriteBatchBuffer(BatchFileState& file, std::uint32_t& code);
// Adds what ends the file and writes what is buffered; false when the file
// does not hold every line.
bool WriteLastLines(BatchFileState& file, std::uint32_t& code);
// One warning per run, naming the file (the work file unless another name is
// given) and the system's reason, when there is one; no line is added after
// it and the file never takes the batch file's place.
void WarnBatchFailure(BatchFileState& file, const char* what, std::uint32_t code,
                      const char* name = nullptr);
