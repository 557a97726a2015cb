#include "windows/Desktop.h"

#include <QFont>
#include <QFontInfo>
#include <QMargins>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

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
    struct Row {
        const char* name;
        const char* chosen; // nullptr: unset
        const char* waylandDisplay;
        const char* sessionType;
        const char* after;
    };
    const Row rows[] = {{"unset, X11 session", nullptr, nullptr, "x11", "xcb;wayland"},
                        {"empty, no session type", "", nullptr, nullptr, "xcb;wayland"},
                        {"unset, Wayland display", nullptr, "wayland-0", nullptr, "wayland;xcb"},
                        {"unset, Wayland session", nullptr, nullptr, "wayland", "wayland;xcb"},
                        {"empty Wayland display", nullptr, "", "tty", "xcb;wayland"},
                        {"chosen wayland", "wayland", nullptr, "x11", "wayland"},
                        {"chosen offscreen", "offscreen", "wayland-0", "wayland", "offscreen"}};
    const char* names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};
    std::vector<std::optional<std::string>> before;
    for (const char* name : names)
        before.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
    const auto set = [](const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        set(names[0], row.chosen);
        set(names[1], row.waylandDisplay);
        set(names[2], row.sessionType);
        desktop::ChoosePlatform();
        const char* after = std::getenv("QT_QPA_PLATFORM");
        ASSERT_NE(after, nullptr);
        EXPECT_STREQ(after, row.after);
    }
    for (std::size_t i = 0; i < before.size(); ++i)
        set(names[i], before[i] ? before[i]->c_str() : nullptr);
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
