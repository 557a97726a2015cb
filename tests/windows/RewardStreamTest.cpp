#include "JpegMarkers.h"
#include "StandardHuffmanTables.h"
#include "TestJpegs.h"
#include "windows/RewardPicture.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

namespace {

int Word(const std::vector<std::uint8_t>& p, std::size_t at)
{
    return (p[at] << 8) | p[at + 1];
}

// The stream as every JPEG reader takes it: JFIF 1.01 with square pixels, two 8-bit quantisation
// tables, one baseline frame of 465x282 in YCbCr 4:2:0, exactly the four standard Huffman tables,
// one sequential scan, and the end marker last.
void ExpectTheStreamEveryReaderTakes(const std::vector<std::uint8_t>& stream)
{
    const JpegLayout layout = ParseJpegLayout(stream);
    ASSERT_TRUE(layout.startsWithSoi);
    ASSERT_FALSE(layout.segments.empty());
    const auto segmentsOf = [&layout](std::uint8_t marker) {
        std::vector<std::vector<std::uint8_t>> found;
        for (const JpegSegment& s : layout.segments)
            if (s.marker == marker)
                found.push_back(s.payload);
        return found;
    };
    const JpegSegment& app0 = layout.segments.front();
    EXPECT_EQ(app0.marker, 0xE0);
    ASSERT_EQ(app0.payload.size(), 14u);
    EXPECT_EQ(std::string(app0.payload.begin(), app0.payload.begin() + 5), std::string("JFIF\0", 5));
    // Version 1.01; no unit, so the densities of 1 give the aspect ratio; no thumbnail.
    EXPECT_EQ(std::vector<std::uint8_t>(app0.payload.begin() + 5, app0.payload.end()),
              (std::vector<std::uint8_t>{1, 1, 0, 0, 1, 0, 1, 0, 0}));

    std::vector<int> ids;
    for (const auto& dqt : segmentsOf(0xDB))
        for (std::size_t at = 0; at < dqt.size(); at += 65) {
            EXPECT_EQ(dqt[at] >> 4, 0) << "8-bit precision";
            ids.push_back(dqt[at] & 0x0F);
        }
    EXPECT_EQ(ids, (std::vector<int>{0, 1}));

    std::vector<int> frames;
    for (const JpegSegment& s : layout.segments)
        if (s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 && s.marker != 0xCC)
            frames.push_back(s.marker);
    ASSERT_EQ(frames, std::vector<int>{0xC0});
    const std::vector<std::uint8_t> sof = segmentsOf(0xC0).front();
    ASSERT_EQ(sof.size(), 15u);
    EXPECT_EQ(std::make_tuple(sof[0], Word(sof, 1), Word(sof, 3)), std::make_tuple(8, 282, 465));
    // Three components: id, sampling (horizontal << 4 | vertical), quantisation table.
    EXPECT_EQ(std::vector<std::uint8_t>(sof.begin() + 5, sof.end()),
              (std::vector<std::uint8_t>{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));

    std::map<int, HuffmanTable> tables; // keyed by class << 4 | id
    for (const auto& p : segmentsOf(0xC4))
        for (std::size_t at = 0; at + 17 <= p.size();) {
            HuffmanTable t;
            std::copy_n(p.begin() + static_cast<std::ptrdiff_t>(at + 1), 16, t.counts.begin());
            std::size_t n = 0;
            for (auto c : t.counts)
                n += c;
            const auto first = p.begin() + static_cast<std::ptrdiff_t>(at + 17);
            t.values.assign(first, first + static_cast<std::ptrdiff_t>(std::min(n, p.size() - at - 17)));
            EXPECT_TRUE(tables.emplace(p[at], t).second) << "table defined twice: " << int(p[at]);
            at += 17 + n;
        }
    const std::vector<std::pair<int, const HuffmanTable*>> want{{0x00, &StandardDcLuminance},
                                                                {0x10, &StandardAcLuminance},
                                                                {0x01, &StandardDcChrominance},
                                                                {0x11, &StandardAcChrominance}};
    EXPECT_EQ(tables.size(), want.size());
    for (const auto& [key, table] : want) {
        SCOPED_TRACE(key);
        ASSERT_EQ(tables.count(key), 1u);
        EXPECT_EQ(tables.at(key).counts, table->counts);
        EXPECT_EQ(tables.at(key).values, table->values);
    }

    // Components 1..3 with their DC/AC tables, then spectral range 0..63 and no approximation.
    const auto scans = segmentsOf(0xDA);
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans.front(), (std::vector<std::uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
    EXPECT_EQ(layout.eoiOffset, stream.size() - 2);
    EXPECT_EQ(layout.scanDataEnd, layout.eoiOffset);
}

} // namespace

TEST(RewardPicture, LoadsFromTheBuiltInResourceAsThePreviewShowsIt)
{
    const QImage picture = LoadRewardPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(465, 282));
    const QImage preview(QString::fromUtf8(WIRTOLA_SOURCE_DIR "/docs/reward.png"));
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), preview.convertToFormat(QImage::Format_RGB32));
}

