#include "tools/cardgen/Art.h"

#include <QPainterPath>
#include <QTransform>

#include <cmath>
#include <stdexcept>

namespace cardgen {
namespace {

// Basket weave: square cells alternate between bars across and bars down, each bar edged
// by a darker line so the strands seem to pass over and under each other.
void Weave(Canvas& canvas, QRect area, QRgb across, QRgb acrossEdge, QRgb down, QRgb downEdge, int cell)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int lx = x - area.left();
            const int ly = y - area.top();
            const bool horizontal = ((lx / cell) + (ly / cell)) % 2 == 0;
            const int along = horizontal ? ly % cell : lx % cell;
            const int bar = cell / 2;
            const bool edge = along % bar == bar - 1;
            canvas.Set(x, y, horizontal ? (edge ? acrossEdge : across) : (edge ? downEdge : down));
        }
}

void StandardBack(Canvas& canvas, QRgb across, QRgb acrossEdge, QRgb down, QRgb downEdge, QRgb line)
{
    // Whole cells only, so the weave sits centred in an even white margin.
    const QRect area(6, 6, 60, 84);
    canvas.Fill(area.left() - 1, area.top() - 1, area.width() + 2, area.height() + 2, line);
    Weave(canvas, area, across, acrossEdge, down, downEdge, 6);
}

void Fish(Canvas& canvas, qreal cx, qreal cy, qreal length, bool facingLeft, QRgb body, QRgb stripe)
{
    const qreal h = length * 0.42;
    const qreal dir = facingLeft ? 1.0 : -1.0; // tail side
    const qreal tailX = cx + dir * length * 0.5;
    canvas.Shape(Poly({{tailX - dir * length * 0.12, cy},
                       {tailX + dir * length * 0.18, cy - h * 0.55},
                       {tailX + dir * length * 0.12, cy},
                       {tailX + dir * length * 0.18, cy + h * 0.55}}),
                 body, ink::Black);
    canvas.Shape(Poly({{cx - length * 0.1, cy - h * 0.45},
                       {cx + dir * length * 0.1, cy - h * 0.75},
                       {cx + dir * length * 0.25, cy - h * 0.4}}),
                 body, ink::Black);
    canvas.Shape(Ellipse(cx, cy, length * 0.42, h / 2), body, ink::Black);
    for (qreal k : {-0.22, 0.02, 0.24}) {
        const qreal sx = cx - dir * length * k;
        QPainterPath band = Ellipse(sx, cy, length * 0.045, h / 2);
        canvas.ShapeOver(band, body, stripe);
    }
    const qreal eyeX = cx - dir * length * 0.3;
    canvas.Set(static_cast<int>(eyeX), static_cast<int>(cy - h * 0.12), ink::Black);
}

void SeaGrass(Canvas& canvas, qreal x, qreal height, qreal sway, QRgb colour)
{
    QPainterPath blade;
    blade.moveTo(x - 1.5, 95);
    blade.cubicTo(x - 1.5 + sway, 95 - height * 0.4, x - 1.5 - sway, 95 - height * 0.7, x + sway * 0.5, 95 - height);
    blade.cubicTo(x + 1.5 - sway, 95 - height * 0.7, x + 1.5 + sway, 95 - height * 0.4, x + 1.5, 95);
    blade.closeSubpath();
    canvas.Shape(blade, colour);
}

void Bubbles(Canvas& canvas, std::initializer_list<QPoint> at, QRgb colour)
{
    for (QPoint p : at) {
        canvas.Set(p.x(), p.y() - 1, colour);
        canvas.Set(p.x() - 1, p.y(), colour);
        canvas.Set(p.x() + 1, p.y(), colour);
        canvas.Set(p.x(), p.y() + 1, colour);
    }
}

