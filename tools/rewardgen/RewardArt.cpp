#include "tools/rewardgen/RewardArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <numbers>

namespace {

// The Amen button is laid over the picture at 199..263 x 61..84 (picture coordinates), so the
// top lines end above it and the ornaments of that row leave it room.
constexpr double ButtonRowY = 72.5;
constexpr double ButtonLeft = 199;
constexpr double ButtonRight = 263;
constexpr double CentreX = RewardWidth / 2.0;

const QColor FeltLight(0x1f, 0x7a, 0x45);
const QColor FeltDark(0x06, 0x2e, 0x18);
const QColor GoldLight(0xff, 0xf0, 0xa8);
const QColor Gold(0xe8, 0xb9, 0x3a);
const QColor GoldDark(0x9a, 0x6a, 0x0c);
const QColor Ink(0x3a, 0x22, 0x00);
const QColor CardRed(0xc8, 0x1e, 0x2a);
const QColor CardBlack(0x1a, 0x1a, 0x22);

enum class Suit { Clubs, Diamonds, Hearts, Spades };

QColor SuitColour(Suit suit)
{
    return suit == Suit::Hearts || suit == Suit::Diamonds ? CardRed : CardBlack;
}

// Suit shapes are drawn in a unit square and mapped into place, so they scale cleanly.
QPainterPath UnitSuit(Suit suit)
{
    QPainterPath path;
    switch (suit) {
    case Suit::Hearts:
        path.moveTo(0.5, 1.0);
        path.cubicTo(0.12, 0.72, 0.0, 0.5, 0.0, 0.3);
        path.cubicTo(0.0, 0.1, 0.14, 0.0, 0.28, 0.0);
        path.cubicTo(0.4, 0.0, 0.48, 0.08, 0.5, 0.2);
        path.cubicTo(0.52, 0.08, 0.6, 0.0, 0.72, 0.0);
        path.cubicTo(0.86, 0.0, 1.0, 0.1, 1.0, 0.3);
        path.cubicTo(1.0, 0.5, 0.88, 0.72, 0.5, 1.0);
        break;
    case Suit::Diamonds:
        path.moveTo(0.5, 0.0);
        path.quadTo(0.68, 0.28, 0.88, 0.5);
        path.quadTo(0.68, 0.72, 0.5, 1.0);
        path.quadTo(0.32, 0.72, 0.12, 0.5);
        path.quadTo(0.32, 0.28, 0.5, 0.0);
        break;
    case Suit::Spades:
        path.moveTo(0.5, 0.0);
        path.cubicTo(0.88, 0.3, 1.0, 0.44, 1.0, 0.58);
        path.cubicTo(1.0, 0.74, 0.86, 0.82, 0.73, 0.82);
        path.cubicTo(0.63, 0.82, 0.56, 0.77, 0.53, 0.71);
        path.quadTo(0.56, 0.92, 0.7, 1.0);
        path.lineTo(0.3, 1.0);
        path.quadTo(0.44, 0.92, 0.47, 0.71);
        path.cubicTo(0.44, 0.77, 0.37, 0.82, 0.27, 0.82);
        path.cubicTo(0.14, 0.82, 0.0, 0.74, 0.0, 0.58);
        path.cubicTo(0.0, 0.44, 0.12, 0.3, 0.5, 0.0);
        break;
    case Suit::Clubs: {
        path.addEllipse(QPointF(0.5, 0.25), 0.23, 0.23);
        path.addEllipse(QPointF(0.25, 0.56), 0.23, 0.23);
        path.addEllipse(QPointF(0.75, 0.56), 0.23, 0.23);
        QPainterPath stem;
        stem.moveTo(0.46, 0.4);
        stem.lineTo(0.54, 0.4);
        stem.quadTo(0.56, 0.9, 0.7, 1.0);
        stem.lineTo(0.3, 1.0);
        stem.quadTo(0.44, 0.9, 0.46, 0.4);
        path.addRect(QRectF(0.4, 0.4, 0.2, 0.2));
        path = path.united(stem).simplified();
        break;
    }
    }
    path.closeSubpath();
    return path;
}

QPainterPath SuitPath(Suit suit, const QRectF& box)
{
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(UnitSuit(suit));
}

QFont PixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QLinearGradient GoldGradient(double top, double bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.0, GoldLight);
    g.setColorAt(0.45, Gold);
    g.setColorAt(0.55, QColor(0xd0, 0x98, 0x20));
    g.setColorAt(1.0, GoldLight);
    return g;
}

