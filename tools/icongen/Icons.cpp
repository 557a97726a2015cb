#include "tools/icongen/Icons.h"

#include "cards/CardSet.h"
#include "tools/cardgen/Art.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace icongen {
namespace {

using Grid = std::vector<std::string_view>;

// Two cards, a spade behind a heart: at 16 pixels only whole pixels of plain ink read.
const Grid Small{
    ".KKKKKKKK.......", "KWWWSWWWWK......", "KWWSSSWWWK......", "KWSSSSSWWK......",
    "KWSSSSSWWK......", "KWWWSWWKKKKKKKK.", "KWWSSSKWWWWWWWWK", "KWWWWWKWWWWWWWWK",
    "KWWWWWKWRRWWRRWK", "KWWWWWKWRRRRRRWK", "KWWWWWKWRRRRRRWK", "KWWWWWKWWRRRRWWK",
    ".KKKKKKWWWRRWWWK", "......KWWWWWWWWK", "......KWWWWWWWWK", ".......KKKKKKKK.",
};

// The fan's three cards side by side: a back, the ace of spades, the ace of hearts.
const Grid Medium{
    ".KKKKKKKKKKKK...................", "KWWWWWWWWWWWWK..................", "KWBNBNBNBNBNWK..................",
    "KWNBNBNBNBNBWK..................", "KWBNBNBNBNBNWK..................", "KWNBNBNBNBNBWK..................",
    "KWBNBNBNBKKKKKKKKKKKK...........", "KWNBNBNBKWWWWWWWWWWWWK..........", "KWBNBNBNKWWWWWWWWWWWWK..........",
    "KWNBNBNBKWWWWSWWWWWWWK..........", "KWBNBNBNKWWWSSSWWWWWWK..........", "KWNBNBNBKWWSSSSSWWWWWK..........",
    "KWBNBNBNKWSSSSSSSWWKKKKKKKKKKKK.", "KWNBNBNBKWSSSSSSSWKWWWWWWWWWWWWK", "KWBNBNBNKWWSSWSSWWKWWRWWWWWWWWWK",
    "KWNBNBNBKWWWWSWWWWKWRWRWWWWWWWWK", "KWBNBNBNKWWWSSSWWWKWRRRWWWWWWWWK", "KWNBNBNBKWWWWWWWWWKWRWRWWWWWWWWK",
    "KWWWWWWWKWWWWWWWWWKWWWWWWWWWWWWK", ".KKKKKKKKWWWWWWWWWKWWRRRWWRRRWWK", "........KWWWWWWWWWKWRRRRRRRRRRWK",
    "........KWWWWWWWWWKWRRRRRRRRRRWK", "........KWWWWWWWWWKWRRRRRRRRRRWK", "........KWWWWWWWWWKWWRRRRRRRRWWK",
    "........KWWWWWWWWWKWWWRRRRRRWWWK", ".........KKKKKKKKKKWWWWRRRRWWWWK", "..................KWWWWWRRWRWRWK",
    "..................KWWWWWWWWRRRWK", "..................KWWWWWWWWRWRWK", "..................KWWWWWWWWWRWWK",
    "..................KWWWWWWWWWWWWK", "...................KKKKKKKKKKKK.",
};

QRgb Ink(char c)
{
    switch (c) {
    case 'K':
    case 'S':
        return cardgen::ink::Black;
    case 'W':
        return cardgen::ink::White;
    case 'R':
        return cardgen::ink::Red;
    case 'B':
        return cardgen::ink::Blue;
    case 'N':
        return cardgen::ink::NavyBlue;
    case '.':
        return 0;
    }
    throw std::logic_error(std::string("no ink for '") + c + "'");
}

QImage FromGrid(const Grid& grid)
{
    const int size = static_cast<int>(grid.size());
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        if (static_cast<int>(grid[y].size()) != size)
            throw std::logic_error("icon row " + std::to_string(y) + " has the wrong width");
        for (int x = 0; x < size; ++x)
            image.setPixel(x, y, Ink(grid[y][x]));
    }
    return image;
}