void Leaf(Canvas& canvas, QPointF base, qreal angle, qreal size, QRgb fill, QRgb vein)
{
    QTransform t;
    t.translate(base.x(), base.y());
    t.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(size * 0.35, -size * 0.45, size * 0.8, -size * 0.3, size, 0);
    leaf.cubicTo(size * 0.8, size * 0.3, size * 0.35, size * 0.45, 0, 0);
    canvas.Shape(t.map(leaf), fill, vein);
    canvas.Line(t.map(QPointF(size * 0.15, 0)), t.map(QPointF(size * 0.8, 0)), vein, 0.8);
}

void Vines(Canvas& canvas, QRgb ground)
{
    canvas.Fill(1, 1, 69, 94, ground);
    for (int column = 0; column < 3; ++column) {
        const qreal x = 13 + column * 22.5;
        QPainterPath stem;
        stem.moveTo(x, 96);
        for (int k = 0; k < 8; ++k)
            stem.quadTo(x + ((k % 2) ? -5 : 5), 96 - k * 12 - 6, x, 96 - (k + 1) * 12);
        QPainterPathStroker stroker;
        stroker.setWidth(1.6);
        canvas.Shape(stroker.createStroke(stem), ink::DarkGreen);
        for (int k = 0; k < 8; ++k) {
            const qreal y = 96 - k * 12 - 6 + column * 4 % 12;
            const bool right = (k + column) % 2 == 0;
            Leaf(canvas, {x + (right ? 2 : -2), y}, right ? -30 : 210, 10, ink::LeafGreen, ink::DarkGreen);
            if ((k + column) % 3 == 0) {
                const QRgb fruit = (k + column) % 2 ? ink::Red : ink::Yellow;
                const qreal fx = x + (right ? -6 : 6);
                for (QPointF berry : {QPointF(fx - 1.8, y + 2), QPointF(fx + 1.8, y + 2), QPointF(fx, y + 5)})
                    canvas.Shape(Ellipse(berry.x(), berry.y(), 1.9, 1.9), fruit,
                                 ground == ink::Black ? ink::DarkGreen : ink::Black);
            }
        }
    }
}

void Beach(Canvas& canvas)
{
    canvas.Fill(1, 1, 69, 94, ink::SkyBlue);
    canvas.Shape(Ellipse(52, 18, 9, 9), ink::Yellow);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        canvas.Line({52 + 11.5 * std::cos(a), 18 + 11.5 * std::sin(a)},
                    {52 + 14.5 * std::cos(a), 18 + 14.5 * std::sin(a)}, ink::Yellow);
    }
    canvas.Fill(1, 56, 69, 16, ink::SeaBlue);
    for (int row = 0; row < 3; ++row)
        for (int x = 3 + row * 5; x < 68; x += 14)
            canvas.HLine(x, x + 5, 59 + row * 5, ink::White);
    QPainterPath sand;
    sand.moveTo(0, 96);
    sand.lineTo(0, 74);
    sand.cubicTo(20, 68, 45, 74, 71, 70);
    sand.lineTo(71, 96);
    sand.closeSubpath();
    canvas.Shape(sand, ink::Sand);
    QPainterPath trunk;
    trunk.moveTo(16, 86);
    trunk.cubicTo(18, 60, 24, 42, 32, 30);
    trunk.lineTo(35, 31);
    trunk.cubicTo(28, 44, 23, 62, 23, 86);
    trunk.closeSubpath();
    canvas.Shape(trunk, ink::Brown, ink::Black);
    for (int y = 40; y < 86; y += 5) {
        QPainterPathStroker stroker;
        stroker.setWidth(0.8);
        QPainterPath bark({14, static_cast<qreal>(y)});
        bark.lineTo(34, y - 5.0);
        canvas.ShapeOver(stroker.createStroke(bark), ink::Brown, ink::Black);
    }
    for (qreal angle : {-160.0, -125.0, -70.0, -30.0, 10.0, 40.0, 170.0}) {
        QTransform t;
        t.translate(33, 29);
        t.rotate(angle);
        QPainterPath frond;
        frond.moveTo(0, 0);
        frond.cubicTo(8, -6, 16, -5, 22, 3);
        frond.cubicTo(15, 0, 8, 0, 0, 2);
        frond.closeSubpath();
        canvas.Shape(t.map(frond), ink::Green, ink::Black);
    }
    canvas.Shape(Ellipse(31, 32, 2.2, 2.2), ink::Brown, ink::Black);
    canvas.Shape(Ellipse(35, 33, 2.2, 2.2), ink::Brown, ink::Black);
}

