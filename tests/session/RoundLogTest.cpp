#include "tests/session/GameTestSupport.h"

#include "program/Language.h"
#include "scores/Tally.h"
#include "windows/RoundLog.h"
#include "windows/StatisticsWindow.h"

#include <QAccessible>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

using namespace gametest;
using scores::history::Entry;
using scores::history::Kind;

namespace {

// The record's cards ("Th Jh") as the log must show them ("10♥ W♥") or say them ("dziesiątka
// kier, walet kier"), worked out here apart from the game's own code.
QString Shown(const std::string& cards, bool english = false)
{
    const std::map<char, QString> ranks{
        {'T', "10"}, {'J', english ? "J" : "W"}, {'Q', english ? "Q" : "D"}, {'K', "K"}, {'A', "A"}};
    const std::map<char, QString> suits{{'c', "♣"}, {'d', "♦"}, {'h', "♥"}, {'s', "♠"}};
    QStringList shown;
    for (std::size_t i = 0; i + 1 < cards.size(); i += 3)
        shown << (ranks.count(cards[i]) ? ranks.at(cards[i]) : QString(QChar(cards[i]))) + suits.at(cards[i + 1]);
    return shown.join(' ');
}

QString Said(const std::string& cards)
{
    const std::map<char, QString> ranks{{'2', "dwójka"},     {'3', "trójka"},   {'4', "czwórka"}, {'5', "piątka"},
                                        {'6', "szóstka"},    {'7', "siódemka"}, {'8', "ósemka"},  {'9', "dziewiątka"},
                                        {'T', "dziesiątka"}, {'J', "walet"},    {'Q', "dama"},    {'K', "król"},
                                        {'A', "as"}};
    const std::map<char, QString> suits{{'c', "trefl"}, {'d', "karo"}, {'h', "kier"}, {'s', "pik"}};
    QStringList said;
    for (std::size_t i = 0; i + 1 < cards.size(); i += 3)
        said << ranks.at(cards[i]) + ' ' + suits.at(cards[i + 1]);
    return said.join(", ");
}

StatisticsWindow* Window()
{
    return Form1->Windows().Statistics;
}

QStringList LogRow(int row)
{
    QStringList cells;
    for (int c = 0; c < RoundLogModel::Columns; ++c)
        cells << Window()->LogModel->index(row, c).data().toString();
    return cells;
}

// What a screen reader is given for a cell of the log, through Qt's accessible table.
QString Heard(int row, int column, QAccessible::Text what)
{
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(Window()->Log);
    if (!table || !table->tableInterface())
        return QStringLiteral("<no accessible table>");
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
    return cell ? cell->text(what) : QStringLiteral("<no cell>");
}

QString LocalTime(std::int64_t milliseconds, const char* language = "pl")
{
    return QLocale(QLatin1String(language))
        .toString(QDateTime::fromMSecsSinceEpoch(milliseconds).toLocalTime(), QLocale::ShortFormat);
}

std::string Csv(const std::vector<Entry>& rows)
{
    std::FILE* out = std::tmpfile();
    scores::history::WriteCsv(out, rows);
    std::string bytes(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), out));
    std::fclose(out);
    return bytes;
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The player's time zone for a test: in UTC, a log that showed UTC would look right.
class LocalZone {
public:
    explicit LocalZone(const char* zone)
    {
        if (const char* was = std::getenv("TZ"))
            before_ = was;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone()
    {
        if (before_)
            setenv("TZ", before_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> before_;
};

const std::string RoyalText = "Th Jh Qh Kh Ah";
const std::string NineText = "2c 3d 4h 5s 9c";

} // namespace

class RoundLogTest : public GameTest {
protected:
    void TearDown() override
    {
        SetExportChooser(nullptr);
        GameTest::TearDown();
        translations_.reset();
    }
    void Play(const char* stake, bool win)
    {
        TypeStake(stake);
        Deal();
        RigHands(win ? HighCardNine() : RoyalFlush(), win ? RoyalFlush() : HighCardNine());
        Draw();
    }
    void OpenLog()
    {
        Form1->Statystyka1->trigger();
        ASSERT_TRUE(Window()->isVisible());
        Window()->Pages->setCurrentIndex(1);
        answerer_->Clear(); // the boxes of the rounds before
    }
    std::string Record() const { return dir_.filePath("wirtola.history").toStdString(); }

    std::optional<program::Translations> translations_;
};

TEST_F(RoundLogTest, EveryRoundAndEventNewestFirstFollowingPlayAndReadAsSentences)
{
    const LocalZone warsaw("Europe/Warsaw");
    const std::int64_t noon = 1765195200000; // 2025-12-08 12:00 UTC, 13:00 in Warsaw
    ASSERT_NE(
        LocalTime(noon),
        QLocale(QStringLiteral("pl")).toString(QDateTime::fromMSecsSinceEpoch(noon, Qt::UTC), QLocale::ShortFormat));
    WriteIni(Ini(2, 1, 500)); // an older statistics file: its totals are carried over
    StartProgram();
    Play("100", true);
    Play("200", false);
    Play("400", false);
    answerer_->answers = {QStringLiteral("Amen")};
    LoanItem()->trigger();
    OpenLog();
    Play("10", true); // while the log is open: at its top at once

    const QString royal = Shown(RoyalText);
    const QString nine = Shown(NineText);
    struct Want {
        QString stake, drawn, computer, outcome, money, fund;
    };
    const std::vector<Want> want{
        {"10 zł", royal, nine, "wygrana", "+10 zł", "3010 zł"},
        {"", "", "", "nowa gra", "", "3000 zł"},
        {"", "", "", "pożyczka", "", "3000 zł"},
        {"400 zł", nine, royal, "przegrana", "-400 zł", "0 zł"},
        {"200 zł", nine, royal, "przegrana", "-200 zł", "400 zł"},
        {"100 zł", royal, nine, "wygrana", "+100 zł", "600 zł"},
        {"", "", "", "stan z pliku wyników", "", "500 zł"},
    };
    const auto rows = scores::history::ReadHistory(Record());
    ASSERT_EQ(rows.size(), want.size());
    ASSERT_EQ(Window()->LogModel->rowCount(), static_cast<int>(want.size()));
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        const Entry& e = rows[rows.size() - 1 - i];
        const Want& w = want[i];
        const QString dealt = e.kind == Kind::Round ? Shown(scores::history::CardsText(e.dealt)) : QString();
        EXPECT_EQ(LogRow(static_cast<int>(i)),
                  (QStringList{LocalTime(e.time), w.stake, dealt, w.drawn, w.computer, w.outcome, w.money, w.fund}));
    }

    // One sentence per row, with every cell of it; the cards by name.
    const std::string dealt = scores::history::CardsText(rows.back().dealt);
    const QString round = LocalTime(rows.back().time) + ", stawka 10 zł: Twoje karty " + Said(dealt) + "; po wymianie "
        + Said(RoyalText) + "; komputer " + Said(NineText) + "; wygrana 10 zł, fundusz 3010 zł";
    EXPECT_EQ(Heard(0, RoundLogModel::Time, QAccessible::Description), round);
    EXPECT_EQ(Heard(0, RoundLogModel::Fund, QAccessible::Description), round);
    EXPECT_EQ(Heard(0, RoundLogModel::Drawn, QAccessible::Name), Said(RoyalText));
    EXPECT_EQ(Heard(0, RoundLogModel::Money, QAccessible::Name), "+10 zł");
    EXPECT_THAT(Heard(3, RoundLogModel::Outcome, QAccessible::Description).toStdString(),
                testing::EndsWith("; przegrana 400 zł, fundusz 0 zł"));
    EXPECT_EQ(Heard(2, RoundLogModel::Stake, QAccessible::Description),
              LocalTime(rows[rows.size() - 3].time) + ": pożyczka, fundusz 3000 zł");

    // Every cell by the arrows: to the last column and the oldest row.
    Window()->Log->setFocus();
    Window()->Log->setCurrentIndex(Window()->LogModel->index(0, 0));
    for (int i = 0; i < RoundLogModel::Columns + 2; ++i)
        QTest::keyClick(Window()->Log, Qt::Key_Right);
    for (std::size_t i = 0; i < want.size() + 2; ++i)
        QTest::keyClick(Window()->Log, Qt::Key_Down);
    EXPECT_EQ(Window()->Log->currentIndex().row(), static_cast<int>(want.size()) - 1);
    EXPECT_EQ(Window()->Log->currentIndex().column(), RoundLogModel::Columns - 1);
}

TEST_F(RoundLogTest, InEnglishTheCardsAndTheSentenceAreEnglish)
{
    translations_.emplace(QStringList{QStringLiteral("en")});
    answerer_->defaultQuestionAnswer = QStringLiteral("Yes");
    StartProgram();
    OpenLog();
    Play("20", false);
    ASSERT_EQ(Window()->LogModel->rowCount(), 1);
    const auto rows = scores::history::ReadHistory(Record());
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(
        LogRow(0),
        (QStringList{LocalTime(rows[0].time, "en"), "20 zł", Shown(scores::history::CardsText(rows[0].dealt), true),
                     Shown(NineText, true), Shown(RoyalText, true), "lost", "-20 zł", "2980 zł"}));
    EXPECT_THAT(Heard(0, RoundLogModel::Time, QAccessible::Description).toStdString(),
                testing::AllOf(testing::StartsWith((LocalTime(rows[0].time, "en") + ", stake 20 zł: ").toStdString()),
                               testing::HasSubstr("; the computer ten of hearts, jack of hearts, queen of hearts"),
                               testing::EndsWith("; lost 20 zł, fund 2980 zł")));
}

TEST_F(RoundLogTest, ALongRecordIsReadAPageAtATimeToItsOldestRow)
{
    constexpr int Rounds = 1000;
    {
        scores::history::History history(Record());
        ASSERT_EQ(history.Open({}), scores::history::History::Opened::Started);
        std::vector<Entry> entries;
        for (int i = 0; i < Rounds; ++i)
            entries.push_back({.time = 1700000000000 + i, .stake = 10, .fund = 3000 + i, .wins = i, .losses = 0});
        ASSERT_TRUE(history.AppendAll(entries));
    }
    WriteIni(Ini(Rounds - 1, 0, 3000 + Rounds - 1));
    StartProgram();
    OpenLog();
    EXPECT_EQ(Window()->LogModel->rowCount(), RoundLogModel::PageRows);
    // Ctrl+End as a player presses it, until the log has nothing more to read.
    Window()->Log->setFocus();
    for (int i = 0; i < Rounds / RoundLogModel::PageRows + 2; ++i) {
        QTest::keyClick(Window()->Log, Qt::Key_End, Qt::ControlModifier);
        QApplication::processEvents();
    }
    ASSERT_EQ(Window()->LogModel->rowCount(), Rounds);
    EXPECT_EQ(Window()->Log->currentIndex().row(), Rounds - 1);
    // Each row once, in order, across every page's edge.
    for (int row = 0; row < Rounds; ++row)
        ASSERT_EQ(Window()->LogModel->index(row, RoundLogModel::Fund).data().toString(),
                  QStringLiteral("%1 zł").arg(3000 + Rounds - 1 - row))
            << row;
}

TEST_F(RoundLogTest, ExportWritesWhatHistoryPrintsOrTellsWhyNot)
{
    StartProgram();
    Play("30", true);
    Play("40", false);
    OpenLog();
    const QString target = dir_.filePath("export.csv");
    QString suggested;
    SetExportChooser([&](QWidget*, const QString& name) {
        suggested = name;
        return target;
    });
    QTest::mouseClick(Window()->ExportButton, Qt::LeftButton);
    EXPECT_EQ(QFileInfo(suggested).fileName(),
              "wirtola-historia-" + QDate::currentDate().toString(Qt::ISODate) + ".csv");
    EXPECT_TRUE(answerer_->seen.empty());
    const std::string csv = Csv(scores::history::ReadHistory(Record()));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    EXPECT_EQ(Bytes(target.toStdString()), csv);
    EXPECT_THAT(Window()->LogNote->text().toStdString(), testing::HasSubstr(target.toStdString()));

    // A folder that is not there: a box with the place and the cause, nothing written.
    const QString nowhere = dir_.filePath("no-such-folder/export.csv");
    SetExportChooser([&](QWidget*, const QString&) { return nowhere; });
    QTest::mouseClick(Window()->ExportButton, Qt::LeftButton);
    ASSERT_EQ(answerer_->Texts("error").size(), 1U);
    EXPECT_THAT(answerer_->Texts("error")[0].toStdString(),
                testing::StartsWith(("Nie zapisano historii rozdań w " + nowhere + ": ").toStdString()));

    // A record that cannot be read whole: the file chosen keeps its bytes, no temporary is left.
    struct Case {
        const char* what;
        std::string record;
        const char* cause;
    };
    const std::string damaged = dir_.filePath("damaged.history").toStdString();
    std::ofstream(damaged, std::ios::binary) << "SQLite format 3" << std::string(200, '\x7f');
    const std::string linked = dir_.filePath("linked.history").toStdString();
    std::filesystem::create_symlink(Record(), linked);
    for (const Case& c : {Case{"damaged", damaged, "plik jest uszkodzony"},
                          Case{"a link", linked, "to dowiązanie, plik innego użytkownika albo nie plik"}}) {
        SCOPED_TRACE(c.what);
        const QString failure = WriteRecordCsv({.path = c.record}, target);
        EXPECT_EQ(failure, QStringLiteral("nie można odczytać całej historii rozdań: %1").arg(c.cause));
        EXPECT_EQ(Bytes(target.toStdString()), csv);
        EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("export.csv.*")}), QStringList());
    }
}

