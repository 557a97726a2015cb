#include "tests/session/GameTestSupport.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "session/UpDown.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

TEST_F(AccessibleWindowTest, WhatARoundDidNotKeepIsSaidWithItsResultWhole)
{
    struct Row {
        const char* name;
        bool failSave;
        bool failRecord;
        QStringList heard;
    };
    const Row rows[] = {
        {"all kept", false, false, {}},
        {"save failed", true, false, {"Nie zapisano: błąd zapisu na dysk."}},
        {"record not kept", false, true, {"Historia rozdań nie jest zapisywana."}},
        {"neither", true, true, {"Nie zapisano: błąd zapisu na dysk.", "Historia rozdań nie jest zapisywana."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A folder in the record's place: it can be neither opened nor made.
        QDir(dir_.path()).rmpath(QStringLiteral("wirtola.history"));
        QFile::remove(dir_.filePath(QStringLiteral("wirtola.history")));
        if (row.failRecord)
            QDir(dir_.path()).mkdir(QStringLiteral("wirtola.history"));
        StartProgram();
        FailSaves(row.failSave);
        for (int round = 0; round < 2; ++round) { // told after every round, not once
            answerer_->Clear();
            Deal();
            Draw();
            const std::vector<Seen>& seen = answerer_->seen;
            ASSERT_FALSE(seen.empty());
            const QString spoken = seen.front().spoken;
            EXPECT_TRUE(spoken.endsWith(row.heard.isEmpty() ? QStringLiteral("przegrane %1.").arg(Session.Losses)
                                                            : row.heard.back()))
                << spoken.toStdString();
            for (const QString& words : row.heard)
                EXPECT_EQ(spoken.count(words), 1) << spoken.toStdString();
            // The headline goes with the button as well, for when the alert's text is cut short.
            EXPECT_TRUE(
                spoken.startsWith(seen.front().text.section(QLatin1Char('\n'), 0, 0).trimmed() + QLatin1Char(' ')))
                << spoken.toStdString();
            EXPECT_FALSE(seen.front().text.contains(QStringLiteral("zapis"))); // the box shows the design's text
        }
        // A review reads the status bar's whole text, however short the bar shows it.
        EXPECT_EQ(Read(StatusBar()), StatusBar()->accessibleDescription());
        FailSaves(false);
        EndProgram();
    }
}

TEST_F(AccessibleWindowTest, TheLoanItemIsReachedByTheArrowsWhileDisabled)
{
    StartProgram();
    ASSERT_FALSE(LoanItem()->isEnabled());
    QMenu* menu = Form1->Ustawienia1;
    menu->popup(Form1->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QStringList reached;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(menu, Qt::Key_Down);
        reached << (menu->activeAction() ? menu->activeAction()->text().remove(QLatin1Char('&')) : QString());
    }
    EXPECT_EQ(reached, (QStringList{"Dzwięki włączone", "Pożyczka z banku", "Statystyka"}));
    menu->hide();
}

// The focus ring: drawn around the focused control, moved with the focus, gone with the window's.
TEST_F(AccessibleWindowTest, TheFocusRingFollowsTheFocus)
{
    StartProgram();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const auto ringAround = [](QWidget* control) {
        const QImage shown = control->parentWidget()->grab().toImage();
        const QRect g = control->geometry();
        int marked = 0;
        // Two pixels outside each corner's edges, on the ring's line.
        for (const QPoint p : {QPoint(g.left() - 2, g.center().y()), QPoint(g.right() + 2, g.center().y()),
                               QPoint(g.center().x(), g.top() - 2), QPoint(g.center().x(), g.bottom() + 2)})
            marked += shown.pixelColor(p) == QColor(255, 255, 140);
        return marked;
    };
    DealButton()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ringAround(DealButton()), 4);
    Deal(); // the focus moves to the draw button
    ASSERT_EQ(QApplication::focusWidget(), DrawButton());
    EXPECT_EQ(ringAround(DrawButton()), 4);
    EXPECT_EQ(ringAround(DealButton()), 0);
    KeepBoxAt(2)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ringAround(KeepBoxAt(2)), 4);
    EXPECT_EQ(ringAround(DrawButton()), 0);
    // Another window takes the focus: no ring is left on this one.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(ringAround(KeepBoxAt(2)), 0);
}
