#include "tests/session/GameTestSupport.h"

#include "windows/Unit2.h"

#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace gametest;

namespace {

std::string Rich()
{
    return Ini(40, 12, 5995);
}

std::string ResetFile()
{
    return Ini(0, 0, 3000);
}

// The fanfare's sounding notes, rests left out.
const std::vector<std::uint32_t> FanfareStart{196, 196, 196, 165, 261};

} // namespace

class RewardTest : public GameTest {
protected:
    // Plays a winning round at a fund just under the reward and answers "Tak".
    void WinIntoTheReward()
    {
        WriteIni(Rich());
        StartProgram();
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak")};
        Draw();
    }
};

TEST_F(RewardTest, EachDismissalEndsTheProgramWithTheStatisticsReset)
{
    for (const char* how : {"Amen", "key", "close"}) {
        SCOPED_TRACE(how);
        WriteIni(Rich());
        StartProgram();
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak"), QString::fromLatin1(how)};
        Draw();
        EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
        EXPECT_TRUE(Form1->Ended());
        EXPECT_FALSE(Form1->Windows().Form2->isVisible());
        EXPECT_EQ(ReadIni(), ResetFile());
        EXPECT_EQ(Session.Fund, 3000);
        EndProgram();
        answerer_->Clear();
    }
}

TEST_F(RewardTest, ADismissalWhoseSaveFailsLetsThePlayerStayOrLeave)
{
    struct Row {
        const char* leave; // the answer to "end without saving?"
        bool ended;
        std::string fileAfter; // once the game has ended with saves working again
    };
    for (const Row& row : {Row{"Nie", false, ResetFile()}, Row{"Tak", true, Ini(41, 12, 6005)}}) {
        SCOPED_TRACE(row.leave);
        WriteIni(Rich());
        StartProgram();
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak"), QStringLiteral("Amen"), QString::fromLatin1(row.leave)};
        answerer_->onShown = [](QWidget* w) {
            if (qobject_cast<TForm2*>(w))
                FailSaves(true);
        };
        Draw();
        answerer_->onShown = nullptr;
        FailSaves(false);
        EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
        EXPECT_EQ(answerer_->Texts("error").size(), 1U);
        EXPECT_EQ(Form1->Ended(), row.ended);
        EXPECT_FALSE(Form1->Windows().Form2->isVisible());
        // The reward's reset stands in memory whether it was saved or not.
        EXPECT_EQ(Session.Fund, 3000);
        EXPECT_EQ(FundField()->text(), QStringLiteral("3000"));
        if (!row.ended) {
            EXPECT_TRUE(Form1->isVisible());
            EXPECT_TRUE(DealButton()->isEnabled());
            EndItem()->trigger(); // saves now
        }
        EXPECT_TRUE(Form1->Ended());
        EXPECT_EQ(ReadIni(), row.fileAfter);
        EndProgram();
        answerer_->Clear();
    }
}

TEST_F(RewardTest, WindowLooksRight)
{
    answerer_->onShown = [](QWidget* w) {
        auto* reward = qobject_cast<TForm2*>(w);
        if (!reward)
            return;
        EXPECT_EQ(reward->windowTitle(), QStringLiteral("Gloria !!!"));
        EXPECT_EQ(reward->btnOk->x(), 200);
        EXPECT_EQ(reward->btnOk->y(), 62);
        EXPECT_EQ(reward->btnOk->text(), QStringLiteral("&Amen"));
        EXPECT_EQ(reward->toolTip(), QStringLiteral("Dowolny klawisz kończy i zamyka to okno"));
        // The picture has no hint of its own, so resting the mouse on it shows the window's.
        EXPECT_TRUE(reward->Image1->toolTip().isEmpty());
        QHelpEvent help(QEvent::ToolTip, QPoint(100, 100), reward->Image1->mapToGlobal(QPoint(100, 100)));
        QApplication::sendEvent(reward->Image1, &help);
        EXPECT_EQ(QToolTip::text(), QStringLiteral("Dowolny klawisz kończy i zamyka to okno"));
        EXPECT_EQ(reward->Image1->size(), QSize(465, 282));
        EXPECT_FALSE(reward->Label21->isVisible());
        EXPECT_EQ(reward->Label21->text(), QStringLiteral("Gra"));
        // Nothing hidden in a screen reader's tree: the picture and the button.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(reward->Panel1)->childCount(), 2);
        EXPECT_TRUE(reward->Timer1->isActive());
        EXPECT_EQ(reward->Timer1->interval(), 1000);
        EXPECT_EQ(reward->size(), QSize(467, 284));
        const QPoint off = reward->frameGeometry().center() - reward->screen()->geometry().center();
        EXPECT_LE(off.manhattanLength(), 4) << "centred on the screen";
    };
    WinIntoTheReward();
    EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
}

TEST_F(RewardTest, SoundsOffNeverStartTheTimer)
{
    WriteIni(Rich());
    StartProgram();
    SoundSwitch()->trigger();
    bool timerEverOn = false;
    answerer_->onShown = [&](QWidget* w) {
        auto* reward = qobject_cast<TForm2*>(w);
        if (!reward)
            return;
        EXPECT_EQ(reward->Label21->text(), QStringLiteral("NieGra"));
        for (int i = 0; i < 30; ++i) {
            timerEverOn |= reward->Timer1->isActive();
            QTest::qWait(50);
        }
    };
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    EXPECT_FALSE(timerEverOn);
    EXPECT_TRUE(speaker_.heard.empty());
    EXPECT_TRUE(Form1->Ended());
}

