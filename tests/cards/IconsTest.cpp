#include "tools/icongen/Icons.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

QImage Committed(const QString& path)
{
    return QImage(QString::fromUtf8(WIRTOLA_SOURCE_DIR "/") + path).convertToFormat(QImage::Format_ARGB32);
}

// The largest difference of one colour channel between two pictures; -1 when their sizes differ.
int LargestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)})
                largest = std::max(largest, std::abs(d));
        }
    }
    return largest;
}

// The installed icons and their picture in docs/ must be what the generator draws now. Pixels
// are compared rather than bytes, so another zlib may pack them differently, and a channel may
// be one off: Qt's smooth scaling rounds differently on processors with other vector units.
TEST(Icons, CommittedPicturesMatchTheGenerator)
{
    for (int size : icongen::Sizes) {
        SCOPED_TRACE(size);
        const QImage made = icongen::DrawIcon(size);
        ASSERT_EQ(made.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(made.pixel(0, 0)), 0) << "the corner must show the desktop through";
        const int difference =
            LargestDifference(made, Committed(icongen::IconPath(QStringLiteral("assets/icons"), size)));
        EXPECT_TRUE(difference == 0 || difference == 1)
            << "assets/icons differ from the generator's output by " << difference;
    }
    const int difference = LargestDifference(icongen::ContactSheet(), Committed(QStringLiteral("docs/icons.png")));
    EXPECT_TRUE(difference == 0 || difference == 1)
        << "docs/icons.png differs from the generator's output by " << difference;
}

} // namespace
