#pragma once

// The card control: shows one card, face or back, at 71 x 96 pixels on its parent window,
// drawn from the built-in card image set with its corners in the owner window's colour.

#include "cards/CardNames.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QAccessibleEvent;
class QImage;

enum class TCardSuit : std::uint8_t { Clubs, Diamonds, Hearts, Spades };
enum class TDecks : std::uint8_t {
    Standard1,
    Standard2,
    Fishes1,
    Fishes2,
    Beach,
    Leaves1,
    Leaves2,
    Robot,
    Roses,
    Shell,
    Castle,
    Hand
};

class TCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int CardWidth = 71;
    static constexpr int CardHeight = 96;

    // The owner (also the first parent) destroys the card and lends it its background
    // colour; construction draws nothing and reseeds
    // the shared generator from the clock (engine::RandomizeFromClock()).
    // The parent window is given afterwards with QWidget::setParent(parent) (then move/show).
    explicit TCard(QWidget* owner);

    // Every setter stores its value and then repaints at once, so the change is on screen
    // when it returns. A failed paint (an image name the set does not hold, or no parent
    // window) throws std::runtime_error with the message after the value is stored.
    std::uint8_t Value() const { return value_; }
    void SetValue(std::uint8_t value); // clamped to 1..13
    TCardSuit Suit() const { return suit_; }
    void SetSuit(TCardSuit suit);
    bool ShowDeck() const { return showDeck_; }
    void SetShowDeck(bool showDeck);
    TDecks DeckType() const { return deckType_; }
    void SetDeckType(TDecks deckType);
    // Sets Value for a rank 1..13, then Suit for a suit 0..3; anything else is left as it is.
    void SetCard(std::int32_t rank, std::uint8_t suit);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // What the accessibility tree says about the card besides its face (cards/CardNames.h):
    // whose it is, its place from the left (1..5), and whether it goes at the next exchange.
    // None of them is painted. Changes of the card's name or description are announced to
    // assistive tools from the event loop, once per burst of setter calls.
    TCardHolder Holder() const { return holder_; }
    int Place() const { return place_; }
    void SetHolder(TCardHolder holder, int place);
    bool ExchangeMark() const { return exchangeMark_; }
    void SetExchangeMark(bool marked);

    QWidget* Owner() const { return owner_; }
    // The name of the image the next paint draws ("H1", "STD1", ...).
    QString ImageName() const;

signals:
    void Click(TCard* card); // mouse pressed and released on the card
    // A paint from the event loop failed and drew nothing; sent after that paint has ended,
    // once until the card paints again or a setter runs.
    void PaintFailed(const QString& message);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RepaintNow();
    QColor FillColour() const;
    QString AccessibleName() const;
    QString AccessibleDescription() const;
    void AccessibleTextMayChange();
    void AnnounceAccessibleText();

    std::uint8_t value_ = 1;
    TCardSuit suit_ = TCardSuit::Hearts;
    bool showDeck_ = false;
    TDecks deckType_ = TDecks::Standard1;
    int tag_ = 0;
    QPointer<QWidget> owner_;
    bool pressed_ = false;
    bool repainting_ = false; // a setter's synchronous paint is running
    QString paintFailure_;    // what that paint reported
    QString reportedFailure_; // last failure sent through PaintFailed
    TCardHolder holder_ = TCardHolder::Nobody;
    int place_ = 0;
    bool exchangeMark_ = false;
    bool announcePending_ = false;
    QString announcedName_; // what assistive tools were last told
    QString announcedDescription_;
};

// Where the cards send their name and description changes: QAccessible::updateAccessibility,
// unless a test listens in its place (Qt passes nothing on while no assistive tool is active,
// and offscreen none ever is). nullptr restores Qt's.
using CardAnnouncer = void (*)(QAccessibleEvent* event);
void SetCardAnnouncer(CardAnnouncer announcer);

// Image lookup by name, for the control and tests: the 71 x 96 picture with its 256-entry
// palette (QImage::Format_Indexed8). Throws std::runtime_error "Resource <name> not found"
// for a name the set does not hold.
QImage LoadCardImage(const QString& name);

// What one paint shows: the named image with the regions outside its black outline at the
// four corners, (0,0), (70,0), (0,95), (70,95), given the fill colour. Throws as LoadCardImage.
QImage ComposeCardImage(const QString& name, QColor fill);

// The picture as drawn at a device pixel ratio: scaled by the whole part of the ratio with
// nearest-neighbour sampling, so a card stays sharp on a high-density screen.
QImage ScaleForRatio(const QImage& picture, qreal ratio);
