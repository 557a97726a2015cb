// A deal as the player sees it: the click on the deal button until all ten cards are painted,
// tunes off. Offscreen, on the real main window.

#include "engine/Random.h"
#include "program/Program.h"
#include "scores/Statistics.h"
#include "session/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void BM_DealClickToTenCardsPainted(benchmark::State& state)
{
    scores::SetStatisticsFilePath("/tmp/wirtola-deal-bench.ini");
    Program program;
    Form1->MuzykaZal1->setChecked(false);
    for (auto _ : state) {
        Form1->btnRozdanie->click(); // the card setters repaint synchronously
        QCoreApplication::processEvents();
        state.PauseTiming();
        Form1->btnRozdanie->setEnabled(true); // back to waiting without a showdown
        state.ResumeTiming();
    }
    Form1->close();
}
BENCHMARK(BM_DealClickToTenCardsPainted)->Unit(benchmark::kMicrosecond);

} // namespace
