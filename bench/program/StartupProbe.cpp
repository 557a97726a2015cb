// One start of the program (or of a bare Qt window of the same size), timed from exec to the
// first paint of its main window. Prints "<first-paint-ns> <idle-rss-kb> <cpu-us-at-paint>
// <libraries-at-paint>" and exits.
// Run by StartupBench, which takes the time just before it starts this process.

#include "engine/Random.h"
#include "program/Program.h"
#include "scores/Statistics.h"
#include "session/Unit1.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <set>
#include <string>

namespace {

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Processor time of every thread so far, user and system.
long long ProcessorMicroseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec
        + usage.ru_stime.tv_usec;
}

// Shared libraries mapped into the process, the program itself and the loader included.
long LibrariesMapped()
{
    std::ifstream maps("/proc/self/maps");
    std::set<std::string> files;
    std::string line;
    while (std::getline(maps, line)) {
        const auto path = line.find('/');
        if (path != std::string::npos && line.find(".so", path) != std::string::npos)
            files.insert(line.substr(path));
    }
    return static_cast<long>(files.size());
}

class FirstPaint : public QObject {
public:
    explicit FirstPaint(const char* windowClass)
        : windowClass_(windowClass)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (paintedAt_ == 0 && event->type() == QEvent::Paint && watched->isWidgetType()) {
            QWidget* top = static_cast<QWidget*>(watched)->window();
            if (top->inherits(windowClass_)) {
                paintedAt_ = MonotonicNs();
                cpuAtPaint_ = ProcessorMicroseconds();
                librariesAtPaint_ = LibrariesMapped();
                // Let the start-up settle, then read the memory of the idle program.
                QTimer::singleShot(500, [this] {
                    std::printf("%lld %ld %lld %ld\n", paintedAt_, ResidentKb(), cpuAtPaint_, librariesAtPaint_);
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            }
        }
        return false;
    }

private:
    const char* windowClass_;
    long long paintedAt_ = 0;
    long long cpuAtPaint_ = 0;
    long librariesAtPaint_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const std::string ini = argc > 2 ? argv[2] : "/tmp/wirtola-startup-probe.ini";
    QApplication app(argc, argv);
    FirstPaint probe(bare ? "QMainWindow" : "TForm1");
    app.installEventFilter(&probe);

    if (bare) {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("&Ustawienia   "));
        auto* client = new QWidget(&window);
        client->setFixedSize(691, 405);
        window.setCentralWidget(client);
        window.show();
        return app.exec();
    }
    scores::SetStatisticsFilePath(ini);
    return RunProgram(app);
}
