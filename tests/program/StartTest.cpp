#include "tests/session/GameTestSupport.h"

#include "scores/StatisticsLock.h"
#include "tests/support/TimeLimit.h"
#include "windows/Pomoc.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <optional>

namespace gametest {
namespace {

namespace fs = std::filesystem;

class StartTest : public GameTest {};

// How the program starts, by what stands at the lock's place: a second game or a lock that
// cannot be trusted is told in a box and ends without writing; a lock that cannot be had for
// any other reason, and a player's very first start in a data folder not made yet, still play.
TEST_F(StartTest, TheLockDecidesWhetherTheGameRunsAndWhatItSays)
{
    using Lock = scores::StatisticsLock;
    const std::string stored = Ini(1, 2, 5);
    const fs::path dir = dir_.path().toStdString();
    struct Row {
        const char* name;
        std::function<std::string()> prepare; // returns the statistics file
        int status;                           // -1: the game runs, and is closed
        QString box;                          // the box it shows, if any
    };
    std::optional<Lock> otherGame;
    const Row rows[] = {
        {"another game holds the lock",
         [&] {
             otherGame.emplace(IniPath());
             return IniPath();
         },
         1,
         QStringLiteral("Wirtola jest już uruchomiona z tym samym plikiem wyników.\nZakończ tamtą grę, zanim "
                        "zaczniesz nową.")},
        {"the lock file is a link",
         [&] {
             fs::create_symlink(dir / "gdzie-indziej", IniPath() + ".lock");
             return IniPath();
         },
         4,
         QStringLiteral("Plik blokady wyników gry jest dowiązaniem albo należy do innego użytkownika:\n%1.lock\nUsuń "
                        "go, zanim zaczniesz grę.")
             .arg(QString::fromStdString(IniPath()))},
        {"no lock file can be made", [&] { return (dir / "plik" / "wirtola.ini").string(); }, -1, {}},
        {"a player's very first start", [&] { return (dir / "dane" / "wirtola" / "wirtola.ini").string(); }, -1, {}},
    };
    std::ofstream(dir / "plik") << "x";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteIni(stored);
        const std::string file = row.prepare();
        scores::SetStatisticsPlace({.path = file, .perUser = true, .base = dir.string(), .avoidedSharedFolder = false});
        bool ran = false;
        std::optional<Lock::State> lockWhileRunning;
        QTimer::singleShot(0, [&] {
            ran = Form1 != nullptr;
            lockWhileRunning = Lock(file).state();
            if (Form1)
                Form1->close();
        });
        const ModalDeadline deadline("the game neither ended nor was closed", [] {
            if (Form1)
                Form1->close();
        });
        const int status = RunProgram(*qApp);
        EXPECT_EQ(Form1, nullptr);
        if (row.status >= 0) {
            EXPECT_EQ(status, row.status);
            ASSERT_EQ(answerer_->seen.size(), 1u);
            EXPECT_EQ(answerer_->seen[0].kind, QStringLiteral("message"));
            EXPECT_EQ(answerer_->seen[0].title, QStringLiteral("Wirtola"));
            EXPECT_EQ(answerer_->seen[0].text, row.box);
            EXPECT_EQ(ReadIni(), stored);
            EXPECT_FALSE(ran);
            EXPECT_FALSE(fs::exists(dir / "gdzie-indziej"));
        } else {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(ran);
            EXPECT_TRUE(answerer_->Texts("message").empty());
        }
        if (row.status < 0 && file.find("dane") != std::string::npos) {
            EXPECT_EQ(lockWhileRunning, Lock::State::InUse) << "the first game is locked too";
            EXPECT_TRUE(fs::exists(file)) << "and its closing saved";
        }
        otherGame.reset();
        fs::remove(IniPath() + ".lock");
        answerer_->Clear();
    }
}

// Kept out of a program folder that other users may write, the scores' place is told once, with
// the file left there, on the status bar and in the help. A file too big to be the game's is told
// in a box and left as it is.
TEST_F(StartTest, ScoresKeptAwayFromASharedFolderAreToldOnce)
{
    // A home of 60 characters: the bar shows the path's start and both ends, and holds it whole.
    const QString path =
        dir_.path() + "/" + QString(60 - dir_.path().size(), QLatin1Char('a')) + "/.local/share/wirtola/wirtola.ini";
    scores::SetStatisticsPlace({.path = path.toStdString(),
                                .perUser = true,
                                .base = dir_.path().toStdString(),
                                .avoidedSharedFolder = true,
                                .leftBehind = "/opt/gry/wirtola.ini"});
    StartProgram();
    const QString whole = QStringLiteral("Folder gry jest wspólny, więc wyniki zapisuję w ") + path
        + QStringLiteral("; dawny plik bez zmian");
    EXPECT_EQ(StatusBar()->accessibleDescription(), whole);
    EXPECT_EQ(StatusBar()->toolTip(), whole);
    const QString shown = StatusBar()->currentMessage();
    EXPECT_TRUE(shown.startsWith(whole.left(whole.indexOf(" w /") + 4))
                && shown.endsWith("/wirtola.ini; dawny plik bez zmian"))
        << shown.toStdString();
    EXPECT_LE(StatusBar()->fontMetrics().horizontalAdvance(shown), StatusBar()->width() - 18);
    EXPECT_TRUE(Form1->Windows().FPomoc->Memo1->toPlainText().contains(QStringLiteral("/opt/gry/wirtola.ini")));
    Deal();
    EXPECT_TRUE(StatusBar()->currentMessage().startsWith(QStringLiteral("Ewidencja rozdań")));

    const QString file = QString::fromStdString(IniPath());
    scores::SetStatisticsFilePath(IniPath());
    WriteIni(Ini(1, 2, 5));
    fs::resize_file(IniPath(), 2 << 20);
    StartProgram();
    EXPECT_TRUE(answerer_->Texts("message").at(0).startsWith("Plik wyników " + file + " jest większy niż 1 MiB"));
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    Draw();
    EXPECT_TRUE(StatusBar()->accessibleDescription().endsWith(QStringLiteral("Nie zapisano: plik za duży")))
        << StatusBar()->accessibleDescription().toStdString() << ": the save is refused for its own cause";
    Form1->close(); // the save fails; the player leaves all the same
    EXPECT_EQ(fs::file_size(IniPath()), 2u << 20);
}

} // namespace
} // namespace gametest
