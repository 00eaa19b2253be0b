#include "Common/FileSpecState.h"

RunSpecRec RunSpec;

