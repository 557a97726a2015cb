// Takes the screenshots in docs/: the main window after a deal, then the reward, loan and
// help windows, and, given a fifth file, the round's result box, as the X server shows them.
// Run under Xvfb by tools/screenshot.sh; the deal is a fixed one. The language is chosen as the
// game chooses it (LANGUAGE=en for English).

#include "engine/Engine.h"
#include "scores/Statistics.h"
#include "session/Language.h"
#include "session/Program.h"
#include "session/Unit1.h"
#include "windows/Pomoc.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

bool GrabWindow(QWidget* window, const QString& path)
{
    QTest::qWait(400); // let the X server draw everything
    const QRect frame = window->frameGeometry();
    const QPixmap shot = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    return shot.save(path);
}

// Grabs the first box that comes up into path, then answers every box as a player playing on.
void AnswerBoxes(const QString& path, bool& ok)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, path, &ok, grabbed = false]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!grabbed) {
            ok = GrabWindow(box, path) && ok;
            grabbed = true;
        }
        for (QAbstractButton* button : box->buttons()) {
            const QMessageBox::ButtonRole role = box->buttonRole(button);
            if (role == QMessageBox::YesRole || role == QMessageBox::AcceptRole) {
                button->click();
                return;
            }
        }
        timer->stop();
    });
    timer->start(300);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: screenshot <main.png> <reward.png> <loan.png> <help.png> [result.png]\n");
        return 2;
    }
    QTranslator translator;
    if (session::LoadTranslation(translator, QLocale::system().uiLanguages()))
        QCoreApplication::installTranslator(&translator);
    QTemporaryDir dir;
    session::SetStatisticsFilePath(dir.filePath(QStringLiteral("wirtola.ini")).toStdString());
    engine::SetClockSource([]() -> std::uint32_t { return 36000000; });

    Program program;
    Form1->MuzykaZal1->setChecked(false); // no tunes: the picture is the point here
    Form1->move(20, 20);
    Form1->btnRozdanie->click();
    bool ok = GrabWindow(Form1, QString::fromLocal8Bit(argv[1]));
    if (argc > 5) {
        AnswerBoxes(QString::fromLocal8Bit(argv[5]), ok);
        Form1->btnKupno->click();
    }

    const OtherWindows& windows = Form1->Windows();
    TForm2* Form2 = windows.Form2;
    TForm3* Form3 = windows.Form3;
    TFPomoc* FPomoc = windows.FPomoc;
    Form2->move(60, 60);
    Form2->show();
    ok = GrabWindow(Form2, QString::fromLocal8Bit(argv[2])) && ok;
    Form2->hide();

    Form3->show();
    ok = GrabWindow(Form3, QString::fromLocal8Bit(argv[3])) && ok;
    Form3->hide();

    FPomoc->Show();
    ok = GrabWindow(FPomoc, QString::fromLocal8Bit(argv[4])) && ok;
    FPomoc->close();
    return ok ? 0 : 1;
}
