#include "tools/cardgen/Art.h"

#include <QPainterPath>
#include <QTransform>

#include <array>
#include <cmath>
#include <stdexcept>

namespace cardgen {
namespace {

// Index glyphs: two-pixel stems, one-pixel bars, eight rows, as a bold hand-set face.
const std::array<Sprite, 13> RankGlyphs{{
    {{".XXXX.", "XX..XX", "....XX", "...XX.", "..XX..", ".XX...", "XX....", "XXXXXX"}},
    {{".XXXX.", "XX..XX", "....XX", "..XXX.", "....XX", "....XX", "XX..XX", ".XXXX."}},
    {{"...XX.", "..XXX.", ".XXXX.", "XX.XX.", "XX.XX.", "XXXXXX", "...XX.", "...XX."}},
    {{"XXXXXX", "XX....", "XXXXX.", "....XX", "....XX", "....XX", "XX..XX", ".XXXX."}},
    {{"..XXX.", ".XX...", "XX....", "XXXXX.", "XX..XX", "XX..XX", "XX..XX", ".XXXX."}},
    {{"XXXXXX", "....XX", "...XX.", "...XX.", "..XX..", "..XX..", ".XX...", ".XX..."}},
    {{".XXXX.", "XX..XX", "XX..XX", ".XXXX.", "XX..XX", "XX..XX", "XX..XX", ".XXXX."}},
    {{".XXXX.", "XX..XX", "XX..XX", "XX..XX", ".XXXXX", "....XX", "...XX.", ".XXX.."}},
    {{"..XX..XXXX.", ".XXX.XX..XX", "XXXX.XX..XX", "..XX.XX..XX", "..XX.XX..XX", "..XX.XX..XX", "..XX.XX..XX",
      "..XX..XXXX."}},
    {{"..XXXX", "....XX", "....XX", "....XX", "....XX", "XX..XX", "XX..XX", ".XXXX."}},
    {{".XXXX..", "XX..XX.", "XX..XX.", "XX..XX.", "XX..XX.", "XX.XXX.", "XX..XX.", ".XXX.XX"}},
    {{"XX..XX", "XX.XX.", "XXXX..", "XXX...", "XXXX..", "XX.XX.", "XX..XX", "XX..XX"}},
    {{"..XX..", ".XXXX.", "XX..XX", "XX..XX", "XX..XX", "XXXXXX", "XX..XX", "XX..XX"}},
}};

// Pips of the card's body, eleven pixels wide, in suit order C, D, H, S.
const std::array<Sprite, 4> Pips{{
    {{"....XXX....", "...XXXXX...", "...XXXXX...", "...XXXXX...", ".XX.XXX.XX.", "XXXXXXXXXXX", "XXXXXXXXXXX",
      "XXXXXXXXXXX", ".XX..X..XX.", ".....X.....", "....XXX....", "..XXXXXXX.."}},
    {{".....X.....", "....XXX....", "....XXX....", "...XXXXX...", "..XXXXXXX..", ".XXXXXXXXX.", ".XXXXXXXXX.",
      "..XXXXXXX..", "...XXXXX...", "....XXX....", "....XXX....", ".....X....."}},
    {{".XXX...XXX.", "XXXXX.XXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", ".XXXXXXXXX.", "..XXXXXXX..",
      "...XXXXX...", "....XXX....", ".....X....."}},
    {{".....X.....", "....XXX....", "...XXXXX...", "..XXXXXXX..", ".XXXXXXXXX.", "XXXXXXXXXXX", "XXXXXXXXXXX",
      "XXXXXXXXXXX", ".XXX.X.XXX.", ".....X.....", "....XXX....", "..XXXXXXX.."}},
}};

// Suit signs under the index, seven pixels wide.
const std::array<Sprite, 4> SmallPips{{
    {{"..XXX..", "..XXX..", "XX.X.XX", "XXXXXXX", "XX.X.XX", "...X...", "..XXX.."}},
    {{"...X...", "..XXX..", ".XXXXX.", "XXXXXXX", ".XXXXX.", "..XXX..", "...X..."}},
    {{".XX.XX.", "XXXXXXX", "XXXXXXX", ".XXXXX.", "..XXX..", "...X..."}},
    {{"...X...", "..XXX..", ".XXXXX.", "XXXXXXX", "XXXXXXX", "...X...", "..XXX.."}},
}};

int SuitIndex(char suit)
{
    const auto at = cards::SuitLetters.find(suit);
    if (at == std::string_view::npos)
        throw std::invalid_argument("no such suit");
    return static_cast<int>(at);
}

bool IsRed(char suit)
{
    return suit == 'D' || suit == 'H';
}

// Pip centres for two .. ten on the 71 x 96 card; pips below the middle are drawn turned.
const std::array<std::vector<QPoint>, 9> PipLayouts{{
    {{35, 15}, {35, 80}},
    {{35, 15}, {35, 47}, {35, 80}},
    {{20, 15}, {50, 15}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {35, 47}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {20, 47}, {50, 47}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {35, 31}, {20, 47}, {50, 47}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {35, 31}, {20, 47}, {50, 47}, {35, 64}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {20, 37}, {50, 37}, {35, 47}, {20, 58}, {50, 58}, {20, 80}, {50, 80}},
    {{20, 15}, {50, 15}, {35, 26}, {20, 37}, {50, 37}, {20, 58}, {50, 58}, {35, 69}, {20, 80}, {50, 80}},
}};

void DrawPip(Canvas& canvas, const Sprite& pip, QRgb colour, QPoint centre)
{
    const bool turned = centre.y() > 48;
    const int x = centre.x() - pip.Width() / 2;
    const int y = turned ? centre.y() - (pip.Height() - 1) / 2 : centre.y() - pip.Height() / 2;
    canvas.Draw(pip, {{'X', colour}}, x, y, turned);
}

void DrawIndex(Canvas& canvas, int suit, int number, QRgb colour)
{
    const Sprite& glyph = RankGlyphs[static_cast<std::size_t>(number - 1)];
    const int glyphX = glyph.Width() > 7 ? 2 : 3;
    canvas.Draw(glyph, {{'X', colour}}, glyphX, 4);
    canvas.Draw(SmallPips[static_cast<std::size_t>(suit)], {{'X', colour}}, 2, 14);
    canvas.CopyTurned(1, 2, 12, 20);
}

void DrawAce(Canvas& canvas, char suit, QRgb colour)
{
    if (suit != 'S') {
        const QRectF box = suit == 'D' ? QRectF(21.5, 30, 28, 36)
            : suit == 'H'              ? QRectF(20.5, 34, 30, 28)
                                       : QRectF(20.5, 33, 30, 31);
        canvas.Shape(Placed(SuitShape(suit), box), colour);
        return;
    }
    // The ace of spades: a large spade in a gold oval set with red stones, a white line
    // following its edge inside and a jewel at its heart.
    const QPointF centre(35.5, 47.5);
    canvas.Shape(Ellipse(centre.x(), centre.y(), 27, 34), ink::Gold, ink::Black);
    canvas.Shape(Ellipse(centre.x(), centre.y(), 24, 31), ink::White, ink::Black);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        const QPointF at = centre + QPointF(25.5 * std::sin(a), -32.5 * std::cos(a));
        canvas.Shape(Poly({{at.x(), at.y() - 3}, {at.x() + 3, at.y()}, {at.x(), at.y() + 3}, {at.x() - 3, at.y()}}),
                     ink::Red, ink::Black);
    }
    const QRectF box(16.5, 21, 38, 47);
    canvas.Shape(Placed(SuitShape('S'), box), ink::Black);
    QPainterPathStroker stroker;
    stroker.setWidth(1.0);
    QPainterPath blade;
    blade.addRect(0, 0, 71, 56);
    canvas.ShapeOver(stroker.createStroke(Placed(SuitShape('S'), box.adjusted(5, 6, -5, -6))).intersected(blade),
                     ink::Black, ink::White);
    canvas.Shape(Ellipse(35.5, 47, 4, 4), ink::Gold, ink::White);
    canvas.Shape(Ellipse(35.5, 47, 1.5, 1.5), ink::Red);
    for (qreal side : {-1.0, 1.0}) {
        QPainterPath curl;
        curl.moveTo(35.5 + side * 8, 68);
        curl.cubicTo(35.5 + side * 15, 68, 35.5 + side * 17, 62, 35.5 + side * 13, 60);
        QPainterPathStroker thick;
        thick.setWidth(2.2);
        canvas.Shape(thick.createStroke(curl), ink::Gold, ink::Black);
        canvas.Shape(Ellipse(35.5 + side * 12.5, 61, 2, 2), ink::Red, ink::Black);
    }
}

struct Court {
    QRgb main;   // robe in the suit's colour
    QRgb trim;   // lattice, bands and crown
    QRgb accent; // sleeves and front panel
    QRgb hair;
};

Court CourtColours(char suit, int number)
{
    const bool red = IsRed(suit);
    Court c{red ? ink::Red : ink::Charcoal, ink::Gold, ink::Blue, ink::Gold};
    if (!red && (suit == 'S') == (number != 11))
        c.accent = ink::Red;
    if (red && suit == 'D' && number == 11)
        c.accent = ink::Charcoal;
    if (number == 12)
        c.hair = ink::Silver;
    else if (number == 10 && (suit == 'D' || suit == 'S'))
        c.hair = red ? ink::DarkRed : ink::Charcoal;
    return c;
}

// Colours the pixels of `where` inside the rectangle that the pattern picks.
template <typename Pick>
void Pattern(Canvas& canvas, QRect area, QRgb where, QRgb colour, Pick pick)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (canvas.At(x, y) == where && pick(x, y))
                canvas.Set(x, y, colour);
}

