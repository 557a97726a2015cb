#pragma once

#include "windows/Desktop.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// Stands the windows on a desktop of the test's choosing for as long as it lives.
class FakeDesktop {
public:
    explicit FakeDesktop(desktop::Metrics metrics)
    {
        desktop::InstallFontSubstitutions();
        desktop::SetOverride(metrics);
    }
    ~FakeDesktop() { desktop::SetOverride(std::nullopt); }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;
};

inline constexpr desktop::Metrics Screen1024{0, 1024, 96};

// Lets another window take the activation, then hands it back, as a player switching away
// to the main window and back does.
inline void ActivateElsewhereAndBack(QWidget& window)
{
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}
