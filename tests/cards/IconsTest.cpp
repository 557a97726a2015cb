#include "tools/icongen/Icons.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Compared premultiplied, as they are drawn: the colour a nearly clear pixel is stored with
// (127 or 128 grey under an alpha of 6) depends on how the Qt build rounds it back, not on us.
QImage Premultiplied(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Committed(const QString& path)
{
    return Premultiplied(QImage(QString::fromUtf8(WIRTOLA_SOURCE_DIR "/") + path));
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
        EXPECT_EQ(Premultiplied(made), Committed(icongen::IconPath(QStringLiteral("assets/icons"), size)))
            << "assets/icons differ from the generator's output";
    }
    EXPECT_EQ(Premultiplied(icongen::ContactSheet()), Committed(QStringLiteral("docs/icons.png")))
        << "docs/icons.png differs from the generator's output";
}

} // namespace
