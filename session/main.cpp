#include "session/Program.h"
#include "windows/Desktop.h"

#include <QApplication>

int main(int argc, char** argv)
{
    desktop::PreferX11();
    QApplication app(argc, argv);
    return RunProgram(app);
}
