// Draws the reward picture and writes it as the baseline JPEG the game ships.
//   rewardgen [--english] <output.jpg> [preview.png]
// The preview is the JPEG decoded again, i.e. what the player sees.

#include "tools/rewardgen/JpegWriter.h"
#include "tools/rewardgen/RewardArt.h"
#include "windows/RewardPicture.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
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
    // The picture's words are Polish unless asked for in English.
    const bool english = argc > 1 && std::strcmp(argv[1], "--english") == 0;
    char** files = argv + (english ? 2 : 1);
    const int fileCount = argc - (english ? 2 : 1);
    if (fileCount < 1 || fileCount > 2) {
        std::fprintf(stderr, "usage: rewardgen [--english] <output.jpg> [preview.png]\n");
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

        const QImage card =
            DrawRewardCard(fonts, english ? EnglishWords : PolishWords).convertToFormat(QImage::Format_RGB888);
        std::vector<std::uint8_t> packed;
        packed.reserve(static_cast<std::size_t>(card.width()) * card.height() * 3);
        for (int y = 0; y < card.height(); ++y) {
            const uchar* row = card.constScanLine(y);
            packed.insert(packed.end(), row, row + card.width() * 3);
        }
        const std::vector<std::uint8_t> jpeg = EncodeBaselineJpeg(packed.data(), card.width(), card.height(), Quality);
        const QByteArray bytes(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size()));
        if (!WriteFile(QString::fromLocal8Bit(files[0]), bytes)) {
            std::fprintf(stderr, "rewardgen: cannot write %s\n", files[0]);
            return 1;
        }
        if (fileCount == 2 && !DecodeJpegToImage(bytes).save(QString::fromLocal8Bit(files[1]), "PNG")) {
            std::fprintf(stderr, "rewardgen: cannot write %s\n", files[1]);
            return 1;
        }
        std::printf("%s: %zu bytes\n", files[0], jpeg.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rewardgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