void Robot(Canvas& canvas)
{
    canvas.Fill(1, 1, 69, 94, ink::Blue);
    for (int y = 4; y < 94; y += 8)
        for (int x = 4 + (y / 8) % 2 * 4; x < 68; x += 8)
            canvas.Set(x, y, ink::NavyBlue);
    // Antenna, head, body, arms and legs.
    canvas.Line({35.5, 9}, {35.5, 16}, ink::Grey, 1);
    canvas.Shape(Ellipse(35.5, 8, 2.5, 2.5), ink::Yellow, ink::Black);
    canvas.Shape(Poly({{22, 16}, {49, 16}, {49, 35}, {22, 35}}), ink::Red, ink::Black);
    canvas.Shape(Poly({{25, 20}, {46, 20}, {46, 27}, {25, 27}}), ink::DarkRed, ink::Black);
    canvas.Shape(Ellipse(30.5, 23.5, 3, 3), ink::Yellow, ink::Black);
    canvas.Shape(Ellipse(40.5, 23.5, 3, 3), ink::Yellow, ink::Black);
    canvas.Set(30, 23, ink::Black);
    canvas.Set(40, 23, ink::Black);
    for (int x = 28; x <= 43; x += 3)
        canvas.Fill(x, 30, 2, 2, ink::White);
    canvas.Shape(Poly({{18, 20}, {22, 20}, {22, 30}, {18, 30}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{49, 20}, {53, 20}, {53, 30}, {49, 30}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{31, 35}, {40, 35}, {40, 39}, {31, 39}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{17, 39}, {54, 39}, {54, 68}, {17, 68}}), ink::Red, ink::Black);
    canvas.Shape(Poly({{23, 44}, {48, 44}, {48, 58}, {23, 58}}), ink::DarkRed, ink::Black);
    canvas.Shape(Ellipse(29.5, 51, 3.5, 3.5), ink::White, ink::Black);
    canvas.Line({29.5, 51}, {31.5, 49}, ink::Black, 1);
    for (int i = 0; i < 3; ++i)
        canvas.Fill(37 + i * 3, 48 + i * 0, 2, 6 + i * 0, i == 1 ? ink::Yellow : ink::White);
    canvas.Fill(26, 62, 2, 2, ink::Yellow);
    canvas.Fill(32, 62, 2, 2, ink::White);
    canvas.Fill(38, 62, 2, 2, ink::Yellow);
    canvas.Fill(44, 62, 2, 2, ink::White);
    canvas.Shape(Poly({{8, 41}, {17, 41}, {17, 47}, {14, 47}, {14, 62}, {8, 62}}), ink::Red, ink::Black);
    canvas.Shape(Poly({{54, 41}, {63, 41}, {63, 62}, {57, 62}, {57, 47}, {54, 47}}), ink::Red, ink::Black);
    canvas.Shape(Poly({{6, 62}, {16, 62}, {16, 68}, {13, 68}, {11, 65}, {9, 68}, {6, 68}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{55, 62}, {65, 62}, {65, 68}, {62, 68}, {60, 65}, {58, 68}, {55, 68}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{22, 68}, {31, 68}, {31, 84}, {22, 84}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{40, 68}, {49, 68}, {49, 84}, {40, 84}}), ink::Grey, ink::Black);
    canvas.Shape(Poly({{18, 84}, {33, 84}, {33, 91}, {18, 91}}), ink::Red, ink::Black);
    canvas.Shape(Poly({{38, 84}, {53, 84}, {53, 91}, {38, 91}}), ink::Red, ink::Black);
}

