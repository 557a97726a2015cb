// Draws the reward picture and writes it as the baseline JPEG the game ships.
//   rewardgen [--language <code>] <output.jpg> [preview.png]
// The words are the game's texts in that language (Polish, the source language, unless told),
// read from the language's built translation (wirtola_<code>.qm); the preview is the JPEG
// decoded again, i.e. what the player sees.

#include "tools/rewardgen/JpegWriter.h"
#include "tools/rewardgen/RewardArt.h"
#include "windows/RewardPicture.h"
#include "windows/RewardWords.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {

// Quality 90 keeps the gold lettering and thin rims free of visible ringing.
constexpr int Quality = 90;
constexpr char SourceLanguage[] = "pl";

QString LoadFamily(const QString& file)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        throw std::runtime_error("cannot load font " + file.toStdString());
    return families.first();
}

// The words in the language the translator speaks; the source texts where it has none.
RewardWords Words(const QTranslator& translator)
{
    const auto word = [&](const char* source) {
        const QString text = translator.translate(reward_words::Context, source);
        return text.isEmpty() ? QString::fromUtf8(source) : text;
    };
    RewardWords words{word(reward_words::Headline),
                      word(reward_words::FundLine),
                      word(reward_words::Praise),
                      word(reward_words::Closing),
                      {}};
    for (std::size_t i = 0; i < words.ranks.size(); ++i)
        words.ranks[i] = word(reward_words::Ranks[i]);
    return words;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: rewardgen [--language <code>] <output.jpg> [preview.png]\n";
    QString language = QString::fromLatin1(SourceLanguage);
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--language") == 0) {
        language = QString::fromLocal8Bit(argv[2]);
        first = 3;
    }
    char** files = argv + first;
    const int fileCount = argc - first;
    // A code names a file in the translations' folder, so it is letters and one underscore at most.
    static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}(_[A-Z]{2})?$"));
    if (fileCount < 1 || fileCount > 2 || !code.match(language).hasMatch() || std::strncmp(files[0], "--", 2) == 0) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    // Always offscreen: a desktop session's font settings (subpixel order, hinting) must not
    // change the bytes.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Polish needs no translation; any other language draws nothing without its own, rather than
    // Polish words under its name.
    QTranslator translator;
    const QString translation = QStringLiteral(WIRTOLA_TRANSLATIONS_DIR "/wirtola_") + language + QStringLiteral(".qm");
    if (language != QLatin1String(SourceLanguage) && !translator.load(translation)) {
        std::fprintf(stderr, "rewardgen: no translation %s\n", qPrintable(translation));
        return 1;
    }
    try {
        const QString dir = QStringLiteral(WIRTOLA_FONT_DIR "/");
        RewardFonts fonts;
        fonts.serif = LoadFamily(dir + "LiberationSerif-Bold.ttf");
        fonts.serifItalic = LoadFamily(dir + "LiberationSerif-BoldItalic.ttf");
        fonts.sans = LoadFamily(dir + "LiberationSans-Bold.ttf");

        const QImage card = DrawRewardCard(fonts, Words(translator)).convertToFormat(QImage::Format_RGB888);
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
