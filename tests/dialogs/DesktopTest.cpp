#include "windows/Desktop.h"

#include <QFont>
#include <QFontInfo>
#include <QMargins>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(Desktop, RealMetricsComeFromTheScreen)
{
    // The offscreen platform's one screen is 800 x 600 at 96 dpi.
    const desktop::Metrics metrics = desktop::Current();
    EXPECT_EQ(metrics.top, 0);
    EXPECT_EQ(metrics.width, 800);
    EXPECT_EQ(metrics.pixelsPerInch, 96);
}

TEST(Desktop, FrameComesFromThePlatformUnlessFaked)
{
    QWidget window;
    window.resize(455, 110);
    // Not mapped yet: nothing is known, so the classic frame stands in.
    EXPECT_EQ(desktop::WindowFrame(window), QMargins(4, 23, 4, 4));
    window.show();
    // The offscreen platform draws a 2-pixel frame all round.
    EXPECT_EQ(desktop::WindowFrame(window), QMargins(2, 2, 2, 2));
    EXPECT_EQ(desktop::OuterWidth(window), 459);
    desktop::SetOverride(desktop::Metrics{0, 1024, 96});
    EXPECT_EQ(desktop::OuterWidth(window), 463);
    desktop::SetOverride(std::nullopt);
}

TEST(Desktop, X11IsPreferredOnlyWhereNoPlatformWasChosen)
{
    struct Row {
        const char* name;
        const char* chosen; // nullptr: unset
        const char* after;
    };
    const Row rows[] = {{"unset", nullptr, "xcb;wayland"},
                        {"empty", "", "xcb;wayland"},
                        {"wayland", "wayland", "wayland"},
                        {"offscreen", "offscreen", "offscreen"}};
    const std::string before = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.chosen)
            setenv("QT_QPA_PLATFORM", row.chosen, 1);
        else
            unsetenv("QT_QPA_PLATFORM");
        desktop::PreferX11();
        const char* after = std::getenv("QT_QPA_PLATFORM");
        ASSERT_NE(after, nullptr);
        EXPECT_STREQ(after, row.after);
    }
    setenv("QT_QPA_PLATFORM", before.c_str(), 1);
}

TEST(Desktop, WindowsFontFamiliesResolveToLiberationSans)
{
    desktop::InstallFontSubstitutions();
    desktop::InstallFontSubstitutions(); // a second call must not disturb the first
    for (const char* family : {"MS Sans Serif", "Arial"}) {
        SCOPED_TRACE(family);
        QFont font(family);
        font.setBold(true);
        EXPECT_EQ(QFontInfo(font).family(), QString("Liberation Sans"));
        EXPECT_EQ(QFont::substitutes(family).filter("Liberation Sans", Qt::CaseInsensitive).size(), 1);
    }
}
