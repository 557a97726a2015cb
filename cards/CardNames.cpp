#include "cards/CardNames.h"

#include <QCoreApplication>

#include <array>
#include <cstddef>

namespace {

// What a screen reader says of a card, each text once. Their own context: a rank's name may
// also name a hand's class ("trójka"), which another language words differently.
constexpr std::array<const char*, 13> RankNames{
    QT_TRANSLATE_NOOP("Karty", "dwójka"),     QT_TRANSLATE_NOOP("Karty", "trójka"),
    QT_TRANSLATE_NOOP("Karty", "czwórka"),    QT_TRANSLATE_NOOP("Karty", "piątka"),
    QT_TRANSLATE_NOOP("Karty", "szóstka"),    QT_TRANSLATE_NOOP("Karty", "siódemka"),
    QT_TRANSLATE_NOOP("Karty", "ósemka"),     QT_TRANSLATE_NOOP("Karty", "dziewiątka"),
    QT_TRANSLATE_NOOP("Karty", "dziesiątka"), QT_TRANSLATE_NOOP("Karty", "walet"),
    QT_TRANSLATE_NOOP("Karty", "dama"),       QT_TRANSLATE_NOOP("Karty", "król"),
    QT_TRANSLATE_NOOP("Karty", "as")};
constexpr std::array<const char*, 4> SuitNames{QT_TRANSLATE_NOOP("Karty", "trefl"), QT_TRANSLATE_NOOP("Karty", "karo"),
                                               QT_TRANSLATE_NOOP("Karty", "kier"), QT_TRANSLATE_NOOP("Karty", "pik")};
// The face cards' letters in a list of cards; the numbers and the suits' symbols are the same
// in every language.
constexpr std::array<const char*, 4> FaceLetters{QT_TRANSLATE_NOOP("Karty", "W"), QT_TRANSLATE_NOOP("Karty", "D"),
                                                 QT_TRANSLATE_NOOP("Karty", "K"), QT_TRANSLATE_NOOP("Karty", "A")};
constexpr std::array<char16_t, 4> SuitSymbols{u'\u2663', u'\u2666', u'\u2665', u'\u2660'};
// The rank, then the suit ("dama kier"); another language may put words between them.
constexpr const char* FaceName = QT_TRANSLATE_NOOP("Karty", "%1 %2");
constexpr const char* FaceDown = QT_TRANSLATE_NOOP("Karty", "karta zakryta");
constexpr const char* PlayersCard = QT_TRANSLATE_NOOP("Karty", "Twoja karta %1");
constexpr const char* ComputersCard = QT_TRANSLATE_NOOP("Karty", "karta komputera %1");
constexpr const char* ToExchange = QT_TRANSLATE_NOOP("Karty", "do wymiany");

QString Text(const char* utf8)
{
    return QCoreApplication::translate("Karty", utf8);
}

} // namespace

QString CardFaceName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitNames.size())
        return {};
    return Text(FaceName).arg(Text(RankNames[static_cast<std::size_t>(rank - 1)]), Text(SuitNames[s]));
}

QString CardShortName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitSymbols.size())
        return {};
    const QString face = rank <= 9 ? QString::number(rank + 1) : Text(FaceLetters[static_cast<std::size_t>(rank - 10)]);
    return face + QChar(SuitSymbols[s]);
}

QString CardAccessibleName(bool showsBack, int rank, TCardSuit suit)
{
    return showsBack ? Text(FaceDown) : CardFaceName(rank, suit);
}

QString CardAccessibleDescription(TCardHolder holder, int place, bool exchangeMark)
{
    QString description;
    switch (holder) {
    case TCardHolder::Player:
        description = Text(PlayersCard).arg(place);
        break;
    case TCardHolder::Computer:
        description = Text(ComputersCard).arg(place);
        break;
    case TCardHolder::Nobody:
        break;
    }
    if (exchangeMark)
        description += (description.isEmpty() ? QString() : QStringLiteral(", ")) + Text(ToExchange);
    return description;
}
