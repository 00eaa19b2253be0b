#include "RunValues/DescriptionAndBatchState.h"

RunFilesRec RunFiles;