// Text as an outline, centred on x: a soft shadow, a dark rim, then the fill.
void DrawCentredText(QPainter& p, const QString& text, const QFont& font, double baseline, const QBrush& fill,
                     double rim)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    path.translate(CentreX - bounds.center().x(), baseline);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(path.translated(1.6, 1.8));
    p.setPen(QPen(Ink, rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

void DrawSparkle(QPainter& p, QPointF at, double size, const QColor& colour)
{
    QPainterPath star;
    const double w = size * 0.22;
    star.moveTo(at.x(), at.y() - size);
    star.quadTo(at.x() + w * 0.3, at.y() - w * 0.3, at.x() + size, at.y());
    star.quadTo(at.x() + w * 0.3, at.y() + w * 0.3, at.x(), at.y() + size);
    star.quadTo(at.x() - w * 0.3, at.y() + w * 0.3, at.x() - size, at.y());
    star.quadTo(at.x() - w * 0.3, at.y() - w * 0.3, at.x(), at.y() - size);
    QRadialGradient glow(at, size * 1.2);
    glow.setColorAt(0.0, QColor(255, 255, 255, 140));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, size * 1.2, size * 1.2);
    p.setBrush(colour);
    p.drawPath(star);
}

void DrawBackground(QPainter& p)
{
    QRadialGradient felt(QPointF(CentreX, 150), 300);
    felt.setColorAt(0.0, FeltLight);
    felt.setColorAt(1.0, FeltDark);
    p.fillRect(QRectF(0, 0, RewardWidth, RewardHeight), felt);

    // A faint lattice of diamonds, like the weave of a card table's cloth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 9));
    for (int row = 0; row * 18 < RewardHeight + 18; ++row)
        for (int col = 0; col * 24 < RewardWidth + 24; ++col) {
            const double x = col * 24 + (row % 2) * 12;
            const double y = row * 18;
            p.drawPath(SuitPath(Suit::Diamonds, QRectF(x - 4, y - 5, 8, 10)));
        }

    // Gold rims: a broad one at the edge and a thin one inside it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(GoldGradient(0, RewardHeight)), 3));
    p.drawRect(QRectF(3.5, 3.5, RewardWidth - 7, RewardHeight - 7));
    p.setPen(QPen(QColor(0xe8, 0xb9, 0x3a, 170), 1));
    p.drawRoundedRect(QRectF(8.5, 8.5, RewardWidth - 17, RewardHeight - 17), 6, 6);

    const std::array<Suit, 4> corners{Suit::Spades, Suit::Hearts, Suit::Diamonds, Suit::Clubs};
    const std::array<QPointF, 4> places{QPointF(21, 21), QPointF(RewardWidth - 21, 21), QPointF(21, RewardHeight - 21),
                                        QPointF(RewardWidth - 21, RewardHeight - 21)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(GoldGradient(places[i].y() - 8, places[i].y() + 8));
        p.drawPath(SuitPath(corners[i], QRectF(places[i].x() - 7, places[i].y() - 8, 14, 16)));
    }
}

// Gold rules with a diamond at each end lead in from both sides to the button's place.
void DrawButtonRow(QPainter& p)
{
    const double gap = 10;
    const std::array<std::pair<double, double>, 2> spans{std::pair{34.0, ButtonLeft - gap},
                                                         std::pair{ButtonRight + gap, RewardWidth - 34.0}};
    for (const auto& [from, to] : spans) {
        QLinearGradient fade(from, 0, to, 0);
        const bool left = from < CentreX;
        fade.setColorAt(left ? 0.0 : 1.0, QColor(0xe8, 0xb9, 0x3a, 0));
        fade.setColorAt(left ? 1.0 : 0.0, Gold);
        p.setPen(QPen(QBrush(fade), 1.6));
        p.drawLine(QPointF(from, ButtonRowY - 2.5), QPointF(to, ButtonRowY - 2.5));
        p.drawLine(QPointF(from, ButtonRowY + 2.5), QPointF(to, ButtonRowY + 2.5));
        const double tip = left ? to : from;
        p.setPen(QPen(Ink, 1));
        p.setBrush(GoldGradient(ButtonRowY - 7, ButtonRowY + 7));
        p.drawPath(SuitPath(Suit::Diamonds, QRectF(tip - 6, ButtonRowY - 8, 12, 16)));
        const double mid = (from + to) / 2 + (left ? 18 : -18);
        p.drawPath(SuitPath(left ? Suit::Hearts : Suit::Spades, QRectF(mid - 6, ButtonRowY - 6.5, 12, 13)));
    }
}

void DrawPlayingCard(QPainter& p, const QString& rank, Suit suit, bool face)
{
    // Drawn around the origin; the caller has rotated and moved the painter.
    const QRectF card(-23, -33, 46, 66);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(card.translated(2, 2), 4, 4);
    QLinearGradient paper(card.topLeft(), card.bottomRight());
    paper.setColorAt(0.0, QColor(0xff, 0xfe, 0xf8));
    paper.setColorAt(1.0, QColor(0xee, 0xe8, 0xd8));
    p.setPen(QPen(QColor(0x70, 0x68, 0x58), 0.8));
    p.setBrush(paper);
    p.drawRoundedRect(card, 4, 4);

    const QColor colour = SuitColour(suit);
    p.setPen(colour);
    p.drawText(QRectF(card.left() + 2, card.top() + 1, 14, 12), Qt::AlignCenter, rank);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(SuitPath(suit, QRectF(card.left() + 4.5, card.top() + 13, 9, 9)));

    if (face) {
        QRectF panel(-13, -18, 30, 44);
        p.setPen(QPen(GoldDark, 1));
        p.setBrush(QColor(0xfb, 0xef, 0xc4));
        p.drawRect(panel);
        p.setPen(QPen(colour, 1));
        p.drawRect(panel.adjusted(2, 2, -2, -2));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(SuitPath(suit, QRectF(-5, -4, 14, 14)));
        // A little crown over the suit marks the court card.
        QPainterPath crown;
        crown.moveTo(-5, -8);
        crown.lineTo(-5, -14);
        crown.lineTo(-1.5, -10.5);
        crown.lineTo(2, -15);
        crown.lineTo(5.5, -10.5);
        crown.lineTo(9, -14);
        crown.lineTo(9, -8);
        crown.closeSubpath();
        p.setPen(QPen(GoldDark, 0.8));
        p.setBrush(Gold);
        p.drawPath(crown);
    } else {
        p.drawPath(SuitPath(suit, QRectF(-9, -6, 22, 22)));
    }
}

// A royal flush in hearts, fanned: the hand that doubles a fund.
void DrawCardFan(QPainter& p, const RewardFonts& fonts, QPointF pivot, const std::array<QString, 5>& ranks)
{
    QFont font = PixelFont(fonts.sans, 11);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(pivot);
        p.rotate(-36 + i * 18);
        p.translate(0, -66);
        p.setFont(font);
        const bool court = i >= 1 && i <= 3;
        DrawPlayingCard(p, ranks[i], Suit::Hearts, court);
        p.restore();
    }
}

