#include "Common/SettledValues.h"

SettledValues Settled;
