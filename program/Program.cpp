#include "program/Program.h"

#include "program/Display.h"
#include "program/ExitStatus.h"
#include "program/ProgramTexts.h"
#include "program/Signals.h"
#include "scores/Statistics.h"
#include "scores/StatisticsLock.h"
#include "session/Unit1.h"
#include "sound/SpeakerPlatform.h"
#include "windows/Boxes.h"
#include "windows/Desktop.h"
#include "windows/Pomoc.h"
#include "windows/StatisticsWindow.h"
#include "windows/Text.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdlib>

namespace {

// Set once the main window has been made, and so has read the statistics: a display lost while it
// is still being made leaves nothing of this game's to save, and values not yet read must not be.
bool mainWindowMade = false;

// A display that goes away (an X server that dies, a compositor that ends, a session torn down)
// ends the game as a closing would save it, even while the main window is being made; values not
// yet read must not be saved then.
void SaveForTheLostDisplay()
{
    if (Form1 && !Form1->Ended() && mainWindowMade)
        Form1->SaveWithoutAsking();
}

// Qt may also end the process through exit() when the display goes away.
void SaveIfTheDisplayWent()
{
    if (Form1 && !Form1->Ended())
        program::EndForLostDisplay();
}

// Opens the sound output (loading its libraries) once the main window has been painted: the start
// pays only for the window, and the first tune, which cannot come before a click, finds it ready.
class AfterFirstPaint final : public QObject {
public:
    explicit AfterFirstPaint(QWidget* window)
        : QObject(window)
        , window_(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == window_) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, [] { WarmUpSpeakerPlatform(); });
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

Program::Program()
{
    boxes::SetApplicationTitle(Text(texts::ApplicationTitle));
    QCoreApplication::setApplicationName(Text(texts::ApplicationTitle));
    desktop::InstallFontSubstitutions();
    signals_ = std::make_unique<program::TerminationSignals>();
    QObject::connect(signals_.get(), &program::TerminationSignals::Received, [] {
        if (Form1)
            Form1->CloseBySignal();
    });
    // The main window shows itself and reads the statistics before any other window exists.
    program::SetDisplayLostHook(SaveForTheLostDisplay);
    static const bool watching = std::atexit(SaveIfTheDisplayWent) == 0;
    (void)watching;
    mainWindowMade = false;
    form1_ = std::make_unique<TForm1>();
    mainWindowMade = true;
    new AfterFirstPaint(form1_.get());
    form2_ = std::make_unique<TForm2>(RewardLinksOf(*form1_));
    form3_ = std::make_unique<TForm3>();
    fpomoc_ = std::make_unique<TFPomoc>();
    // The petition and the reward are modal over the main window.
    boxes::KeepAbove(*form2_, form1_.get());
    boxes::KeepAbove(*form3_, form1_.get());
    statistics_ = std::make_unique<StatisticsWindow>();
    statistics_->PlaceBeside(form1_.get());
    form1_->AttachWindows(
        {.Form2 = form2_.get(), .Form3 = form3_.get(), .FPomoc = fpomoc_.get(), .Statistics = statistics_.get()});
    const scores::StatisticsPlace& place = scores::CurrentStatisticsPlace();
    fpomoc_->SetStatisticsFile(QString::fromStdString(place.path), place.perUser,
                               QString::fromStdString(place.leftBehind));
}

RewardLinks RewardLinksOf(TForm1& form1)
{
    TForm1* main = &form1;
    return {main->Beeper, [main] { return main->SoundsOn(); }, [main] { return main->Ended(); },
            [main] { main->ResetAfterReward(); }};
}

Program::~Program() = default;

int RunProgram(QApplication&)
{
    // Held to the end: a second game on the same statistics would overwrite this one's totals.
    scores::PrepareStatisticsFolder();
    scores::StatisticsLock lock(scores::StatisticsFilePath(), scores::CurrentStatisticsPlace().perUser);
    if (lock.state() == scores::StatisticsLock::State::InUse) {
        boxes::SetApplicationTitle(Text(texts::ApplicationTitle));
        boxes::ShowMessage(Text(texts::SecondGame));
        return program::exit_status::OtherGame;
    }
    if (lock.state() == scores::StatisticsLock::State::Refused) {
        boxes::SetApplicationTitle(Text(texts::ApplicationTitle));
        boxes::ShowMessage(Text(texts::LockRefused).arg(QString::fromStdString(lock.path())));
        return program::exit_status::LockRefused;
    }
    // Every save first makes sure the lock is still this game's.
    struct LockInUse {
        explicit LockInUse(scores::StatisticsLock& lock) { scores::SetStatisticsLock(&lock); }
        ~LockInUse() { scores::SetStatisticsLock(nullptr); }
    } inUse(lock);
    Program program;
    if (!Form1 || Form1->Ended())
        return 0;
    // Only this loop ends with the main window. Ending the whole application instead would
    // make every later nested loop (a tune still finishing, a box) return at once.
    QEventLoop loop;
    QObject::connect(Form1, &TForm1::ProgramEnded, &loop, &QEventLoop::quit);
    return loop.exec();
}
