// The ways a session ends or keeps its scores: the save after every round, a closing whose
// save fails, the termination signals, and handlers that stop when the window closes during
// their tune.

#include "tests/session/GameTestSupport.h"

#include "program/Signals.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

using namespace gametest;

namespace {

const QString EndWithoutSaving = QStringLiteral("Nie udało się zapisać wyników gry.\nZakończyć grę bez zapisu?");

bool WaitingForADeal()
{
    bool hidden = true;
    for (QCheckBox* b : KeepBoxes())
        hidden = hidden && !b->isVisible();
    return DealButton()->isEnabled() && !DrawButton()->isEnabled() && hidden;
}

bool IsQuestion(QWidget* w)
{
    auto* box = qobject_cast<QMessageBox*>(w);
    return box && box->icon() == QMessageBox::Question;
}

} // namespace

class LeavingTest : public GameTest {};

TEST_F(LeavingTest, EveryRoundIsOnDiskBeforeItsResultIsShown)
{
    WriteIni(Ini(3, 2, 1000));
    StartProgram();
    std::string atResult;
    answerer_->onShown = [&](QWidget* w) {
        if (!IsQuestion(w) && atResult.empty())
            atResult = ReadIni();
    };
    auto winARound = [&] {
        atResult.clear();
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak")};
        Draw();
    };
    const QString record = QStringLiteral("Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / 2");
    winARound();
    EXPECT_EQ(atResult, Ini(4, 2, 1010));

    // A save that fails does not stop play. The status bar keeps the round record and says why
    // after every round that is not saved, three in a row here; the next save tries again.
    struct Row {
        const char* name;
        int error; // 0: the rename fails
        const char* words;
    };
    const Row rows[] = {
        {"a failed rename", 0, "błąd zapisu na dysk"},
        {"a full disk", ENOSPC, "brak miejsca na dysku"},
        {"a full quota", EDQUOT, "brak miejsca na dysku"},
        {"a disk mounted read-only", EROFS, "dysk tylko do odczytu"},
        {"no permission", EACCES, "brak uprawnień do zapisu"},
    };
    int wins = 4;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.error == 0) {
            FailSaves(true);
        } else {
            scores::profile::SetSyncHook([&row](int) {
                errno = row.error;
                return -1;
            });
        }
        const int saved = wins;
        for (int failing = 1; failing <= 3; ++failing) {
            winARound();
            ++wins;
            EXPECT_EQ(atResult, Ini(saved, 2, 1000 + 10 * (saved - 3)));
            // The whole text; the bar itself may show it shortened.
            EXPECT_EQ(StatusBar()->accessibleDescription(),
                      record.arg(wins + 2).arg(wins) + QStringLiteral("  Nie zapisano: ")
                          + QString::fromUtf8(row.words));
            EXPECT_TRUE(answerer_->Texts("error").empty());
            EXPECT_TRUE(WaitingForADeal());
        }
        FailSaves(false);
        winARound();
        ++wins;
        EXPECT_EQ(atResult, Ini(wins, 2, 1000 + 10 * (wins - 3)));
        EXPECT_EQ(StatusBar()->currentMessage(), record.arg(wins + 2).arg(wins));
    }
}

