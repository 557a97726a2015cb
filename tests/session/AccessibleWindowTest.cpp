#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "session/UpDown.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace gametest;

namespace {

QString Read(QObject* object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(text) : QStringLiteral("<none>");
}

QString FaceOf(const engine::Card& card)
{
    return CardFaceName(card.rank, static_cast<TCardSuit>(card.suit));
}

TCard* Card(std::uint8_t hand, int slot)
{
    return CardAt(hand, slot);
}

class AccessibleWindowTest : public GameTest {
protected:
    // Presses a card through its accessible action, as a screen reader's user does.
    static void PressCard(int slot)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Card(engine::PlayerHand, slot));
        ASSERT_TRUE(face && face->actionInterface());
        face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(AccessibleWindowTest, FieldsAndArrowsAreNamedAfterTheirLabels)
{
    StartProgram();
    struct Row {
        QObject* object;
        QString name;
    };
    const Row rows[] = {
        {StakeField(), "Stawka"},
        {FundField(), "Fundusz"},
        {StakeSpinner()->UpButton(), "Zwiększ stawkę"},
        {StakeSpinner()->DownButton(), "Zmniejsz stawkę"},
        {KeepBoxAt(0), "Zostaw 1"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Read(row.object), row.name) << row.name.toStdString();

    QAccessibleInterface* fund = QAccessible::queryAccessibleInterface(FundField());
    EXPECT_TRUE(fund->role() == QAccessible::EditableText && fund->state().readOnly && !fund->state().editable);
    // The labels are tied to their fields, so a reader can go from one to the other.
    for (auto [label, field] :
         {std::pair<QLabel*, QLineEdit*>{Form1->StaticText1, StakeField()}, {Form1->StaticText2, FundField()}}) {
        bool labelled = false;
        for (const auto& [other, relation] :
             QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label))
            labelled |= other->object() == label;
        EXPECT_TRUE(labelled) << label->text().toStdString();
    }
    Deal();
    EXPECT_EQ(Read(StatusBar()), StatusBar()->currentMessage());
}

// A screen reader's user presses the deal button through its action while the stake field has
// the focus: the focus lands on the draw button, not back in the stake field ready to be typed
// over, and the round goes on by keys.
TEST_F(AccessibleWindowTest, ADealPressedThroughTheBusLeavesTheFocusOnTheDrawButton)
{
    StartProgram();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    StakeField()->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), StakeField());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(DealButton());
    ASSERT_TRUE(face && face->actionInterface());
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press is shown as an animated click, which fires a little later.
    for (int i = 0; i < 250 && !DrawButton()->isEnabled(); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(DrawButton()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), DrawButton());
    EXPECT_FALSE(StakeField()->hasSelectedText());
}

TEST_F(AccessibleWindowTest, TheExchangeMarkFollowsTheKeepBoxesDuringADealOnly)
{
    StartProgram();
    Deal();
    // Marked by its press action, as a click marks it, or by its keep box alone.
    PressCard(1);
    EXPECT_TRUE(Card(engine::PlayerHand, 1)->ShowDeck());
    EXPECT_FALSE(KeepBoxAt(1)->isChecked());
    QTest::mouseClick(KeepBoxAt(3), Qt::LeftButton, {}, QPoint(5, 6));
    QApplication::processEvents();
    const QString marked[5] = {"Twoja karta 1", "Twoja karta 2, do wymiany", "Twoja karta 3",
                               "Twoja karta 4, do wymiany", "Twoja karta 5"};
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(Read(Card(engine::PlayerHand, slot), QAccessible::Description), marked[slot]);
        EXPECT_EQ(Read(KeepBoxAt(slot), QAccessible::Description), FaceOf(engine::Hands[engine::PlayerHand][slot]))
            << "the keep box says which card";
    }
    EXPECT_EQ(Read(Card(engine::PlayerHand, 1)), QStringLiteral("karta zakryta"));
    EXPECT_EQ(Read(Card(engine::PlayerHand, 3)), FaceOf(engine::Hands[engine::PlayerHand][3]));

    answerer_->answers = {QStringLiteral("Tak")};
    Draw();
    // After the round the cards lie face down; turning one up and down again marks nothing.
    PressCard(2);
    PressCard(2);
    for (const auto& hand : Cards())
        for (TCard* card : hand) {
            EXPECT_EQ(Read(card), QStringLiteral("karta zakryta"));
            EXPECT_FALSE(Read(card, QAccessible::Description).contains(QStringLiteral("wymiany")));
        }
}
