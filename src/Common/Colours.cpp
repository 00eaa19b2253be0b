#include "Common/Colours.h"

LooksRec Looks;
