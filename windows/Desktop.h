#pragma once

#include <optional>

class QMargins;
class QWidget;

// The few desktop services the secondary windows place themselves by. Everything goes
// through here so that tests can stand the windows on a desktop of their choosing.
namespace desktop {

struct Metrics {
    int top = 0;            // top edge of the virtual screen that spans all monitors
    int width = 0;          // its width (not its right edge)
    int pixelsPerInch = 96; // the screen's resolution in device pixels per inch
};

// The real desktop, unless an override is in force.
Metrics Current();

// Process-wide fake desktop for tests; std::nullopt returns to the real one. Windows on a fake
// desktop wear the classic frame below, so their placement follows the classic arithmetic.
void SetOverride(std::optional<Metrics> metrics);

// The frame a top-level window wears: left, top (title bar included), right, bottom. Where the
// platform reports none (no window manager, or not mapped yet) the classic frame of 4 px sides
// and a 23 px title bar is assumed, so a window lands where it would with such a frame.
QMargins WindowFrame(const QWidget& window);

// The frame the window manager reports for a shown window, read from the platform itself; none
// on a fake desktop, without a window manager, or before the manager has framed the window.
std::optional<QMargins> ReportedFrame(const QWidget& window);

// Width of a top-level window including its frame: the width the placement rules speak of.
int OuterWidth(const QWidget& window);

// Where the user has not chosen a Qt platform (QT_QPA_PLATFORM unset or empty): on a Wayland
// session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE "wayland") the native Wayland platform
// first, since through XWayland a scaled desktop blurs every text; X11 first anywhere else,
// where windows may place themselves. Call before the application object is created.
void ChoosePlatform();

// The windows ask for "MS Sans Serif" and "Arial", which Linux lacks; map both to Liberation
// Sans, which has Arial's metrics. Call once at start-up, before any window is created.
void InstallFontSubstitutions();

} // namespace desktop
