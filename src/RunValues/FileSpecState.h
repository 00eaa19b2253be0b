// What the scan enumerates: the file specifications and the directory, mask
// and pattern derived from the first one, plus the drive's cluster figures,
// read through a const view. The record is in SettledRecords.h, the view in
// SettledValues.h.
#pragma once

#include "RunValues/SettledValues.h"
