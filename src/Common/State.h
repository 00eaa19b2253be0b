// Resets all shared state to its start-of-run values (for tests and start-up).
#pragma once

void ResetSharedState();
