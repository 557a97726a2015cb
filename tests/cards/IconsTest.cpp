#include "tools/icongen/Icons.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage Committed(const QString& path)
{
    return QImage(QString::fromUtf8(WIRTOLA_SOURCE_DIR "/") + path).convertToFormat(QImage::Format_ARGB32);
}

// The installed icons and their picture in docs/ must be exactly what the generator draws now;
// pixels are compared rather than bytes, so another zlib may pack them differently.
TEST(Icons, CommittedPicturesMatchTheGenerator)
{
    for (int size : icongen::Sizes) {
        SCOPED_TRACE(size);
        const QImage made = icongen::DrawIcon(size);
        ASSERT_EQ(made.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(made.pixel(0, 0)), 0) << "the corner must show the desktop through";
        EXPECT_EQ(made, Committed(icongen::IconPath(QStringLiteral("assets/icons"), size)))
            << "assets/icons differ from the generator's output";
    }
    EXPECT_EQ(icongen::ContactSheet(), Committed(QStringLiteral("docs/icons.png")))
        << "docs/icons.png differs from the generator's output";
}

} // namespace
