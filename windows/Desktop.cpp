#include "windows/Desktop.h"

#include <QFont>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace desktop {
namespace {

std::optional<Metrics>& Override()
{
    static std::optional<Metrics> metrics;
    return metrics;
}

const QMargins kClassicFrame{4, 23, 4, 4};

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
    metrics.pixelsPerInch =
        static_cast<int>(std::lround(screen->logicalDotsPerInchY() * screen->devicePixelRatio()));
    return metrics;
}

void SetOverride(std::optional<Metrics> metrics)
{
    Override() = metrics;
}

QMargins WindowFrame(const QWidget& window)
{
    if (Override())
        return kClassicFrame;
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (outer == inner)
        return kClassicFrame;
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

int OuterWidth(const QWidget& window)
{
    const QMargins frame = WindowFrame(window);
    return window.width() + frame.left() + frame.right();
}

void InstallFontSubstitutions()
{
    // insertSubstitution ignores a substitute already listed, so calling twice is harmless.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
}

} // namespace desktop
