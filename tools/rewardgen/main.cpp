// Draws the reward picture and writes it as the baseline JPEG the game ships.
//   rewardgen <output.jpg> [preview.png]
// The preview is the JPEG decoded again, i.e. what the player sees.

#include "tools/rewardgen/JpegWriter.h"
#include "tools/rewardgen/RewardArt.h"
#include "windows/RewardPicture.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {

// Quality 90 keeps the gold lettering and thin rims free of visible ringing.
constexpr int Quality = 90;

QString LoadFamily(const QString& file)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        throw std::runtime_error("cannot load font " + file.toStdString());
    return families.first();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: rewardgen <output.jpg> [preview.png]\n");
        return 2;
    }
    // Always offscreen: a desktop session's font settings (subpixel order, hinting) must not
    // change the bytes.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const QString dir = QStringLiteral(WIRTOLA_FONT_DIR "/");
        RewardFonts fonts;
        fonts.serif = LoadFamily(dir + "LiberationSerif-Bold.ttf");
        fonts.serifItalic = LoadFamily(dir + "LiberationSerif-BoldItalic.ttf");
        fonts.sans = LoadFamily(dir + "LiberationSans-Bold.ttf");

        const QImage card = DrawRewardCard(fonts).convertToFormat(QImage::Format_RGB888);
        std::vector<std::uint8_t> packed;
        packed.reserve(static_cast<std::size_t>(card.width()) * card.height() * 3);
        for (int y = 0; y < card.height(); ++y) {
            const uchar* row = card.constScanLine(y);
            packed.insert(packed.end(), row, row + card.width() * 3);
        }
        const std::vector<std::uint8_t> jpeg = EncodeBaselineJpeg(packed.data(), card.width(), card.height(), Quality);
        const QByteArray bytes(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size()));
        if (!WriteFile(QString::fromLocal8Bit(argv[1]), bytes)) {
            std::fprintf(stderr, "rewardgen: cannot write %s\n", argv[1]);
            return 1;
        }
        if (argc == 3 && !DecodeJpegToImage(bytes).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "rewardgen: cannot write %s\n", argv[2]);
            return 1;
        }
        std::printf("%s: %zu bytes\n", argv[1], jpeg.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rewardgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
