// The hint while it works: the main thread's event loop is timed by a 1 ms timer from the
// moment a hand is given until its advice is shown, and the longest gap between two ticks is
// reported (the loop must never wait on the advice), with the time to the advice and the
// memory the process holds.

#include "windows/HintWindow.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

// The process's resident memory, in kB, from /proc (VmRSS now, VmHWM at its highest).
long MemoryKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

const engine::HandCards Hands[] = {
    {{{1, 2}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}},
    {{{2, 2}, {5, 2}, {7, 2}, {10, 2}, {12, 0}}},
    {{{1, 0}, {3, 1}, {6, 2}, {9, 3}, {11, 0}}},
};

void BM_HintWhileTheLoopRuns(benchmark::State& state)
{
    HintWindow window;
    window.Show();
    QTest::qWait(200);
    const long before = MemoryKb("VmRSS"); // the window's own widgets and fonts are not the advice's
    double longestGap = 0;
    double longestAdvice = 0;
    int n = 0;
    int stalls = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&window, &HintWindow::AdviceShown, &loop, &QEventLoop::quit);
        QElapsedTimer sinceTick;
        QElapsedTimer sinceHand;
        double gap = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double now = sinceTick.nsecsElapsed() / 1e6;
            if (now > 5)
                ++stalls;
            gap = std::max(gap, now);
            sinceTick.restart();
        });
        tick.start(1);
        sinceTick.start();
        sinceHand.start();
        window.SetHand(Hands[n++ % 3], engine::KeepAll, 100);
        loop.exec();
        const double advice = sinceHand.nsecsElapsed() / 1e6;
        state.SetIterationTime(advice / 1000);
        longestGap = std::max(longestGap, gap);
        longestAdvice = std::max(longestAdvice, advice);
    }
    state.counters["longest_tick_gap_ms"] = longestGap;
    state.counters["longest_advice_ms"] = longestAdvice;
    state.counters["gaps_over_5ms"] = stalls;
    state.counters["memory_added_kB"] = static_cast<double>(MemoryKb("VmHWM") - before);
}
BENCHMARK(BM_HintWhileTheLoopRuns)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// The same ticks for as long with no advice being worked out: what the machine itself costs the
// loop, to set the gap above against.
void BM_LoopAlone(benchmark::State& state)
{
    double longestGap = 0;
    int stalls = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        double gap = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double now = sinceTick.nsecsElapsed() / 1e6;
            if (now > 5)
                ++stalls;
            gap = std::max(gap, now);
            sinceTick.restart();
        });
        tick.start(1);
        sinceTick.start();
        QTest::qWait(300);
        longestGap = std::max(longestGap, gap);
    }
    state.counters["longest_tick_gap_ms"] = longestGap;
    state.counters["gaps_over_5ms"] = stalls;
}
BENCHMARK(BM_LoopAlone)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
