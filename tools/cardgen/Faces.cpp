#include "tools/cardgen/Art.h"

#include <QPainterPath>
#include <QTransform>

#include <array>
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
    {{"..XX..XXXX.", ".XXX.XX..XX", "XXXX.XX..XX", "..XX.XX..XX", "..XX.XX..XX", "..XX.XX..XX",
      "..XX.XX..XX", "..XX..XXXX."}},
    {{"..XXXX", "....XX", "....XX", "....XX", "....XX", "XX..XX", "XX..XX", ".XXXX."}},
    {{".XXXX..", "XX..XX.", "XX..XX.", "XX..XX.", "XX..XX.", "XX.XXX.", "XX..XX.", ".XXX.XX"}},
    {{"XX..XX", "XX.XX.", "XXXX..", "XXX...", "XXXX..", "XX.XX.", "XX..XX", "XX..XX"}},
    {{"..XX..", ".XXXX.", "XX..XX", "XX..XX", "XX..XX", "XXXXXX", "XX..XX", "XX..XX"}},
}};

// Pips of the card's body, eleven pixels wide, in suit order C, D, H, S.
const std::array<Sprite, 4> Pips{{
    {{"....XXX....", "...XXXXX...", "...XXXXX...", "...XXXXX...", ".XX.XXX.XX.", "XXXXXXXXXXX",
      "XXXXXXXXXXX", "XXXXXXXXXXX", ".XX..X..XX.", ".....X.....", "....XXX....", "..XXXXXXX.."}},
    {{".....X.....", "....XXX....", "....XXX....", "...XXXXX...", "..XXXXXXX..", ".XXXXXXXXX.",
      ".XXXXXXXXX.", "..XXXXXXX..", "...XXXXX...", "....XXX....", "....XXX....", ".....X....."}},
    {{".XXX...XXX.", "XXXXX.XXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", ".XXXXXXXXX.",
      "..XXXXXXX..", "...XXXXX...", "....XXX....", ".....X....."}},
    {{".....X.....", "....XXX....", "...XXXXX...", "..XXXXXXX..", ".XXXXXXXXX.", "XXXXXXXXXXX",
      "XXXXXXXXXXX", "XXXXXXXXXXX", ".XXX.X.XXX.", ".....X.....", "....XXX....", "..XXXXXXX.."}},
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

bool IsRed(char suit) { return suit == 'D' || suit == 'H'; }

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
        p.addEllipse(QPointF(0.5, 0.25), 0.235, 0.235);
        p.addEllipse(QPointF(0.245, 0.6), 0.235, 0.235);
        p.addEllipse(QPointF(0.755, 0.6), 0.235, 0.235);
        p.moveTo(0.45, 0.45);
        p.quadTo(0.44, 0.88, 0.3, 1.0);
        p.lineTo(0.7, 1.0);
        p.quadTo(0.56, 0.88, 0.55, 0.45);
        p.closeSubpath();
        p.setFillRule(Qt::WindingFill);
        break;
    }
    return p;
}

QPainterPath Placed(const QPainterPath& unit, QRectF box)
{
    QTransform t;
    t.translate(box.x(), box.y());
    t.scale(box.width(), box.height());
    return t.map(unit);
}

void DrawAce(Canvas& canvas, char suit, QRgb colour)
{
    if (suit != 'S') {
        const QRectF box = suit == 'D' ? QRectF(23.5, 33, 24, 30) : QRectF(22.5, 35, 26, 26);
        canvas.Shape(Placed(SuitShape(suit), box), colour);
        return;
    }
    // The ace of spades: a large spade in a gold wreath, with a white scroll inside.
    canvas.Shape(Ellipse(35.5, 47.5, 27, 33), ink::Gold, ink::Black);
    canvas.Shape(Ellipse(35.5, 47.5, 24, 30), ink::White, ink::Black);
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * 30.0;
        QTransform t;
        t.translate(35.5, 47.5);
        t.rotate(a);
        canvas.Shape(t.map(Ellipse(0, -28.5, 1.6, 2.6)), ink::Red, ink::Black);
    }
    const QRectF box(13.5, 20, 44, 52);
    canvas.Shape(Placed(SuitShape('S'), box), ink::Black);
    // White filigree inside the blade.
    QPainterPath scroll;
    scroll.moveTo(35.5, 30);
    scroll.cubicTo(30, 40, 22, 46, 26, 54);
    scroll.moveTo(35.5, 30);
    scroll.cubicTo(41, 40, 49, 46, 45, 54);
    canvas.Line({35.5, 33}, {35.5, 58}, ink::White);
    QPainterPathStroker stroker;
    stroker.setWidth(1.0);
    canvas.Shape(stroker.createStroke(scroll), ink::White);
    canvas.Shape(Ellipse(35.5, 46, 4, 4), ink::Gold, ink::White);
    canvas.Shape(Ellipse(26.5, 55, 2, 2), ink::Gold);
    canvas.Shape(Ellipse(44.5, 55, 2, 2), ink::Gold);
}

