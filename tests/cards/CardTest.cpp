#include "cards/Card.h"

#include "cards/CardNames.h"
#include "engine/Engine.h"
#include "engine/Random.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

constexpr QRgb Felt = 0xff207840;

// The twelve pixels outside the outline, which take the owner window's colour.
bool IsCornerPixel(int x, int y)
{
    const int cx = x <= 1 ? x : 70 - x;
    const int cy = y <= 1 ? y : 95 - y;
    return cx >= 0 && cy >= 0 && cx <= 1 && cy <= 1 && cx + cy <= 1;
}

// What assistive tools were told, with the card's name and description as they read them then.
struct Told {
    QAccessible::Event type;
    QString name;
    QString description;
    bool operator==(const Told&) const = default;
};

std::vector<Told> told;

void Record(QAccessibleEvent* event)
{
    if (!qobject_cast<TCard*>(event->object()))
        return;
    if (event->type() != QAccessible::NameChanged && event->type() != QAccessible::DescriptionChanged)
        return;
    QAccessibleInterface* face = event->accessibleInterface();
    told.push_back({event->type(), face->text(QAccessible::Name), face->text(QAccessible::Description)});
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class CardTest : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 150);
        SetWindowColour(Felt);
        card_ = new TCard(window_.get());
        card_->move(30, 20);
        card_->show();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        card_->installEventFilter(&counter_);
        SetCardAnnouncer(Record);
        told.clear();
    }

    void TearDown() override { SetCardAnnouncer(nullptr); }

    void SetWindowColour(QRgb colour)
    {
        QPalette palette = window_->palette();
        palette.setColor(QPalette::Window, QColor(colour));
        window_->setPalette(palette);
    }

    // What the window shows at the card's place, read from the window's surface as it is now.
    QImage Shown() const
    {
        return window_->screen()
            ->grabWindow(window_->winId(), card_->x(), card_->y(), TCard::CardWidth, TCard::CardHeight)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // Corners in the window's colour, every other pixel the named image's.
    void ExpectShows(const QString& name, QRgb corner = Felt) const
    {
        SCOPED_TRACE(name.toStdString());
        const QImage want = LoadCardImage(name);
        const QImage got = Shown();
        ASSERT_EQ(got.size(), QSize(71, 96));
        int wrong = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 71; ++x) {
                const QRgb expected = IsCornerPixel(x, y) ? corner : want.pixel(x, y);
                if (got.pixel(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": got " << std::hex << got.pixel(x, y) << " want "
                                  << expected;
            }
        EXPECT_EQ(wrong, 0);
    }

    std::unique_ptr<QWidget> window_;
    TCard* card_ = nullptr;
    PaintCounter counter_;
};

TEST_F(CardTest, FreshCardShowsTwoOfHeartsWithCornersInWindowColour)
{
    EXPECT_EQ(card_->Value(), 1);
    EXPECT_EQ(card_->Suit(), TCardSuit::Hearts);
    EXPECT_FALSE(card_->ShowDeck());
    EXPECT_EQ(card_->DeckType(), TDecks::Standard1);
    QApplication::processEvents();
    ExpectShows("H1");
}

TEST_F(CardTest, SettersRepaintBeforeReturning)
{
    card_->SetSuit(TCardSuit::Spades);
    ExpectShows("S1");
    card_->SetValue(13);
    ExpectShows("S13");
    card_->SetShowDeck(true);
    ExpectShows("STD1");
}

TEST_F(CardTest, SetCardTakesOnlyValidRankAndSuit)
{
    struct Case {
        const char* label;
        std::int32_t rank;
        std::uint8_t suit;
        const char* shows;
        int paints;
    };
    const Case cases[] = {
        {"ace of clubs", 13, 0, "C13", 2},
        {"two of spades", 1, 3, "S1", 2},
        {"jack of hearts", 10, 2, "H10", 2},
        {"rank 0 keeps the value", 0, 1, "D5", 1},
        {"rank 14 keeps the value", 14, 1, "D5", 1},
        {"suit 4 keeps the suit", 5, 4, "C5", 1},
        {"nothing valid, nothing painted", 0, 7, "C5", 0},
        {"the same card still repaints", 5, 0, "C5", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        card_->SetCard(5, 0);
        counter_.paints = 0;
        card_->SetCard(c.rank, c.suit);
        EXPECT_EQ(card_->ImageName(), c.shows);
        EXPECT_EQ(counter_.paints, c.paints);
        ExpectShows(c.shows);
    }
}

TEST_F(CardTest, ValueIsClampedToOneThroughThirteen)
{
    const std::array<std::pair<int, int>, 5> cases{{{0, 1}, {1, 1}, {7, 7}, {14, 13}, {200, 13}}};
    for (auto [set, want] : cases) {
        SCOPED_TRACE(set);
        card_->SetValue(static_cast<std::uint8_t>(set));
        EXPECT_EQ(card_->Value(), want);
    }
}

TEST_F(CardTest, BackShowsWhateverTheFaceAndTheFaceComesBack)
{
    card_->SetCard(12, 1);
    const std::array<const char*, 12> backs{"STD1",    "STD2",  "FISHES1", "FISHES2", "BEACH",  "LEAVES1",
                                            "LEAVES2", "ROBOT", "ROSES",   "SHELL",   "CASTLE", "HAND"};
    card_->SetShowDeck(true);
    for (std::size_t i = 0; i < backs.size(); ++i) {
        card_->SetDeckType(static_cast<TDecks>(i));
        ExpectShows(backs[i]);
    }
    card_->SetValue(3);
    ExpectShows("HAND");
    card_->SetShowDeck(false);
    EXPECT_EQ(card_->Value(), 3);
    EXPECT_EQ(card_->Suit(), TCardSuit::Diamonds);
    ExpectShows("D3");
}

TEST_F(CardTest, CornersFollowTheOwnerColourAtEachPaint)
{
    SetWindowColour(0xff102030);
    card_->SetValue(4);
    ExpectShows("H4", 0xff102030);

    // The owner's colour counts, not the colour of the window the card is placed on.
    QWidget other(window_.get());
    other.setGeometry(0, 0, 150, 130);
    QPalette palette = other.palette();
    palette.setColor(QPalette::Window, QColor(0xffa0a000));
    other.setPalette(palette);
    other.setAutoFillBackground(true);
    other.show();
    card_->setParent(&other);
    card_->move(30, 20);
    card_->show();
    card_->SetValue(5);
    ExpectShows("H5", 0xff102030);
    card_->setParent(window_.get());
}

TEST_F(CardTest, SizeReturnsToCardSizeAfterEachPaint)
{
    card_->resize(120, 40);
    card_->SetValue(2);
    EXPECT_EQ(card_->size(), QSize(71, 96));

    card_->resize(30, 200);
    card_->update();
    QApplication::processEvents();
    EXPECT_EQ(card_->size(), QSize(71, 96));
}

TEST_F(CardTest, ClickNeedsPressAndReleaseOnTheCard)
{
    QSignalSpy clicks(card_, &TCard::Click);
    QTest::mouseClick(card_, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<TCard*>(), card_);

    QTest::mousePress(card_, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(card_, Qt::LeftButton, {}, QPoint(90, 10));
    QTest::mouseClick(card_, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(CardTest, ImageTheSetDoesNotHoldFailsTheSetterAfterStoring)
{
    struct Case {
        const char* label;
        bool back;
        std::function<void()> set;
        const char* message;
        std::function<bool()> stored;
        std::function<void()> restore;
    };
    const Case cases[] = {
        {"suit beyond spades", false, [&] { card_->SetSuit(static_cast<TCardSuit>(7)); }, "Resource 1 not found",
         [&] { return static_cast<int>(card_->Suit()) == 7; }, [&] { card_->SetSuit(TCardSuit::Hearts); }},
        {"back beyond the hand", true, [&] { card_->SetDeckType(static_cast<TDecks>(12)); }, "Resource  not found",
         [&] { return static_cast<int>(card_->DeckType()) == 12; }, [&] { card_->SetDeckType(TDecks::Standard1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        card_->SetShowDeck(c.back);
        try {
            c.set();
            ADD_FAILURE() << "no failure";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_TRUE(c.stored());
        c.restore();
    }
}

TEST_F(CardTest, FailedPaintFromTheEventLoopReportsAndDrawsNothing)
{
    card_->hide();
    EXPECT_THROW(card_->SetSuit(static_cast<TCardSuit>(9)), std::runtime_error);
    EXPECT_EQ(static_cast<int>(card_->Suit()), 9);
    QSignalSpy failures(card_, &TCard::PaintFailed);
    card_->show();
    QApplication::processEvents();
    EXPECT_TRUE(failures.count() == 1 || failures.wait(1000));
    ASSERT_EQ(failures.count(), 1);
    EXPECT_EQ(failures.at(0).at(0).toString(), "Resource 1 not found");
    const QImage shown = Shown();
    EXPECT_EQ(shown.pixel(35, 48), Felt);
    EXPECT_EQ(shown.pixel(1, 1), Felt);

    // Repaints of the same failing card do not repeat the report.
    for (int i = 0; i < 3; ++i) {
        card_->update();
        QApplication::processEvents();
    }
    QApplication::processEvents();
    EXPECT_EQ(failures.count(), 1);
}

TEST_F(CardTest, DrawsOnItsParentWithoutANativeWindow)
{
    EXPECT_FALSE(card_->testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(card_->internalWinId(), 0U);
    EXPECT_EQ(card_->parentWidget(), window_.get());
}

TEST_F(CardTest, AccessibleNameDescriptionRoleAndPressFollowTheCardsState)
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
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(card_);
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

TEST_F(CardTest, AccessibleChangesAreAnnouncedOnceWithTheFinalText)
{
    card_->SetHolder(TCardHolder::Player, 2);
    QApplication::processEvents();
    told.clear();
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
        told.clear();
        step.act();
        EXPECT_TRUE(told.empty()) << "announced from the event loop, not inside the setter";
        QApplication::processEvents();
        EXPECT_EQ(told, step.want);
    }
}

TEST(CardOwnership, TheOwnerDestroysTheCardWhereverItIsPlaced)
{
    auto owner = std::make_unique<QWidget>();
    auto elsewhere = std::make_unique<QWidget>();
    QPointer<TCard> moved = new TCard(owner.get());
    moved->setParent(elsewhere.get());
    QPointer<TCard> kept = new TCard(owner.get());
    owner.reset();
    EXPECT_TRUE(moved.isNull());
    EXPECT_TRUE(kept.isNull());

    // A card whose parent goes first is gone with it, and the owner's end touches nothing.
    owner = std::make_unique<QWidget>();
    QPointer<TCard> lent = new TCard(owner.get());
    lent->setParent(elsewhere.get());
    elsewhere.reset();
    EXPECT_TRUE(lent.isNull());
    owner.reset();
}

TEST(CardWithoutParent, SettersFailAfterStoringTheValue)
{
    TCard card(nullptr);
    card.setObjectName("Karta3");
    try {
        card.SetValue(9);
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Control 'Karta3' has no parent window");
    }
    EXPECT_EQ(card.Value(), 9);
    EXPECT_THROW(card.SetCard(3, 0), std::runtime_error);
    EXPECT_EQ(card.Value(), 3);
}

std::uint32_t FixedMoment()
{
    return 45296789; // 12:34:56.789
}

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

TEST(CardConstruction, ReseedsTheGeneratorFromTheClock)
{
    engine::SetClockSource(&FixedMoment);
    engine::Randomize(FixedMoment());
    std::vector<int> want;
    for (int i = 0; i < 8; ++i)
        want.push_back(engine::Random(52));

    QWidget window;
    for (int drawnBefore : {0, 3, 17}) {
        SCOPED_TRACE(drawnBefore);
        engine::Randomize(7);
        for (int i = 0; i < drawnBefore; ++i)
            engine::Random(1000);
        TCard card(&window);
        std::vector<int> got;
        for (int i = 0; i < 8; ++i)
            got.push_back(engine::Random(52));
        EXPECT_EQ(got, want);
    }
    engine::SetClockSource(nullptr);
}

TEST(CardHighDensity, WholeNumberScaleKeepsPixelsSharp)
{
    const QImage picture = ComposeCardImage("S13", QColor(Felt));
    for (qreal ratio : {1.0, 1.5, 2.0, 2.5, 3.0}) {
        SCOPED_TRACE(ratio);
        const int factor = ratio < 2 ? 1 : static_cast<int>(ratio);
        // Draw it as the control does onto a surface of that density, and read the device pixels.
        QImage surface(QSize(71, 96) * factor, QImage::Format_RGB32);
        surface.setDevicePixelRatio(factor);
        surface.fill(Qt::magenta);
        {
            QPainter painter(&surface);
            painter.drawImage(QPoint(0, 0), ScaleForRatio(picture, ratio));
        }
        int wrong = 0;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                wrong += surface.pixel(x, y) != picture.pixel(x / factor, y / factor);
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace

TEST(HandInWordsTest, SaysTheClassAndWhatMakesIt)
{
    using engine::Card;
    // Ranks 1 (two) .. 13 (ace); suits 0 clubs, 1 diamonds, 2 hearts, 3 spades.
    struct Row {
        int category;
        engine::HandCards cards;
        const char* words;
    };
    const Row rows[] = {
        {0, {{{1, 0}, {5, 1}, {7, 2}, {9, 3}, {13, 0}}}, "wysoka karta, najwyżej as"},
        {1, {{{1, 0}, {7, 1}, {7, 2}, {9, 3}, {12, 0}}}, "para, ósemki"},
        {2, {{{8, 0}, {8, 1}, {7, 2}, {7, 3}, {1, 0}}}, "dwie pary, ósemki i dziewiątki"},
        {3, {{{10, 0}, {10, 1}, {10, 2}, {2, 3}, {4, 0}}}, "trójka, walety"},
        {4, {{{9, 0}, {10, 1}, {11, 2}, {12, 3}, {13, 0}}}, "strit, najwyżej as"},
        {5, {{{1, 2}, {4, 2}, {6, 2}, {9, 2}, {11, 2}}}, "kolor, kier, najwyżej dama"},
        {6, {{{12, 0}, {3, 1}, {12, 2}, {3, 3}, {12, 1}}}, "full, króle i czwórki"},
        {7, {{{13, 0}, {13, 1}, {13, 2}, {13, 3}, {2, 0}}}, "kareta, asy"},
        {8, {{{4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}}}, "poker, pik, najwyżej dziewiątka"},
        {9, {{{9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}}}, "poker królewski, karo"},
        // A record edited by hand: cards that do not make the class are named one by one.
        {2,
         {{{1, 0}, {5, 1}, {7, 2}, {9, 3}, {13, 0}}},
         "dwie pary, dwójka trefl, szóstka karo, ósemka kier, dziesiątka pik, as trefl"},
        {5,
         {{{1, 0}, {4, 2}, {6, 2}, {9, 2}, {11, 2}}},
         "kolor, dwójka trefl, piątka kier, siódemka kier, dziesiątka kier, dama kier"},
        {0, {{{0, 0}, {5, 1}, {7, 2}, {9, 3}, {13, 0}}}, "wysoka karta"},
        {10, {{{1, 0}, {5, 1}, {7, 2}, {9, 3}, {13, 0}}}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.words);
        EXPECT_EQ(HandInWords(row.category, row.cards), QString::fromUtf8(row.words));
    }
}
