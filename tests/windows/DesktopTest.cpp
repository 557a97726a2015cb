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

TEST(Desktop, PlatformFollowsTheSessionOnlyWhereNoneWasChosen)
{
    // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE (nullptr: unset), and the choice.
    const char* const rows[][4] = {
        {nullptr, nullptr, "x11", "xcb;wayland"},       {"", "", "tty", "xcb;wayland"},
        {nullptr, "wayland-0", nullptr, "wayland;xcb"}, {"", nullptr, "wayland", "wayland;xcb"},
        {"wayland", nullptr, "x11", "wayland"},         {"offscreen", "wayland-0", "wayland", "offscreen"}};
    const char* const names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};
    const auto set = [](const char* name, const char* value) { value ? setenv(name, value, 1) : unsetenv(name); };
    const std::string platform = std::getenv(names[0]) ? std::getenv(names[0]) : "";
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row[3]) + " for " + (row[1] ? row[1] : "-") + " " + (row[2] ? row[2] : "-"));
        for (int i = 0; i < 3; ++i)
            set(names[i], row[i]);
        desktop::ChoosePlatform();
        EXPECT_STREQ(std::getenv(names[0]), row[3]);
    }
    set(names[0], platform.c_str());
    set(names[1], nullptr);
    set(names[2], nullptr);
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
