#include "windows/Pomoc.h"

#include "tests/windows/Support.h"
#include "windows/Desktop.h"

#include <QApplication>
#include <QFontInfo>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

struct Shown {
    QPoint pos;
    int outerWidth;
    int clientWidth;
    int points;
};

Shown ShowAndMeasure(TFPomoc& help)
{
    help.Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&help));
    return {help.pos(), desktop::OuterWidth(help), help.width(), help.font().pointSize()};
}

} // namespace

TEST(HelpWindow, StandsAtTheTopRightAndWidens)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    EXPECT_EQ(desktop::OuterWidth(help), 591);
    const Shown shown = ShowAndMeasure(help);
    EXPECT_EQ(shown.pos, QPoint(413, 0));
    EXPECT_EQ(shown.outerWidth, 601);
    EXPECT_EQ(shown.pos.x() + shown.outerWidth, 1014);
    EXPECT_EQ(help.height(), 373);
}

TEST(HelpWindow, EveryShowingLooksTheSame)
{
    for (const int dpi : {96, 120, 144}) {
        SCOPED_TRACE(dpi);
        FakeDesktop screen({0, 1024, dpi});
        TFPomoc help;
        for (int showing = 1; showing <= 3; ++showing) {
            SCOPED_TRACE(showing);
            const Shown shown = ShowAndMeasure(help);
            EXPECT_EQ(shown.pos, QPoint(413, 0));
            EXPECT_EQ(shown.clientWidth, 593);
            EXPECT_EQ(shown.points, 10);
            EXPECT_EQ(help.Memo1->font().pointSize(), 10);
            help.close();
            EXPECT_FALSE(help.isVisible());
            EXPECT_EQ(help.font().pointSize(), 10);
            EXPECT_EQ(help.width(), 583);
        }
    }
}

// At 120 dpi (125 %) the help's lines grow as the rest of the desktop does: the test runs itself
// again under QT_FONT_DPI=120 and compares the line pitch, in pixels, of the two pictures.
TEST(HelpWindow, TextGrowsWithTheDesktopAt120Dpi)
{
    TFPomoc help; // on the real (offscreen) screen, whose resolution QT_FONT_DPI sets
    help.Memo1->setPlainText(QStringLiteral("mmmm\nmmmm\nmmmm")); // ink without ascenders or descenders
    ShowAndMeasure(help);
    const QImage shot = help.Memo1->viewport()->grab().toImage();
    std::vector<int> bandStarts; // the first rows of ink after rows without
    for (int y = 0, x = 0, before = shot.width(); y < shot.height(); ++y, before = x, x = 0) {
        while (x < shot.width() && qGray(shot.pixel(x, y)) >= 100)
            ++x;
        if (x < shot.width() && before == shot.width())
            bandStarts.push_back(y);
    }
    ASSERT_GE(bandStarts.size(), 3U);
    const int pitch = bandStarts[2] - bandStarts[1]; // the first line also holds the cursor
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") == 120) {
        std::printf("pitch %d\n", pitch);
        return;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("120"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HelpWindow.TextGrowsWithTheDesktopAt120Dpi"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const int scaledPitch = QRegularExpression(QStringLiteral("pitch (\\d+)")).match(out).captured(1).toInt();
    EXPECT_GE(pitch, 14);
    EXPECT_GE(scaledPitch * 100, pitch * 118) << "96 dpi: " << pitch << " px, 120 dpi: " << out.toStdString();
}

TEST(HelpWindow, ActivationWhileOpenChangesNothing)
{
    for (int dpi : {96, 120}) {
        SCOPED_TRACE(dpi);
        FakeDesktop screen({0, 1024, dpi});
        TFPomoc help;
        const Shown first = ShowAndMeasure(help);
        ActivateElsewhereAndBack(help);
        ActivateElsewhereAndBack(help);
        EXPECT_EQ(help.pos(), first.pos);
        EXPECT_EQ(help.width(), first.clientWidth);
        EXPECT_EQ(help.font().pointSize(), first.points);
    }
}

TEST(HelpWindow, MinimisedAndShownAgainKeepsItsPlaceAndSize)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    const Shown first = ShowAndMeasure(help);
    const int height = help.height();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        help.showMinimized();
        QApplication::processEvents();
        const Shown again = ShowAndMeasure(help);
        EXPECT_FALSE(help.isMinimized()) << "the help item brings the window back";
        EXPECT_EQ(again.pos, first.pos);
        EXPECT_EQ(again.clientWidth, first.clientWidth);
        EXPECT_EQ(help.height(), height);
        EXPECT_EQ(again.points, first.points);
    }
}

TEST(HelpWindow, EscInTheMemoClosesAndOtherKeysType)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    ShowAndMeasure(help);
    help.Memo1->setFocus();
    help.Memo1->moveCursor(QTextCursor::Start);
    const QString before = help.Memo1->toPlainText();
    QTest::keyClicks(help.Memo1, "Ala");
    EXPECT_EQ(help.Memo1->toPlainText(), "Ala" + before);
    EXPECT_TRUE(help.isVisible());

    QTest::keyClick(help.Memo1, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.width(), 583);

    // What the player typed is still there at the next showing.
    ShowAndMeasure(help);
    EXPECT_EQ(help.Memo1->toPlainText(), "Ala" + before);
}

TEST(HelpWindow, ShowingWhileShownOnlyBringsItForward)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    const Shown first = ShowAndMeasure(help);
    help.move(50, 60);
    const Shown again = ShowAndMeasure(help);
    EXPECT_EQ(again.pos, QPoint(50, 60));
    EXPECT_EQ(again.clientWidth, first.clientWidth);
}

TEST(HelpWindow, MemoFillsTheWindowAndScrollsVertically)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    ShowAndMeasure(help);
    EXPECT_EQ(help.Memo1->geometry(), help.rect());
    help.resize(400, 300);
    EXPECT_EQ(help.Memo1->geometry(), QRect(0, 0, 400, 300));
    EXPECT_TRUE(help.Memo1->verticalScrollBar()->isVisible());
    EXPECT_FALSE(help.Memo1->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(help.Memo1->isReadOnly());
    help.Memo1->viewport()->grab(); // lays the text out
    // Word wrap: the first line is too long for a 400-pixel memo, so it takes several rows.
    EXPECT_GT(help.Memo1->document()->firstBlock().layout()->lineCount(), 1);
}

TEST(HelpWindow, CaptionFontAndHint)
{
    FakeDesktop screen(Screen1024);
    TFPomoc help;
    EXPECT_EQ(help.windowTitle(), QString("Pomoc"));
    const QFontInfo info(help.Memo1->font());
    EXPECT_EQ(info.family(), QString("Liberation Sans"));
    EXPECT_TRUE(info.bold());
    EXPECT_EQ(info.pointSize(), 10);

    // Resting the mouse over the text shows the window's hint.
    ShowAndMeasure(help);
    QWidget* viewport = help.Memo1->viewport();
    const QPoint at(100, 100);
    QHelpEvent rest(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &rest);
    EXPECT_EQ(QToolTip::text(), QString("<Esc> zamyka to okno"));
    QToolTip::hideText();
}

TEST(HelpWindow, DoesNotKeepTheProgramAlive)
{
    // Closing the main window ends the program even while the help is still open.
    FakeDesktop screen(Screen1024);
    QWidget main;
    TFPomoc help;
    main.show();
    QTimer::singleShot(0, &main, [&] {
        ShowAndMeasure(help);
        main.close();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(2); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}
