#include "tests/session/GameTestSupport.h"
#include "tests/support/TimeLimit.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <fstream>
#include <random>
#include <regex>
#include <sstream>

using namespace gametest;

namespace {

// The file on disk, when there is one, holds every stored key as a whole number, as a save
// writes them afresh.
bool FileParses(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    std::stringstream s;
    s << in.rdbuf();
    std::string pattern = "\\[" + std::string(scores::StatisticsSection) + "\\]\r\n";
    for (const scores::StoredKey& stored : scores::StoredKeys)
        pattern += std::string(stored.key) + "=-?[0-9]+\r\n";
    return std::regex_match(s.str(), std::regex(pattern));
}

} // namespace

class SoakTest : public GameTest {};

TEST_F(SoakTest, SoakTwoThousandRoundsThroughTheRealWindow)
{
    std::mt19937 rng(20261207);
    SetTestTimeLimit(std::chrono::minutes(6)); // about 16 s in the Release build, on an idle machine
    auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    StartProgram();

    int rounds = 0, restarts = 0, refused = 0, loans = 0, rewards = 0;
    for (int step = 0; rounds < 2000 && step < 20000; ++step) {
        if (Form1->Ended()) {
            StartProgram(); // the next run goes on from the file
            ++restarts;
        }
        if (LoanItem()->isEnabled()) {
            answerer_->answers = {chance(80) ? QStringLiteral("Amen") : QStringLiteral("close")};
            LoanItem()->trigger();
            loans += Session.BettingOpen ? 1 : 0;
            continue;
        }

        const int choice = static_cast<int>(rng() % 10);
        QString stake = QString::number(10 * (1 + static_cast<int>(rng() % 99)));
        if (choice == 0)
            stake = QString::number(Session.Fund);
        else if (choice == 1)
            stake = QString::number(Session.Fund + 1);
        else if (choice == 2)
            stake = QString::number(1 + static_cast<int>(rng() % 9));
        StakeField()->setText(stake);

        const engine::SessionValues before = Session;
        DealButton()->click();
        if (!DrawButton()->isEnabled()) {
            ++refused;
            ASSERT_EQ(Session.Fund, before.Fund);
            continue;
        }
        for (int slot = 0; slot < 5; ++slot)
            if (chance(40))
                KeepBoxAt(slot)->setChecked(false);
        if (chance(3))
            StakeField()->setText(QString::number(10 * (1 + static_cast<int>(rng() % 99))));

        const engine::SessionValues atDraw = Session;
        const std::size_t seenBefore = answerer_->seen.size();
        answerer_->answers = {chance(97) ? QStringLiteral("Tak") : QStringLiteral("Nie")};
        DrawButton()->click();
        ++rounds;

        bool rewarded = false;
        for (std::size_t i = seenBefore; i < answerer_->seen.size(); ++i)
            rewarded |= answerer_->seen[i].kind == QLatin1String("reward");
        ASSERT_TRUE(FileParses(IniPath())) << "round " << rounds;
        if (rewarded) {
            ++rewards;
            ASSERT_TRUE(Form1->Ended());
            continue;
        }

        const int won = Session.Wins - atDraw.Wins;
        const int lost = Session.Losses - atDraw.Losses;
        ASSERT_GE(won, 0);
        ASSERT_GE(lost, 0);
        ASSERT_LE(won + lost, 1) << "round " << rounds;
        const int expected = !atDraw.BettingOpen ? 0 : won ? atDraw.Stake : lost ? -atDraw.Stake : 0;
        ASSERT_EQ(Session.Fund - atDraw.Fund, expected) << "round " << rounds;
        if (won + lost == 0) {
            ASSERT_EQ(QString::fromStdString(engine::ResultMessage),
                      QStringLiteral("Obie strony czekały - rozdanie jest więc nierozstrzygnięte!"));
        }
        if (Form1->Ended()) {
            ASSERT_EQ(ReadIni(), SessionIni());
        }
    }
    EXPECT_EQ(rounds, 2000);
    RecordProperty("restarts", restarts);
    RecordProperty("refused", refused);
    RecordProperty("loans", loans);
    RecordProperty("rewards", rewards);
}
