#include "tools/cardgen/Canvas.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <stdexcept>

namespace cardgen {
namespace {

constexpr int Samples = 4; // per pixel side

} // namespace

Canvas::Canvas(QRgb ground, int width, int height)
    : image_(width, height, QImage::Format_RGB32)
{
    image_.fill(ground);
}

QRgb Canvas::At(int x, int y) const
{
    return image_.pixel(x, y) | 0xff000000U;
}

void Canvas::Set(int x, int y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < Width() && y < Height())
        image_.setPixel(x, y, colour);
}

void Canvas::Fill(int x, int y, int width, int height, QRgb colour)
{
    for (int py = y; py < y + height; ++py)
        for (int px = x; px < x + width; ++px)
            Set(px, py, colour);
}

std::vector<bool> Canvas::Mask(const QPainterPath& path) const
{
    QImage fine(Width() * Samples, Height() * Samples, QImage::Format_Grayscale8);
    fine.fill(0);
    {
        QPainter painter(&fine);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.scale(Samples, Samples);
        painter.drawPath(path);
    }
    std::vector<bool> mask(static_cast<std::size_t>(Width()) * Height(), false);
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x) {
            int covered = 0;
            for (int sy = 0; sy < Samples; ++sy) {
                const uchar* line = fine.constScanLine(y * Samples + sy) + x * Samples;
                covered += static_cast<int>(std::count_if(line, line + Samples, [](uchar v) { return v != 0; }));
            }
            mask[static_cast<std::size_t>(y) * Width() + x] = covered * 2 >= Samples * Samples;
        }
    return mask;
}

void Canvas::Shape(const QPainterPath& path, QRgb fill, std::optional<QRgb> outline)
{
    const std::vector<bool> mask = Mask(path);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Width() && y < Height() && mask[static_cast<std::size_t>(y) * Width() + x];
    };
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            Set(x, y, edge && outline ? *outline : fill);
        }
}

void Canvas::ShapeOver(const QPainterPath& path, QRgb where, QRgb fill)
{
    const std::vector<bool> mask = Mask(path);
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (mask[static_cast<std::size_t>(y) * Width() + x] && At(x, y) == (where | 0xff000000U))
                Set(x, y, fill);
}

void Canvas::Line(QPointF from, QPointF to, QRgb colour, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::SquareCap);
    QPainterPath path(from);
    path.lineTo(to);
    Shape(stroker.createStroke(path), colour);
}

void Canvas::Draw(const Sprite& sprite, const Inks& inks, int x, int y, bool turned)
{
    for (int row = 0; row < sprite.Height(); ++row)
        for (int col = 0; col < sprite.Width(); ++col) {
            const char c = sprite.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            if (c == '.' || c == ' ')
                continue;
            const auto ink = inks.find(c);
            if (ink == inks.end())
                throw std::logic_error(std::string("no ink for '") + c + "'");
            if (turned)
                Set(x + sprite.Width() - 1 - col, y + sprite.Height() - 1 - row, ink->second);
            else
                Set(x + col, y + row, ink->second);
        }
}

void Canvas::CopyTurned(int x, int y, int width, int height)
{
    const QImage source = image_.copy(x, y, width, height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            Set(Width() - 1 - (x + col), Height() - 1 - (y + row), source.pixel(col, row));
}

void Canvas::FlipHorizontally(int x, int y, int width, int height)
{
    const QImage source = image_.copy(x, y, width, height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            Set(x + width - 1 - col, y + row, source.pixel(col, row));
}

QPainterPath Poly(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(points));
    p.closeSubpath();
    return p;
}

QPainterPath Ellipse(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), rx, ry);
    return p;
}

QPainterPath Placed(const QPainterPath& unit, QRectF box)
{
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(unit);
}

cards::Bitmap8 Reduce(const Canvas& canvas, const std::vector<QRgb>& palette)
{
    if (palette.size() > static_cast<std::size_t>(cards::PaletteSize))
        throw std::logic_error("palette too large");
    cards::Bitmap8 out;
    out.width = canvas.Width();
    out.height = canvas.Height();
    out.palette.fill(0xff000000U);
    std::copy(palette.begin(), palette.end(), out.palette.begin());
    out.indices.reserve(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const QRgb colour = canvas.At(x, y);
            const auto found = std::find(palette.begin(), palette.end(), colour);
            if (found == palette.end())
                throw std::logic_error("colour outside the palette at " + std::to_string(x) + "," + std::to_string(y));
            out.indices.push_back(static_cast<std::uint8_t>(found - palette.begin()));
        }
    return out;
}

} // namespace cardgen