void Stroke(Canvas& canvas, const QPainterPath& path, QRgb colour, qreal width = 1.0)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    canvas.Shape(stroker.createStroke(path), colour);
}

// What each court card holds in its hand at (46, 41), the shaft rising at x 46..48.
void DrawEmblem(Canvas& canvas, char suit, int number, const Court& c)
{
    auto shaft = [&](qreal top, QRgb colour) {
        canvas.Shape(Poly({{45.5, top}, {48.5, top}, {48.5, 46}, {45.5, 46}}), colour, ink::Black);
    };
    const int kind = (number - 10) * 4 + SuitIndex(suit);
    switch (kind) {
    case 0: // jack of clubs: an arrow
        shaft(14, ink::Gold);
        canvas.Shape(Poly({{47, 8}, {50.5, 15}, {43.5, 15}}), ink::White, ink::Black);
        canvas.Shape(Poly({{44, 40}, {47, 36}, {50, 40}, {50, 44}, {47, 41}, {44, 44}}), ink::Red, ink::Black);
        break;
    case 1: // jack of diamonds: a halberd
        shaft(9, ink::Gold);
        canvas.Shape(Poly({{48, 12}, {56, 9}, {56, 21}, {48, 18}}), ink::White, ink::Black);
        canvas.Shape(Poly({{47, 8}, {48.5, 13}, {45.5, 13}}), ink::White, ink::Black);
        break;
    case 2: // jack of hearts: a torch
        shaft(18, ink::Gold);
        canvas.Shape(Poly({{43.5, 15}, {50.5, 15}, {49, 19}, {45, 19}}), ink::Gold, ink::Black);
        canvas.Shape(Poly({{47, 8}, {51, 12}, {50, 15.5}, {44, 15.5}, {43, 12}}), ink::Red, ink::Black);
        canvas.Shape(Ellipse(47, 13, 1.6, 2), ink::Gold);
        break;
    case 3: // jack of spades: a spear
        shaft(15, ink::Gold);
        canvas.Shape(Poly({{47, 8}, {50, 12}, {47, 16}, {44, 12}}), ink::White, ink::Black);
        canvas.Set(47, 17, ink::Red);
        canvas.Set(47, 18, ink::Red);
        break;
    case 4: // queen of clubs: a golden tulip
    case 6: // queen of hearts: a rose
        canvas.Shape(Poly({{46.5, 18}, {48.5, 18}, {48.5, 44}, {46.5, 44}}), ink::Green, ink::Black);
        canvas.Shape(Ellipse(51, 27, 3.5, 2), ink::Green, ink::Black);
        canvas.Shape(Ellipse(43.5, 23, 3.5, 2), ink::Green, ink::Black);
        if (kind == 4) {
            canvas.Shape(Poly({{42.5, 10}, {45, 13}, {47.5, 9}, {50, 13}, {52.5, 10}, {52, 17}, {47.5, 20}, {43, 17}}),
                         ink::Gold, ink::Black);
            canvas.VLine(47, 13, 17, ink::Red);
        } else {
            canvas.Shape(Ellipse(47.5, 14, 5.5, 5), ink::Red, ink::Black);
            Stroke(canvas, Ellipse(47.5, 14, 2.5, 2), ink::Gold);
        }
        break;
    case 5: // queen of diamonds: a fan
        canvas.Shape(Poly({{47, 30}, {40, 12}, {43, 10}, {47, 9}, {51, 10}, {54, 12}}), ink::White, ink::Black);
        for (qreal x : {41.5, 44.5, 47.0, 49.5, 52.5})
            canvas.Line({47, 29}, {x, 11.5}, c.accent, 0.8);
        break;
    case 7: // queen of spades: a sceptre with a pearl
        shaft(14, ink::Gold);
        canvas.Shape(Ellipse(47, 12, 3.5, 3.5), ink::White, ink::Black);
        canvas.Shape(Poly({{43.5, 15}, {50.5, 15}, {49, 18}, {45, 18}}), ink::Gold, ink::Black);
        break;
    case 8: // king of clubs: sceptre with an orb and cross
        shaft(19, ink::Gold);
        canvas.Shape(Ellipse(47, 17, 4, 4), ink::Gold, ink::Black);
        canvas.HLine(44, 50, 17, ink::Black);
        canvas.Shape(Poly({{45.5, 8},
                           {48.5, 8},
                           {48.5, 10},
                           {50.5, 10},
                           {50.5, 12},
                           {48.5, 12},
                           {48.5, 14},
                           {45.5, 14},
                           {45.5, 12},
                           {43.5, 12},
                           {43.5, 10},
                           {45.5, 10}}),
                     ink::Gold, ink::Black);
        break;
    case 9: // king of diamonds: an axe
        shaft(9, ink::Gold);
        canvas.Shape(Poly({{48, 12}, {55, 8}, {57.5, 16}, {55, 24}, {48, 20}}), ink::White, ink::Black);
        canvas.Shape(Poly({{45.5, 13}, {48.5, 13}, {48.5, 19}, {45.5, 19}}), ink::Gold, ink::Black);
        break;
    case 10: // king of hearts: the sword behind his head
        canvas.Shape(Poly({{15, 16}, {18, 13}, {48, 43}, {45, 46}}), ink::White, ink::Black);
        canvas.Shape(Poly({{41, 44}, {48, 37}, {50, 39}, {43, 46}}), ink::Gold, ink::Black);
        break;
    default: // king of spades: a sword held upright
        canvas.Shape(Poly({{45, 12}, {47, 8}, {49, 12}, {49, 36}, {45, 36}}), ink::White, ink::Black);
        canvas.VLine(47, 11, 34, ink::Silver);
        canvas.Shape(Poly({{41.5, 36}, {52.5, 36}, {52.5, 39}, {41.5, 39}}), ink::Gold, ink::Black);
        canvas.Shape(Poly({{45.5, 39}, {48.5, 39}, {48.5, 46}, {45.5, 46}}), c.accent, ink::Black);
        break;
    }
}

