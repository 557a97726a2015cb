#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "engine/Advisor.h"
#include "program/Program.h"
#include "session/UpDown.h"
#include "windows/Boxes.h"
#include "windows/Pomoc.h"
#include "windows/StatisticsWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace gametest;

namespace {

// What a granted loan leaves, whether its save worked or not.
void ExpectSessionAfterLoan()
{
    EXPECT_EQ(Session.Fund, 3000);
    EXPECT_EQ(Session.Wins, 0);
    EXPECT_EQ(Session.Losses, 0);
    EXPECT_EQ(Session.Stake, 10);
    EXPECT_TRUE(Session.BettingOpen);
    EXPECT_FALSE(LoanItem()->isEnabled());
    EXPECT_EQ(StakeField()->text(), QStringLiteral("10"));
    EXPECT_EQ(FundField()->text(), QStringLiteral("3000"));
}

const QString ResultSuffix = QStringLiteral("\n\nKliknij OK to potasuję i rozdam ponownie.");
const QString Refused =
    QStringLiteral("Oferowana przez Ciebie stawka przekracza stan Twojego funduszu.\nProszę wstaw właściwą stawkę");
const QString Exhausted = QStringLiteral("Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku.");

bool KeepBoxesShown()
{
    for (QCheckBox* b : KeepBoxes())
        if (!b->isVisible())
            return false;
    return true;
}

} // namespace

class RoundFlowTest : public GameTest {};

TEST_F(RoundFlowTest, StartsWaitingForADeal)
{
    StartProgram();
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Wirtola wer. 1.1"));
    EXPECT_EQ(Form1->centralWidget()->size(), QSize(691, 405));
    EXPECT_TRUE(DealButton()->isEnabled());
    EXPECT_FALSE(DrawButton()->isEnabled());
    EXPECT_FALSE(LoanItem()->isEnabled());
    EXPECT_TRUE(SoundSwitch()->isChecked());
    for (QCheckBox* b : KeepBoxes())
        EXPECT_FALSE(b->isVisible());
    for (const auto& hand : Cards())
        for (TCard* card : hand)
            EXPECT_EQ(card, nullptr);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("10"));
    EXPECT_EQ(FundField()->text(), QStringLiteral("3000"));
    EXPECT_TRUE(FundField()->isReadOnly());
    EXPECT_EQ(StatusBar()->currentMessage(), QString());
    EXPECT_TRUE(answerer_->seen.empty());
}

