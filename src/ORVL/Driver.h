#pragma once

// The whole program run: start-up, the directory loop and the grand total.
// Every end of the run comes back here; the result is the exit code (0).
int RunOrvl();
