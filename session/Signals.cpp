#include "session/Signals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace session {
namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe state: the pipe's write end and whether a signal came already.
std::atomic<int> writeEnd{-1};
std::atomic<bool> received{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

std::array<struct sigaction, Handled.size()> previous{};

extern "C" void OnTerminationSignal(int signalNumber)
{
    if (received.exchange(true))
        _exit(128 + signalNumber);
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
    writeEnd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (notifier_ == nullptr)
        return;
    for (std::size_t i = 0; i < Handled.size(); ++i)
        sigaction(Handled[i], &previous[i], nullptr);
    writeEnd = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}

void TerminationSignals::Drain()
{
    unsigned char byte = 0;
    while (read(pipe_[0], &byte, 1) == 1)
        emit Received(byte);
}

} // namespace session