TEST_F(RoundFlowTest, MenuCaptionsAndControlsStandInPlace)
{
    StartProgram();
    QStringList bar;
    for (QAction* a : Form1->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&Ustawienia   ", "&Pomoc    ", "&Koniec"}));
    QStringList settings;
    for (QAction* a : Form1->Ustawienia1->actions())
        settings << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(settings, (QStringList{"&Dzwięki włączone", "-", "P&ożyczka z banku", "&Statystyka", "&Podpowiedź"}));

    struct Place {
        QWidget* w;
        QRect want;
    };
    const Place places[] = {
        {Form1->Panel1, {0, 0, 691, 46}},  {DealButton(), {20, 12, 160, 25}}, {DrawButton(), {332, 12, 160, 25}},
        {StakeField(), {261, 12, 33, 24}}, {FundField(), {596, 12, 50, 24}},  {KeepBoxAt(0), {51, 63, 93, 13}},
        {KeepBoxAt(4), {570, 63, 86, 13}}, {StatusBar(), {0, 383, 691, 22}},
    };
    for (const Place& p : places)
        EXPECT_EQ(p.w->geometry(), p.want) << p.w->metaObject()->className();
    EXPECT_EQ(DealButton()->text(), QStringLiteral("&Rozdanie kart"));
    EXPECT_EQ(DrawButton()->text(), QStringLiteral("Kup&no i licytacja"));
    EXPECT_EQ(KeepBoxAt(2)->text(), QStringLiteral("Zostaw 3"));
    // The tick box is drawn whole inside the 13-pixel keep box, whatever the style's own size.
    for (QCheckBox* box : KeepBoxes()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect tick = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        EXPECT_TRUE(box->rect().contains(tick))
            << tick.x() << "," << tick.y() << " " << tick.width() << "x" << tick.height();
    }
    // The help names this run's statistics file where it tells where the scores are kept.
    EXPECT_TRUE(Form1->Windows().FPomoc->Memo1->toPlainText().simplified().contains(
        QString::fromStdString("leży tuż obok niego: " + IniPath() + ".")));
    EXPECT_EQ(Form1->font().pointSize(), 10);
    EXPECT_TRUE(Form1->font().bold());
    EXPECT_EQ(Form1->palette().color(QPalette::Window), QColor(128, 128, 0));

    // Tab order: the panel's controls first, then the keep boxes.
    const std::vector<QWidget*> order{DealButton(), DrawButton(), StakeField(), FundField(), KeepBoxAt(0),
                                      KeepBoxAt(1), KeepBoxAt(2), KeepBoxAt(3), KeepBoxAt(4)};
    std::vector<QWidget*> chain;
    for (QWidget* w = DealButton(); chain.size() < order.size(); w = w->nextInFocusChain())
        if (std::find(order.begin(), order.end(), w) != order.end())
            chain.push_back(w);
    EXPECT_EQ(chain, order);
}

TEST_F(RoundFlowTest, AWholeRoundFromDealToNoWritesTheFile)
{
    StartProgram();
    Deal();
    EXPECT_FALSE(DealButton()->isEnabled());
    EXPECT_TRUE(DrawButton()->isEnabled());
    EXPECT_TRUE(KeepBoxesShown());
    EXPECT_EQ(FundField()->text(), QStringLiteral("2990"));
    EXPECT_EQ(StatusBar()->currentMessage(),
              QStringLiteral("Ewidencja rozdań: aktualne rozdanie 0  w tym wygrane / przegrane 0 / 0"));
    for (int slot = 0; slot < 5; ++slot) {
        TCard* player = CardAt(engine::PlayerHand, slot);
        TCard* computer = CardAt(engine::ComputerHand, slot);
        ASSERT_NE(player, nullptr);
        ASSERT_NE(computer, nullptr);
        EXPECT_FALSE(player->ShowDeck());
        EXPECT_TRUE(computer->ShowDeck());
        EXPECT_EQ(player->pos(), QPoint(50 + 130 * slot, 100));
        EXPECT_EQ(computer->pos(), QPoint(50 + 130 * slot, 250));
        EXPECT_EQ(player->Value(), engine::Hands[engine::PlayerHand][slot].rank);
        EXPECT_TRUE(KeepBoxAt(slot)->isChecked());
    }
    EXPECT_EQ(speaker_.Count(WhisleNotes), 1);

    answerer_->answers = {QStringLiteral("Nie")};
    Draw();
    EXPECT_EQ(speaker_.Count(WhisleNotes), 2);
    ASSERT_EQ(answerer_->seen.size(), 2U);
    EXPECT_EQ(answerer_->seen[0].kind, QStringLiteral("message"));
    EXPECT_EQ(answerer_->seen[0].title, QStringLiteral("Wirtola"));
    EXPECT_TRUE(answerer_->seen[0].text.endsWith(ResultSuffix));
    EXPECT_EQ(answerer_->seen[0].text,
              QString::fromStdString(engine::ResultMessage).replace('\r', '\n') + ResultSuffix);
    EXPECT_EQ(answerer_->seen[1].kind, QStringLiteral("question"));
    EXPECT_EQ(answerer_->seen[1].title, QStringLiteral("Pytanie o grę"));
    EXPECT_EQ(answerer_->seen[1].text, QStringLiteral("Czy chcesz kontynuować grę ?"));
    for (const auto& hand : Cards())
        for (TCard* card : hand)
            EXPECT_TRUE(card->ShowDeck());
    EXPECT_TRUE(Form1->Ended());
    EXPECT_EQ(ReadIni(), Ini(Session.Wins, Session.Losses, Session.Fund));
    EXPECT_EQ(FundField()->text(), QString::number(Session.Fund));
}

TEST_F(RoundFlowTest, AKnownSeedDealsAKnownHand)
{
    StartProgram();
    Deal();
    // Replaying the seed by hand: the window seeds, the ten new cards reseed, then the deal.
    engine::Randomize(4242);
    engine::ShuffleDeck();
    engine::DealHand(engine::ComputerHand);
    engine::DealHand(engine::PlayerHand);
    engine::SortHand(engine::PlayerHand);
    for (int slot = 0; slot < 5; ++slot) {
        TCard* card = CardAt(engine::PlayerHand, slot);
        EXPECT_EQ(card->Value(), engine::Hands[engine::PlayerHand][slot].rank);
        EXPECT_EQ(static_cast<int>(card->Suit()), engine::Hands[engine::PlayerHand][slot].suit);
    }
}

TEST_F(RoundFlowTest, StakeChecksAtTheDeal)
{
    struct Row {
        const char* name;
        int fund;
        QString stake;
        bool accepted;
    };
    const Row rows[] = {
        {"equal to the fund", 500, "500", true},
        {"one above the fund", 500, "501", false},
        {"one, below the spinner", 500, "1", true},
        {"zero", 500, "0", false},
        {"negative", 500, "-5", false},
        {"hexadecimal", 500, "$20", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteIni(Ini(0, 0, row.fund));
        speaker_.heard.clear();
        StartProgram();
        TypeStake(row.stake);
        Deal();
        EXPECT_EQ(DrawButton()->isEnabled(), row.accepted);
        if (row.accepted) {
            EXPECT_TRUE(answerer_->Texts("message").empty());
        } else {
            EXPECT_EQ(answerer_->Texts("message"), std::vector<QString>{Refused});
            EXPECT_EQ(speaker_.Count(WrongStart), 1);
            EXPECT_EQ(FundField()->text(), QString::number(row.fund));
            EXPECT_FALSE(KeepBoxesShown());
        }
        EndProgram();
        answerer_->Clear();
    }
}

TEST_F(RoundFlowTest, TheDrawRefusesAStakeBelowOneAndKeepsTheHandDealt)
{
    WriteIni(Ini(0, 0, 16));
    StartProgram();
    Deal();
    RigHands(RoyalFlush(), HighCardNine()); // a lost hand: a negative stake would pay the loser
    for (const char* stake : {"-1000", "0"}) {
        SCOPED_TRACE(stake);
        answerer_->Clear();
        speaker_.heard.clear();
        TypeStake(stake);
        Draw();
        EXPECT_EQ(answerer_->Texts("message"), std::vector<QString>{Refused});
        EXPECT_EQ(speaker_.Count(WhisleNotes), 1);
        EXPECT_EQ(speaker_.Count(WrongStart), 1);
        EXPECT_TRUE(DrawButton()->isEnabled());
        EXPECT_FALSE(DealButton()->isEnabled());
        EXPECT_TRUE(KeepBoxesShown());
        EXPECT_FALSE(CardAt(engine::PlayerHand, 0)->ShowDeck());
        EXPECT_EQ(Session.Fund, 16);
        EXPECT_EQ(Session.Losses, 0);
    }
    TypeStake("1");
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    EXPECT_EQ(Session.Fund, 15);
    EXPECT_EQ(Session.Losses, 1);
    EXPECT_FALSE(DrawButton()->isEnabled());
}

TEST_F(RoundFlowTest, TheComputersHandIsRevealedInAscendingRank)
{
    StartProgram();
    Deal();
    const engine::HandCards dealt{{{12, 1}, {1, 3}, {13, 0}, {5, 2}, {9, 0}}};
    RigHands(dealt, HighCardNine());
    std::vector<engine::Card> shown, held;
    answerer_->onShown = [&](QWidget* w) {
        if (!shown.empty() || !qobject_cast<QMessageBox*>(w))
            return;
        for (TCard* card : Cards()[engine::ComputerHand]) {
            EXPECT_FALSE(card->ShowDeck());
            shown.push_back({card->Value(), static_cast<std::int32_t>(card->Suit())});
        }
        held.assign(engine::Hands[engine::ComputerHand].begin(), engine::Hands[engine::ComputerHand].end());
    };
    Draw();
    const std::vector<engine::Card> ascending{{1, 3}, {5, 2}, {9, 0}, {12, 1}, {13, 0}};
    EXPECT_EQ(shown, ascending);
    EXPECT_EQ(held, ascending);
}

TEST_F(RoundFlowTest, ALoanWhoseSaveFailsIsStillGrantedWhole)
{
    WriteIni(Ini(5, 5, 100));
    StartProgram();
    TypeStake("100");
    Deal();
    RigHands(RoyalFlush(), HighCardNine());
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    ASSERT_TRUE(LoanItem()->isEnabled());
    const std::string spent = ReadIni(); // the round is on disk: wins 5, losses 6, fund 0

    FailSaves(true);
    answerer_->Clear();
    answerer_->answers = {QStringLiteral("Amen")};
    LoanItem()->trigger();
    ASSERT_EQ(answerer_->Texts("error").size(), 1U);
    EXPECT_TRUE(answerer_->Texts("error")[0].startsWith(QStringLiteral("Unable to write to ")));
    EXPECT_EQ(answerer_->Texts("message"),
              std::vector<QString>{QStringLiteral("Znaj moją Łaskawość - Udzieliłem pożyczki 3000 zł.")});
    ExpectSessionAfterLoan();
    EXPECT_EQ(ReadIni(), spent);

    // Money moves again, and the next save that works stores the loan's session.
    FailSaves(false);
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    EXPECT_EQ(Session.Fund, 3010);
    EXPECT_EQ(ReadIni(), Ini(1, 0, 3010));
}

TEST(FundCourseWordsTest, TellsBothCoursesTheirExtremesAndWhereEachMarkFell)
{
    using scores::history::FundPoint;
    using scores::history::Kind;
    const auto tally = [](std::int64_t rounds, std::vector<FundPoint> fund) {
        scores::history::Tally t;
        t.rounds = rounds;
        t.fund = std::move(fund);
        for (const FundPoint& p : t.fund) {
            t.loans += p.mark == Kind::Loan;
            t.rewards += p.mark == Kind::Reward;
        }
        return t;
    };
    struct Row {
        const char* name;
        scores::history::Tallies tallies;
        QString words;
    };
    // Not a point per round: the course keeps only its turns, extremes and marks.
    const std::vector<FundPoint> sparse{{0, 3000, Kind::Round}, {5, 900, Kind::Round},    {38, 0, Kind::Round},
                                        {38, 3000, Kind::Loan}, {90, 6100, Kind::Reward}, {200, 4000, Kind::Round}};
    std::vector<FundPoint> manyLoans{{0, 3000, Kind::Loan}};
    for (int i = 1; i <= 10; ++i)
        manyLoans.push_back({i, 3000, Kind::Loan});
    const Row rows[] = {
        {"nothing yet", {}, "Jeszcze nie rozegrano żadnego rozdania."},
        {"no round this game",
         {tally(0, {{0, 3000, Kind::Reward}}), tally(90, {{0, 3000, Kind::Round}, {90, 6100, Kind::Reward}})},
         "Ta gra: jeszcze bez rozdań. Wszystkie gry (rozdania: 90): fundusz od 3000 do 6100 zł, najniżej 3000 zł, "
         "najwyżej 6100 zł. Nagroda po 90. rozdaniu."},
        {"lowest in the middle, marks in order",
         {tally(110, {{0, 6100, Kind::Reward}, {20, 7000, Kind::Round}, {110, 4000, Kind::Round}}), tally(200, sparse)},
         "Ta gra (rozdania: 110): fundusz od 6100 do 4000 zł, najniżej 4000 zł, najwyżej 7000 zł. Wszystkie gry "
         "(rozdania: 200): fundusz od 3000 do 4000 zł, najniżej 0 zł, najwyżej 6100 zł. Pożyczka po 38. rozdaniu, "
         "nagroda po 90. rozdaniu."},
        {"many marks",
         {tally(0, {{10, 3000, Kind::Loan}}), tally(10, manyLoans)},
         "Ta gra: jeszcze bez rozdań. Wszystkie gry (rozdania: 10): fundusz od 3000 do 3000 zł, najniżej 3000 zł, "
         "najwyżej 3000 zł. Pożyczka przed pierwszym rozdaniem, pożyczka po 1. rozdaniu, pożyczka po 2. rozdaniu, "
         "pożyczka po 3. rozdaniu, pożyczka po 4. rozdaniu, pożyczka po 5. rozdaniu, pożyczka po 6. rozdaniu, "
         "pożyczka po 7. rozdaniu, i 3 więcej."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FundCourseWords(row.tallies), row.words);
    }
}

TEST_F(RoundFlowTest, TheRecordKeepsEveryRoundAndTheStatisticsWindowTellsIt)
{
    // An older statistics file with no record: the record starts, carrying its totals over.
    WriteIni(Ini(2, 1, 500));
    StartProgram();
    enum Outcome { Win, Loss, Tie };
    const auto play = [this](const char* stake, Outcome outcome) {
        TypeStake(stake);
        Deal();
        RigHands(outcome == Loss ? RoyalFlush() : HighCardNine(), outcome == Win ? RoyalFlush() : HighCardNine());
        Draw();
    };
    play("100", Win);
    play("200", Loss);
    play("400", Loss); // the fund is spent: the loan
    answerer_->answers = {QStringLiteral("Amen")};
    LoanItem()->trigger();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier);
    StatisticsWindow* window = Form1->Windows().Statistics;
    ASSERT_TRUE(window->isVisible());
    const auto column = [window](int c) {
        QStringList cells;
        for (int row = 0; row < window->Summary->rowCount(); ++row)
            cells << window->Summary->item(row, c)->text();
        return cells;
    };
    // No round in this game yet: no share to tell.
    EXPECT_EQ(column(0), (QStringList{"0", "0", "0", "0", "–", "–", "–", "–", "–", "1", "–"}));
    // Tab goes from table to table; the arrows stay within one.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->Summary->setFocus();
    QTest::keyClick(window->Summary, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), window->Summary);
    QTest::keyClick(window->Summary, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->Classes);
    QTest::keyClick(window->Classes, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->Draws);
    play("10", Win); // while the window is open
    play("10", Tie);

    // Nothing lost in this game yet: "–", not "0 zł"; runs in rounds; cards as the player reads
    // them; the share won of every round, ties too.
    EXPECT_EQ(column(0),
              (QStringList{"2", "1", "0", "1", "50,0 %", "10 zł", "–", "1 rozdanie", "–", "1",
                           "poker królewski (10♥ W♥ D♥ K♥ A♥)"}));
    EXPECT_EQ(column(1),
              (QStringList{"5", "2", "2", "1", "40,0 %", "100 zł", "400 zł", "1 rozdanie", "2 rozdania", "1",
                           "poker królewski (10♥ W♥ D♥ K♥ A♥)"}));
    // Each class kept, in this game and all games, and its chance in a five-card deal.
    const QStringList chances{"50,1570 %", "42,2569 %", "4,7539 %", "2,1128 %", "0,3532 %",
                              "0,1967 %",  "0,1441 %",  "0,0240 %", "0,0012 %", "0,0002 %"};
    for (int row = 0; row < window->Classes->rowCount(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(window->Classes->item(row, 2)->text(), chances.value(row));
        const QString game = row == 0 ? "1 (50,0 %)" : row == 9 ? "1 (50,0 %)" : "0 (0,0 %)";
        const QString all = row == 0 ? "3 (60,0 %)" : row == 9 ? "2 (40,0 %)" : "0 (0,0 %)";
        EXPECT_EQ(window->Classes->item(row, 3)->text(), game);
        EXPECT_EQ(window->Classes->item(row, 4)->text(), all);
    }
    std::int64_t dealt = 0;
    std::int64_t dealtThisGame = 0;
    for (int row = 0; row < window->Classes->rowCount(); ++row) {
        dealtThisGame += window->Classes->item(row, 0)->text().section(QLatin1Char(' '), 0, 0).toLongLong();
        dealt += window->Classes->item(row, 1)->text().section(QLatin1Char(' '), 0, 0).toLongLong();
    }
    EXPECT_EQ(std::make_pair(dealtThisGame, dealt), std::make_pair(std::int64_t{2}, std::int64_t{5}));
    const QString course =
        QStringLiteral("Ta gra, 2 rozdania: fundusz od 3000 do 3010 zł, najniżej 3000 zł, najwyżej 3010 zł. "
                       "Wszystkie gry, 5 rozdań: fundusz od 500 do 3010 zł, najniżej 0 zł, najwyżej 3010 zł. "
                       "Pożyczka po 3. rozdaniu.");
    EXPECT_EQ(window->Plot->accessibleDescription(), course);
    EXPECT_EQ(window->Course->text(), course);
    // A screen reader hears every number with its row's name, and the best hand in words.
    const auto heard = [](QTableWidget* table, int row, int column) {
        return table->item(row, column)->data(Qt::AccessibleTextRole).toString();
    };
    EXPECT_EQ(heard(window->Summary, 1, 1), QStringLiteral("Wygrane: 2"));
    EXPECT_EQ(heard(window->Summary, 6, 0), QStringLiteral("Największa przegrana: brak"));
    EXPECT_EQ(heard(window->Summary, 10, 1), QStringLiteral("Najlepszy układ: poker królewski, kier"));
    EXPECT_EQ(heard(window->Classes, 1, 2), QStringLiteral("para: 42,2569 %"));
    EXPECT_EQ(heard(window->Classes, 9, 4), QStringLiteral("poker królewski: 2 (40,0 %)"));

    // One row per round and event, every one with all its columns, as --history prints them
    // (the time aside); the last holds what the statistics file holds.
    const std::string record = dir_.filePath("wirtola.history").toStdString();
    const auto printed = [&record] {
        char* text = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        scores::history::WriteCsv(out, scores::history::ReadHistory(record));
        std::fclose(out);
        QStringList lines = QString::fromUtf8(text, static_cast<qsizetype>(size)).split(QLatin1Char('\n'));
        std::free(text);
        lines.removeFirst(); // the header
        lines.removeLast();  // after the last line's end
        QStringList told;
        for (const QString& line : lines) {
            const QStringList fields = line.split(QLatin1Char(','));
            EXPECT_EQ(fields.size(), 18) << line.toStdString();
            told << QStringList{fields.mid(1, 2) + fields.mid(9, 5)}.join(QLatin1Char(','));
        }
        return told;
    };
    const QStringList rows{"carried over,,,,500,2,1",   "round,100,won,100,600,3,1", "round,200,lost,-200,400,3,2",
                           "round,400,lost,-400,0,3,3", "loan,,,,3000,0,0",          "new game,,,,3000,0,0",
                           "round,10,won,10,3010,1,0",  "round,10,tied,0,3010,1,0"};
    EXPECT_EQ(printed(), rows);
    EXPECT_EQ(Ini(1, 0, 3010), ReadIni());
    const auto rounds = scores::history::ReadHistory(record);
    ASSERT_EQ(rounds.size(), 8U);
    EXPECT_EQ(scores::history::CardsText(rounds[2].computer), "Th Jh Qh Kh Ah");

    // The next game finds the record ending with the file's totals: nothing to carry over.
    EndProgram();
    StartProgram();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Form1->Windows().Statistics->isVisible());
    EXPECT_EQ(printed(), rows);
}

