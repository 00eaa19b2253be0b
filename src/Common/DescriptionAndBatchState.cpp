#include "Common/DescriptionAndBatchState.h"

std::vector<DescriptionRecord> DescriptionPool;
std::vector<std::int32_t> DescriptionIndex;
std::vector<std::string> DescriptionTexts;
std::size_t DescriptionTextCount = 0;
bool DescriptionsSwapped = false;

std::intptr_t BatchFileHandle = -1;
std::string BatchBuffer;
bool BatchFileFailed = false;
bool BatchFileUtf8 = false;
