#pragma once
// Reads colours, extension colours, preset switches and the date pattern.
void ReadConfiguration();
