#include "RunValues/LocaleFormats.h"

LocaleFormatsRec LocaleFormats;