TEST_F(RoundLogTest, AFreshRecordKeepsTheOldOneWholeAndLeavesTheScoresAlone)
{
    StartProgram();
    Play("50", true);
    Play("20", false);
    OpenLog();
    const std::string before = Csv(scores::history::ReadHistory(Record()));
    const std::string scores = ReadIni();

    answerer_->answers = {QStringLiteral("Nie")};
    QTest::mouseClick(Window()->FreshButton, Qt::LeftButton);
    EXPECT_EQ(answerer_->Texts("question").size(), 1U);
    EXPECT_EQ(Window()->LogModel->rowCount(), 2);
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("wirtola.history.*")}), QStringList());

    answerer_->answers = {QStringLiteral("Tak")};
    QTest::mouseClick(Window()->FreshButton, Qt::LeftButton);
    const QStringList kept = QDir(dir_.path()).entryList({QStringLiteral("wirtola.history.*")});
    ASSERT_EQ(kept.size(), 1) << kept.join(' ').toStdString();
    EXPECT_THAT(kept[0].toStdString(),
                testing::MatchesRegex(R"(wirtola\.history\.[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}-[0-9]{2}-[0-9]{2})"));
    const std::string keptPath = dir_.filePath(kept[0]).toStdString();
    EXPECT_EQ(Csv(scores::history::ReadHistory(keptPath)), before);
    EXPECT_EQ(ReadIni(), scores);
    EXPECT_THAT(StatusBar()->accessibleDescription().toStdString(),
                testing::HasSubstr("Zaczęta nowa historia rozdań; dotychczasowa zachowana jako " + keptPath));
    // The window shows the new record at once: the totals it starts from, no rounds.
    ASSERT_EQ(Window()->LogModel->rowCount(), 1);
    EXPECT_EQ(LogRow(0)[RoundLogModel::Outcome], "stan z pliku wyników");
    EXPECT_EQ(LogRow(0)[RoundLogModel::Fund], "3030 zł");
    EXPECT_EQ(Window()->Summary->item(0, 1)->text(), "0");

    // Play goes on into the new record; the old one stays as it was.
    Play("10", true);
    EXPECT_EQ(Window()->LogModel->rowCount(), 2);
    EXPECT_EQ(Window()->Summary->item(0, 1)->text(), "1");
    EXPECT_EQ(scores::history::ReadHistory(Record()).size(), 2U);
    EXPECT_EQ(Csv(scores::history::ReadHistory(keptPath)), before);
    EXPECT_EQ(ReadIni(), SessionIni());

    // Again within the same second: a name of its own, never over the first.
    const std::string second = Csv(scores::history::ReadHistory(Record()));
    answerer_->answers = {QStringLiteral("Tak")};
    QTest::mouseClick(Window()->FreshButton, Qt::LeftButton);
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("wirtola.history.*")}).size(), 2);
    EXPECT_EQ(Csv(scores::history::ReadHistory(keptPath)), before);
}
