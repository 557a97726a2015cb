#include "tools/cardgen/Art.h"

#include <QGuiApplication>
#include <QStringList>

#include <exception>
#include <iostream>

// Draws the card image set: cardgen <folder> [--sheet <file.png>] [--scale <n>]
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString folder;
    QString sheet;
    int scale = 2;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--sheet" && i + 1 < args.size())
            sheet = args[++i];
        else if (args[i] == "--scale" && i + 1 < args.size())
            scale = std::max(1, args[++i].toInt());
        else
            folder = args[i];
    }
    if (folder.isEmpty() && sheet.isEmpty()) {
        std::cerr << "usage: cardgen <folder> [--sheet <file.png>] [--scale <n>]\n";
        return 2;
    }
    try {
        if (!folder.isEmpty())
            cardgen::WriteCardSet(folder);
        if (!sheet.isEmpty() && !cardgen::ContactSheet(scale).save(sheet, "PNG", 9)) {
            std::cerr << "cannot write " << sheet.toStdString() << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