TEST_F(RoundFlowTest, EachRowTellsHowThePlayerDrewAgainstTheAdvice)
{
    StartProgram();
    const std::string record = dir_.filePath("wirtola.history").toStdString();
    const auto rounds = [&record] {
        std::vector<scores::history::Entry> played;
        for (const auto& row : scores::history::ReadHistory(record))
            if (row.kind == scores::history::Kind::Round)
                played.push_back(row);
        return played;
    };
    // The advice in before the draw: the first two cards exchanged.
    TypeStake("100");
    Deal();
    ASSERT_TRUE(QTest::qWaitFor([] { return Form1->AdviceReady(); }, 20000));
    ClickCard(0);
    ClickCard(1);
    Draw();
    ASSERT_EQ(rounds().size(), 1U);
    EXPECT_TRUE(rounds()[0].Judged()) << "recorded with its verdict";
    // Drawn before the advice came: the row is recorded at once and judged when it comes.
    TypeStake("30");
    Deal();
    Draw();
    const auto played = rounds();
    ASSERT_EQ(played.size(), 2U);
    EXPECT_FALSE(played[1].Judged());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rounds()[1].Judged(); }, 20000));
    const auto judged = rounds();
    EXPECT_EQ(judged[1].id, played[1].id) << "the same row";

    // Each row as the advisor judges the dealt hand.
    const std::array<engine::KeepMask, 2> marks{0b11100, 0b11111};
    std::int64_t best = 0;
    std::int64_t givenAway = 0;
    for (std::size_t i = 0; i < judged.size(); ++i) {
        const auto& row = judged[i];
        const std::optional<engine::Advice> advice = engine::Advise(row.dealt);
        ASSERT_TRUE(advice);
        EXPECT_EQ(row.kept, marks[i]);
        EXPECT_EQ(row.best, advice->Best().keep);
        EXPECT_EQ(row.keptExpected, std::llround(advice->For(marks[i]).Expected() * row.stake * 100));
        EXPECT_EQ(row.bestExpected, std::llround(advice->Best().Expected() * row.stake * 100));
        const bool wasBest = row.keptExpected >= row.bestExpected;
        best += wasBest;
        givenAway += wasBest ? 0 : row.bestExpected - row.keptExpected;
    }

    // The statistics window's draws, with their row names for a screen reader.
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier);
    StatisticsWindow* window = Form1->Windows().Statistics;
    ASSERT_TRUE(window->isVisible());
    const QLocale polish(QStringLiteral("pl"));
    const QString share = QStringLiteral("%1 z 2 (%2 %)").arg(best).arg(polish.toString(best * 50.0, 'f', 1));
    const QString money = QStringLiteral("%1 zł").arg(polish.toString(static_cast<double>(givenAway) / 100, 'f', 2));
    for (int column : {0, 1}) {
        EXPECT_EQ(window->Draws->item(0, column)->text(), share);
        EXPECT_EQ(window->Draws->item(0, column + 2)->text(), money);
    }
    EXPECT_TRUE(window->Draws->item(0, 1)
                    ->data(Qt::AccessibleTextRole)
                    .toString()
                    .startsWith(QStringLiteral("Wszystkie układy: %1 ").arg(best)));
    // By the dealt hand's class: a row for each class dealt, "–" for the others.
    for (int c = 0; c < 10; ++c) {
        const auto dealt =
            std::count_if(judged.begin(), judged.end(), [c](const auto& r) { return r.dealtClass == c; });
        const QString cell = window->Draws->item(c + 1, 1)->text();
        EXPECT_EQ(dealt == 0 ? cell == QStringLiteral("–") : cell.contains(QStringLiteral(" z %1 (").arg(dealt)), true)
            << c;
    }
    // This game's column and all games' apart, as after a loan.
    scores::history::Tallies apart;
    apart.game.draws = {.judged = 1, .best = 0, .givenAway = 250};
    apart.all.draws = {.judged = 4, .best = 2, .givenAway = 1000};
    window->SetTotals(apart);
    QStringList cells;
    for (int column = 0; column < 4; ++column)
        cells << window->Draws->item(0, column)->text();
    EXPECT_EQ(cells, (QStringList{"0 z 1 (0,0 %)", "2 z 4 (50,0 %)", "2,50 zł", "10,00 zł"}));
}

