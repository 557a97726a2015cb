#pragma once

// SIGTERM, SIGINT and SIGHUP (a desktop logging out, Ctrl+C, a closed terminal) as a Qt signal
// on the user-interface thread. The handler itself only writes a byte to a pipe that the event
// loop watches, so whatever the game does about it runs as an ordinary event. Real closings
// send several at once (a session's end sends SIGTERM and SIGHUP, a closed terminal two
// SIGHUPs), so the signals that follow the first join its close. Only a Ctrl+C repeated after
// a pause, or any of them once the close has run for some seconds, ends the process at once.

#include <QObject>

class QSocketNotifier;

namespace program {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; there is one set per process, so only one object lives at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts the handlers back as they were, unless a signal has come: then they stay to the end
    // of the process, so that those that follow still join the close.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

signals:
    void Received(int signalNumber);

private:
    void Drain();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace program
