#include "cards/CardNames.h"

#include <array>
#include <cstddef>

namespace {

// What a screen reader says of a card, each text once.
constexpr std::array<const char*, 13> RankNames{"dwójka",   "trójka", "czwórka",    "piątka",     "szóstka",
                                                "siódemka", "ósemka", "dziewiątka", "dziesiątka", "walet",
                                                "dama",     "król",   "as"};
constexpr std::array<const char*, 4> SuitNames{"trefl", "karo", "kier", "pik"};
constexpr const char* FaceDown = "karta zakryta";
constexpr const char* PlayersCard = "Twoja karta %1";
constexpr const char* ComputersCard = "karta komputera %1";
constexpr const char* ToExchange = "do wymiany";

} // namespace

QString CardFaceName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitNames.size())
        return {};
    return QString::fromUtf8(RankNames[static_cast<std::size_t>(rank - 1)]) + QLatin1Char(' ')
        + QString::fromUtf8(SuitNames[s]);
}

QString CardAccessibleName(bool showsBack, int rank, TCardSuit suit)
{
    return showsBack ? QString::fromUtf8(FaceDown) : CardFaceName(rank, suit);
}

QString CardAccessibleDescription(TCardHolder holder, int place, bool exchangeMark)
{
    QString description;
    switch (holder) {
    case TCardHolder::Player:
        description = QString::fromUtf8(PlayersCard).arg(place);
        break;
    case TCardHolder::Computer:
        description = QString::fromUtf8(ComputersCard).arg(place);
        break;
    case TCardHolder::Nobody:
        break;
    }
    if (exchangeMark)
        description += (description.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromUtf8(ToExchange);
    return description;
}
