#include "cards/CardAccessible.h"

#include "cards/Card.h"
#include "cards/CardNames.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>

namespace {

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
            return CardAccessibleName(Card()->ShowDeck(), Card()->Value(), Card()->Suit());
        case QAccessible::Description:
            return CardAccessibleDescription(Card()->Holder(), Card()->Place(), Card()->ExchangeMark());
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

void InstallCardAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(CardFactory);
        return true;
    }();
    (void)installed;
}
