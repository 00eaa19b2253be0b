#include "Common/DescriptionAndBatchState.h"

RunFilesRec RunFiles;
