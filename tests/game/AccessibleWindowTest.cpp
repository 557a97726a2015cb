#include "tests/game/GameTestSupport.h"

#include "cards/Card.h"
#include "cards/CardAccessible.h"
#include "session/UpDown.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
    return Form1->CardControls[hand][slot];
}

struct Heard {
    TCard* card;
    QAccessible::Event type;
    QString name;
};
std::vector<Heard>* heard = nullptr;

void Listen(QAccessibleEvent* event)
{
    if (heard)
        heard->push_back({qobject_cast<TCard*>(event->object()), event->type(),
                          event->accessibleInterface()->text(QAccessible::Name)});
}

class AccessibleWindowTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        heard = &events;
        SetCardAnnouncer(Listen);
    }
    void TearDown() override
    {
        SetCardAnnouncer(nullptr);
        heard = nullptr;
        GameTest::TearDown();
    }

    // Presses a card through its accessible action, as a screen reader's user does.
    static void PressCard(int slot)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Card(engine::PlayerHand, slot));
        ASSERT_TRUE(face && face->actionInterface());
        face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    }

    std::vector<Heard> events;
};

} // namespace

TEST_F(AccessibleWindowTest, FieldsAndArrowsAreNamedAfterTheirLabels)
{
    StartProgram();
    struct Row { QObject* object; QString name; };
    const Row rows[] = {
        {Form1->Edit1, "Stawka"},
        {Form1->Edit2, "Fundusz"},
        {Form1->UpDown1->UpButton(), "Zwiększ stawkę"},
        {Form1->UpDown1->DownButton(), "Zmniejsz stawkę"},
        {Form1->CheckBoxes[0], "Zostaw 1"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Read(row.object), row.name) << row.name.toStdString();

    // The labels are tied to their fields, so a reader can go from one to the other.
    for (auto [label, field] : {std::pair<QLabel*, QLineEdit*>{Form1->StaticText1, Form1->Edit1},
                                {Form1->StaticText2, Form1->Edit2}}) {
        bool labelled = false;
        for (const auto& [other, relation] :
             QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label))
            labelled |= other->object() == label;
        EXPECT_TRUE(labelled) << label->text().toStdString();
    }
    Deal();
    EXPECT_EQ(Read(Form1->StatusBar1), Form1->StatusBar1->currentMessage());
}

TEST_F(AccessibleWindowTest, CardsReadAsTheHandsLieThroughTheRound)
{
    StartProgram();
    Deal();
    QApplication::processEvents();
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        const QString place = QString::number(slot + 1);
        const QString face = FaceOf(engine::Hands[engine::PlayerHand][slot]);
        EXPECT_EQ(Read(Card(engine::PlayerHand, slot)), face);
        EXPECT_EQ(Read(Card(engine::PlayerHand, slot), QAccessible::Description), "Twoja karta " + place);
        EXPECT_EQ(Read(Form1->CheckBoxes[slot], QAccessible::Description), face) << "the keep box says which card";
        EXPECT_EQ(Read(Card(engine::ComputerHand, slot)), QStringLiteral("karta zakryta"));
        EXPECT_EQ(Read(Card(engine::ComputerHand, slot), QAccessible::Description), "karta komputera " + place);
    }

    // Marked by its press action, as a click marks it; or by its keep box alone.
    const QString second = Read(Card(engine::PlayerHand, 1));
    PressCard(1);
    EXPECT_TRUE(Card(engine::PlayerHand, 1)->ShowDeck());
    EXPECT_FALSE(Form1->CheckBoxes[1]->isChecked());
    QTest::mouseClick(Form1->CheckBoxes[3], Qt::LeftButton, {}, QPoint(5, 6));
    QApplication::processEvents();
    const QString marked[5] = {"Twoja karta 1", "Twoja karta 2, do wymiany", "Twoja karta 3",
                               "Twoja karta 4, do wymiany", "Twoja karta 5"};
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(Read(Card(engine::PlayerHand, slot), QAccessible::Description), marked[slot]);
    EXPECT_EQ(Read(Card(engine::PlayerHand, 1)), QStringLiteral("karta zakryta"));
    PressCard(1);
    PressCard(1);
    EXPECT_EQ(Read(Card(engine::PlayerHand, 1), QAccessible::Description), marked[1]);

    // While the result is on screen, the reader has already been told every revealed card.
    events.clear();
    std::vector<Heard> beforeResult;
    QStringList revealed, held;
    answerer->onShown = [&](QWidget* box) {
        if (!beforeResult.empty() || !qobject_cast<QMessageBox*>(box))
            return;
        beforeResult = events;
        for (int slot = 0; slot < 5; ++slot) {
            revealed << Read(Card(engine::ComputerHand, slot));
            held << Read(Card(engine::PlayerHand, slot)) + " / " +
                        Read(Card(engine::PlayerHand, slot), QAccessible::Description);
        }
    };
    answerer->answers = {QStringLiteral("Tak")};
    Draw();
    QStringList wantRevealed, wantHeld, told;
    for (int slot = 0; slot < 5; ++slot) {
        wantRevealed << FaceOf(engine::Hands[engine::ComputerHand][slot]);
        wantHeld << FaceOf(engine::Hands[engine::PlayerHand][slot]) + " / Twoja karta " + QString::number(slot + 1);
    }
    for (const Heard& h : beforeResult)
        if (h.card && h.type == QAccessible::NameChanged && h.card->Holder() == TCardHolder::Computer)
            told << QString::number(h.card->Place()) + " " + h.name;
    EXPECT_EQ(revealed, wantRevealed);
    EXPECT_EQ(held, wantHeld);
    EXPECT_EQ(told.size(), 5) << told.join(", ").toStdString();
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_TRUE(told.contains(QString::number(slot + 1) + " " + wantRevealed[slot])) << slot;

    // After the round every card lies face down and nothing is marked.
    QApplication::processEvents();
    for (const auto& hand : Form1->CardControls)
        for (TCard* card : hand) {
            EXPECT_EQ(Read(card), QStringLiteral("karta zakryta"));
            EXPECT_FALSE(Read(card, QAccessible::Description).contains(QStringLiteral("wymiany")));
        }
}