// The upper half of a court picture in the frame x 13..57, y 8..47; the lower half is the
// same turned. The figure wears the suit's colour; each rank and suit holds its own emblem.
void DrawCourtHalf(Canvas& canvas, char suit, int number)
{
    const Court c = CourtColours(suit, number);
    const bool king = number == 12;
    const bool queen = number == 11;
    const bool jack = number == 10;
    const QRect half(13, 8, 45, 40);

    if (king && suit == 'H')
        DrawEmblem(canvas, suit, number, c);
    // Hair behind the shoulders.
    if (queen) {
        QPainterPath hair;
        hair.moveTo(27.5, 22);
        hair.cubicTo(27, 10, 43, 10, 42.5, 22);
        hair.lineTo(45, 33);
        hair.quadTo(43, 36, 39.5, 33);
        hair.lineTo(38, 26);
        hair.lineTo(32, 26);
        hair.lineTo(30.5, 33);
        hair.quadTo(27, 36, 25, 33);
        hair.closeSubpath();
        canvas.Shape(hair, c.hair, ink::Black);
        Pattern(canvas, half, c.hair, ink::Black, [](int x, int y) { return y > 24 && (x == 27 || x == 43); });
    } else {
        canvas.Shape(Ellipse(35, 20, 7.5, 7.5), c.hair, ink::Black);
        if (jack) {
            canvas.Shape(Ellipse(28.5, 25, 2.5, 3), c.hair, ink::Black);
            canvas.Shape(Ellipse(41.5, 25, 2.5, 3), c.hair, ink::Black);
        }
    }

    // Robe, patterned by rank: a lattice for the king, dots for the queen, stripes for the jack.
    canvas.Shape(Poly({{13, 48}, {13, 39}, {17, 34}, {25, 30.5}, {45, 30.5}, {53, 34}, {57, 39}, {57, 48}}), c.main,
                 ink::Black);
    if (king)
        Pattern(canvas, half, c.main, c.trim, [](int x, int y) { return (x + y) % 6 == 0 || (x - y + 60) % 6 == 0; });
    else if (queen)
        Pattern(canvas, half, c.main, c.trim,
                [](int x, int y) { return (x % 4 == 1 && y % 4 == 1) || (x % 4 == 3 && y % 4 == 3); });
    else
        Pattern(canvas, half, c.main, c.trim, [](int x, int) { return x % 4 == 0; });

    // Front panel.
    canvas.Shape(Poly({{30, 31}, {40, 31}, {42.5, 48}, {27.5, 48}}), c.accent, ink::Black);
    Pattern(canvas, half, c.accent, c.trim, [](int x, int y) { return x == 35 && y % 3 == 0; });

    // Sleeves with cuffs and hands: one hand on the chest, the other holding the emblem.
    canvas.Shape(Poly({{14, 38}, {23, 32}, {26, 38}, {29, 41}, {27, 46}, {15, 44}}), c.main, ink::Black);
    canvas.Shape(Poly({{56, 38}, {47, 32}, {45, 37}, {43, 40}, {46, 46}, {55, 44}}), c.main, ink::Black);
    canvas.Line({25.5, 40}, {26.5, 45}, c.trim, 1.6);
    canvas.Line({44, 39}, {44, 45}, c.trim, 1.6);
    if (!(king && suit == 'H'))
        DrawEmblem(canvas, suit, number, c);
    canvas.Shape(Ellipse(30, 43, 3, 2.8), ink::Skin, ink::Black);
    canvas.Shape(Ellipse(47, 42.5, 3, 2.8), ink::Skin, ink::Black);

    // Collar: ermine for the king, a bare neckline with pearls for the queen, lace for the jack.
    canvas.Shape(Poly({{31.5, 25}, {38.5, 25}, {38.5, 32}, {31.5, 32}}), ink::Skin, ink::Black);
    if (king) {
        canvas.Shape(Poly({{18, 35}, {25, 30}, {45, 30}, {52, 35}, {48, 38}, {41, 33.5}, {29, 33.5}, {22, 38}}),
                     ink::White, ink::Black);
        for (QPoint p : {QPoint(22, 34), QPoint(26, 32), QPoint(44, 32), QPoint(48, 34)})
            canvas.Set(p.x(), p.y(), ink::Black);
    } else if (queen) {
        canvas.Shape(Poly({{26, 30.5}, {44, 30.5}, {39, 36}, {31, 36}}), ink::Skin, ink::Black);
        for (int x = 30; x <= 40; x += 2)
            canvas.Set(x, x == 30 || x == 40 ? 32 : x == 32 || x == 38 ? 33 : 34, ink::White);
    } else {
        canvas.Shape(Poly({{26, 30}, {44, 30}, {41, 34}, {29, 34}}), ink::White, ink::Black);
        Pattern(canvas, half, ink::White, ink::Black,
                [](int x, int y) { return y == 32 && x % 3 == 0 && x > 28 && x < 42; });
    }

    // Face.
    canvas.Shape(Ellipse(35, 20.5, 5.5, 6.5), ink::Skin, ink::Black);
    canvas.Set(33, 20, ink::Black);
    canvas.Set(37, 20, ink::Black);
    canvas.HLine(32, 33, 18, ink::Black);
    canvas.HLine(37, 38, 18, ink::Black);
    canvas.Set(35, 22, ink::Black);
    canvas.Set(34, 23, ink::Black);
    canvas.HLine(34, 36, 25, ink::Red);
    if (queen) {
        canvas.Set(32, 19, ink::Black);
        canvas.Set(38, 19, ink::Black);
    }
    if (king) {
        canvas.Shape(Poly({{29.5, 22}, {31.5, 25}, {38.5, 25}, {40.5, 22}, {40.5, 27}, {37, 32}, {33, 32}, {29.5, 27}}),
                     c.hair, ink::Black);
        canvas.HLine(32, 38, 24, c.hair);
        canvas.HLine(33, 37, 23, ink::Black);
        canvas.HLine(34, 36, 26, ink::Red);
        Pattern(canvas, half, c.hair, ink::Black,
                [](int x, int y) { return y >= 28 && y <= 30 && x % 2 == 0 && x > 31 && x < 39; });
    }

    // Headwear: a crown for the king, a small crown for the queen, a plumed cap for the jack.
    if (king) {
        canvas.Shape(Poly({{28, 16}, {28, 9}, {31, 12}, {35, 8}, {39, 12}, {42, 9}, {42, 16}}), c.trim, ink::Black);
        canvas.HLine(29, 41, 14, ink::Black);
        canvas.Set(31, 15, ink::Red);
        canvas.Set(35, 15, c.accent == ink::Blue ? ink::Blue : ink::Red);
        canvas.Set(39, 15, ink::Red);
        canvas.Set(35, 11, ink::White);
    } else if (queen) {
        canvas.Shape(Poly({{29.5, 15}, {29.5, 10.5}, {32, 12.5}, {35, 9}, {38, 12.5}, {40.5, 10.5}, {40.5, 15}}),
                     c.trim, ink::Black);
        canvas.Set(35, 12, ink::Red);
        canvas.Set(32, 14, ink::White);
        canvas.Set(38, 14, ink::White);
    } else {
        canvas.Shape(Ellipse(35, 13, 9.5, 4), c.accent, ink::Black);
        canvas.Shape(Poly({{27, 14}, {43, 14}, {43, 17}, {27, 17}}), c.trim, ink::Black);
        QPainterPath plume;
        plume.moveTo(38, 10);
        plume.cubicTo(38, 6, 43, 6, 46, 9);
        plume.cubicTo(43, 9, 41, 9, 40, 11);
        plume.closeSubpath();
        canvas.Shape(plume, ink::White, ink::Black);
    }
}