void Rose(Canvas& canvas, qreal cx, qreal cy, qreal r)
{
    canvas.Shape(Ellipse(cx, cy, r, r * 0.9), ink::DarkRed, ink::Black);
    QPainterPath spiral;
    for (int i = 0; i <= 40; ++i) {
        const qreal a = i * 0.42;
        const qreal rr = r * 0.8 * (1.0 - i / 46.0);
        const QPointF p(cx + rr * std::cos(a), cy + rr * 0.9 * std::sin(a));
        if (i == 0)
            spiral.moveTo(p);
        else
            spiral.lineTo(p);
    }
    QPainterPathStroker stroker;
    stroker.setWidth(0.9);
    canvas.Shape(stroker.createStroke(spiral), ink::Red);
}

void Roses(Canvas& canvas)
{
    canvas.Fill(1, 1, 69, 94, ink::DarkGreen);
    const QPointF roses[] = {{18, 18}, {50, 26}, {28, 48}, {54, 60}, {16, 78}, {44, 84}};
    int turn = 0;
    for (QPointF r : roses)
        for (qreal angle : {20.0, 140.0, 260.0})
            Leaf(canvas, r, angle + 37.0 * turn++, 15, ink::LeafGreen, ink::Black);
    for (QPointF r : roses)
        Rose(canvas, r.x(), r.y(), 8.5);
}

