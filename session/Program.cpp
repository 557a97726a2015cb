#include "session/Program.h"

#include "session/Signals.h"
#include "session/Statistics.h"
#include "session/StatisticsLock.h"
#include "session/Unit1.h"
#include "windows/Boxes.h"
#include "windows/Desktop.h"
#include "windows/Pomoc.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QApplication>
#include <QEventLoop>

TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TFPomoc* FPomoc = nullptr;

Program::Program()
{
    boxes::SetApplicationTitle(QStringLiteral("Wirtola"));
    QCoreApplication::setApplicationName(QStringLiteral("Wirtola"));
    desktop::InstallFontSubstitutions();
    signals_ = std::make_unique<session::TerminationSignals>();
    QObject::connect(signals_.get(), &session::TerminationSignals::Received, [] {
        if (Form1)
            Form1->CloseBySignal();
    });
    // The main window shows itself and reads the statistics before any other window exists.
    form1_ = std::make_unique<TForm1>();
    form2_ = std::make_unique<TForm2>(RewardLinksOf(*form1_));
    Form2 = form2_.get();
    form3_ = std::make_unique<TForm3>();
    Form3 = form3_.get();
    fpomoc_ = std::make_unique<TFPomoc>();
    FPomoc = fpomoc_.get();
    const std::string statistics = session::StatisticsFilePath();
    FPomoc->SetStatisticsFile(QString::fromStdString(statistics), statistics == session::PerUserStatisticsFilePath());
}

RewardLinks RewardLinksOf(TForm1& form1)
{
    TForm1* main = &form1;
    return {main->Beeper, [main] { return main->SoundsOn(); }, [main] { return main->Ended(); },
            [main] { main->ResetAfterReward(); }};
}

Program::~Program()
{
    FPomoc = nullptr;
    Form3 = nullptr;
    Form2 = nullptr;
}

int RunProgram(QApplication&)
{
    // Held to the end: a second game on the same statistics would overwrite this one's totals.
    session::PrepareStatisticsFolder();
    const session::StatisticsLock lock(session::StatisticsFilePath());
    if (lock.state() == session::StatisticsLock::State::InUse) {
        boxes::SetApplicationTitle(QStringLiteral("Wirtola"));
        boxes::ShowMessage(QStringLiteral("Wirtola jest już uruchomiona z tym samym plikiem wyników.\r"
                                          "Zakończ tamtą grę, zanim zaczniesz nową."));
        return 1;
    }
    Program program;
    if (!Form1 || Form1->Ended())
        return 0;
    // Only this loop ends with the main window. Ending the whole application instead would
    // make every later nested loop (a tune still finishing, a box) return at once.
    QEventLoop loop;
    QObject::connect(Form1, &TForm1::ProgramEnded, &loop, &QEventLoop::quit);
    return loop.exec();
}
