#include "GameTestSupport.h"

#include "session/StatisticsLock.h"

#include <QTimer>

namespace gametest {
namespace {

TEST_F(GameTest, ASecondGameOnTheSameStatisticsSaysSoAndEndsWithoutWriting)
{
    const std::string stored = "[Statystyka]\r\nWygrane=1\r\nPrzegrane=2\r\nFundusz=5\r\n";
    WriteIni(stored);
    const session::StatisticsLock firstGame(IniPath());
    ASSERT_EQ(firstGame.state(), session::StatisticsLock::State::Held);

    // Should the second game start after all, it is closed so that the test ends.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the second game started";
        if (Form1)
            Form1->close();
    });
    watchdog.start(5000);
    EXPECT_EQ(RunProgram(*qApp), 1);
    EXPECT_EQ(Form1, nullptr);
    ASSERT_EQ(answerer_->seen.size(), 1u);
    EXPECT_EQ(answerer_->seen[0].kind, QStringLiteral("message"));
    EXPECT_EQ(answerer_->seen[0].title, QStringLiteral("Wirtola"));
    EXPECT_EQ(answerer_->seen[0].text,
              QStringLiteral("Wirtola jest już uruchomiona z tym samym plikiem wyników.\n"
                             "Zakończ tamtą grę, zanim zaczniesz nową."));
    EXPECT_EQ(ReadIni(), stored);
}

} // namespace
} // namespace gametest
