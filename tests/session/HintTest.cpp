#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "engine/Advisor.h"
#include "windows/HintWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <chrono>
#include <thread>

using namespace gametest;

namespace {

QAction* HintItem()
{
    return Form1->Podpowiedz1;
}

HintWindow* OpenHint()
{
    HintItem()->trigger();
    auto* hint = Form1->findChild<HintWindow*>();
    // The advice is worked out on its own thread; the window shows it once it comes.
    if (hint && !QTest::qWaitFor([hint] { return hint->Current().has_value(); }, 20000))
        return nullptr;
    return hint;
}

std::array<engine::HandCards, 2> DealtHands()
{
    return engine::Hands;
}

} // namespace

class HintTest : public GameTest {};

TEST_F(HintTest, OfferedBetweenDealAndDrawAndFollowsTheMarks)
{
    StartProgram();
    EXPECT_FALSE(HintItem()->isEnabled());
    EXPECT_EQ(Form1->findChild<HintWindow*>(), nullptr); // nothing of it until asked for
    Deal();
    ASSERT_TRUE(HintItem()->isEnabled());
    const engine::HandCards hand = engine::Hands[engine::PlayerHand];
    HintWindow* hint = OpenHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());

    // The engine's own advice for the hand on the table, best first, at the stake in the field.
    const engine::Advice advice = *engine::Advise(hand);
    ASSERT_EQ(hint->Table->rowCount(), advice.PlaceOf(engine::KeepAll) < 5 ? 5 : 6);
    for (int row = 0; row < 5; ++row) {
        const engine::ChoiceOdds& odds = advice.For(advice.ranking[row]);
        EXPECT_EQ(hint->Table->item(row, 0)->text(), KeptCardsWords(hand, odds.keep));
        EXPECT_EQ(hint->Table->item(row, 1)->text(), QString::number(odds.win * 100, 'f', 1).replace('.', ',') + " %");
    }
    EXPECT_EQ(hint->Sentence->text(), AdviceSentence(advice, advice.Best(), 10));
    EXPECT_EQ(hint->Table->accessibleDescription(), hint->Sentence->text());
    EXPECT_EQ(hint->Place->text(),
              QStringLiteral("Twój wybór: miejsce %1 z 32.").arg(advice.PlaceOf(engine::KeepAll) + 1));

    // The window follows the marks: a card clicked away is a choice of four kept.
    ClickCard(0);
    EXPECT_EQ(hint->Place->text(), QStringLiteral("Twój wybór: miejsce %1 z 32.").arg(advice.PlaceOf(0b11110) + 1));
    if (advice.PlaceOf(0b11110) >= 5) {
        ASSERT_EQ(hint->Table->rowCount(), 6);
        EXPECT_EQ(hint->Table->item(5, 0)->text(), KeptCardsWords(hand, 0b11110));
    }
    TypeStake(QStringLiteral("200"));
    EXPECT_EQ(hint->Sentence->text(), AdviceSentence(advice, advice.Best(), 200));
    EXPECT_TRUE(hint->Sentence->text().endsWith(hint->Table->item(0, 4)->text()))
        << hint->Table->item(0, 4)->text().toStdString();

    // The button sets every mark, and turns the cards, to the best choice; the player still draws.
    hint->KeepBest->click();
    const engine::KeepMask best = advice.Best().keep;
    for (int slot = 0; slot < engine::HandSize; ++slot) {
        SCOPED_TRACE(slot);
        const bool kept = (best >> slot) & 1;
        EXPECT_EQ(KeepBoxAt(slot)->isChecked(), kept);
        EXPECT_EQ(CardAt(engine::PlayerHand, slot)->ShowDeck(), !kept);
    }
    EXPECT_EQ(hint->Place->text(), QStringLiteral("Twój wybór: miejsce 1 z 32."));
    EXPECT_TRUE(DrawButton()->isEnabled());

    Draw();
    EXPECT_FALSE(HintItem()->isEnabled());
    EXPECT_FALSE(hint->KeepBest->isEnabled());
    EXPECT_EQ(hint->Table->rowCount(), 0);
    // The draw took exactly the advised cards away.
    for (int slot = 0; slot < engine::HandSize; ++slot)
        if ((best >> slot) & 1) {
            EXPECT_NE(std::find(engine::Hands[engine::PlayerHand].begin(), engine::Hands[engine::PlayerHand].end(),
                                hand[slot]),
                      engine::Hands[engine::PlayerHand].end());
        }

    // The next deal is advised as soon as it is dealt, the window still open.
    Deal();
    EXPECT_TRUE(HintItem()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([hint] { return hint->Current().has_value(); }, 20000));
    EXPECT_EQ(hint->Current()->hand, engine::Hands[engine::PlayerHand]);
}

TEST_F(HintTest, TheDealsAreTheSameWithTheHintUsed)
{
    // The same clock seed twice: once played plainly, once with the hint open at every deal.
    std::vector<std::array<engine::HandCards, 2>> plain;
    std::vector<std::array<engine::HandCards, 2>> hinted;
    for (auto* deals : {&plain, &hinted}) {
        StartProgram();
        for (int round = 0; round < 3; ++round) {
            Deal();
            if (deals == &hinted) {
                ASSERT_NE(OpenHint(), nullptr);
            }
            deals->push_back(DealtHands());
            Draw();
        }
        EndProgram();
    }
    EXPECT_EQ(plain, hinted);
}

TEST_F(HintTest, TheKeyOpensItAndEscapeClosesIt)
{
    StartProgram();
    Deal();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    // From the draw button, where the deal leaves the focus, and from the stake field, which
    // must not take the key for itself.
    for (QWidget* from : {static_cast<QWidget*>(DrawButton()), static_cast<QWidget*>(StakeField())}) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_H, Qt::ControlModifier);
        auto* hint = Form1->findChild<HintWindow*>();
        ASSERT_NE(hint, nullptr);
        EXPECT_TRUE(hint->isVisible());
        QTest::keyClick(hint, Qt::Key_Escape);
        EXPECT_FALSE(hint->isVisible());
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    }
    EXPECT_EQ(StakeField()->text(), QStringLiteral("10"));
}

TEST(HintWindowAlone, AnAnswerForAHandGoneIsNotShown)
{
    HintWindow hint;
    const engine::HandCards first{{{1, 2}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}};
    const engine::HandCards second{{{2, 2}, {5, 2}, {7, 2}, {10, 2}, {12, 0}}};
    hint.SetHand(first, engine::KeepAll, 10);
    // The first answer is worked out and waits in the queue while the next hand comes.
    std::this_thread::sleep_for(std::chrono::seconds(4));
    hint.SetHand(second, engine::KeepAll, 10);
    QCoreApplication::processEvents();
    EXPECT_FALSE(hint.Current().has_value());
    ASSERT_TRUE(QTest::qWaitFor([&hint] { return hint.Current().has_value(); }, 20000));
    EXPECT_EQ(hint.Current()->hand, second);
}
