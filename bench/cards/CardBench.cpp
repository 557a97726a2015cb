#include "cards/Card.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// The paint's own work: load the image afresh, fill the four corners, draw it unscaled.
void BM_PaintOneCard(benchmark::State& state)
{
    QImage surface(71, 96, QImage::Format_RGB32);
    const QColor fill(0x20, 0x78, 0x40);
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.drawImage(QPoint(0, 0), ComposeCardImage("S13", fill));
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_PaintOneCard);

// A setter on a shown card: the value is stored and the card repainted through Qt's widget
// machinery before the call returns.
void BM_SetterRepaint(benchmark::State& state)
{
    QWidget window;
    window.resize(200, 150);
    auto* card = new TCard(&window);
    card->show();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("window not exposed");
        return;
    }
    std::uint8_t value = 1;
    for (auto _ : state) {
        card->SetValue(value);
        value = static_cast<std::uint8_t>(value % 13 + 1);
    }
}
BENCHMARK(BM_SetterRepaint);

} // namespace
