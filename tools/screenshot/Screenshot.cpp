// Takes the screenshots in docs/: the main window after a deal, then the reward, loan and
// help windows, and, given a fifth file, the round's result box, and a sixth, the statistics
// window over a record of ninety rounds played by the engine, a seventh, its log of rounds, and
// an eighth, the hint for the dealt hand, as the X server shows them.
// Run under Xvfb by tools/screenshot.sh; the deal is a fixed one. The language is chosen as the
// game chooses it (LANGUAGE=en for English).

#include "engine/Engine.h"
#include "program/Language.h"
#include "program/Program.h"
#include "scores/History.h"
#include "scores/Statistics.h"
#include "session/Unit1.h"
#include "windows/HintWindow.h"
#include "windows/Pomoc.h"
#include "windows/StatisticsWindow.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
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

// Rounds as a player who keeps a random choice of cards might play them, with a loan when the
// fund runs dry and the reward at 6000, recorded beside the statistics file; the totals go to the file too.
void PlayARecord(const std::string& statisticsPath, int rounds)
{
    scores::history::History history(scores::history::HistoryPathFor(statisticsPath));
    engine::SessionValues values;
    history.Open(values);
    engine::Randomize(7);
    std::vector<scores::history::Entry> entries;
    for (int i = 0; i < rounds; ++i) {
        values.Stake = std::min(values.Fund, 100 + 100 * engine::Random(8));
        engine::ShuffleDeck();
        engine::DealHand(engine::ComputerHand);
        engine::DealHand(engine::PlayerHand);
        engine::ClassifyHand(engine::ComputerHand);
        engine::ComputerDraw();
        engine::ClassifyHand(engine::PlayerHand);
        scores::history::Entry e{.time = 1765000000000 + i * 30000LL, .stake = values.Stake};
        e.dealt = engine::Hands[engine::PlayerHand];
        e.dealtClass = engine::HandCategory[engine::PlayerHand];
        std::array<bool, engine::HandSize> keep{};
        for (bool& k : keep)
            k = engine::HandCategory[engine::PlayerHand] > engine::HighCard || engine::Random(2) == 0;
        engine::Replace(keep);
        engine::ClassifyHand(engine::PlayerHand);
        engine::ClassifyHand(engine::ComputerHand);
        const std::int32_t before = values.Fund;
        e.result = scores::history::ResultOf(engine::Decision(values));
        e.player = engine::Hands[engine::PlayerHand];
        e.computer = engine::Hands[engine::ComputerHand];
        e.playerClass = engine::HandCategory[engine::PlayerHand];
        e.computerClass = engine::HandCategory[engine::ComputerHand];
        e.moved = values.Fund - before;
        e.fund = values.Fund;
        e.wins = values.Wins;
        e.losses = values.Losses;
        entries.push_back(e);
        const bool loan = values.Fund <= 0;
        if (loan || values.Fund >= 6000) {
            values = engine::SessionValues{};
            entries.push_back({.time = e.time + 1000,
                               .kind = loan ? scores::history::Kind::Loan : scores::history::Kind::Reward,
                               .fund = values.Fund});
        }
    }
    history.AppendAll(entries);
    scores::save_inifile(values);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: screenshot <main.png> <reward.png> <loan.png> <help.png> [result.png [statistics.png "
                     "[log.png [hint.png]]]]\n");
        return 2;
    }
    const program::Translations translations(QLocale::system().uiLanguages());
    QTemporaryDir dir;
    scores::SetStatisticsFilePath(dir.filePath(QStringLiteral("wirtola.ini")).toStdString());
    engine::SetClockSource([]() -> std::uint32_t { return 36000000; });
    if (argc > 6)
        PlayARecord(scores::StatisticsFilePath(), 90);

    Program program;
    Form1->MuzykaZal1->setChecked(false); // no tunes: the picture is the point here
    Form1->move(20, 20);
    Form1->btnRozdanie->click();
    bool ok = GrabWindow(Form1, QString::fromLocal8Bit(argv[1]));
    if (argc > 8) {
        Form1->Podpowiedz1->trigger();
        auto* hint = Form1->findChild<HintWindow*>();
        ok = hint && QTest::qWaitFor([hint] { return hint->Current().has_value(); }, 20000) && ok;
        hint->move(20, 500);
        ok = GrabWindow(hint, QString::fromLocal8Bit(argv[8])) && ok;
        hint->close();
    }
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

    if (argc > 6) {
        Form1->Statystyka1->trigger();
        // Its own width, not what is left beside the game on the screenshot's screen.
        windows.Statistics->resize(960, windows.Statistics->height());
        windows.Statistics->move(20, 20);
        ok = GrabWindow(windows.Statistics, QString::fromLocal8Bit(argv[6])) && ok;
    }
    if (argc > 7) {
        windows.Statistics->Pages->setCurrentIndex(1);
        ok = GrabWindow(windows.Statistics, QString::fromLocal8Bit(argv[7])) && ok;
    }
    return ok ? 0 : 1;
}
