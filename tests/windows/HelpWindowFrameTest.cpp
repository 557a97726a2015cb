// The help window and the statistics window under a real window manager (run through UnderOpenbox.sh): where its frame
// ends up, read from the X server itself rather than from what Qt believes.

#include "windows/Desktop.h"
#include "windows/Pomoc.h"
#include "windows/StatisticsWindow.h"

#include <QApplication>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// What xwininfo says about one window; empty when it could not tell.
QString WindowInfo(const QString& id, bool tree = false)
{
    QProcess xwininfo;
    QStringList arguments{QStringLiteral("-id"), id};
    if (tree)
        arguments << QStringLiteral("-tree");
    xwininfo.start(QStringLiteral("xwininfo"), arguments);
    if (!xwininfo.waitForFinished(5000) || xwininfo.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
}

int Field(const QString& info, const char* name)
{
    const QRegularExpression pattern(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(name)));
    const QRegularExpressionMatch match = pattern.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
}

QString Id(const QString& info, const char* name)
{
    const QRegularExpression pattern(QStringLiteral("%1 window id: (0x[0-9a-f]+)").arg(QLatin1String(name)));
    const QRegularExpressionMatch match = pattern.match(info);
    return match.hasMatch() ? match.captured(1) : QString();
}

struct XGeometry {
    QRect frame;  // outer edge of the window manager's frame, its border included
    QRect client; // the window's own area
    bool mapped = false;
};

// Walks from the window up to the root's child, which is the frame the window manager made.
XGeometry Measure(const QWidget& window)
{
    const QString client = QStringLiteral("0x%1").arg(window.winId(), 0, 16);
    QString frame = client;
    for (int depth = 0; depth < 8; ++depth) {
        const QString tree = WindowInfo(frame, true);
        const QString parent = Id(tree, "Parent");
        if (parent.isEmpty() || parent == Id(tree, "Root"))
            break;
        frame = parent;
    }
    const QString clientInfo = WindowInfo(client);
    const QString frameInfo = WindowInfo(frame);
    XGeometry geometry;
    geometry.mapped = clientInfo.contains(QStringLiteral("IsViewable"));
    geometry.client = QRect(Field(clientInfo, "Absolute upper-left X"), Field(clientInfo, "Absolute upper-left Y"),
                            Field(clientInfo, "Width"), Field(clientInfo, "Height"));
    const int border = Field(frameInfo, "Border width");
    geometry.frame =
        QRect(Field(frameInfo, "Absolute upper-left X") - border, Field(frameInfo, "Absolute upper-left Y") - border,
              Field(frameInfo, "Width") + 2 * border, Field(frameInfo, "Height") + 2 * border);
    return geometry;
}

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x"
        + std::to_string(r.height());
}

} // namespace

TEST(HelpWindowUnderAWindowManager, EveryShowingStandsAtTheTopRight)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run through UnderOpenbox.sh";
    desktop::InstallFontSubstitutions();
    const desktop::Metrics screen = desktop::Current();
    ASSERT_EQ(screen.width, 1024);
    // A fault that leaves a wait hanging ends the run here rather than at the ctest limit.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "watchdog";
        std::_Exit(3);
    });
    watchdog.start(100000);

    TFPomoc help;
    QRect firstFrame;
    for (int showing = 1; showing <= 2; ++showing) {
        SCOPED_TRACE(showing);
        help.Show();
        // The activation is the last event that places the window; the waits end at their
        // events, and their limits are only for a fault (a busy machine may be slow to get there).
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help, 20000));
        // The frame's top at the desktop's top and its right edge 10 px in from its width, as
        // soon as the window manager has framed the window and for good afterwards.
        const auto placed = [&] {
            const XGeometry now = Measure(help);
            return now.mapped && now.frame.top() == screen.top
                && now.frame.left() + now.frame.width() == screen.width - 10;
        };
        EXPECT_TRUE(QTest::qWaitFor(placed, 20000));
        QCoreApplication::processEvents();
        const XGeometry shown = Measure(help);
        EXPECT_TRUE(shown.mapped);
        EXPECT_EQ(shown.frame.top(), screen.top) << Text(shown.frame);
        EXPECT_EQ(shown.frame.left() + shown.frame.width(), screen.width - 10) << Text(shown.frame);
        // The window manager really framed it, and the window itself stays as designed.
        EXPECT_GT(shown.client.top(), shown.frame.top()) << Text(shown.client);
        EXPECT_EQ(shown.client.width(), 593);
        EXPECT_EQ(shown.client.height(), 373);
        if (showing == 1)
            firstFrame = shown.frame;
        else
            EXPECT_EQ(shown.frame, firstFrame) << Text(shown.frame);

        help.close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Measure(help).mapped; }, 20000));
    }
}

// The statistics window opens beside the game's window on its screen, on the side with room,
// narrowed to fit where it can be; only where neither side has room does it cover part of it.
TEST(StatisticsWindowUnderAWindowManager, OpensBesideTheGameNotOverIt)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run through UnderOpenbox.sh";
    desktop::InstallFontSubstitutions();
    const QRect screen(0, 0, 1024, 768);
    const struct {
        const char* name;
        QRect game;
        int side; // +1 to the right, -1 to the left, 0 no room either side
    } rows[] = {
        {"the game at the left", {10, 40, 400, 300}, +1},
        {"the game at the right", {600, 40, 400, 300}, -1},
        {"no room beside it", {280, 100, 420, 300}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget game;
        game.setGeometry(row.game);
        game.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&game, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return desktop::ReportedFrame(game).has_value(); }, 20000));
        StatisticsWindow statistics;
        statistics.PlaceBeside(&game);
        statistics.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&statistics, 20000));
        QTest::qWait(300); // the window manager's last move
        const XGeometry beside = Measure(statistics);
        const XGeometry main = Measure(game);
        ASSERT_TRUE(beside.mapped && main.mapped);
        EXPECT_TRUE(screen.contains(beside.frame)) << Text(beside.frame);
        if (row.side != 0) {
            EXPECT_FALSE(beside.frame.intersects(main.frame)) << Text(beside.frame) << " over " << Text(main.frame);
        }
        if (row.side > 0) {
            EXPECT_GT(beside.frame.left(), main.frame.right()) << Text(beside.frame);
        }
        if (row.side < 0) {
            EXPECT_LT(beside.frame.right(), main.frame.left()) << Text(beside.frame);
        }
        if (row.side == 0) { // the side with more room, as little over the game as the screen allows
            EXPECT_GE(beside.frame.right(), screen.right() - 8) << Text(beside.frame);
        }
        // Level with the game, unless it is too tall for that: then as low as the screen lets it.
        EXPECT_TRUE(std::abs(beside.frame.top() - main.frame.top()) <= 8
                    || beside.frame.bottom() >= screen.bottom() - 8)
            << Text(beside.frame);
    }
}
