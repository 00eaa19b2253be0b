#include "Common/DescriptionAndBatchState.h"

std::vector<DescriptionRecord> DescriptionPool;
std::vector<std::int32_t> DescriptionIndex;
std::vector<std::string> DescriptionTexts;
std::size_t DescriptionTextCount = 0;

BatchFileState BatchFile;
