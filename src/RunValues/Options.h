// The run's options: settled by the registry presets, the command line and the
// platform checks during start-up, frozen after it and read through a const
// view. The record is in SettledRecords.h, the view in SettledValues.h.
#pragma once

#include "RunValues/SettledValues.h"
