#include "cards/Card.h"
#include "cards/CardNames.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace {

// What assistive tools were told, with the card's name and description as they read them then.
struct Told {
    QAccessible::Event type;
    QString name;
    QString description;
    bool operator==(const Told&) const = default;
};

std::vector<Told>* told = nullptr;

void Record(QAccessibleEvent* event)
{
    if (!told || !qobject_cast<TCard*>(event->object()))
        return;
    if (event->type() != QAccessible::NameChanged && event->type() != QAccessible::DescriptionChanged)
        return;
    QAccessibleInterface* face = event->accessibleInterface();
    told->push_back({event->type(), face->text(QAccessible::Name), face->text(QAccessible::Description)});
}

class CardAccessibilityTest : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 150);
        card_ = new TCard(window_.get());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        QApplication::processEvents();
        SetCardAnnouncer(Record);
        told = &events_;
    }

    void TearDown() override
    {
        told = nullptr;
        SetCardAnnouncer(nullptr);
    }

    QAccessibleInterface* Face() const { return QAccessible::queryAccessibleInterface(card_); }

    std::unique_ptr<QWidget> window_;
    TCard* card_ = nullptr;
    std::vector<Told> events_;
};

TEST(CardNames, RanksFromTwoToAceInEachSuit)
{
    std::set<QString> names;
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 1; rank <= 13; ++rank)
            names.insert(CardFaceName(rank, static_cast<TCardSuit>(suit)));
    EXPECT_EQ(names.size(), 52U);
    EXPECT_EQ(CardFaceName(1, TCardSuit::Clubs), QStringLiteral("dwójka trefl"));
    EXPECT_EQ(CardFaceName(9, TCardSuit::Diamonds), QStringLiteral("dziesiątka karo"));
    EXPECT_EQ(CardFaceName(13, TCardSuit::Spades), QStringLiteral("as pik"));
    EXPECT_EQ(CardFaceName(0, TCardSuit::Hearts), QString());
    EXPECT_EQ(CardFaceName(14, TCardSuit::Hearts), QString());
}

TEST_F(CardAccessibilityTest, NameDescriptionRoleAndPressFollowTheCardsState)
{
    struct Row {
        const char* label;
        TCardHolder holder;
        int place;
        int rank;
        TCardSuit suit;
        bool back;
        bool marked;
        QString name;
        QString description;
        QAccessible::Role role;
    };
    const Row rows[] = {
        {"a new card, nobody's", TCardHolder::Nobody, 0, 1, TCardSuit::Hearts, false, false, "dwójka kier", "",
         QAccessible::Graphic},
        {"player's face", TCardHolder::Player, 1, 11, TCardSuit::Hearts, false, false, "dama kier", "Twoja karta 1",
         QAccessible::Button},
        {"player's, turned for the exchange", TCardHolder::Player, 5, 13, TCardSuit::Spades, true, true,
         "karta zakryta", "Twoja karta 5, do wymiany", QAccessible::Button},
        {"player's face, keep box cleared", TCardHolder::Player, 2, 9, TCardSuit::Diamonds, false, true,
         "dziesiątka karo", "Twoja karta 2, do wymiany", QAccessible::Button},
        {"player's back after the showdown", TCardHolder::Player, 3, 4, TCardSuit::Clubs, true, false, "karta zakryta",
         "Twoja karta 3", QAccessible::Button},
        {"computer's hidden", TCardHolder::Computer, 5, 12, TCardSuit::Clubs, true, false, "karta zakryta",
         "karta komputera 5", QAccessible::Graphic},
        {"computer's revealed", TCardHolder::Computer, 1, 8, TCardSuit::Hearts, false, false, "dziewiątka kier",
         "karta komputera 1", QAccessible::Graphic},
    };
    QSignalSpy clicks(card_, &TCard::Click);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        card_->SetHolder(row.holder, row.place);
        card_->SetCard(row.rank, static_cast<std::uint8_t>(row.suit));
        card_->SetShowDeck(row.back);
        card_->SetExchangeMark(row.marked);
        QAccessibleInterface* face = Face();
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), row.name);
        EXPECT_EQ(face->text(QAccessible::Description), row.description);
        EXPECT_EQ(face->role(), row.role);

        // Only the player's cards can be pressed, and a press is a click, from the event loop.
        QAccessibleActionInterface* actions = face->actionInterface();
        ASSERT_NE(actions, nullptr);
        const bool pressable = row.holder == TCardHolder::Player;
        EXPECT_EQ(actions->actionNames().contains(QAccessibleActionInterface::pressAction()), pressable);
        clicks.clear();
        actions->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
        ASSERT_EQ(clicks.size(), pressable ? 1 : 0);
        if (pressable) {
            EXPECT_EQ(clicks.front().front().value<TCard*>(), card_);
        }
        EXPECT_EQ(card_->ShowDeck(), row.back) << "the card itself never turns on a click";
    }
}

TEST_F(CardAccessibilityTest, ChangesAreAnnouncedOnceWithTheFinalText)
{
    card_->SetHolder(TCardHolder::Player, 2);
    QApplication::processEvents();
    events_.clear();
    const Told renamed{QAccessible::NameChanged, "as pik", "Twoja karta 2"};
    const Told turned{QAccessible::NameChanged, "karta zakryta", "Twoja karta 2, do wymiany"};
    const Told marked{QAccessible::DescriptionChanged, "karta zakryta", "Twoja karta 2, do wymiany"};
    const Told unmarked{QAccessible::DescriptionChanged, "karta zakryta", "Twoja karta 2"};
    struct Step {
        const char* label;
        std::function<void()> act;
        std::vector<Told> want;
    };
    const Step steps[] = {
        // Rank then suit: one announcement, of the whole new card, not the mix in between.
        {"a new card", [this] { card_->SetCard(13, 3); }, {renamed}},
        {"the same card again", [this] { card_->SetCard(13, 3); }, {}},
        {"turned and marked",
         [this] {
             card_->SetShowDeck(true);
             card_->SetExchangeMark(true);
         },
         {turned, marked}},
        {"another back design", [this] { card_->SetDeckType(TDecks::Fishes1); }, {}},
        {"a new face under the back", [this] { card_->SetCard(2, 0); }, {}},
        {"unmarked", [this] { card_->SetExchangeMark(false); }, {unmarked}},
        {"marked and unmarked at once",
         [this] {
             card_->SetExchangeMark(true);
             card_->SetExchangeMark(false);
         },
         {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        events_.clear();
        step.act();
        EXPECT_TRUE(events_.empty()) << "announced from the event loop, not inside the setter";
        QApplication::processEvents();
        EXPECT_EQ(events_, step.want);
    }
}

} // namespace