TEST_F(RoundFlowTest, ADamagedRecordIsKeptAsideAndANewOneStarted)
{
    WriteIni(Ini(1, 1, 3000));
    const std::string damaged = "not a record of anything";
    std::ofstream(dir_.filePath("wirtola.history").toStdString(), std::ios::binary) << damaged;
    StartProgram();
    TypeStake("10");
    Deal();
    Draw();
    EXPECT_THAT(StatusBar()->accessibleDescription().toStdString(),
                testing::HasSubstr("Historia rozdań była uszkodzona: zachowana jako "));
    const QStringList aside = QDir(dir_.path()).entryList({QStringLiteral("wirtola.history.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    std::ifstream kept(dir_.filePath(aside.front()).toStdString(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
    EXPECT_EQ(scores::history::ReadHistory(dir_.filePath("wirtola.history").toStdString()).size(),
              2U); // and the totals
    EXPECT_EQ(ReadIni(), SessionIni());
}

TEST_F(RoundFlowTest, EveryRoundTheRecordMissesIsToldUntilOneIsRecordedAgain)
{
    const std::string record = dir_.filePath("wirtola.history").toStdString();
    ASSERT_EQ(mkfifo(record.c_str(), 0600), 0); // a record that cannot be kept, and must not hang the round
    StartProgram();
    const auto round = [this] {
        TypeStake("10");
        Deal();
        Draw();
        return StatusBar()->accessibleDescription().toStdString();
    };
    const std::string notKept = "Historia rozdań nie jest zapisywana";
    for (int i = 0; i < 3; ++i)
        EXPECT_THAT(round(), testing::HasSubstr(notKept)) << "round " << i;
    std::filesystem::remove(record);
    EXPECT_THAT(round(), testing::Not(testing::HasSubstr(notKept)));
    auto rows = scores::history::ReadHistory(record);
    ASSERT_EQ(rows.size(), 2U) << "the totals of the rounds it missed, then the round";
    EXPECT_EQ(rows[0].kind, scores::history::Kind::Carried);
    EXPECT_EQ(rows[0].wins + rows[0].losses + (rows[1].result == scores::history::Result::Tied ? 0 : 1),
              rows[1].wins + rows[1].losses);
    EXPECT_EQ(rows[0].fund, rows[1].fund - rows[1].moved) << "the fund after the rounds it missed";

    // Deleted during play: started again at its name, said once; the window follows the new one.
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(record + suffix);
    EXPECT_THAT(round(), testing::HasSubstr("Plik historii rozdań zniknął lub został podmieniony"));
    EXPECT_THAT(round(), testing::Not(testing::HasSubstr("historii")));
    EXPECT_EQ(scores::history::ReadHistory(record).size(), 3U);
    Form1->Statystyka1->trigger();
    StatisticsWindow* window = Form1->Windows().Statistics;
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->Summary->item(0, 1)->text(), QStringLiteral("2"));
    EXPECT_EQ(ReadIni(), SessionIni());
}

TEST_F(RoundFlowTest, AnEmptyStakeFieldIsAnErrorAtOnceAndRefusedAtTheDeal)
{
    StartProgram();
    TypeStake("25");
    TypeStake("");
    ASSERT_EQ(answerer_->Texts("error").size(), 1U);
    EXPECT_EQ(answerer_->Texts("error")[0], QStringLiteral("'' is not a valid integer value."));
    EXPECT_EQ(Session.Stake, 25); // the stake keeps its previous value
    EXPECT_EQ(StakeField()->text(), QString());
    Deal();
    EXPECT_EQ(answerer_->Texts("message"), std::vector<QString>{Refused});
    EXPECT_EQ(Session.Stake, -1);
    EXPECT_FALSE(DrawButton()->isEnabled());
}

TEST_F(RoundFlowTest, AStakeAbove990IsClampedWithoutAMessage)
{
    StartProgram();
    TypeStake("1000");
    EXPECT_EQ(StakeField()->text(), QStringLiteral("990"));
    EXPECT_EQ(Session.Stake, 990);
    EXPECT_TRUE(answerer_->seen.empty());
}

TEST_F(RoundFlowTest, SpinnerStepsFromTheFieldWithinItsBounds)
{
    StartProgram();
    TypeStake("35");
    QTest::mouseClick(StakeSpinner()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("45"));
    TypeStake("985");
    QTest::mouseClick(StakeSpinner()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("990"));
    QTest::mouseClick(StakeSpinner()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("990")); // no wrap-around
    TypeStake("10");
    QTest::mouseClick(StakeSpinner()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(StakeField()->text(), QStringLiteral("10"));
    EXPECT_EQ(Session.Stake, 10);
    // The arrow keys in the field step it too, the keypad's (Num Lock off) as the others; with
    // Shift or Ctrl they are the field's own.
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* stake;
    };
    const Press presses[] = {{Qt::Key_Up, Qt::NoModifier, "20"},
                             {Qt::Key_Up, Qt::KeypadModifier, "30"},
                             {Qt::Key_Down, Qt::KeypadModifier, "20"},
                             {Qt::Key_Down, Qt::NoModifier, "10"},
                             {Qt::Key_Up, Qt::ShiftModifier, "10"}};
    for (const Press& press : presses) {
        QTest::keyClick(StakeField(), press.key, press.modifiers);
        EXPECT_EQ(StakeField()->text(), QLatin1String(press.stake)) << press.key << " " << press.modifiers.toInt();
    }
}

TEST_F(RoundFlowTest, SoundsOffWriteTheStakeHintAndPlayNothing)
{
    StartProgram();
    SoundSwitch()->trigger();
    EXPECT_FALSE(Form1->SoundsOn());
    TypeStake("0");
    Deal();
    EXPECT_EQ(
        StatusBar()->currentMessage(),
        QStringLiteral("W okienku \"Stawka\" wstaw dowolną kwotę, która jednak nie przekroczy Twojego funduszu."));
    EXPECT_EQ(answerer_->Texts("message"), std::vector<QString>{Refused});
    EXPECT_TRUE(speaker_.heard.empty());

    SoundSwitch()->trigger();
    Deal();
    EXPECT_EQ(speaker_.Count(WhisleNotes), 1);
    EXPECT_EQ(speaker_.Count(WrongStart), 1); // the refused deal with sounds on: no hint, a tune
}

TEST_F(RoundFlowTest, CardClicksTurnCardsAndSetTheirKeepBoxes)
{
    StartProgram();
    Deal();
    ClickCard(1);
    EXPECT_TRUE(CardAt(engine::PlayerHand, 1)->ShowDeck());
    EXPECT_FALSE(KeepBoxAt(1)->isChecked());
    ClickCard(1);
    EXPECT_FALSE(CardAt(engine::PlayerHand, 1)->ShowDeck());
    EXPECT_TRUE(KeepBoxAt(1)->isChecked());

    // A keep box clicked directly changes only the mark.
    QTest::mouseClick(KeepBoxAt(3), Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_FALSE(KeepBoxAt(3)->isChecked());
    EXPECT_FALSE(CardAt(engine::PlayerHand, 3)->ShowDeck());

    // The computer's cards ignore clicks.
    QTest::mouseClick(CardAt(engine::ComputerHand, 2), Qt::LeftButton);
    EXPECT_TRUE(CardAt(engine::ComputerHand, 2)->ShowDeck());
}

TEST_F(RoundFlowTest, UnkeptCardsAreReplacedAtTheDraw)
{
    StartProgram();
    Deal();
    const int before = engine::DeckPos;
    const engine::HandCards held = engine::Hands[engine::PlayerHand];
    ClickCard(1);
    ClickCard(3);
    const engine::CardCode first = engine::Deck[before];
    const engine::CardCode second = engine::Deck[before + 1];
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    EXPECT_EQ(engine::DeckPos, before + 2);
    // The hand now holds the three kept cards and the two drawn ones.
    std::vector<engine::Card> want{held[0], held[2], held[4], engine::DecodeCard(first), engine::DecodeCard(second)};
    std::vector<engine::Card> got(engine::Hands[engine::PlayerHand].begin(), engine::Hands[engine::PlayerHand].end());
    auto byRankSuit = [](const engine::Card& a, const engine::Card& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.suit < b.suit;
    };
    std::sort(want.begin(), want.end(), byRankSuit);
    std::sort(got.begin(), got.end(), byRankSuit);
    EXPECT_EQ(got, want);
}

TEST_F(RoundFlowTest, FundFieldAfterShowdownAndWaitingAgainAfterYes)
{
    WriteIni(Ini(3, 2, 1000));
    StartProgram();
    TypeStake("200");
    Deal();
    EXPECT_EQ(FundField()->text(), QStringLiteral("800"));
    RigHands(HighCardNine(), RoyalFlush());
    Draw();
    EXPECT_EQ(Session.Fund, 1200);
    EXPECT_EQ(FundField()->text(), QStringLiteral("1200"));
    EXPECT_EQ(answerer_->seen[0].text,
              QStringLiteral("Gratulacje Wygrałeś !\nWygrałeś złotych polskich  200") + ResultSuffix);
    EXPECT_EQ(StatusBar()->currentMessage(),
              QStringLiteral("Ewidencja rozdań: aktualne rozdanie 6  w tym wygrane / przegrane 4 / 2"));
    EXPECT_TRUE(DealButton()->isEnabled());
    EXPECT_FALSE(DrawButton()->isEnabled());
    EXPECT_FALSE(KeepBoxesShown());
    EXPECT_FALSE(Form1->Ended());

    // After the showdown a face-down card still turns up when clicked.
    ClickCard(0);
    EXPECT_FALSE(CardAt(engine::PlayerHand, 0)->ShowDeck());
}

TEST_F(RoundFlowTest, ATieChangesNothingButTheMessage)
{
    WriteIni(Ini(1, 1, 700));
    StartProgram();
    Deal();
    RigHands(HighCardNine(), HighCardNine());
    Draw();
    EXPECT_EQ(Session.Fund, 700);
    EXPECT_EQ(Session.Wins + Session.Losses, 2);
    EXPECT_EQ(StatusBar()->currentMessage(),
              QStringLiteral("Ewidencja rozdań: aktualne rozdanie 2  w tym wygrane / przegrane 1 / 1"));
}

TEST_F(RoundFlowTest, RaisingTheStakeBeforeTheDrawCanSinkTheFundBelowZeroThenTheLoan)
{
    WriteIni(Ini(5, 5, 100));
    StartProgram();
    TypeStake("100");
    Deal();
    TypeStake("990");
    RigHands(RoyalFlush(), HighCardNine());
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    EXPECT_EQ(Session.Fund, -890);
    EXPECT_EQ(FundField()->text(), QStringLiteral("-890"));
    EXPECT_EQ(answerer_->Texts("message").back(), Exhausted);
    EXPECT_EQ(speaker_.Count(WrongStart), 1);
    EXPECT_TRUE(LoanItem()->isEnabled());
    EXPECT_FALSE(Session.BettingOpen);

    // Every deal is refused until the loan.
    TypeStake("1");
    Deal();
    EXPECT_EQ(answerer_->Texts("message").back(), Refused);

    // The petition closed by its close box grants nothing.
    answerer_->answers = {QStringLiteral("close")};
    LoanItem()->trigger();
    EXPECT_EQ(Session.Fund, -890);
    EXPECT_TRUE(LoanItem()->isEnabled());

    answerer_->answers = {QStringLiteral("Amen")};
    LoanItem()->trigger();
    ExpectSessionAfterLoan();
    EXPECT_EQ(StatusBar()->currentMessage(), QString());
    EXPECT_EQ(answerer_->Texts("message").back(), QStringLiteral("Znaj moją Łaskawość - Udzieliłem pożyczki 3000 zł."));
    EXPECT_EQ(ReadIni(), Ini(0, 0, 3000));
}

TEST_F(RoundFlowTest, RewardOpensAtSixThousandNotBelow)
{
    for (int fund : {5999, 6000}) {
        SCOPED_TRACE(fund);
        WriteIni(Ini(7, 3, fund - 10));
        StartProgram();
        Deal();
        RigHands(HighCardNine(), RoyalFlush());
        Draw();
        const bool rewarded = !answerer_->Texts("reward").empty();
        EXPECT_EQ(rewarded, fund >= 6000);
        EXPECT_EQ(Form1->Ended(), rewarded);
        if (rewarded) {
            EXPECT_EQ(ReadIni(), Ini(0, 0, 3000));
        }
        EndProgram();
        answerer_->Clear();
    }
    // The next game's first round is recorded as a new game's, after the reward that ended the last.
    StartProgram();
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    Draw();
    using scores::history::Kind;
    const auto rows = scores::history::ReadHistory(dir_.filePath("wirtola.history").toStdString());
    ASSERT_GE(rows.size(), 3U);
    const auto& [reward, newGame, round] = std::tie(rows[rows.size() - 3], rows[rows.size() - 2], rows.back());
    EXPECT_EQ(std::make_tuple(reward.kind, newGame.kind, round.kind),
              std::make_tuple(Kind::Reward, Kind::NewGame, Kind::Round));
    EXPECT_EQ(std::make_tuple(newGame.fund, newGame.wins, newGame.losses), std::make_tuple(3000, 0, 0));
}

TEST_F(RoundFlowTest, AnsweringNoWithSixThousandStoresThatFund)
{
    WriteIni(Ini(7, 3, 6990));
    StartProgram();
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    answerer_->answers = {QStringLiteral("Nie")};
    Draw();
    EXPECT_TRUE(answerer_->Texts("reward").empty());
    EXPECT_TRUE(Form1->Ended());
    EXPECT_EQ(ReadIni(), Ini(8, 3, 7000));
}

TEST_F(RoundFlowTest, ASecondClickDuringTheDealsTuneIsIgnored)
{
    speaker_.ntFamily = false; // the port path pumps events during every note
    StartProgram();
    int pumps = 0;
    speaker_.pumpStep = 30;
    speaker_.onPump = [&] {
        if (++pumps == 1)
            DealButton()->click();
    };
    Deal();
    speaker_.onPump = nullptr;
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(speaker_.Count(WhisleNotes), 1); // the nested click played nothing and dealt nothing
    EXPECT_TRUE(DrawButton()->isEnabled());

    // During the draw's tune a second draw click would settle twice.
    const int rounds = Session.Wins + Session.Losses;
    pumps = 0;
    speaker_.onPump = [&] {
        if (++pumps == 1)
            DrawButton()->click();
    };
    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    speaker_.onPump = nullptr;
    EXPECT_LE(Session.Wins + Session.Losses, rounds + 1);
    EXPECT_EQ(speaker_.Count(WhisleNotes), 2);
    EXPECT_EQ(answerer_->Texts("question").size(), 1U);
}

TEST_F(RoundFlowTest, OneShowdownPerDealEvenWhenTheSaveFails)
{
    StartProgram();
    Deal();
    RigHands(HighCardNine(), RoyalFlush());
    // The statistics file cannot be written: its folder is a regular file.
    WriteIni("x");
    scores::SetStatisticsFilePath(IniPath() + "/wirtola.ini");
    answerer_->answers = {QStringLiteral("Nie"), QStringLiteral("Nie")}; // stay when it cannot save
    Draw();
    ASSERT_EQ(answerer_->Texts("error").size(), 1U);
    EXPECT_TRUE(answerer_->Texts("error")[0].startsWith(QStringLiteral("Unable to write to ")));
    EXPECT_TRUE(answerer_->Texts("error")[0].endsWith(QStringLiteral(".")));
    EXPECT_FALSE(Form1->Ended());
    EXPECT_FALSE(DrawButton()->isEnabled());
    const int wins = Session.Wins;
    const std::size_t boxes = answerer_->seen.size();
    Form1->btnKupnoClick(); // as a click that slipped past the disabled button would
    EXPECT_EQ(Session.Wins, wins);
    EXPECT_EQ(answerer_->seen.size(), boxes);
}

TEST_F(RoundFlowTest, ACloseThatCannotSaveIsRefusedAndTheNextOneTriesAgain)
{
    StartProgram();
    WriteIni("x");
    scores::SetStatisticsFilePath(IniPath() + "/wirtola.ini");
    answerer_->answers = {QStringLiteral("Nie")}; // not leaving without the scores
    Form1->close();
    EXPECT_EQ(answerer_->Texts("error").size(), 1U);
    EXPECT_FALSE(Form1->Ended());
    EXPECT_TRUE(Form1->isVisible());

    scores::SetStatisticsFilePath(IniPath() + ".ok");
    EndItem()->trigger();
    EXPECT_TRUE(Form1->Ended());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(RoundFlowTest, ClosingBetweenDealAndDrawStoresTheFundWithoutTheStake)
{
    WriteIni(Ini(2, 1, 1500));
    StartProgram();
    TypeStake("500");
    Deal();
    Form1->close();
    EXPECT_TRUE(Form1->Ended());
    EXPECT_EQ(ReadIni(), Ini(2, 1, 1500));
}

TEST_F(RoundFlowTest, EnterAnswersYesToTheContinueQuestion)
{
    StartProgram();
    Deal();
    answerer_->answers = {QStringLiteral("Enter")};
    Draw();
    EXPECT_EQ(answerer_->Texts("question").size(), 1U);
    EXPECT_FALSE(Form1->Ended());
    EXPECT_TRUE(DealButton()->isEnabled());
}

TEST_F(RoundFlowTest, MnemonicsWorkFromTheKeyboard)
{
    StartProgram();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    // A button's mnemonic presses it the way a click does, a moment later.
    QTest::keyClick(Form1, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return DrawButton()->isEnabled(); })) << "Alt+R deals";
    answerer_->answers = {QStringLiteral("Tak")};
    QTest::keyClick(Form1, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !answerer_->Texts("question").empty(); })) << "Alt+N draws";
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, Qt::Key_K, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return Form1->Ended(); })) << "Alt+K ends";
}

