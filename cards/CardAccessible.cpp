#include "cards/CardAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>

#include <array>

namespace {

const std::array<QString, 13> RankNames{
    QStringLiteral("dwójka"),     QStringLiteral("trójka"),   QStringLiteral("czwórka"), QStringLiteral("piątka"),
    QStringLiteral("szóstka"),    QStringLiteral("siódemka"), QStringLiteral("ósemka"),  QStringLiteral("dziewiątka"),
    QStringLiteral("dziesiątka"), QStringLiteral("walet"),    QStringLiteral("dama"),    QStringLiteral("król"),
    QStringLiteral("as")};
const std::array<QString, 4> SuitNames{QStringLiteral("trefl"), QStringLiteral("karo"), QStringLiteral("kier"),
                                       QStringLiteral("pik")};

CardAnnouncer announcer = nullptr;

class CardAccessible : public QAccessibleWidget {
public:
    explicit CardAccessible(TCard* card)
        : QAccessibleWidget(card)
    {
    }

    QAccessible::Role role() const override { return Pressable() ? QAccessible::Button : QAccessible::Graphic; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return CardAccessibleName(*Card());
        case QAccessible::Description:
            return CardAccessibleDescription(*Card());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (Pressable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction() || !Pressable()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!Card()->isEnabled())
            return;
        // Later, from the event loop, as a push button's press is: the tool that asked must
        // not wait inside the handler that the click runs.
        QPointer<TCard> card = Card();
        QTimer::singleShot(0, card, [card] {
            if (card)
                emit card->Click(card);
        });
    }

private:
    TCard* Card() const { return static_cast<TCard*>(widget()); }
    // Only the player's cards answer clicks.
    bool Pressable() const { return Card()->Holder() == TCardHolder::Player; }
};

QAccessibleInterface* CardFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TCard"))
        if (auto* card = qobject_cast<TCard*>(object))
            return new CardAccessible(card);
    return nullptr;
}

} // namespace

QString CardFaceName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitNames.size())
        return {};
    return RankNames[static_cast<std::size_t>(rank - 1)] + QLatin1Char(' ') + SuitNames[s];
}

QString CardAccessibleName(const TCard& card)
{
    return card.ShowDeck() ? QStringLiteral("karta zakryta") : CardFaceName(card.Value(), card.Suit());
}

QString CardAccessibleDescription(const TCard& card)
{
    QString description;
    switch (card.Holder()) {
    case TCardHolder::Player:
        description = QStringLiteral("Twoja karta %1").arg(card.Place());
        break;
    case TCardHolder::Computer:
        description = QStringLiteral("karta komputera %1").arg(card.Place());
        break;
    case TCardHolder::Nobody:
        break;
    }
    if (card.ExchangeMark())
        description += description.isEmpty() ? QStringLiteral("do wymiany") : QStringLiteral(", do wymiany");
    return description;
}

void InstallCardAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(CardFactory);
        return true;
    }();
    (void)installed;
}

void SetCardAnnouncer(CardAnnouncer a)
{
    announcer = a;
}

void AnnounceCardChange(QAccessibleEvent* event)
{
    if (announcer)
        announcer(event);
    else
        QAccessible::updateAccessibility(event);
}
