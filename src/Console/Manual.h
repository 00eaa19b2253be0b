// The user's manual, compiled in from docs/Orvalist.txt by the build.
#pragma once

extern const char ManualText[];
