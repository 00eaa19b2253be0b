// The registry configuration is not read yet: the built-in defaults stand.
#include "Support/Configuration.h"

#include "Common/Entries.h"

void ReadConfiguration() { TimeColumnWidth = {}; }