// One card of the set as it is stored, with its cut corners made transparent.
QImage CardImage(std::string_view name)
{
    const cards::Bitmap8 bitmap = cardgen::GenerateCard(name);
    QImage card(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            card.setPixel(x, y, bitmap.Colour(x, y) | 0xff000000U);
    auto* pixels = reinterpret_cast<std::uint32_t*>(card.bits());
    const std::ptrdiff_t stride = card.bytesPerLine() / 4;
    const int right = card.width() - 1;
    const int bottom = card.height() - 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        cards::FloodFillBoundedByBlack(pixels, card.width(), card.height(), stride, corner.x(), corner.y(), 0);
    return card;
}

// The fan from the card images: each card turns about a point below the middle card's foot.
QImage DrawFan(int size)
{
    struct Placed {
        std::string_view name;
        qreal angle;
    };
    const Placed fan[] = {{"STD1", -24.0}, {"S13", 0.0}, {"H13", 24.0}};
    const qreal width = static_cast<qreal>(cards::CardWidth) / cards::CardHeight; // height 1
    const QRectF card(-width / 2, -1.0, width, 1.0);
    const qreal pivotDrop = 0.25; // how far below the cards' feet they turn

    auto place = [&](qreal angle) {
        QTransform t;
        t.translate(0, pivotDrop);
        t.rotate(angle);
        t.translate(0, -pivotDrop);
        return t;
    };
    QRectF bounds;
    for (const Placed& p : fan)
        bounds |= place(p.angle).mapRect(card);

    const qreal margin = size / 32.0; // room for the shadow
    const qreal scale = (size - 2 * margin) / std::max(bounds.width(), bounds.height());
    const int cardPixels = static_cast<int>(std::lround(scale));

    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    const qreal corner = 3.0 / cards::CardHeight;
    const qreal shadowOffset = 1.2 / size + 0.012;
    for (const Placed& p : fan) {
        painter.save();
        painter.setTransform(place(p.angle), true);
        QPainterPath outline;
        outline.addRoundedRect(card.translated(shadowOffset, shadowOffset), corner, corner);
        painter.fillPath(outline, QColor(0, 0, 0, 70));
        // Enlarged by whole pixels, then reduced with area averaging, so the drawing stays sharp
        // and the painter only turns an image of its own size.
        const int times = (cardPixels + cards::CardHeight - 1) / cards::CardHeight;
        const QImage image = CardImage(p.name)
                                 .scaled(cards::CardWidth * times, cards::CardHeight * times, Qt::IgnoreAspectRatio,
                                         Qt::FastTransformation)
                                 .scaled(std::max(1, static_cast<int>(std::lround(cardPixels * width))), cardPixels,
                                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(card, image);
        // The reduced card's own black edge fades to grey; a stroke of whole device pixels
        // keeps each card apart from the next.
        QPen edge(QColor(0, 0, 0), std::max(1.0, size / 128.0));
        edge.setCosmetic(true);
        painter.setPen(edge);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(card, corner, corner);
        painter.restore();
    }
    painter.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QImage DrawIcon(int size)
{
    if (size == 16)
        return FromGrid(Small);
    if (size == 32)
        return FromGrid(Medium);
    if (std::find(Sizes.begin(), Sizes.end(), size) == Sizes.end())
        throw std::invalid_argument("no icon of " + std::to_string(size) + " pixels");
    return DrawFan(size);
}

QString IconPath(const QString& folder, int size)
{
    return QDir(folder).filePath(QStringLiteral("%1x%1/%2.png").arg(size).arg(QLatin1String(IconName)));
}

void WriteIcons(const QString& folder)
{
    for (int size : Sizes) {
        const QString path = IconPath(folder, size);
        QDir().mkpath(QFileInfo(path).path());
        if (!DrawIcon(size).save(path, "PNG", 9))
            throw std::runtime_error("cannot write " + path.toStdString());
    }
}

QImage ContactSheet()
{
    constexpr QRgb Ground = 0xffd8dce0;
    const int gap = 16;
    struct Magnified {
        int size;
        int times;
    };
    const Magnified magnified[] = {{16, 8}, {32, 4}, {48, 2}};
    int width = gap;
    for (int size : Sizes)
        width += size + gap;
    const int height = gap + 256 + gap + 128 + gap;
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(Ground);
    QPainter painter(&sheet);
    int x = gap;
    for (int size : Sizes) {
        painter.drawImage(QPoint(x, gap + 256 - size), DrawIcon(size));
        x += size + gap;
    }
    x = gap;
    for (const Magnified& m : magnified) {
        const QImage icon = DrawIcon(m.size);
        painter.drawImage(QPoint(x, gap + 256 + gap),
                          icon.scaled(icon.size() * m.times, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        x += m.size * m.times + gap;
    }
    painter.end();
    return sheet;
}

} // namespace icongen
