#pragma once

#include <chrono>

// The running window test's time limit (every test starts with the default one). Past it the
// run ends at once, naming the test, so a fault that hangs fails instead of stalling the run.
void SetTestTimeLimit(std::chrono::seconds limit);
