#include "cards/CardNames.h"

#include <array>
#include <cstddef>

namespace {

const std::array<QString, 13> RankNames{
    QStringLiteral("dwójka"),     QStringLiteral("trójka"),   QStringLiteral("czwórka"), QStringLiteral("piątka"),
    QStringLiteral("szóstka"),    QStringLiteral("siódemka"), QStringLiteral("ósemka"),  QStringLiteral("dziewiątka"),
    QStringLiteral("dziesiątka"), QStringLiteral("walet"),    QStringLiteral("dama"),    QStringLiteral("król"),
    QStringLiteral("as")};
const std::array<QString, 4> SuitNames{QStringLiteral("trefl"), QStringLiteral("karo"), QStringLiteral("kier"),
                                       QStringLiteral("pik")};

} // namespace

QString CardFaceName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitNames.size())
        return {};
    return RankNames[static_cast<std::size_t>(rank - 1)] + QLatin1Char(' ') + SuitNames[s];
}

QString CardAccessibleName(bool showsBack, int rank, TCardSuit suit)
{
    return showsBack ? QStringLiteral("karta zakryta") : CardFaceName(rank, suit);
}

QString CardAccessibleDescription(TCardHolder holder, int place, bool exchangeMark)
{
    QString description;
    switch (holder) {
    case TCardHolder::Player:
        description = QStringLiteral("Twoja karta %1").arg(place);
        break;
    case TCardHolder::Computer:
        description = QStringLiteral("karta komputera %1").arg(place);
        break;
    case TCardHolder::Nobody:
        break;
    }
    if (exchangeMark)
        description += description.isEmpty() ? QStringLiteral("do wymiany") : QStringLiteral(", do wymiany");
    return description;
}
