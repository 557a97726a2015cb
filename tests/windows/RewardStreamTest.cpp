#include "JpegMarkers.h"
#include "StandardHuffmanTables.h"
#include "TestJpegs.h"
#include "windows/RewardPicture.h"

#include <QByteArray>
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

// The committed pictures must be exactly what their generator makes now: nobody edits a JPEG
// by hand, and a change to the drawing is committed together with the new pictures.
TEST(RewardPicture, RegeneratingGivesTheSameBytes)
{
    const struct {
        const char* language;
        QStringList options;
        const char* committed;
        const char* resource;
        const char* preview; // the decoded picture, committed beside it; none for English
    } pictures[] = {
        {"Polish", {}, "/assets/reward/reward.jpg", ":/reward/reward.jpg", "/docs/reward.png"},
        {"English", {QStringLiteral("--english")}, "/assets/reward/reward_en.jpg", ":/reward/reward_en.jpg", nullptr},
    };
    std::vector<std::vector<std::uint8_t>> made;
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.language);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString jpeg = dir.filePath(QStringLiteral("reward.jpg"));
        const QString png = dir.filePath(QStringLiteral("reward.png"));
        QProcess generator;
        generator.start(QString::fromUtf8(WIRTOLA_REWARDGEN), picture.options + QStringList{jpeg, png});
        ASSERT_TRUE(generator.waitForFinished(120000));
        ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

        made.push_back(ReadBytes(jpeg));
        const std::vector<std::uint8_t> committed =
            ReadBytes(QString::fromUtf8(WIRTOLA_SOURCE_DIR) + QString::fromUtf8(picture.committed));
        ASSERT_FALSE(made.back().empty());
        ExpectTheStreamEveryReaderTakes(made.back());
        EXPECT_TRUE(made.back() == committed)
            << "regenerated " << made.back().size() << " bytes, committed " << committed.size();
        EXPECT_TRUE(committed == ReadBytes(QString::fromUtf8(picture.resource)))
            << "the resource is not the committed picture";
        if (picture.preview) {
            EXPECT_EQ(QImage(png), QImage(QString::fromUtf8(WIRTOLA_SOURCE_DIR) + QString::fromUtf8(picture.preview)));
        }
    }
    EXPECT_TRUE(made.size() == 2 && made[0] != made[1]) << "the languages' pictures differ";
}
