#include "cards/CardAccessible.h"
#include "program/CommandLine.h"
#include "program/Display.h"
#include "program/Language.h"
#include "program/Program.h"
#include "windows/Desktop.h"

#include <QApplication>
#include <QLocale>

#include <memory>
#include <optional>

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = program::RunCommandLine(argc, argv))
        return *answered;
    desktop::ChoosePlatform();
    const std::unique_ptr<QApplication> app = program::OpenDisplay(argc, argv);
    // LANGUAGE, LC_ALL, LC_MESSAGES and LANG choose, as Qt reads them; Polish needs only Qt's own.
    const program::Translations translations(QLocale::system().uiLanguages());
    // Lets the desktop match the window to its menu entry and icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.wirtola.Wirtola"));
    InstallCardAccessibility();
    return RunProgram(*app);
}
