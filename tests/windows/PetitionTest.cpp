#include "windows/Unit3.h"

#include "tests/windows/Support.h"
#include "windows/Desktop.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

const int StillOpen = 42;

// Runs the petition modally and, once it is active, does what the player does. A watchdog
// ends a showing that the action failed to close, so a fault fails the test instead of hanging.
int ExecWith(TForm3& form, const std::function<void()>& action)
{
    QTimer::singleShot(0, &form, [&form, action] {
        if (!QTest::qWaitForWindowActive(&form))
            ADD_FAILURE() << "the petition never became active";
        action();
    });
    QTimer::singleShot(5000, &form, [&form] { form.done(StillOpen); });
    return form.exec();
}

// Horizontal centre of the yellow text pixels between two rows of the panel.
double YellowCentre(const QImage& panel, int top, int bottom)
{
    int left = panel.width();
    int right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < panel.width(); ++x)
            if (panel.pixel(x, y) == qRgb(255, 255, 0)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < 0 ? -1 : (left + right) / 2.0;
}

} // namespace

TEST(Petition, OnlyAmenGrantsTheLoan)
{
    FakeDesktop screen(Screen1024);
    struct Case {
        const char* name;
        std::function<void(TForm3&)> act;
        int want;
    };
    const Case cases[] = {
        {"click Amen", [](TForm3& f) { QTest::mouseClick(f.btnAmen, Qt::LeftButton); }, 1},
        {"Alt+M", [](TForm3& f) { QTest::keyClick(&f, Qt::Key_M, Qt::AltModifier); }, 1},
        // Amen is the one control that takes the focus, so Enter and space press it.
        {"Enter", [](TForm3&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }, 1},
        {"space", [](TForm3&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }, 1},
        {"close box", [](TForm3& f) { f.windowHandle()->close(); }, 0},
        {"Esc", [](TForm3&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }, 0},
    };
    // One window for every case, as the game reuses its one petition.
    TForm3 form;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExecWith(form, [&] { c.act(form); }), c.want);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST(Petition, StandsAtTheTopRightOfTheDesktop)
{
    struct Case {
        const char* name;
        desktop::Metrics desktop;
        QPoint want;
    };
    const Case cases[] = {
        {"one 1024-pixel screen", Screen1024, {461, 0}},
        {"one 1280-pixel screen", {0, 1280, 96}, {717, 0}},
        {"two screens side by side", {0, 2944, 96}, {2381, 0}},
        // Offscreen windows cannot go above the screen, so a top below zero is not shown here.
        {"desktop starting lower", {40, 1024, 96}, {461, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop screen(c.desktop);
        TForm3 form;
        QPoint shownAt;
        int outerWidth = 0;
        ExecWith(form, [&] {
            shownAt = form.pos();
            outerWidth = desktop::OuterWidth(form);
            form.btnAmen->click();
        });
        EXPECT_EQ(shownAt, c.want);
        EXPECT_EQ(outerWidth, 463);
    }
}

TEST(Petition, ActivatingAgainRepeatsThePlacement)
{
    FakeDesktop screen(Screen1024);
    TForm3 form;
    QPoint afterDrag;
    QPoint afterReactivation;
    ExecWith(form, [&] {
        form.move(100, 200);
        afterDrag = form.pos();
        ActivateElsewhereAndBack(form);
        afterReactivation = form.pos();
        form.btnAmen->click();
    });
    EXPECT_EQ(afterDrag, QPoint(100, 200));
    EXPECT_EQ(afterReactivation, QPoint(461, 0));
}

TEST(Petition, TextsAndFonts)
{
    FakeDesktop screen(Screen1024);
    TForm3 form;
    EXPECT_EQ(form.windowTitle(), QString("Podanie"));
    EXPECT_EQ(form.StaticText1->text(), QString("Wspomóż sługę Twego stosownym funduszem"));
    EXPECT_EQ(form.StaticText2->text(), QString("Wielce Miłościwy Panie"));
    EXPECT_EQ(form.btnAmen->text(), QString("A&men"));
    struct Case {
        const char* name;
        QWidget* widget;
        int pixels;
    };
    for (const Case& c : {Case{"first text", form.StaticText1, 16}, Case{"second text", form.StaticText2, 16},
                          Case{"button", form.btnAmen, 12}}) {
        SCOPED_TRACE(c.name);
        const QFontInfo info(c.widget->font());
        EXPECT_EQ(info.family(), QString("Liberation Sans"));
        EXPECT_EQ(info.pixelSize(), c.pixels);
        EXPECT_TRUE(info.bold());
    }
}

TEST(Petition, PaintsCentredYellowTextsOnAnOlivePanel)
{
    FakeDesktop screen(Screen1024);
    TForm3 form;
    QImage panel;
    ExecWith(form, [&] {
        panel = form.Panel1->grab().toImage();
        form.btnAmen->click();
    });
    ASSERT_EQ(panel.size(), QSize(455, 110));
    const QColor olive(128, 128, 0);
    const QColor shadow = form.palette().color(QPalette::Dark);
    const QColor highlight = form.palette().color(QPalette::Light);
    struct Pixel {
        const char* name;
        QPoint at;
        QColor want;
    };
    const Pixel pixels[] = {
        {"outer bevel ring, top left", {0, 0}, shadow},
        {"inner bevel ring, top", {100, 1}, shadow},
        {"outer bevel ring, bottom right", {454, 109}, highlight},
        {"inner bevel ring, right", {453, 60}, highlight},
        {"panel face", {20, 100}, olive},
        {"rule, upper line", {200, 54}, shadow},
        {"rule, lower line", {200, 55}, highlight},
        {"left of the rule", {37, 54}, olive},
    };
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(panel.pixelColor(p.at).name(), p.want.name());
    }
    // Each text is centred across the panel's width minus 4, starting at 6.
    const double centre = 6 + 451 / 2.0;
    EXPECT_NEAR(YellowCentre(panel, 10, 30), centre, 2.0);
    EXPECT_NEAR(YellowCentre(panel, 34, 52), centre, 2.0);
}
