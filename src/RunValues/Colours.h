// Display colours, the per-extension colour table and the registry settings,
// read through a const view. The records are in SettledRecords.h, the view in
// SettledValues.h.
#pragma once

#include "RunValues/SettledValues.h"
