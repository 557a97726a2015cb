#include "tools/icongen/Icons.h"

#include <QGuiApplication>
#include <QStringList>

#include <exception>
#include <iostream>

// Draws the program icon: icongen <folder> [--sheet <file.png>]
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString folder;
    QString sheet;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--sheet" && i + 1 < args.size())
            sheet = args[++i];
        else
            folder = args[i];
    }
    if (folder.isEmpty() && sheet.isEmpty()) {
        std::cerr << "usage: icongen <folder> [--sheet <file.png>]\n";
        return 2;
    }
    try {
        if (!folder.isEmpty())
            icongen::WriteIcons(folder);
        if (!sheet.isEmpty() && !icongen::ContactSheet().save(sheet, "PNG", 9)) {
            std::cerr << "cannot write " << sheet.toStdString() << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
