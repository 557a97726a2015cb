#include "tests/support/TimeLimit.h"

#include "cards/CardAccessible.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

// A modal window that a test leaves open this long is a fault: nothing a test does waits
// that long for a box.
constexpr int ModalLimitSeconds = 20;
// A test that has not ended after this long (a busy loop, a wait that never returns) ends the
// run with its name; a longer test says so with SetTestTimeLimit.
constexpr auto DefaultTestLimit = std::chrono::seconds(60);

// Fails the test and closes a modal window that stays open too long, so a fault that leaves a
// box or a dialog waiting for an answer fails in seconds instead of hanging the run.
class ModalWatchdog : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override
    {
        open_ = nullptr;
        seconds_ = 0;
        if (!timer_) {
            timer_ = new QTimer(qApp);
            QObject::connect(timer_, &QTimer::timeout, [this] { Check(); });
        }
        timer_->start(1000);
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        if (timer_)
            timer_->stop();
    }

private:
    void Check()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != open_) {
            open_ = modal;
            seconds_ = 0;
            return;
        }
        if (!modal || ++seconds_ < ModalLimitSeconds)
            return;
        ADD_FAILURE() << "a modal window stayed open for " << ModalLimitSeconds << " s: \""
                      << modal->windowTitle().toStdString() << "\"";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        open_ = nullptr;
        seconds_ = 0;
    }

    QTimer* timer_ = nullptr;
    QPointer<QWidget> open_;
    int seconds_ = 0;
};

// Ends the whole run, naming the test, when one test runs past its limit without returning to
// an event loop that the modal watchdog could use.
class TestDeadline : public testing::EmptyTestEventListener {
public:
    TestDeadline()
        : thread_([this] { Watch(); })
    {
    }
    ~TestDeadline() override
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    void OnTestStart(const testing::TestInfo& test) override
    {
        std::lock_guard lock(mutex_);
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = std::chrono::steady_clock::now() + DefaultTestLimit;
        running_ = true;
        changed_.notify_all();
    }

    void SetLimit(std::chrono::seconds limit)
    {
        std::lock_guard lock(mutex_);
        deadline_ = std::chrono::steady_clock::now() + limit;
        changed_.notify_all();
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        std::lock_guard lock(mutex_);
        running_ = false;
        changed_.notify_all();
    }

private:
    void Watch()
    {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (!running_) {
                changed_.wait(lock);
                continue;
            }
            const auto deadline = deadline_;
            if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && running_ && !quit_
                && deadline_ == deadline) {
                std::fprintf(stderr, "\n%s did not end within its time limit\n", name_.c_str());
                std::fflush(stderr);
                std::_Exit(124);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string name_;
    std::chrono::steady_clock::time_point deadline_;
    bool running_ = false;
    bool quit_ = false;
    std::thread thread_;
};

TestDeadline* deadline = nullptr;

} // namespace

ModalDeadline::ModalDeadline(std::string what, std::function<void()> end, std::chrono::milliseconds limit)
    : timer_(std::make_unique<QTimer>())
{
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [what = std::move(what), end = std::move(end)] {
        ADD_FAILURE() << what;
        if (end)
            end();
        else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->done(0);
    });
    timer_->start(limit);
}

ModalDeadline::~ModalDeadline() = default;

void SetTestTimeLimit(std::chrono::seconds limit)
{
    if (deadline)
        deadline->SetLimit(limit);
}

// Window tests drive real widgets; without a display they run on the offscreen platform.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InstallCardAccessibility();
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new ModalWatchdog);
    deadline = new TestDeadline;
    listeners.Append(deadline);
    return RUN_ALL_TESTS();
}
