#include "Common/FileSpecState.h"

RunSpecRec RunSpecStorage::Settled;
