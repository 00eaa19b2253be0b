// Descriptions are not read yet: no directory has any.
#include "Engine/Descriptions/Descriptions.h"

#include "Common/RunState.h"

void PrepareDescriptions() { DescriptionsHere = false; }
std::string LookupDescription(const std::string&) { return {}; }
void DiscardDescriptions() { DescriptionsLoaded = false; }