// The pictures must be exactly what their generator makes now: nobody edits a JPEG by hand, and
// a change to the drawing comes with the new Polish picture (committed, with its preview) and
// the new English bytes below. Every other language's picture is the one the build drew.
TEST(RewardPicture, RegeneratingGivesTheSameBytes)
{
    const QString source = QStringLiteral(WIRTOLA_SOURCE_DIR);
    const QString built = QStringLiteral(WIRTOLA_REWARD_PICTURES_DIR "/reward_%1.jpg");
    // The English picture is made by every build, so its bytes are pinned here.
    const QByteArray englishSha256("df087000628c28f5ae303f68dbc708fcb11dcfa6ada34aed35e8da261eee68e2");
    const QStringList languages = QStringLiteral(WIRTOLA_LANGUAGES).split(QLatin1Char(' '));
    ASSERT_TRUE(languages.contains(QStringLiteral("pl")) && languages.contains(QStringLiteral("en")));
    std::map<QString, std::vector<std::uint8_t>> made;
    for (const QString& language : languages) {
        SCOPED_TRACE(language.toStdString());
        const bool polish = language == QLatin1String("pl");
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString jpeg = dir.filePath(QStringLiteral("reward.jpg"));
        const QString png = dir.filePath(QStringLiteral("reward.png"));
        QProcess generator;
        generator.start(QString::fromUtf8(WIRTOLA_REWARDGEN), {QStringLiteral("--language"), language, jpeg, png});
        ASSERT_TRUE(generator.waitForFinished(120000));
        ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

        const std::vector<std::uint8_t>& bytes = made[language] = ReadBytes(jpeg);
        ASSERT_FALSE(bytes.empty());
        ExpectTheStreamEveryReaderTakes(bytes);
        const std::vector<std::uint8_t> shipped =
            ReadBytes(polish ? source + QStringLiteral("/assets/reward/reward.jpg") : built.arg(language));
        EXPECT_TRUE(bytes == shipped) << "regenerated " << bytes.size() << " bytes, shipped " << shipped.size();
        if (polish) {
            EXPECT_TRUE(shipped == ReadBytes(QString::fromLatin1(RewardPictureResource)))
                << "the resource is not the committed picture";
            EXPECT_EQ(QImage(png), QImage(source + QStringLiteral("/docs/reward.png")));
        }
    }
    const std::vector<std::uint8_t>& english = made[QStringLiteral("en")];
    EXPECT_EQ(QCryptographicHash::hash(
                  QByteArray(reinterpret_cast<const char*>(english.data()), static_cast<qsizetype>(english.size())),
                  QCryptographicHash::Sha256)
                  .toHex(),
              englishSha256);
    EXPECT_TRUE(made[QStringLiteral("pl")] != english) << "the languages' pictures differ";
}

// A language is drawn from its own translation or not at all; a code is never a path.
TEST(RewardPicture, GeneratorRefusesALanguageItCannotDraw)
{
    const struct {
        const char* code;
        int status;
    } rows[] = {{"qaa", 1}, {"../en", 2}, {"", 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString jpeg = dir.filePath(QStringLiteral("reward.jpg"));
        QProcess generator;
        generator.start(QString::fromUtf8(WIRTOLA_REWARDGEN),
                        {QStringLiteral("--language"), QString::fromUtf8(row.code), jpeg});
        ASSERT_TRUE(generator.waitForFinished(120000));
        EXPECT_EQ(generator.exitCode(), row.status);
        EXPECT_FALSE(QFile::exists(jpeg));
    }
}
