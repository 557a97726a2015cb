#include "program/Signals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace program {
namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGINT, SIGHUP};

// A Ctrl+C this long after the first signal is a player insisting; any signal this long after
// it means the close is stuck.
constexpr std::int64_t InsistAfterMilliseconds = 1000;
constexpr std::int64_t StuckAfterMilliseconds = 5000;

// Only async-signal-safe state: the pipe's write end, whether a signal came already, and when.
std::atomic<int> writeEnd{-1};
std::atomic<bool> received{false};
std::atomic<std::int64_t> firstAt{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free
              && std::atomic<std::int64_t>::is_always_lock_free);

std::array<struct sigaction, Handled.size()> previous{};

std::int64_t NowMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now); // async-signal-safe
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

extern "C" void OnTerminationSignal(int signalNumber)
{
    const std::int64_t now = NowMilliseconds();
    if (received.exchange(true)) {
        const std::int64_t first = firstAt.load();
        const std::int64_t since = first == 0 ? 0 : now - first;
        if ((signalNumber == SIGINT && since >= InsistAfterMilliseconds) || since >= StuckAfterMilliseconds)
            _exit(128 + signalNumber);
        return; // joins the close that is already running
    }
    firstAt = now;
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    const int fd = writeEnd.load();
    if (fd >= 0 && write(fd, &byte, 1) < 0) {
        // Nothing more can be done safely here; the pipe is empty, so a write cannot block.
    }
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without a pipe the signals keep their default action: the process ends
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    received = false;
    firstAt = 0;
    writeEnd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : Handled)
        sigaddset(&action.sa_mask, signal); // one handler at a time
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (notifier_ == nullptr)
        return;
    // Once a close has begun, the handler stays until the process ends: a signal that comes
    // while the program winds down still joins that close instead of ending it by its default.
    writeEnd = -1;
    if (!received)
        for (std::size_t i = 0; i < Handled.size(); ++i)
            sigaction(Handled[i], &previous[i], nullptr);
    close(pipe_[0]);
    close(pipe_[1]);
}

void TerminationSignals::Drain()
{
    unsigned char byte = 0;
    while (read(pipe_[0], &byte, 1) == 1)
        emit Received(byte);
}

} // namespace program
