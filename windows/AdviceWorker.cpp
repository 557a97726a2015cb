#include "windows/AdviceWorker.h"

#include <QMetaObject>

#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

AdviceWorker::AdviceWorker(QObject* owner, Receiver receive)
    : owner_(owner)
    , receive_(std::move(receive))
    , alive_(std::make_shared<std::atomic<bool>>(true))
    , thread_([this] { Run(); })
{
}

AdviceWorker::~AdviceWorker()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join(); // quick: the advice in hand stops at its next check
    // An answer already queued for the owner finds the worker gone and is dropped.
    *alive_ = false;
}

void AdviceWorker::Ask(std::uint64_t request, const engine::HandCards& hand)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        request_ = request;
        hand_ = hand;
        pending_ = true;
        stop_ = true;
    }
    wake_.notify_one();
}

void AdviceWorker::Run()
{
    // Below the window's thread, so the game never waits for a processor (the threads the
    // advice starts inherit it).
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    for (;;) {
        std::uint64_t request = 0;
        engine::HandCards hand{};
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return pending_ || ending_; });
            if (ending_)
                return;
            pending_ = false;
            stop_ = false;
            request = request_;
            hand = hand_;
        }
        std::optional<engine::Advice> advice;
        try {
            advice = engine::Advise(hand, &stop_);
        } catch (const std::exception&) {
            advice.reset(); // a hand that is not whole gets no advice
        }
        if (!advice)
            continue;
        QMetaObject::invokeMethod(
            owner_,
            [this, alive = alive_, request, advice = *advice] {
                if (*alive)
                    receive_(request, advice);
            },
            Qt::QueuedConnection);
    }
}