// Every way of closing, with a save that fails: the error box, then the question; "Tak" ends
// and leaves the disk as it was, "Nie" keeps a window that waits for a deal and can close later.
TEST_F(LeavingTest, AClosingWhoseSaveFailsAsksWhetherToLeave)
{
    enum class Way { CloseBox, Koniec, NoToContinue, RewardDismissed };
    struct Row {
        const char* name;
        Way way;
        bool leave;
        int fund = 5995;
    };
    const Row rows[] = {
        {"close box, Tak", Way::CloseBox, true},
        {"close box, Nie", Way::CloseBox, false},
        {"Koniec, Tak", Way::Koniec, true},
        {"Koniec, Nie", Way::Koniec, false},
        {"No to the continue question, Tak", Way::NoToContinue, true},
        {"No to the continue question, Nie", Way::NoToContinue, false},
        // Staying with a spent fund must still lead to the loan.
        {"No to the continue question with the fund spent, Nie", Way::NoToContinue, false, 10},
        {"reward dismissed by its button, Tak", Way::RewardDismissed, true},
        {"reward dismissed by a key, Nie", Way::RewardDismissed, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool spent = row.fund <= 10;
        WriteIni(Ini(40, 12, row.fund));
        StartProgram();
        const std::string before = ReadIni();
        FailSaves(true);
        QString defaultButton;
        answerer_->onShown = [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (IsQuestion(w) && box->text() == EndWithoutSaving)
                defaultButton = box->defaultButton()->text();
        };
        const QString answer = row.leave ? QStringLiteral("Tak") : QStringLiteral("Nie");
        switch (row.way) {
        case Way::CloseBox:
            answerer_->answers = {answer};
            Form1->close();
            break;
        case Way::Koniec:
            answerer_->answers = {answer};
            EndItem()->trigger();
            break;
        case Way::NoToContinue:
        case Way::RewardDismissed:
            Deal();
            if (spent)
                RigHands(RoyalFlush(), HighCardNine());
            else
                RigHands(HighCardNine(), RoyalFlush());
            if (row.way == Way::NoToContinue)
                answerer_->answers = {QStringLiteral("Nie"), answer};
            else
                answerer_->answers = {QStringLiteral("Tak"), row.leave ? QStringLiteral("Amen") : QStringLiteral("key"),
                                      answer};
            Draw();
            break;
        }
        ASSERT_EQ(answerer_->Texts("error").size(), 1U);
        EXPECT_TRUE(answerer_->Texts("error")[0].startsWith(QStringLiteral("Unable to write to ")));
        ASSERT_FALSE(answerer_->Texts("question").empty());
        EXPECT_EQ(answerer_->Texts("question").back(), EndWithoutSaving);
        const Seen& last = answerer_->seen.back();
        EXPECT_EQ(last.kind, QString::fromLatin1(spent ? "message" : "question"));
        EXPECT_EQ(answerer_->seen[answerer_->seen.size() - (spent ? 2 : 1)].title, QStringLiteral("Wirtola"));
        EXPECT_EQ(defaultButton, QStringLiteral("&Nie"));
        EXPECT_EQ(Form1->Ended(), row.leave);
        EXPECT_EQ(Form1->isVisible(), !row.leave);
        EXPECT_FALSE(Form1->Windows().Form2->isVisible());
        EXPECT_EQ(ReadIni(), before);
        if (spent) {
            EXPECT_EQ(last.text,
                      QStringLiteral("Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku."));
            EXPECT_TRUE(LoanItem()->isEnabled());
        }
        if (!row.leave) {
            EXPECT_TRUE(WaitingForADeal());
            Deal();
            EXPECT_EQ(DrawButton()->isEnabled(), !spent);
            FailSaves(false);
            EndItem()->trigger();
            EXPECT_TRUE(Form1->Ended());
            EXPECT_EQ(ReadIni(), SessionIni());
        }
        FailSaves(false);
        EndProgram();
        answerer_->Clear();
        answerer_->onShown = nullptr;
    }
}

// SIGTERM closes the game as "Koniec" does, whatever is running: the file is written, every
// nested loop ends, no box comes after it, and the program's own loop returns.
TEST_F(LeavingTest, ASignalClosesTheGameFromAnyWaitAndSaves)
{
    enum class When { Now, DrawsTune, Shown };
    struct Row {
        const char* name;
        int fund;
        std::function<void()> play; // run from the program's loop
        When when;
        QString shownKind; // for When::Shown: the window that is up
        bool failSave;
        std::string want;            // the file afterwards
        std::vector<int> burst = {}; // more signals right after the first
    };
    auto winningDraw = [this] {
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak")};
        Draw();
    };
    auto exhaustThenAskTheBank = [this] {
        TypeStake("100");
        Deal();
        RigHands(RoyalFlush(), HighCardNine());
        answerer_->answers = {QStringLiteral("Tak")};
        Draw();
        LoanItem()->trigger();
    };
    // A stored fund of 0 is read as 3000, so a file that was written differs from the one before.
    const Row rows[] = {
        {"idle", 0, nullptr, When::Now, {}, false, Ini(3, 2, 3000)},
        {"during the draw's tune", 0, winningDraw, When::DrawsTune, {}, false, Ini(3, 2, 3000)},
        {"during the result box", 1000, winningDraw, When::Shown, "message", false, Ini(4, 2, 1010)},
        {"SIGTERM and SIGHUP together during the result box",
         1000,
         winningDraw,
         When::Shown,
         "message",
         false,
         Ini(4, 2, 1010),
         {SIGHUP, SIGINT}},
        {"during the continue question", 1000, winningDraw, When::Shown, "question", false, Ini(4, 2, 1010)},
        {"during the reward window", 5995, winningDraw, When::Shown, "reward", false, Ini(4, 2, 6005)},
        {"during the loan petition", 100, exhaustThenAskTheBank, When::Shown, "loan", false, Ini(3, 3, 0)},
        {"idle, the save fails", 1000, nullptr, When::Now, {}, true, Ini(3, 2, 1000)}, // as it was
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteIni(Ini(3, 2, row.fund));
        FailSaves(row.failSave);
        speaker_.ntFamily = row.when != When::DrawsTune; // the port path pumps during every note
        speaker_.pumpStep = 30;
        speaker_.heard.clear();
        bool signalled = false;
        std::size_t seenAtSignal = 0;
        auto signal = [&] {
            if (signalled)
                return;
            signalled = true;
            seenAtSignal = answerer_->seen.size();
            std::raise(SIGTERM);
            for (const int more : row.burst)
                std::raise(more);
            QCoreApplication::processEvents();
        };
        answerer_->onShown = [&](QWidget* w) {
            QString kind = IsQuestion(w) ? QStringLiteral("question") : QStringLiteral("message");
            if (qobject_cast<TForm2*>(w))
                kind = QStringLiteral("reward");
            else if (qobject_cast<TForm3*>(w))
                kind = QStringLiteral("loan");
            if (row.when == When::Shown && kind == row.shownKind)
                signal(); // the window is hidden at once, so the answerer leaves it be
        };
        QTimer::singleShot(0, [&] {
            const std::size_t whistles = speaker_.heard.size();
            if (row.when == When::DrawsTune) {
                speaker_.onPump = [&] {
                    if (speaker_.heard.size() > whistles + 4 && speaker_.LastHertz() == WhisleNotes[0])
                        signal(); // the draw's whistle, not the deal's
                };
            }
            if (row.play)
                row.play();
            if (row.when == When::Now)
                signal();
        });
        testing::internal::CaptureStderr();
        const int result = RunProgram(*qApp);
        const std::string errors = testing::internal::GetCapturedStderr();
        speaker_.onPump = nullptr;
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(signalled);
        EXPECT_EQ(answerer_->seen.size(), seenAtSignal) << "no window after the signal";
        EXPECT_EQ(Form1, nullptr);
        EXPECT_EQ(ReadIni(), row.want);
        if (row.failSave) {
            EXPECT_NE(errors.find("Unable to write to"), std::string::npos) << errors;
        }
        answerer_->Clear();
        answerer_->onShown = nullptr;
        FailSaves(false);
    }
}

// Signals that follow the first join its close; only a Ctrl+C repeated after a pause ends the
// process at once.
TEST(TerminationSignals, ABurstIsOneCloseAndOnlyAnInsistentCtrlCEndsAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* name;
        std::vector<int> burst;
        int pauseMilliseconds; // before the last signal
        int status;
        bool windingDown = false; // the program's handling has ended before the last signal
    };
    const Row rows[] = {
        {"SIGTERM and SIGHUP, as a session's end sends them", {SIGTERM, SIGHUP}, 0, 0},
        {"two SIGHUPs, as a closed terminal sends them", {SIGHUP, SIGHUP}, 0, 0},
        {"SIGTERM, then SIGINT at once", {SIGTERM, SIGINT}, 0, 0},
        {"Ctrl+C, and again after a pause", {SIGINT, SIGINT}, 1100, 128 + SIGINT},
        {"SIGTERM, and again after the same pause: not a player's insisting", {SIGTERM, SIGTERM}, 1100, 0},
        {"SIGTERM, then SIGHUP as the program winds down", {SIGTERM, SIGHUP}, 0, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EXIT(
            {
                std::optional<program::TerminationSignals> handlers(std::in_place);
                for (std::size_t i = 0; i < row.burst.size(); ++i) {
                    if (i + 1 == row.burst.size())
                        std::this_thread::sleep_for(std::chrono::milliseconds(row.pauseMilliseconds));
                    if (row.windingDown && i + 1 == row.burst.size())
                        handlers.reset();
                    std::raise(row.burst[i]); // before the loop has handled the first
                }
                _exit(0);
            },
            testing::ExitedWithCode(row.status), "");
    }

    // The handlers that stood before are put back once the game's handling ends.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before {};
    ASSERT_EQ(sigaction(SIGHUP, &ignore, &before), 0);
    {
        program::TerminationSignals handlers;
        struct sigaction during {};
        sigaction(SIGHUP, nullptr, &during);
        EXPECT_NE(during.sa_handler, SIG_IGN);
    }
    struct sigaction after {};
    sigaction(SIGHUP, &before, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
}

// After each tune a handler looks whether its window has closed meanwhile, and if so stops:
// no box, no settlement, nothing written after the closing's own save.
TEST_F(LeavingTest, ClosingDuringAHandlersTuneStopsTheHandler)
{
    struct Row {
        const char* name;
        std::uint32_t firstNote; // the tune to close in
        std::function<void()> before;
        std::function<void()> act;
        bool settlesFirst; // the round is settled before this tune
    };
    auto deal = [this] { Deal(); };
    auto dealAndRig = [this] {
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
    };
    auto draw = [this] {
        answerer_->answers = {QStringLiteral("Tak")};
        Draw();
    };
    const Row rows[] = {
        {"the deal's whistle", WhisleNotes[0], nullptr, deal, false},
        {"the draw's whistle", WhisleNotes[0], dealAndRig, draw, false},
        {"the refused deal's tune", WrongStart[0], [this] { TypeStake("0"); }, deal, false},
        {"the refused draw's tune", WrongStart[0],
         [this] {
             Deal();
             TypeStake("-5");
         },
         draw, false},
        {"the exhausted fund's tune", WrongStart[0],
         [this] {
             TypeStake("100");
             Deal();
             RigHands(RoyalFlush(), HighCardNine());
         },
         draw, true},
    };
    speaker_.ntFamily = false; // the port path pumps during every note
    speaker_.pumpStep = 30;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteIni(Ini(3, 2, 100));
        StartProgram();
        if (row.before)
            row.before();
        const std::size_t start = speaker_.heard.size();
        bool closed = false;
        std::size_t seenAtClose = 0;
        std::string fileAtClose;
        bool drawEnabledAtClose = false;
        engine::SessionValues atClose{};
        speaker_.onPump = [&] {
            if (closed || speaker_.heard.size() <= start || speaker_.LastHertz() != row.firstNote)
                return;
            closed = true;
            Form1->close();
            seenAtClose = answerer_->seen.size();
            fileAtClose = ReadIni();
            drawEnabledAtClose = DrawButton()->isEnabled();
            atClose = Session;
        };
        const engine::SessionValues beforeAct = Session;
        row.act();
        speaker_.onPump = nullptr;
        ASSERT_TRUE(closed);
        EXPECT_TRUE(Form1->Ended());
        EXPECT_EQ(answerer_->seen.size(), seenAtClose);
        EXPECT_EQ(fileAtClose, Ini(atClose.Wins, atClose.Losses, atClose.Fund));
        EXPECT_EQ(ReadIni(), fileAtClose);
        EXPECT_EQ(Session.Wins, atClose.Wins);
        EXPECT_EQ(Session.Losses, atClose.Losses);
        EXPECT_EQ(Session.Fund, atClose.Fund);
        EXPECT_EQ(Session.BettingOpen, atClose.BettingOpen);
        EXPECT_EQ(DrawButton()->isEnabled(), drawEnabledAtClose) << "no deal after the closing";
        if (!row.settlesFirst) {
            EXPECT_EQ(fileAtClose, Ini(beforeAct.Wins, beforeAct.Losses, beforeAct.Fund));
        }
        EndProgram();
        answerer_->Clear();
    }
}
