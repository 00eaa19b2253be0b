#include "Common/Colours.h"

LooksRec LooksStorage::Settled;
