#pragma once

// A pixel canvas for drawing one card image: shapes are filled where at least half of a
// pixel is covered (measured at 4 x 4 samples), so edges are crisp and carry no blended
// colours, and each shape may get a one-pixel outline of its own.

#include "cards/CardSet.h"

#include <QImage>
#include <QPainterPath>
#include <QRgb>

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace cardgen {

// A pixel picture written as rows of characters; '.' and ' ' are transparent.
struct Sprite {
    std::vector<std::string_view> rows;
    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    int Height() const { return static_cast<int>(rows.size()); }
};
using Inks = std::map<char, QRgb>;

class Canvas {
public:
    explicit Canvas(QRgb ground, int width = cards::CardWidth, int height = cards::CardHeight);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QRgb At(int x, int y) const;
    void Set(int x, int y, QRgb colour);
    void Fill(int x, int y, int width, int height, QRgb colour);
    void HLine(int x1, int x2, int y, QRgb colour) { Fill(x1, y, x2 - x1 + 1, 1, colour); }
    void VLine(int x, int y1, int y2, QRgb colour) { Fill(x, y1, 1, y2 - y1 + 1, colour); }

    // Pixels of the path (in pixel units, 0,0 the top-left corner of the top-left pixel).
    std::vector<bool> Mask(const QPainterPath& path) const;
    // Fills the path; with an outline, the shape's own border pixels take that colour.
    void Shape(const QPainterPath& path, QRgb fill, std::optional<QRgb> outline = std::nullopt);
    // Only recolours pixels of the path that hold `where`.
    void ShapeOver(const QPainterPath& path, QRgb where, QRgb fill);
    void Line(QPointF from, QPointF to, QRgb colour, qreal width = 1.0);

    void Draw(const Sprite& sprite, const Inks& inks, int x, int y, bool turned = false);
    // Copies the area, turned by half a circle, onto its mirror place about the card's centre.
    void CopyTurned(int x, int y, int width, int height);
    // Mirrors the area left to right in place.
    void FlipHorizontally(int x, int y, int width, int height);

    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

QPainterPath Poly(std::initializer_list<QPointF> points);
QPainterPath Ellipse(qreal cx, qreal cy, qreal rx, qreal ry);
// A shape drawn in the unit square, stretched onto the box.
QPainterPath Placed(const QPainterPath& unit, QRectF box);

// Reduces the canvas to a palette image; every colour must be one of the palette's.
cards::Bitmap8 Reduce(const Canvas& canvas, const std::vector<QRgb>& palette);

} // namespace cardgen
