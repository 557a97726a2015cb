#include "windows/Desktop.h"

#include <QFont>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace desktop {
namespace {

std::optional<Metrics>& Override()
{
    static std::optional<Metrics> metrics;
    return metrics;
}

const QMargins ClassicFrame{4, 23, 4, 4};

} // namespace

Metrics Current()
{
    if (Override())
        return *Override();
    Metrics metrics;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return metrics;
    const QRect virtualDesktop = screen->virtualGeometry();
    metrics.top = virtualDesktop.top();
    metrics.width = virtualDesktop.width();
    // Qt reports a scaled screen as 96 logical dpi times its pixel ratio; multiplying back gives
    // the resolution the user chose (120 at 125 %), which is what the help window's rule asks.
    metrics.pixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInchY() * screen->devicePixelRatio()));
    return metrics;
}

void SetOverride(std::optional<Metrics> metrics)
{
    Override() = metrics;
}

QMargins WindowFrame(const QWidget& window)
{
    if (Override())
        return ClassicFrame;
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (outer == inner)
        return ClassicFrame;
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

std::optional<QMargins> ReportedFrame(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    if (Override() || !handle || !window.isVisible())
        return std::nullopt;
    // QWidget::frameGeometry can lag behind while the window manager reparents the window;
    // the platform window's margins come straight from what the manager announced.
    const QMargins margins = handle->frameMargins();
    if (margins.isNull() || margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return std::nullopt;
    return margins;
}

int OuterWidth(const QWidget& window)
{
    const QMargins frame = WindowFrame(window);
    return window.width() + frame.left() + frame.right();
}

void ChoosePlatform()
{
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen != nullptr && *chosen != '\0')
        return;
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland =
        (display != nullptr && *display != '\0') || (session != nullptr && std::strcmp(session, "wayland") == 0);
    setenv("QT_QPA_PLATFORM", wayland ? "wayland;xcb" : "xcb;wayland", 1);
}

void InstallFontSubstitutions()
{
    // insertSubstitution ignores a substitute already listed, so calling twice is harmless.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
}

} // namespace desktop