struct Court {
    QRgb main;   // robe in the suit's colour
    QRgb trim;   // bands and crown
    QRgb accent; // lining, jewels
    QRgb hair;
};

Court CourtColours(char suit, int number)
{
    const bool red = IsRed(suit);
    Court c{red ? ink::Red : ink::Charcoal, ink::Gold, red ? ink::Blue : ink::Red, ink::Gold};
    if (number == 12)
        c.hair = ink::Silver;
    if (number == 10 && (suit == 'C' || suit == 'D'))
        c.hair = red ? ink::DarkRed : ink::Charcoal;
    return c;
}

void DrawFaceFeatures(Canvas& canvas, int cx, int eyeY, bool lashes)
{
    canvas.Set(cx - 3, eyeY, ink::Black);
    canvas.Set(cx + 3, eyeY, ink::Black);
    canvas.HLine(cx - 4, cx - 2, eyeY - 2, ink::Black);
    canvas.HLine(cx + 2, cx + 4, eyeY - 2, ink::Black);
    if (lashes) {
        canvas.Set(cx - 4, eyeY - 1, ink::Black);
        canvas.Set(cx + 4, eyeY - 1, ink::Black);
    }
    canvas.VLine(cx, eyeY + 1, eyeY + 2, ink::Black);
    canvas.Set(cx - 1, eyeY + 3, ink::Black);
    canvas.HLine(cx - 1, cx + 1, eyeY + 5, ink::Red);
}

