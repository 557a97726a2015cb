#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QTimer;

// The running window test's time limit (every test starts with the default one). Past it the
// run ends at once, naming the test, so a fault that hangs fails instead of stalling the run.
void SetTestTimeLimit(std::chrono::seconds limit);

// For as long as it lives: past `limit`, the test fails with `what`, and `end` runs (by default
// the open modal window is closed), so a box that should have closed fails the test in seconds.
class ModalDeadline {
public:
    explicit ModalDeadline(std::string what, std::function<void()> end = {},
                           std::chrono::milliseconds limit = std::chrono::seconds(5));
    ~ModalDeadline();
    ModalDeadline(const ModalDeadline&) = delete;
    ModalDeadline& operator=(const ModalDeadline&) = delete;

private:
    std::unique_ptr<QTimer> timer_;
};
