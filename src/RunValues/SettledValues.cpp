#include "RunValues/SettledValues.h"

SettledValues Settled;
