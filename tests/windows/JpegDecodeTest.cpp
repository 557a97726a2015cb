#include "TestJpegs.h"
#include "windows/JpegPicture.h"
#include "windows/RewardPicture.h"

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::vector<std::uint8_t> RewardStream()
{
    return ReadBytes(QString::fromLatin1(RewardPictureResource));
}

std::optional<JpegPicture> Decode(const std::vector<std::uint8_t>& s)
{
    return DecodeJpeg(s.data(), s.size());
}

QImage DecodeToImage(const std::vector<std::uint8_t>& s)
{
    return DecodeJpegToImage(QByteArray(reinterpret_cast<const char*>(s.data()), static_cast<qsizetype>(s.size())));
}

std::size_t Find(const std::vector<std::uint8_t>& s, std::uint8_t marker)
{
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == 0xFF && s[i + 1] == marker)
            return i;
    return s.size();
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> s, std::size_t size)
{
    s.resize(std::min(size, s.size()));
    return s;
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> s, std::size_t at, std::vector<std::uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), s.begin() + static_cast<std::ptrdiff_t>(at));
    return s;
}

} // namespace

TEST(DecodeJpeg, DecodesTheRewardPictureAt465x282)
{
    const auto picture = Decode(RewardStream());
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 465);
    EXPECT_EQ(picture->height, 282);
    EXPECT_EQ(picture->rgb.size(), 465u * 282u * 3u);
}

// Every damaged or unsupported stream gives a clean "no" and prints nothing; before the error
// manager, any of these ended the process or wrote libjpeg's warnings to the terminal.
TEST(DecodeJpeg, DamagedOrUnsupportedStreamsFailCleanly)
{
    const std::vector<std::uint8_t> good = RewardStream();
    ASSERT_FALSE(good.empty());
    const std::size_t sof = Find(good, 0xC0);
    const std::size_t sos = Find(good, 0xDA);
    const std::size_t scan = sos + 2 + ((good[sos + 2] << 8) | good[sos + 3]);
    const std::size_t middle = (scan + good.size()) / 2;

    TestJpegOptions progressive;
    progressive.progressive = true;
    TestJpegOptions arithmetic;
    arithmetic.arithmetic = true;

    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases{
        {"zero length", {}},
        {"start marker only", Cut(good, 2)},
        {"cut after the headers", Cut(good, scan)},
        {"cut in the middle of the scan", Cut(good, middle)},
        {"cut before the end marker", Cut(good, good.size() - 2)},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"frame width zero", Patched(good, sof + 7, {0, 0})},
        {"frame names a missing quantisation table", Patched(good, sof + 12, {3})},
        {"frame with four components", Patched(good, sof + 9, {4})},
        {"stray restart marker in the scan", Patched(good, middle, {0xFF, 0xD5})},
        {"stray frame marker in the scan", Patched(good, middle, {0xFF, 0xC0})},
        {"progressive", MakeTestJpeg(progressive)},
        {"arithmetic coded", MakeTestJpeg(arithmetic)},
    };
    for (const auto& [name, stream] : cases) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStderr();
        const bool decoded = Decode(stream).has_value();
        const bool imaged = !DecodeToImage(stream).isNull();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_FALSE(decoded);
        EXPECT_FALSE(imaged);
    }
}

TEST(DecodeJpeg, RefusesPicturesAboveTheSizeLimits)
{
    struct Case {
        int width, height;
        bool accepted;
    };
    const std::vector<Case> cases{
        {JpegMaxSide, 8, true}, {JpegMaxSide + 1, 8, false}, {8, JpegMaxSide + 1, false},
        {2048, 2048, true},     {2048, 2049, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        TestJpegOptions options;
        options.width = c.width;
        options.height = c.height;
        options.components = 1;
        const auto picture = Decode(MakeTestJpeg(options));
        EXPECT_EQ(picture.has_value(), c.accepted);
    }
}

// An odd width makes QImage pad its rows, and a colour picture shows whether the channels
// arrive in the right order.
TEST(DecodeJpegToImage, ColourAndGreyPicturesArriveAsTheirColours)
{
    struct Case {
        const char* name;
        int components;
        QRgb fill;
    };
    const std::vector<Case> cases{
        {"colour", 3, qRgb(200, 40, 30)},
        {"other colour", 3, qRgb(20, 90, 220)},
        {"grey", 1, qRgb(120, 120, 120)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestJpegOptions options;
        options.width = 17;
        options.height = 9;
        options.components = c.components;
        options.red = static_cast<std::uint8_t>(qRed(c.fill));
        options.green = static_cast<std::uint8_t>(qGreen(c.fill));
        options.blue = static_cast<std::uint8_t>(qBlue(c.fill));
        const QImage image = DecodeToImage(MakeTestJpeg(options));
        ASSERT_EQ(image.size(), QSize(17, 9));
        for (const QPoint at : {QPoint(0, 0), QPoint(16, 0), QPoint(0, 8), QPoint(16, 8), QPoint(8, 4)}) {
            const QRgb got = image.pixel(at);
            SCOPED_TRACE(testing::Message() << "pixel " << at.x() << "," << at.y());
            EXPECT_NEAR(qRed(got), qRed(c.fill), 3);
            EXPECT_NEAR(qGreen(got), qGreen(c.fill), 3);
            EXPECT_NEAR(qBlue(got), qBlue(c.fill), 3);
        }
    }
}
