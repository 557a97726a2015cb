#pragma once

// The advice for a dealt hand, worked out on a thread of its own at the lowest priority, so the
// game's window never waits for it. One thread for the owner's life: it takes the newest hand
// asked for, drops one that a newer request has overtaken, and hands the advice back through the
// owner's event queue.

#include "engine/Advisor.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class AdviceWorker {
public:
    using Receiver = std::function<void(std::uint64_t request, const engine::Advice& advice)>;

    // `receive` runs on `owner`'s thread, never after the worker is gone.
    AdviceWorker(QObject* owner, Receiver receive);
    ~AdviceWorker();
    AdviceWorker(const AdviceWorker&) = delete;
    AdviceWorker& operator=(const AdviceWorker&) = delete;

    // Whatever is being worked out is for an older hand: it stops at its next check.
    void Ask(std::uint64_t request, const engine::HandCards& hand);

private:
    void Run();

    QObject* owner_;
    Receiver receive_;
    std::shared_ptr<std::atomic<bool>> alive_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stop_{false};
    bool pending_ = false;
    bool ending_ = false;
    std::uint64_t request_ = 0;
    engine::HandCards hand_{};
    std::thread thread_; // last: it starts once everything it reads is made
};
