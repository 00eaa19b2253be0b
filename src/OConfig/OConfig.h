#pragma once

// The whole OConfig run: applies the switches, writes and shows the
// configuration. The result is the exit code: 0, 1 for a bad switch, 2 when
// the registry could not be written.
int RunOConfig();