void DrawCourt(Canvas& canvas, char suit, int number, QRgb colour)
{
    // Frame line around the picture.
    canvas.Fill(12, 7, 47, 82, ink::Black);
    canvas.Fill(13, 8, 45, 80, ink::White);
    DrawCourtHalf(canvas, suit, number);
    if (suit == 'H' || suit == 'C')
        canvas.FlipHorizontally(13, 8, 45, 40);
    canvas.Draw(SmallPips[static_cast<std::size_t>(SuitIndex(suit))], {{'X', colour}},
                suit == 'H' || suit == 'C' ? 48 : 15, 10);
    canvas.CopyTurned(12, 7, 47, 41);
}

} // namespace

// Large suit shapes in a unit square, for the aces and the court cards' emblems.
QPainterPath SuitShape(char suit)
{
    QPainterPath p;
    switch (suit) {
    case 'H':
        p.moveTo(0.5, 0.26);
        p.cubicTo(0.46, 0.02, 0.0, 0.0, 0.0, 0.32);
        p.cubicTo(0.0, 0.58, 0.34, 0.74, 0.5, 1.0);
        p.cubicTo(0.66, 0.74, 1.0, 0.58, 1.0, 0.32);
        p.cubicTo(1.0, 0.0, 0.54, 0.02, 0.5, 0.26);
        break;
    case 'D':
        p.moveTo(0.5, 0.0);
        p.quadTo(0.68, 0.3, 0.92, 0.5);
        p.quadTo(0.68, 0.7, 0.5, 1.0);
        p.quadTo(0.32, 0.7, 0.08, 0.5);
        p.quadTo(0.32, 0.3, 0.5, 0.0);
        break;
    case 'S':
        p.moveTo(0.5, 0.0);
        p.cubicTo(0.36, 0.22, 0.0, 0.36, 0.0, 0.6);
        p.cubicTo(0.0, 0.8, 0.26, 0.86, 0.45, 0.7);
        p.quadTo(0.44, 0.88, 0.3, 1.0);
        p.lineTo(0.7, 1.0);
        p.quadTo(0.56, 0.88, 0.55, 0.7);
        p.cubicTo(0.74, 0.86, 1.0, 0.8, 1.0, 0.6);
        p.cubicTo(1.0, 0.36, 0.64, 0.22, 0.5, 0.0);
        break;
    default:
        p.moveTo(0.45, 0.45);
        p.quadTo(0.44, 0.88, 0.3, 1.0);
        p.lineTo(0.7, 1.0);
        p.quadTo(0.56, 0.88, 0.55, 0.45);
        p.closeSubpath();
        for (QPointF lobe : {QPointF(0.5, 0.25), QPointF(0.245, 0.6), QPointF(0.755, 0.6)}) {
            QPainterPath circle;
            circle.addEllipse(lobe, 0.235, 0.235);
            p = p.united(circle);
        }
        break;
    }
    return p;
}

Canvas DrawFace(char suit, int number)
{
    const int s = SuitIndex(suit);
    if (number < 1 || number > 13)
        throw std::invalid_argument("no such card");
    const QRgb colour = IsRed(suit) ? ink::Red : ink::Black;
    Canvas canvas(ink::White);
    if (number <= 9)
        for (QPoint centre : PipLayouts[static_cast<std::size_t>(number - 1)])
            DrawPip(canvas, Pips[static_cast<std::size_t>(s)], colour, centre);
    else if (number == 13)
        DrawAce(canvas, suit, colour);
    else
        DrawCourt(canvas, suit, number, colour);
    DrawIndex(canvas, s, number, colour);
    DrawOutline(canvas, ink::Silver);
    return canvas;
}

} // namespace cardgen
