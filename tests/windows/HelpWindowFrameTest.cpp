// The help window under a real window manager (run through UnderOpenbox.sh): where its frame
// ends up, read from the X server itself rather than from what Qt believes.

#include "windows/Desktop.h"
#include "windows/Pomoc.h"

#include <QApplication>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
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