// The upper half of a court picture in the frame x 13..57, y 8..47; the lower half is the
// same turned. The figure stands in the suit's colour; each rank and suit holds its own emblem.
void DrawCourtHalf(Canvas& canvas, char suit, int number)
{
    const Court c = CourtColours(suit, number);
    const int cx = 35;
    const int item = SuitIndex(suit);

    // What the figure holds, drawn first so the figure overlaps it.
    if (number == 12 && suit == 'H') {
        canvas.Shape(Poly({{17, 43}, {20, 46}, {52, 14}, {49, 11}}), ink::White, ink::Black);
        canvas.Shape(Poly({{14, 38}, {17, 35}, {27, 45}, {24, 48}}), c.trim, ink::Black);
    } else if (number == 12) {
        const QRgb rod = suit == 'D' ? ink::Gold : c.trim;
        canvas.Shape(Poly({{48, 12}, {51, 12}, {51, 47}, {48, 47}}), rod, ink::Black);
        if (suit == 'D')
            canvas.Shape(Poly({{51, 11}, {57, 8}, {57, 22}, {51, 19}}), ink::White, ink::Black);
        else if (suit == 'C')
            canvas.Shape(Ellipse(49.5, 11, 4, 4), ink::Gold, ink::Black);
        else
            canvas.Shape(Poly({{46, 9}, {49.5, 4.5}, {53, 9}, {49.5, 14}}), ink::White, ink::Black);
    } else if (number == 11) {
        canvas.Shape(Poly({{48, 22}, {50, 22}, {50, 47}, {48, 47}}), ink::Green, ink::Black);
        if (suit == 'D') {
            canvas.Shape(Poly({{49, 26}, {41, 12}, {57, 12}}), ink::Blue, ink::Black);
            canvas.Line({45, 14}, {49, 24}, ink::White);
            canvas.Line({53, 14}, {49, 24}, ink::White);
        } else {
            const QRgb petal = suit == 'C' ? ink::Gold : ink::Red;
            canvas.Shape(Ellipse(49, 17, 5, 5), petal, ink::Black);
            canvas.Shape(Ellipse(49, 17, 2, 2), suit == 'C' ? ink::Red : ink::Gold);
            canvas.Shape(Ellipse(53, 27, 3, 1.6), ink::Green, ink::Black);
        }
    } else {
        canvas.Shape(Poly({{48, 14}, {50, 14}, {50, 47}, {48, 47}}), ink::Gold, ink::Black);
        if (suit == 'D' || suit == 'S')
            canvas.Shape(Poly({{49, 4}, {53, 12}, {49, 16}, {45, 12}}), ink::White, ink::Black);
        if (suit == 'D')
            canvas.Shape(Poly({{50, 15}, {57, 12}, {57, 22}, {50, 19}}), ink::White, ink::Black);
        if (suit == 'C' || suit == 'H')
            canvas.Shape(Ellipse(49, 12, 3, 5), ink::Red, ink::Black);
        if (suit == 'C' || suit == 'H')
            canvas.Shape(Ellipse(49, 10, 1.5, 2.5), ink::Gold);
    }

    // Robe with a band down the front.
    canvas.Shape(Poly({{13, 48}, {13, 41}, {19, 35}, {28, 32}, {42, 32}, {51, 35}, {57, 41}, {57, 48}}), c.main, ink::Black);
    canvas.Shape(Poly({{31, 34}, {39, 34}, {41, 48}, {29, 48}}), c.trim, ink::Black);
    for (int y = 37; y < 47; y += 4)
        canvas.Shape(Poly({{35, y - 1.5}, {37, y + 0.5}, {35, y + 2.5}, {33, y + 0.5}}), c.accent);
    // Pattern on the shoulders: rows of small marks in the trim colour.
    for (int y = 39; y < 47; y += 4)
        for (int x = 17 + (y / 4) % 2 * 2; x < 29; x += 4) {
            canvas.Set(x, y, c.trim);
            canvas.Set(cx + (cx - x), y, c.trim);
        }

    // Collar: ermine for the king, a lace edge for the queen, a plain band for the jack.
    if (number == 12) {
        canvas.Shape(Poly({{19, 35}, {28, 31}, {42, 31}, {51, 35}, {48, 38}, {40, 35}, {30, 35}, {22, 38}}), ink::White, ink::Black);
        for (int x : {23, 27, 43, 47})
            canvas.Set(x, 35, ink::Black);
    } else if (number == 11) {
        canvas.Shape(Poly({{25, 32}, {45, 32}, {40, 38}, {30, 38}}), ink::Skin, ink::Black);
        canvas.Shape(Poly({{24, 31}, {28, 31}, {31, 37}, {29, 38}}), c.accent, ink::Black);
        canvas.Shape(Poly({{46, 31}, {42, 31}, {39, 37}, {41, 38}}), c.accent, ink::Black);
        canvas.Shape(Ellipse(35, 37, 1.8, 1.8), c.accent == ink::Blue ? ink::Blue : ink::Red);
    } else {
        canvas.Shape(Poly({{24, 31}, {46, 31}, {43, 35}, {27, 35}}), c.accent, ink::Black);
    }

    // Hair behind the head.
    if (number == 11)
        canvas.Shape(Poly({{24, 14}, {46, 14}, {47, 34}, {23, 34}}), c.hair, ink::Black);
    else
        canvas.Shape(Ellipse(cx, 20, 9, 8), c.hair, ink::Black);

    // Neck and face.
    canvas.Shape(Poly({{31, 25}, {39, 25}, {39, 33}, {31, 33}}), ink::Skin, ink::Black);
    canvas.Shape(Ellipse(cx, 20.5, 6.5, 7.5), ink::Skin, ink::Black);
    DrawFaceFeatures(canvas, cx, 20, number == 11);

    if (number == 12) {
        // Beard and moustache.
        canvas.Shape(Poly({{28, 23}, {30, 26}, {40, 26}, {42, 23}, {42, 27}, {38, 33}, {32, 33}, {28, 27}}), c.hair, ink::Black);
        canvas.HLine(32, 38, 24, ink::Black);
        canvas.HLine(34, 36, 27, ink::Red);
    }

    // Headwear: a tall crown for the king, a small crown for the queen, a feathered cap for the jack.
    if (number == 12) {
        canvas.Shape(Poly({{26, 16}, {26, 8}, {30, 12}, {35, 6}, {40, 12}, {44, 8}, {44, 16}}), c.trim, ink::Black);
        canvas.HLine(27, 43, 14, ink::Black);
        canvas.Set(35, 11, c.accent);
        canvas.Set(30, 15, ink::Red);
        canvas.Set(40, 15, ink::Red);
        canvas.Set(35, 15, ink::Blue);
    } else if (number == 11) {
        canvas.Shape(Poly({{28, 15}, {28, 10}, {31, 12}, {35, 8}, {39, 12}, {42, 10}, {42, 15}}), c.trim, ink::Black);
        canvas.Set(35, 12, c.accent == ink::Blue ? ink::Blue : ink::Red);
    } else {
        canvas.Shape(Ellipse(cx - 1, 13, 11, 4), c.accent, ink::Black);
        canvas.Shape(Poly({{25, 15}, {45, 15}, {45, 17}, {25, 17}}), c.trim, ink::Black);
        QPainterPath feather;
        feather.moveTo(41, 12);
        feather.cubicTo(44, 4, 36, 4, 30, 9);
        feather.cubicTo(36, 7, 40, 8, 41, 12);
        canvas.Shape(feather, ink::White, ink::Black);
    }
    (void)item;
}

void DrawCourt(Canvas& canvas, char suit, int number, QRgb colour)
{
    // Frame line around the picture.
    canvas.Fill(12, 7, 47, 82, ink::Black);
    canvas.Fill(13, 8, 45, 80, ink::White);
    DrawCourtHalf(canvas, suit, number);
    if (suit == 'H' || suit == 'C')
        canvas.FlipHorizontally(13, 8, 45, 40);
    canvas.Draw(SmallPips[static_cast<std::size_t>(SuitIndex(suit))], {{'X', colour}}, suit == 'H' || suit == 'C' ? 48 : 15, 10);
    canvas.HLine(13, 57, 47, ink::Black);
    canvas.CopyTurned(12, 7, 47, 41);
}

} // namespace

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