TEST(Boxes, ErrorMessagesGetAFullStopByTheLastCharactersCode)
{
    struct Row {
        QString in, want;
    };
    const Row rows[] = {
        {"'' is not a valid integer value", "'' is not a valid integer value."},
        {"Unable to write to /tmp/wirtola.ini", "Unable to write to /tmp/wirtola.ini."},
        {"Koniec!", "Koniec!"},        // '!' is below '.'
        {"Gotowe.", "Gotowe."},        // '.' itself is not above '.'
        {"zapisano 5", "zapisano 5."}, // digits are above '.'
        {"Zapisz plik /", "Zapisz plik /."},
        {"Błąd: zł", "Błąd: zł."},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(boxes::WithFullStop(row.in), row.want) << row.in.toStdString();
    EXPECT_EQ(boxes::WithLineBreaks("a\rb\r\rc"), QStringLiteral("a\nb\n\nc"));
}

// The plot says what its numbers are: złote up the side, rounds along the bottom at a few round
// numbers, each text dark on its own white whatever the desktop's theme (at least 4.5:1).
TEST(FundPlotTest, ItsAxesCarryTheirUnitsAndEveryTextCanBeRead)
{
    using scores::history::Kind;
    FundPlot plot;
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    plot.setPalette(dark);
    plot.resize(600, 180);
    // Points where the rounds are, not one per round: a course thinned out keeps its extremes.
    plot.SetPoints({{0, 500, Kind::Round},
                    {7, 120, Kind::Round},
                    {8, 3000, Kind::Loan},
                    {31, 6490, Kind::Round},
                    {38, 6010, Kind::Reward}});
    const QStringList labels = plot.AxisLabels();
    EXPECT_TRUE(labels.contains(QStringLiteral("0 zł"))) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("6000 zł"))) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("30"))) << labels.join('|').toStdString();
    EXPECT_FALSE(labels.contains(QStringLiteral("40"))) << "no round past the last";
    EXPECT_EQ(labels.back(), QStringLiteral("rozdanie"));
    const qsizetype funds =
        std::count_if(labels.begin(), labels.end(), [](const QString& l) { return l.endsWith(" zł"); });
    EXPECT_GE(funds, 2);
    EXPECT_LE(funds, 6);
    EXPECT_GE(labels.size() - funds - 1, 2);

    // The darkest pixel of the labels' margins against the plot's white.
    const QImage image = plot.grab().toImage();
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    double darkest = 1;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < 40; ++x) // the fund labels' column
            darkest = std::min(darkest, luminance(image.pixelColor(x, y)));
    const double background = luminance(image.pixelColor(3, 3));
    EXPECT_GE((background + 0.05) / (darkest + 0.05), 4.5);
}