void DrawCoin(QPainter& p, QPointF centre, double rx, double ry)
{
    // The rim, then the face, as a coin lying flat and seen from above at a slant.
    p.setPen(QPen(GoldDark.darker(130), 0.8));
    p.setBrush(QColor(0xb8, 0x82, 0x14));
    p.drawEllipse(centre + QPointF(0, 2.5), rx, ry);
    QLinearGradient face(centre.x() - rx, 0, centre.x() + rx, 0);
    face.setColorAt(0.0, QColor(0xf6, 0xd3, 0x5c));
    face.setColorAt(0.5, GoldLight);
    face.setColorAt(1.0, QColor(0xd9, 0xa5, 0x2a));
    p.setBrush(face);
    p.drawEllipse(centre, rx, ry);
    p.setPen(QPen(QColor(0xa8, 0x74, 0x10), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, rx * 0.72, ry * 0.66);
}

void DrawCoinStacks(QPainter& p, const RewardFonts& fonts)
{
    struct Stack {
        double x;
        double bottom;
        int coins;
    };
    const std::array<Stack, 4> stacks{Stack{318, 204, 7}, Stack{402, 206, 5}, Stack{360, 214, 10}, Stack{330, 222, 3}};
    for (const Stack& s : stacks)
        for (int c = 0; c < s.coins; ++c)
            DrawCoin(p, QPointF(s.x, s.bottom - c * 5.2), 19, 6.5);

    // One coin stands upright in front, showing its face.
    const QPointF centre(398, 170);
    const double r = 24;
    p.setPen(QPen(GoldDark.darker(140), 1));
    p.setBrush(QColor(0xb0, 0x7c, 0x10));
    p.drawEllipse(centre + QPointF(2.5, 0), r, r);
    QRadialGradient shine(centre + QPointF(-8, -9), r * 1.5);
    shine.setColorAt(0.0, QColor(0xff, 0xf8, 0xd0));
    shine.setColorAt(0.5, QColor(0xf2, 0xc8, 0x48));
    shine.setColorAt(1.0, QColor(0xb8, 0x86, 0x18));
    p.setBrush(shine);
    p.drawEllipse(centre, r, r);
    p.setPen(QPen(QColor(0xa0, 0x6c, 0x08), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r - 4, r - 4);
    QPainterPath mark;
    mark.addText(0, 0, PixelFont(fonts.serif, 19), QString::fromUtf8("zł"));
    const QRectF b = mark.boundingRect();
    mark.translate(centre.x() - b.center().x(), centre.y() - b.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x4e, 0x00));
    p.drawPath(mark.translated(0.8, 0.8));
    p.setBrush(QColor(0xff, 0xf4, 0xc0));
    p.drawPath(mark);
}

QPainterPath Leaf(QPointF base, double angle, double length)
{
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.quadTo(length * 0.5, -length * 0.32, length, 0);
    leaf.quadTo(length * 0.5, length * 0.32, 0, 0);
    QTransform t;
    t.translate(base.x(), base.y());
    t.rotate(angle);
    return t.map(leaf);
}

// Laurel branches curve up both sides of the portrait's frame from its foot towards its top.
// Angles run from the bottom of the ellipse (0) round to its top (180 degrees).
void DrawLaurel(QPainter& p, QPointF centre, double rx, double ry)
{
    const auto at = [&](int side, double degrees) {
        const double a = degrees * std::numbers::pi / 180;
        return QPointF(centre.x() + side * std::sin(a) * rx, centre.y() + std::cos(a) * ry);
    };
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath stem;
        stem.moveTo(at(side, 22));
        for (int d = 26; d <= 158; d += 4)
            stem.lineTo(at(side, d));
        p.setPen(QPen(QColor(0x8a, 0x6a, 0x14), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
        for (int i = 0; i < 13; ++i) {
            const double degrees = 28 + i * 10.5;
            const double a = degrees * std::numbers::pi / 180;
            const QPointF pt = at(side, degrees);
            // The direction in which the branch grows here, along the ellipse.
            const double along = std::atan2(-std::sin(a) * ry, side * std::cos(a) * rx) * 180 / std::numbers::pi;
            const double size = 17 - i * 0.6;
            QLinearGradient g(pt, pt + QPointF(0, -size));
            g.setColorAt(0.0, QColor(0x4f, 0x80, 0x22));
            g.setColorAt(1.0, QColor(0xa8, 0xc8, 0x52));
            p.setPen(QPen(QColor(0x23, 0x3c, 0x0c), 0.6));
            p.setBrush(g);
            p.drawPath(Leaf(pt, along - 32, size));
            p.drawPath(Leaf(pt, along + 32, size));
        }
        p.setPen(QPen(GoldDark, 0.6));
        p.setBrush(QColor(0xd8, 0x3a, 0x2a));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(at(side, 48 + i * 30), 2.2, 2.2);
    }
}

// The portrait: a cheerful player in a top hat, bow tie and monocle, winking at his winnings.
void DrawPortrait(QPainter& p, QPointF c, double rx, double ry)
{
    const QRectF oval(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry);
    p.save();
    QPainterPath clip;
    clip.addEllipse(oval);
    p.setClipPath(clip);

    QRadialGradient sky(c + QPointF(0, -10), ry * 1.2);
    sky.setColorAt(0.0, QColor(0xff, 0xf6, 0xdc));
    sky.setColorAt(0.7, QColor(0xf3, 0xd9, 0x98));
    sky.setColorAt(1.0, QColor(0xd9, 0xae, 0x5c));
    p.fillRect(oval, sky);
    // Rays behind the figure.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    for (int i = 0; i < 16; i += 2) {
        QPainterPath ray;
        ray.moveTo(c + QPointF(0, 5));
        const double a0 = i * std::numbers::pi / 8;
        const double a1 = (i + 1) * std::numbers::pi / 8;
        ray.lineTo(c + QPointF(std::cos(a0) * 120, std::sin(a0) * 120 + 5));
        ray.lineTo(c + QPointF(std::cos(a1) * 120, std::sin(a1) * 120 + 5));
        ray.closeSubpath();
        p.drawPath(ray);
    }

    const double x = c.x();
    const double headY = c.y() + 2;
    const QColor skin(0xf4, 0xc8, 0x9c);
    const QColor skinShade(0xd9, 0xa0, 0x70);
    const QColor hair(0x5a, 0x36, 0x1c);

    // Jacket with lapels, shirt front and bow tie.
    QPainterPath jacket;
    jacket.moveTo(x - 60, oval.bottom() + 5);
    jacket.cubicTo(x - 56, headY + 36, x - 40, headY + 30, x - 12, headY + 27);
    jacket.lineTo(x + 12, headY + 27);
    jacket.cubicTo(x + 40, headY + 30, x + 56, headY + 36, x + 60, oval.bottom() + 5);
    jacket.closeSubpath();
    QLinearGradient cloth(x - 50, 0, x + 50, 0);
    cloth.setColorAt(0.0, QColor(0x14, 0x16, 0x2a));
    cloth.setColorAt(0.5, QColor(0x2c, 0x30, 0x52));
    cloth.setColorAt(1.0, QColor(0x14, 0x16, 0x2a));
    p.setPen(QPen(QColor(0x08, 0x08, 0x10), 1));
    p.setBrush(cloth);
    p.drawPath(jacket);

    QPainterPath shirt;
    shirt.moveTo(x - 13, headY + 27);
    shirt.lineTo(x + 13, headY + 27);
    shirt.lineTo(x, oval.bottom() + 5);
    shirt.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0x9a, 0xa8), 0.8));
    p.setBrush(QColor(0xfa, 0xfa, 0xff));
    p.drawPath(shirt);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x1a, 0x22));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(x, headY + 42 + i * 9), 1.4, 1.4);

    QPainterPath lapels;
    lapels.moveTo(x - 13, headY + 27);
    lapels.lineTo(x - 4, oval.bottom() + 5);
    lapels.lineTo(x - 22, headY + 44);
    lapels.closeSubpath();
    lapels.moveTo(x + 13, headY + 27);
    lapels.lineTo(x + 4, oval.bottom() + 5);
    lapels.lineTo(x + 22, headY + 44);
    lapels.closeSubpath();
    p.setPen(QPen(QColor(0x05, 0x05, 0x0c), 0.8));
    p.setBrush(QColor(0x3a, 0x3e, 0x66));
    p.drawPath(lapels);

    // A white pocket square with a red heart in the breast pocket.
    p.setPen(QPen(QColor(0x9a, 0x9a, 0xa8), 0.6));
    p.setBrush(QColor(0xfa, 0xfa, 0xff));
    p.drawRect(QRectF(x + 24, headY + 46, 12, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(CardRed);
    p.drawPath(SuitPath(Suit::Hearts, QRectF(x + 27, headY + 40, 6, 6)));

    // Neck.
    p.setBrush(skinShade);
    p.drawRect(QRectF(x - 8, headY + 16, 16, 12));

    QPainterPath bow;
    bow.moveTo(x, headY + 29);
    bow.lineTo(x - 12, headY + 23);
    bow.lineTo(x - 12, headY + 35);
    bow.closeSubpath();
    bow.moveTo(x, headY + 29);
    bow.lineTo(x + 12, headY + 23);
    bow.lineTo(x + 12, headY + 35);
    bow.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x06, 0x10), 0.8));
    p.setBrush(CardRed);
    p.drawPath(bow);
    p.drawEllipse(QPointF(x, headY + 29), 3, 3);

    // Ears, then the head.
    p.setPen(QPen(skinShade, 0.8));
    p.setBrush(skin);
    p.drawEllipse(QPointF(x - 22, headY - 2), 4.5, 6.5);
    p.drawEllipse(QPointF(x + 22, headY - 2), 4.5, 6.5);
    QRadialGradient face(QPointF(x - 6, headY - 8), 30);
    face.setColorAt(0.0, QColor(0xff, 0xe0, 0xbc));
    face.setColorAt(1.0, skin);
    p.setPen(QPen(skinShade, 1));
    p.setBrush(face);
    p.drawEllipse(QPointF(x, headY - 2), 21, 24);

    // Sideburns.
    p.setPen(Qt::NoPen);
    p.setBrush(hair);
    p.drawRoundedRect(QRectF(x - 21, headY - 14, 5, 13), 2, 2);
    p.drawRoundedRect(QRectF(x + 16, headY - 14, 5, 13), 2, 2);

    // Rosy cheeks.
    p.setBrush(QColor(0xf0, 0x70, 0x70, 90));
    p.drawEllipse(QPointF(x - 12, headY + 5), 5, 3.5);
    p.drawEllipse(QPointF(x + 12, headY + 5), 5, 3.5);

    // Left eye laughing shut, right eye open behind a gold monocle.
    p.setPen(QPen(QColor(0x2a, 0x18, 0x08), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shut;
    shut.moveTo(x - 13, headY - 3);
    shut.quadTo(x - 8.5, headY - 8, x - 4, headY - 3);
    p.drawPath(shut);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x18, 0x08));
    p.drawEllipse(QPointF(x + 8.5, headY - 4), 2.2, 2.6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(x + 9.2, headY - 4.9), 0.8, 0.8);
    p.setPen(QPen(QColor(0x2a, 0x18, 0x08), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(x - 14, headY - 14, 10, 6), 20 * 16, 140 * 16);
    p.drawArc(QRectF(x + 3, headY - 15, 11, 6), 20 * 16, 140 * 16);
    p.setPen(QPen(Gold, 1.6));
    p.setBrush(QColor(255, 255, 255, 50));
    p.drawEllipse(QPointF(x + 8.5, headY - 4), 6, 6);
    QPainterPath chain;
    chain.moveTo(x + 14, headY - 2);
    chain.cubicTo(x + 22, headY + 8, x + 20, headY + 22, x + 28, headY + 40);
    p.setPen(QPen(Gold, 0.8, Qt::DotLine));
    p.drawPath(chain);

    // Nose.
    p.setPen(QPen(skinShade, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(0xf8, 0xb8, 0x90));
    p.drawEllipse(QPointF(x, headY + 3), 3.5, 3);

    // A broad open smile under a curled moustache.
    QPainterPath mouth;
    mouth.moveTo(x - 10, headY + 10);
    mouth.quadTo(x, headY + 12, x + 10, headY + 10);
    mouth.quadTo(x, headY + 24, x - 10, headY + 10);
    p.setPen(QPen(QColor(0x6a, 0x10, 0x10), 1));
    p.setBrush(QColor(0x8a, 0x1c, 0x1c));
    p.drawPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath teeth;
    teeth.moveTo(x - 8, headY + 11);
    teeth.quadTo(x, headY + 12.6, x + 8, headY + 11);
    teeth.lineTo(x + 7, headY + 14);
    teeth.quadTo(x, headY + 15, x - 7, headY + 14);
    teeth.closeSubpath();
    p.drawPath(teeth);

    QPainterPath moustache;
    moustache.moveTo(x, headY + 6);
    moustache.cubicTo(x - 6, headY + 3, x - 12, headY + 4, x - 15, headY + 8);
    moustache.cubicTo(x - 17, headY + 10, x - 20, headY + 8, x - 19, headY + 5);
    moustache.cubicTo(x - 21, headY + 10, x - 14, headY + 13, x - 9, headY + 10);
    moustache.cubicTo(x - 5, headY + 9, x - 2, headY + 9, x, headY + 9);
    moustache.cubicTo(x + 2, headY + 9, x + 5, headY + 9, x + 9, headY + 10);
    moustache.cubicTo(x + 14, headY + 13, x + 21, headY + 10, x + 19, headY + 5);
    moustache.cubicTo(x + 20, headY + 8, x + 17, headY + 10, x + 15, headY + 8);
    moustache.cubicTo(x + 12, headY + 4, x + 6, headY + 3, x, headY + 6);
    p.setPen(QPen(QColor(0x2e, 0x1a, 0x0a), 0.6));
    p.setBrush(hair);
    p.drawPath(moustache);

    // Top hat, tipped a little, with a gold band and an ace tucked into it.
    p.save();
    p.translate(x, headY - 20);
    p.rotate(-8);
    QLinearGradient silk(-18, 0, 18, 0);
    silk.setColorAt(0.0, QColor(0x10, 0x10, 0x16));
    silk.setColorAt(0.35, QColor(0x4a, 0x4a, 0x5a));
    silk.setColorAt(1.0, QColor(0x10, 0x10, 0x16));
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(silk);
    QPainterPath crown;
    crown.moveTo(-16, 0);
    crown.lineTo(-18, -34);
    crown.quadTo(0, -37, 18, -34);
    crown.lineTo(16, 0);
    crown.closeSubpath();
    p.drawPath(crown);
    p.setBrush(QColor(0x18, 0x18, 0x20));
    p.drawEllipse(QPointF(0, 0), 29, 5);
    p.setBrush(GoldGradient(-9, -3));
    p.drawRect(QRectF(-16.6, -9, 33.2, 6));
    p.save();
    p.translate(10, -13);
    p.rotate(14);
    p.setPen(QPen(QColor(0x70, 0x68, 0x58), 0.6));
    p.setBrush(QColor(0xff, 0xfe, 0xf8));
    p.drawRect(QRectF(-5, -8, 10, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(CardBlack);
    p.drawPath(SuitPath(Suit::Spades, QRectF(-3.5, -4.5, 7, 7.5)));
    p.restore();
    p.restore();

    p.restore();

    // The frame: a gold ring with a dark inner edge and a row of beads.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4a, 0x2c, 0x00), 2));
    p.drawEllipse(oval.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(QBrush(GoldGradient(oval.top(), oval.bottom())), 6));
    p.drawEllipse(oval.adjusted(-5, -5, 5, 5));
    p.setPen(QPen(Ink, 1));
    p.drawEllipse(oval.adjusted(-8.5, -8.5, 8.5, 8.5));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 36; ++i) {
        const double a = i * std::numbers::pi / 18;
        const QPointF bead(c.x() + std::cos(a) * (rx + 5), c.y() + std::sin(a) * (ry + 5));
        p.setBrush(QColor(0xff, 0xf6, 0xc8));
        p.drawEllipse(bead, 1.1, 1.1);
    }
}

} // namespace

QImage DrawRewardCard(const RewardFonts& fonts, const RewardWords& words)
{
    QImage image(RewardWidth, RewardHeight, QImage::Format_RGB32);
    image.fill(FeltDark);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    DrawBackground(p);

    // The headline's descenders ("j", "g") end a few pixels above the capitals of the line below.
    DrawCentredText(p, words.headline, PixelFont(fonts.serifItalic, 33), 36, GoldGradient(12, 37), 3);
    DrawCentredText(p, words.fundLine, PixelFont(fonts.sans, 14), 58, QColor(0xff, 0xf6, 0xd8), 2);

    DrawButtonRow(p);

    const QPointF portraitCentre(CentreX, 158);
    const double rx = 50;
    const double ry = 62;
    DrawLaurel(p, portraitCentre, rx + 16, ry + 10);
    DrawPortrait(p, portraitCentre, rx, ry);

    DrawCardFan(p, fonts, QPointF(100, 220), words.ranks);
    DrawCoinStacks(p, fonts);

    const std::array<std::pair<QPointF, double>, 9> sparkles{
        std::pair{QPointF(64, 36), 6.0},   std::pair{QPointF(401, 38), 7.0},  std::pair{QPointF(160, 100), 4.0},
        std::pair{QPointF(302, 108), 5.0}, std::pair{QPointF(40, 120), 4.0},  std::pair{QPointF(432, 110), 4.5},
        std::pair{QPointF(150, 226), 5.0}, std::pair{QPointF(430, 222), 4.0}, std::pair{QPointF(28, 188), 3.5}};
    for (const auto& [at, size] : sparkles)
        DrawSparkle(p, at, size, GoldLight);

    DrawCentredText(p, words.praise, PixelFont(fonts.serif, 22), 251, GoldGradient(235, 252), 2.6);
    DrawCentredText(p, words.closing, PixelFont(fonts.sans, 13), 268, QColor(0xff, 0xf6, 0xd8), 2);
    p.end();
    return image;
}
