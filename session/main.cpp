#include "cards/CardAccessible.h"
#include "session/Program.h"
#include "windows/Desktop.h"

#include <QApplication>

int main(int argc, char** argv)
{
    desktop::PreferX11();
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.wirtola.Wirtola"));
    InstallCardAccessibility();
    return RunProgram(app);
}