TEST_F(RewardTest, FanfareFirstAfterASecondThenThreeTenthsAfterEachEnd)
{
    // Upper bounds are read from the fanfare timer itself (when it is due, as each showing and
    // each fanfare ends), so a loaded machine that runs the timer late cannot fail them.
    using Steady = std::chrono::steady_clock;
    Steady::time_point asked; // the continue question: before the window shows
    Steady::time_point shown;
    std::vector<Steady::time_point> due;
    answerer_->onShown = [&](QWidget* w) {
        auto* reward = qobject_cast<TForm2*>(w);
        if (!reward) {
            asked = Steady::now();
            return;
        }
        shown = Steady::now();
        const auto readDue = [&due, timer = reward->Timer1] {
            if (timer->isActive())
                due.push_back(Steady::now() + std::chrono::milliseconds(timer->remainingTime()));
        };
        readDue();
        const QObject connection; // after the window's own handler: the fanfare has ended
        QObject::connect(reward->Timer1, &QTimer::timeout, &connection, readDue);
        speaker_.heard.clear();
        EXPECT_TRUE(QTest::qWaitFor([&] { return speaker_.heard.size() >= 24; }, 20000));
    };
    WinIntoTheReward();
    // Each fanfare sounds eight notes; the fake speaker plays them at once.
    ASSERT_GE(speaker_.heard.size(), 24U);
    ASSERT_GE(due.size(), 3U);
    const auto ms = [](Steady::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
    EXPECT_EQ(speaker_.Count(FanfareStart) * 8, static_cast<int>(speaker_.heard.size()));
    EXPECT_GE(ms(speaker_.heard[0].began - asked), 1000);
    EXPECT_LE(ms(due[0] - shown), 1001);
    for (std::size_t i = 8; i < speaker_.heard.size(); i += 8) {
        SCOPED_TRACE("fanfare " + std::to_string(i / 8));
        const Steady::time_point lastEnded = speaker_.heard[i - 1].began;
        EXPECT_GE(ms(speaker_.heard[i].began - lastEnded), 300);
        // Only the few instructions from the last note to the timer's start may add to the gap.
        EXPECT_LE(ms(due.at(i / 8) - lastEnded), 300 + 100);
    }
}

TEST_F(RewardTest, DismissedDuringAFanfareItFinishesAndNoOtherStarts)
{
    speaker_.ntFamily = false; // port path: events are handled during every note
    speaker_.pumpStep = 40;
    int pumps = 0;
    bool dismissed = false;
    answerer_->onShown = [&](QWidget* w) {
        auto* reward = qobject_cast<TForm2*>(w);
        if (!reward)
            return;
        speaker_.onPump = [&, reward] {
            if (++pumps == 3 && !dismissed) {
                dismissed = true;
                QTest::keyClick(reward->btnOk, Qt::Key_A);
            }
        };
        QTest::qWait(1500); // the first fanfare starts after 1000 ms and is dismissed inside
    };
    WinIntoTheReward();
    speaker_.onPump = nullptr;
    EXPECT_TRUE(dismissed);
    EXPECT_TRUE(Form1->Ended());
    EXPECT_EQ(ReadIni(), ResetFile());
    // The whole fanfare sounded: its eight notes, once.
    const std::vector<std::uint32_t> fanfare{196, 196, 196, 165, 261, 261, 261, 131};
    EXPECT_EQ(speaker_.Count(fanfare), 1);
    const std::size_t after = speaker_.heard.size();
    QTest::qWait(500);
    EXPECT_EQ(speaker_.heard.size(), after);
}

TEST_F(RewardTest, ACorruptPictureLeavesAWorkingWindow)
{
    QFile good(QStringLiteral(":/reward/reward.jpg"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray stream = good.readAll();
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    QByteArray flipped = stream;
    for (int i = 600; i < flipped.size(); i += 97)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    const Row rows[] = {
        {"cut in half", stream.left(stream.size() / 2)}, {"bytes flipped", flipped}, {"empty", QByteArray()}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir_.filePath(QStringLiteral("bad.jpg"));
        QFile bad(path);
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write(row.bytes);
        bad.close();

        WriteIni(Rich());
        StartProgram();
        TForm2 window(RewardLinksOf(*Form1), path);
        OtherWindows others = Form1->Windows();
        others.Form2 = &window; // the round flow opens this window instead
        Form1->AttachWindows(others);
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        answerer_->answers = {QStringLiteral("Tak"), QStringLiteral("Amen")};
        Draw();
        EXPECT_EQ(answerer_->Texts("reward").size(), 1U);
        EXPECT_TRUE(window.Image1->pixmap().isNull());
        EXPECT_EQ(window.btnOk->x(), 200);
        EXPECT_TRUE(Form1->Ended());
        EXPECT_EQ(ReadIni(), ResetFile());
        EndProgram();
        answerer_->Clear();
    }
}