QPointF OnSpiral(QPointF centre, qreal radius, qreal angle)
{
    return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

void Shell(Canvas& canvas)
{
    const QRgb bands[] = {ink::Purple, ink::Teal, ink::Orange, ink::Pink};
    for (int y = 1; y < 95; ++y)
        for (int x = 1; x < 70; ++x)
            canvas.Set(x, y, bands[((x + y) / 9) % 4]);
    // A coiled shell on a logarithmic spiral that widens 2.4 times a turn: the last turn is
    // the shell's outline, the turns inside it the coil, and radial walls mark its chambers.
    const QPointF centre(37, 50);
    const qreal growth = std::log(2.4) / (2 * M_PI);
    const qreal outer = 30;
    const qreal end = 5.2;
    auto radius = [&](qreal angle) { return outer * std::exp(growth * (angle - end)); };
    QPainterPath body;
    for (int i = 0; i <= 72; ++i) {
        const qreal a = end - 2 * M_PI + i * 2 * M_PI / 72;
        if (i == 0)
            body.moveTo(OnSpiral(centre, radius(a), a));
        else
            body.lineTo(OnSpiral(centre, radius(a), a));
    }
    body.closeSubpath();
    canvas.Shape(body, ink::Sand, ink::Brown);
    for (int wall = 0; wall < 12; ++wall) {
        const qreal a = end - 2 * M_PI + (wall + 0.5) * 2 * M_PI / 12;
        QPainterPath stripe;
        stripe.moveTo(OnSpiral(centre, radius(a - 2 * M_PI), a));
        stripe.quadTo(OnSpiral(centre, radius(a - M_PI) * 1.3, a + 0.25), OnSpiral(centre, radius(a) - 1, a + 0.1));
        QPainterPathStroker stroker;
        stroker.setWidth(wall % 2 ? 1.0 : 2.2);
        canvas.ShapeOver(stroker.createStroke(stripe), ink::Sand, wall % 2 ? ink::Brown : ink::White);
    }
    QPainterPath coil;
    for (int i = 0; i <= 160; ++i) {
        const qreal a = end - 2 * M_PI - i * 4 * M_PI / 160;
        if (i == 0)
            coil.moveTo(OnSpiral(centre, radius(a), a));
        else
            coil.lineTo(OnSpiral(centre, radius(a), a));
    }
    QPainterPathStroker stroker;
    stroker.setWidth(1.1);
    canvas.Shape(stroker.createStroke(coil), ink::Brown);
    // The opening, dark inside.
    const QPointF lip = OnSpiral(centre, (radius(end) + radius(end - 2 * M_PI)) / 2, end);
    canvas.Shape(Ellipse(lip.x(), lip.y(), 4, 8), ink::White, ink::Brown);
}

void Castle(Canvas& canvas)
{
    canvas.Fill(1, 1, 69, 94, ink::NavyBlue);
    canvas.Shape(Ellipse(52, 16, 8, 8), ink::Yellow);
    canvas.Shape(Ellipse(48, 13, 7, 7), ink::NavyBlue);
    for (QPoint s :
         {QPoint(10, 8), QPoint(24, 14), QPoint(36, 6), QPoint(62, 34), QPoint(8, 30), QPoint(30, 28), QPoint(58, 4)})
        canvas.Set(s.x(), s.y(), ink::White);
    QPainterPath hill;
    hill.moveTo(0, 96);
    hill.lineTo(0, 70);
    hill.cubicTo(15, 58, 55, 58, 71, 72);
    hill.lineTo(71, 96);
    hill.closeSubpath();
    canvas.Shape(hill, ink::DarkGreen);
    auto tower = [&](qreal x, qreal top, qreal width) {
        canvas.Shape(Poly({{x, top}, {x + width, top}, {x + width, 66}, {x, 66}}), ink::Grey, ink::Black);
        for (qreal bx = x; bx < x + width - 1; bx += 4)
            canvas.Fill(static_cast<int>(bx) + 1, static_cast<int>(top) - 2, 2, 3, ink::Grey);
        canvas.Fill(static_cast<int>(x + width / 2) - 1, static_cast<int>(top) + 6, 2, 3, ink::Yellow);
    };
    canvas.Shape(Poly({{18, 44}, {53, 44}, {53, 66}, {18, 66}}), ink::DarkGrey, ink::Black);
    tower(14, 34, 10);
    tower(47, 34, 10);
    tower(29, 26, 13);
    canvas.Shape(Poly({{31, 66}, {31, 58}, {35.5, 54}, {40, 58}, {40, 66}}), ink::Black);
}

void Hand(Canvas& canvas)
{
    canvas.Fill(1, 1, 69, 94, ink::Yellow);
    for (int y = 4; y < 94; y += 6)
        for (int x = 4 + (y / 6) % 2 * 3; x < 68; x += 6)
            canvas.Set(x, y, ink::Orange);
    // A fan of four cards held at the corner.
    const QPointF pivot(35, 62);
    const char suits[] = {'H', 'S', 'D', 'C'};
    for (int i = 0; i < 4; ++i) {
        QTransform t;
        t.translate(pivot.x(), pivot.y());
        t.rotate(-36 + i * 24);
        canvas.Shape(t.map(Poly({{-10, -46}, {10, -46}, {10, -4}, {-10, -4}})), ink::White, ink::Black);
        const QRgb pip = suits[i] == 'H' || suits[i] == 'D' ? ink::Red : ink::Black;
        canvas.Shape(t.map(Placed(SuitShape(suits[i]), QRectF(-5, -34, 10, 11))), pip);
    }
    // The hand: palm below the fan, thumb across the cards, in a striped sleeve.
    canvas.Shape(Poly({{24, 95}, {26, 73}, {44, 73}, {46, 95}}), ink::Blue, ink::Black);
    for (int y = 77; y < 95; y += 5)
        canvas.ShapeOver(Poly({{20, static_cast<qreal>(y)}, {50, static_cast<qreal>(y)}, {50, y + 2.0}, {20, y + 2.0}}),
                         ink::Blue, ink::White);
    canvas.Shape(Poly({{24.5, 71}, {45.5, 71}, {45.5, 75}, {24.5, 75}}), ink::Red, ink::Black);
    canvas.Shape(Ellipse(35, 64, 10, 8.5), ink::Skin, ink::Black);
    for (int i = 0; i < 4; ++i)
        canvas.Shape(Ellipse(28.5 + i * 4.5, 56.5, 2.4, 3.2), ink::Skin, ink::Black);
    QTransform thumb;
    thumb.translate(43, 62);
    thumb.rotate(-50);
    canvas.Shape(thumb.map(Ellipse(-6, 0, 7, 3)), ink::Skin, ink::Black);
}

} // namespace

