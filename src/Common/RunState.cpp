#include "Common/RunState.h"

RunWalkRec RunWalk;
