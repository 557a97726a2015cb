#include "cards/CardNames.h"

#include "engine/Engine.h"
#include "windows/HandClassNames.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

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
// The rank, then the suit ("dama kier"); another language may put words between them.
constexpr const char* FaceName = QT_TRANSLATE_NOOP("Karty", "%1 %2");
// The ranks as a card's corner shows them; the pictures' letters are the language's own.
constexpr std::array<const char*, 13> RankSigns{"2",
                                                "3",
                                                "4",
                                                "5",
                                                "6",
                                                "7",
                                                "8",
                                                "9",
                                                "10",
                                                QT_TRANSLATE_NOOP("Karty", "W"),
                                                QT_TRANSLATE_NOOP("Karty", "D"),
                                                QT_TRANSLATE_NOOP("Karty", "K"),
                                                QT_TRANSLATE_NOOP("Karty", "A")};
// Clubs, diamonds, hearts, spades: the engine's order of suits.
constexpr std::array<char16_t, 4> SuitSymbols{u'\u2663', u'\u2666', u'\u2665', u'\u2660'};
constexpr const char* FaceDown = QT_TRANSLATE_NOOP("Karty", "karta zakryta");
constexpr const char* PlayersCard = QT_TRANSLATE_NOOP("Karty", "Twoja karta %1");
constexpr const char* ComputersCard = QT_TRANSLATE_NOOP("Karty", "karta komputera %1");
constexpr const char* ToExchange = QT_TRANSLATE_NOOP("Karty", "do wymiany");
// A hand's ranks as a pair, three or four of them shows them: "ósemki", "asy".
constexpr std::array<const char*, 13> RankPlurals{
    QT_TRANSLATE_NOOP("Karty", "dwójki"),     QT_TRANSLATE_NOOP("Karty", "trójki"),
    QT_TRANSLATE_NOOP("Karty", "czwórki"),    QT_TRANSLATE_NOOP("Karty", "piątki"),
    QT_TRANSLATE_NOOP("Karty", "szóstki"),    QT_TRANSLATE_NOOP("Karty", "siódemki"),
    QT_TRANSLATE_NOOP("Karty", "ósemki"),     QT_TRANSLATE_NOOP("Karty", "dziewiątki"),
    QT_TRANSLATE_NOOP("Karty", "dziesiątki"), QT_TRANSLATE_NOOP("Karty", "walety"),
    QT_TRANSLATE_NOOP("Karty", "damy"),       QT_TRANSLATE_NOOP("Karty", "króle"),
    QT_TRANSLATE_NOOP("Karty", "asy")};
// %1 the class, then what makes it; a full house says its three first.
constexpr const char* ClassAndRanks = QT_TRANSLATE_NOOP("Karty", "%1, %2");
constexpr const char* ClassAndTwoRanks = QT_TRANSLATE_NOOP("Karty", "%1, %2 i %3");
constexpr const char* ClassHighest = QT_TRANSLATE_NOOP("Karty", "%1, najwyżej %2");
constexpr const char* ClassSuitHighest = QT_TRANSLATE_NOOP("Karty", "%1, %2, najwyżej %3");

QString Text(const char* utf8)
{
    return QCoreApplication::translate("Karty", utf8);
}

QString ClassName(int category)
{
    return QCoreApplication::translate("Wirtola", texts::CategoryNames.at(static_cast<std::size_t>(category)));
}

// The ranks held `times` times, lowest first.
std::vector<int> RanksHeld(const std::array<int, 14>& counts, int times)
{
    std::vector<int> ranks;
    for (int rank = 1; rank <= 13; ++rank)
        if (counts.at(static_cast<std::size_t>(rank)) == times)
            ranks.push_back(rank);
    return ranks;
}

} // namespace

QString CardFaceName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitNames.size())
        return {};
    return Text(FaceName).arg(Text(RankNames[static_cast<std::size_t>(rank - 1)]), Text(SuitNames[s]));
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

QString HandInWords(int category, const std::array<engine::Card, 5>& cards)
{
    if (category < 0 || category >= static_cast<int>(texts::CategoryNames.size()))
        return {};
    std::array<int, 14> counts{};
    int highest = 0;
    for (const engine::Card& c : cards) {
        if (c.rank < 1 || c.rank > 13 || c.suit < 0 || c.suit >= static_cast<int>(SuitNames.size()))
            return ClassName(category);
        ++counts.at(static_cast<std::size_t>(c.rank));
        highest = std::max(highest, c.rank);
    }
    const bool oneSuit =
        std::all_of(cards.begin(), cards.end(), [&](const auto& c) { return c.suit == cards[0].suit; });
    const auto plural = [](int rank) { return Text(RankPlurals.at(static_cast<std::size_t>(rank - 1))); };
    const QString top = Text(RankNames.at(static_cast<std::size_t>(highest - 1)));
    const QString suit = Text(SuitNames.at(static_cast<std::size_t>(cards[0].suit)));
    const QString name = ClassName(category);
    const std::vector<int> pairs = RanksHeld(counts, 2);
    const std::vector<int> threes = RanksHeld(counts, 3);
    const std::vector<int> fours = RanksHeld(counts, 4);
    switch (category) {
    case engine::HighCard:
    case engine::Straight:
        return Text(ClassHighest).arg(name, top);
    case engine::OnePair:
        if (pairs.size() == 1)
            return Text(ClassAndRanks).arg(name, plural(pairs[0]));
        break;
    case engine::TwoPairs:
        if (pairs.size() == 2)
            return Text(ClassAndTwoRanks).arg(name, plural(pairs[0]), plural(pairs[1]));
        break;
    case engine::ThreeOfAKind:
        if (threes.size() == 1)
            return Text(ClassAndRanks).arg(name, plural(threes[0]));
        break;
    case engine::FullHouse:
        if (threes.size() == 1 && pairs.size() == 1)
            return Text(ClassAndTwoRanks).arg(name, plural(threes[0]), plural(pairs[0]));
        break;
    case engine::FourOfAKind:
        if (fours.size() == 1)
            return Text(ClassAndRanks).arg(name, plural(fours[0]));
        break;
    case engine::Flush:
    case engine::StraightFlush:
        if (oneSuit)
            return Text(ClassSuitHighest).arg(name, suit, top);
        break;
    case engine::RoyalFlush:
        if (oneSuit)
            return Text(ClassAndRanks).arg(name, suit);
        break;
    default:
        break;
    }
    QStringList names;
    for (const engine::Card& c : cards)
        names << CardFaceName(c.rank, static_cast<TCardSuit>(c.suit));
    return Text(ClassAndRanks).arg(name, names.join(QStringLiteral(", ")));
}

QString CardShortName(int rank, TCardSuit suit)
{
    const auto s = static_cast<std::size_t>(suit);
    if (rank < 1 || rank > 13 || s >= SuitSymbols.size())
        return {};
    const char* sign = RankSigns[static_cast<std::size_t>(rank - 1)];
    return (rank <= 9 ? QString::fromLatin1(sign) : Text(sign)) + QChar(SuitSymbols[s]);
}

QString HandShortNames(const engine::HandCards& cards)
{
    QStringList names;
    for (const engine::Card& card : cards) {
        if (card.suit < 0 || card.suit > 3)
            return {};
        QString name = CardShortName(card.rank, static_cast<TCardSuit>(card.suit));
        if (name.isEmpty())
            return {};
        names << name;
    }
    return names.join(QLatin1Char(' '));
}
