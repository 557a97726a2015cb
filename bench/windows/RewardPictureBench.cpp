#include "windows/JpegPicture.h"
#include "windows/RewardPicture.h"

#include <QByteArray>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QByteArray RewardStream()
{
    QFile file(QString::fromLatin1(RewardPictureResource));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// libjpeg alone: the stream to packed RGB rows.
void DecodeRewardJpeg(benchmark::State& state)
{
    const QByteArray stream = RewardStream();
    for (auto _ : state) {
        auto picture = DecodeJpeg(reinterpret_cast<const std::uint8_t*>(stream.constData()),
                                  static_cast<std::size_t>(stream.size()));
        if (!picture)
            state.SkipWithError("the reward picture does not decode");
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(DecodeRewardJpeg)->Unit(benchmark::kMicrosecond);

// What the window pays: reading the resource, decoding, and copying into a QImage.
void LoadRewardPictureWhole(benchmark::State& state)
{
    for (auto _ : state) {
        QImage image = LoadRewardPicture();
        if (image.isNull())
            state.SkipWithError("the reward picture does not load");
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(LoadRewardPictureWhole)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