void DrawOutline(Canvas& canvas, QRgb corner)
{
    const int right = canvas.Width() - 1;
    const int bottom = canvas.Height() - 1;
    canvas.HLine(2, right - 2, 0, ink::Black);
    canvas.HLine(2, right - 2, bottom, ink::Black);
    canvas.VLine(0, 2, bottom - 2, ink::Black);
    canvas.VLine(right, 2, bottom - 2, ink::Black);
    for (auto [x, y, dx, dy] : {std::array{0, 0, 1, 1}, std::array{right, 0, -1, 1}, std::array{0, bottom, 1, -1},
                                std::array{right, bottom, -1, -1}}) {
        canvas.Set(x + dx, y + dy, ink::Black);
        canvas.Set(x, y, corner);
        canvas.Set(x + dx, y, corner);
        canvas.Set(x, y + dy, corner);
    }
}

Canvas DrawBack(std::string_view name)
{
    const bool facePalette = UsesFacePalette(name);
    Canvas canvas(ink::White);
    if (name == "STD1")
        StandardBack(canvas, ink::Red, ink::DarkRed, ink::Blue, ink::NavyBlue, ink::NavyBlue);
    else if (name == "STD2")
        StandardBack(canvas, ink::Gold, ink::NavyBlue, ink::Green, ink::NavyBlue, ink::NavyBlue);
    else if (name == "FISHES1") {
        canvas.Fill(1, 1, 69, 94, ink::NavyBlue);
        SeaGrass(canvas, 10, 40, 4, ink::Green);
        SeaGrass(canvas, 16, 28, -3, ink::DarkGreen);
        SeaGrass(canvas, 56, 46, -4, ink::Green);
        SeaGrass(canvas, 62, 30, 3, ink::DarkGreen);
        SeaGrass(canvas, 34, 20, 2, ink::Green);
        Fish(canvas, 28, 20, 26, true, ink::Orange, ink::White);
        Fish(canvas, 44, 46, 26, false, ink::Orange, ink::White);
        Fish(canvas, 26, 70, 22, true, ink::Orange, ink::White);
        Bubbles(canvas, {{12, 10}, {15, 6}, {55, 34}, {58, 29}, {60, 24}, {45, 66}}, ink::SeaBlue);
    } else if (name == "FISHES2") {
        canvas.Fill(1, 1, 69, 94, ink::LightBlue);
        Fish(canvas, 22, 16, 22, true, ink::Orange, ink::White);
        Fish(canvas, 48, 38, 22, false, ink::Orange, ink::White);
        Fish(canvas, 22, 60, 22, true, ink::Orange, ink::White);
        Fish(canvas, 48, 82, 22, false, ink::Orange, ink::White);
        Bubbles(canvas, {{40, 10}, {44, 6}, {14, 38}, {18, 33}, {60, 58}, {14, 84}}, ink::White);
    } else if (name == "BEACH")
        Beach(canvas);
    else if (name == "LEAVES1")
        Vines(canvas, ink::Black);
    else if (name == "LEAVES2")
        Vines(canvas, ink::NavyBlue);
    else if (name == "ROBOT")
        Robot(canvas);
    else if (name == "ROSES")
        Roses(canvas);
    else if (name == "SHELL")
        Shell(canvas);
    else if (name == "CASTLE")
        Castle(canvas);
    else if (name == "HAND")
        Hand(canvas);
    else
        throw std::invalid_argument("no such back");
    DrawOutline(canvas, facePalette ? ink::Silver : ink::LightBlue);
    return canvas;
}

} // namespace cardgen
