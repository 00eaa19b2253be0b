#include "Common/LocaleFormats.h"

LocaleFormatsRec LocaleFormats;
