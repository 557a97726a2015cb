#include "engine/Advisor.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

namespace engine {
namespace {

constexpr int Ranks = 13;
constexpr int Suits = 4;
constexpr int Unseen = DeckSize - HandSize;

// The advisor's own PCG32 (the game's generator must not move, or the next deal would change).
class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : state_(seed + Increment)
    {
        Next();
    }

    // Uniform in 0..bound-1 (Lemire's multiply and reject).
    std::uint32_t Below(std::uint32_t bound)
    {
        std::uint64_t m = static_cast<std::uint64_t>(Next()) * bound;
        if (static_cast<std::uint32_t>(m) < bound) {
            const std::uint32_t threshold = (0U - bound) % bound;
            while (static_cast<std::uint32_t>(m) < threshold)
                m = static_cast<std::uint64_t>(Next()) * bound;
        }
        return static_cast<std::uint32_t>(m >> 32U);
    }

private:
    static constexpr std::uint64_t Multiplier = 6364136223846793005ULL;
    static constexpr std::uint64_t Increment = 1442695040888963407ULL;

    std::uint32_t Next()
    {
        const std::uint64_t old = state_;
        state_ = old * Multiplier + Increment;
        const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
        const auto rot = static_cast<std::uint32_t>(old >> 59U);
        return (xorshifted >> rot) | (xorshifted << ((32U - rot) & 31U));
    }

    std::uint64_t state_;
};

constexpr std::uint32_t Binomial(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    std::uint64_t r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * static_cast<std::uint64_t>(n - k + i) / static_cast<std::uint64_t>(i);
    return static_cast<std::uint32_t>(r);
}

void RequireWholeHand(const HandCards& hand)
{
    if (!IsWholeHand(hand))
        throw std::invalid_argument("the advisor needs five different cards");
}

// The class chances of one choice, counted by the ranks drawn rather than card by card: the
// class depends only on the ranks and on whether all five suits agree, so each pattern of drawn
// ranks is classified once, by the engine's own Classify, and weighted by how many draws give
// it (with and without a flush). Exactly the counts of every draw enumerated, far faster.
class ClassCounter {
public:
    ClassCounter(const HandCards& hand, KeepMask keep)
    {
        for (const Card& c : hand) {
            --available_[c.rank - 1];
            seen_[c.rank - 1][c.suit] = true;
        }
        for (int slot = 0; slot < HandSize; ++slot)
            if (keep & (1U << slot))
                kept_[keptCount_++] = hand[slot];
        flushSuit_ = keptCount_ > 0 ? kept_[0].suit : -1;
        for (int i = 1; i < keptCount_; ++i)
            if (kept_[i].suit != flushSuit_)
                flushSuit_ = -2; // kept suits differ: no draw makes a flush
        counts_.draws = Binomial(Unseen, HandSize - keptCount_);
        drawn_.fill(0);
    }

    ClassCounts Count()
    {
        Choose(0, HandSize - keptCount_, 1);
        return counts_;
    }

private:
    // Ranks from `rank` on take the remaining `left` cards; `ways` draws give the ranks so far.
    void Choose(int rank, int left, std::uint32_t ways)
    {
        if (left == 0) {
            Tally(ways);
            return;
        }
        if (rank == Ranks)
            return;
        const int most = std::min(left, available_[rank]);
        for (int m = 0; m <= most; ++m) {
            drawn_[rank] = m;
            Choose(rank + 1, left - m, ways * Binomial(available_[rank], m));
        }
        drawn_[rank] = 0;
    }

    void Tally(std::uint32_t ways)
    {
        HandCards cards{};
        int at = 0;
        for (int i = 0; i < keptCount_; ++i)
            cards[at++] = kept_[i];
        bool distinct = true;
        for (int rank = 0; rank < Ranks; ++rank)
            for (int m = 0; m < drawn_[rank]; ++m) {
                distinct = distinct && m == 0;
                cards[at++] = Card{rank + 1, 0};
            }
        for (int i = 0; i < keptCount_ && distinct; ++i)
            distinct = drawn_[kept_[i].rank - 1] == 0;
        for (int i = 0; i < keptCount_ && distinct; ++i)
            for (int j = i + 1; j < keptCount_; ++j)
                distinct = distinct && kept_[i].rank != kept_[j].rank;

        std::uint32_t flushes = 0;
        if (distinct && flushSuit_ != -2) {
            for (int suit = 0; suit < Suits; ++suit) {
                if (flushSuit_ >= 0 && suit != flushSuit_)
                    continue;
                bool open = true; // every drawn rank still has its card of this suit unseen
                for (int rank = 0; rank < Ranks && open; ++rank)
                    open = drawn_[rank] == 0 || !seen_[rank][suit];
                flushes += open ? 1U : 0U;
            }
        }
        if (flushes > 0) {
            HandCards flush = cards;
            for (Card& c : flush)
                c.suit = 0;
            counts_.count[Classify(flush).category] += flushes;
        }
        if (ways > flushes) {
            // Suits that are not all alike, so the ranks alone decide.
            HandCards plain = cards;
            for (int i = 0; i < HandSize; ++i)
                plain[i].suit = i % 2;
            counts_.count[Classify(plain).category] += ways - flushes;
        }
    }

    std::array<int, Ranks> available_{4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    std::array<std::array<bool, Suits>, Ranks> seen_{};
    std::array<Card, HandSize> kept_{};
    int keptCount_ = 0;
    int flushSuit_ = -1; // the kept cards' one suit; -1 none kept, -2 mixed
    std::array<int, Ranks> drawn_{};
    ClassCounts counts_;
};

} // namespace

KeepMask MaskOf(const std::array<bool, HandSize>& keep)
{
    KeepMask mask = 0;
    for (int slot = 0; slot < HandSize; ++slot)
        if (keep[slot])
            mask |= static_cast<KeepMask>(1U << slot);
    return mask;
}

double ClassCounts::Chance(int category) const
{
    return draws == 0 ? 0.0 : static_cast<double>(count.at(category)) / draws;
}

int Advice::PlaceOf(KeepMask keep) const
{
    const auto at = std::find(ranking.begin(), ranking.end(), keep & KeepAll);
    return static_cast<int>(at - ranking.begin());
}

DrawVerdict Judge(const Advice& advice, KeepMask kept)
{
    return {static_cast<KeepMask>(kept & KeepAll), advice.Best().keep, advice.For(kept).Expected(),
            advice.Best().Expected()};
}

bool IsWholeHand(const HandCards& hand)
{
    for (int i = 0; i < HandSize; ++i) {
        const Card& c = hand[i];
        if (c.rank < 1 || c.rank > Ranks || c.suit < 0 || c.suit >= Suits)
            return false;
        for (int j = 0; j < i; ++j)
            if (hand[j] == c)
                return false;
    }
    return true;
}

std::array<ClassCounts, KeepChoices> ExactClassChances(const HandCards& hand)
{
    RequireWholeHand(hand);
    std::array<ClassCounts, KeepChoices> result;
    for (int mask = 0; mask < KeepChoices; ++mask)
        result[mask] = ClassCounter(hand, static_cast<KeepMask>(mask)).Count();
    return result;
}

namespace {

// A card's share of a hand's rank key: the hand's count of each rank as a base-5 digit, so the
// key names the ranks whatever their order.
constexpr std::array<std::uint64_t, Ranks> RankKey = [] {
    std::array<std::uint64_t, Ranks> key{};
    std::uint64_t power = 1;
    for (std::uint64_t& k : key) {
        k = power;
        power *= 5;
    }
    return key;
}();

// Every class the engine's Classify gives, by the hand's rank key and whether its suits agree:
// the classification depends on nothing else. Filled once, by Classify itself.
class ClassTable {
public:
    ClassTable()
    {
        std::array<int, HandSize> ranks{};
        Fill(ranks, 0, 0);
    }

    HandClass Find(std::uint64_t rankKey, bool flush) const
    {
        const std::uint64_t key = rankKey * 2 + (flush ? 1 : 0);
        for (std::size_t at = Slot(key); keys_[at] != 0; at = (at + 1) & (Size - 1))
            if (keys_[at] == key + 1)
                return classes_[at];
        // No five cards have these ranks (a flush with a pair, say): a fault, told loudly
        // rather than searched for ever.
        throw std::logic_error("no hand of five cards has this rank pattern");
    }

private:
    static constexpr std::size_t Size = 16384; // twice the 7,475 rank patterns with a flush or not

    static std::size_t Slot(std::uint64_t key)
    {
        return static_cast<std::size_t>((key * 0x9E37'79B9'7F4A'7C15ULL) >> 50U);
    }

    void Fill(std::array<int, HandSize>& ranks, int at, int from)
    {
        if (at == HandSize) {
            bool distinct = true;
            std::uint64_t rankKey = 0;
            HandCards cards{};
            for (int i = 0; i < HandSize; ++i) {
                distinct = distinct && (i == 0 || ranks[i] != ranks[i - 1]);
                rankKey += RankKey[ranks[i]];
                cards[i] = Card{ranks[i] + 1, i % 2}; // suits that are not all alike
            }
            Put(rankKey * 2, Classify(cards));
            if (distinct) {
                for (Card& c : cards)
                    c.suit = 0;
                Put(rankKey * 2 + 1, Classify(cards));
            }
            return;
        }
        for (int rank = from; rank < Ranks; ++rank) {
            ranks[at] = rank;
            Fill(ranks, at + 1, rank); // ranks never fall, so each pattern once
        }
    }

    void Put(std::uint64_t key, HandClass cls)
    {
        std::size_t at = Slot(key);
        while (keys_[at] != 0)
            at = (at + 1) & (Size - 1);
        keys_[at] = key + 1; // 0 marks a free slot
        classes_[at] = cls;
    }

    std::array<std::uint64_t, Size> keys_{};
    std::array<HandClass, Size> classes_{};
};

const ClassTable& Classes()
{
    static const ClassTable table; // made once, on whichever thread first asks
    return table;
}

using Tally = std::array<std::array<std::uint32_t, 3>, KeepChoices>; // wins, ties, losses

// Rounds dealt from the unseen cards as the player cannot see them: the computer's five, its
// replacements, then the player's; only the first fifteen places are ever dealt from. Every
// choice is played on the same rounds. False when stopped.
bool PlayRounds(const HandCards& hand, std::array<Card, Unseen> unseen, std::uint32_t rounds, std::uint64_t seed,
                const std::atomic<bool>* stop, Tally& tally)
{
    constexpr int Dealt = 3 * HandSize;
    const ClassTable& table = Classes();
    // What each choice keeps: its rank key and its one suit (-1 none kept, -2 mixed).
    std::array<std::uint64_t, KeepChoices> keptKey{};
    std::array<int, KeepChoices> keptSuit{};
    for (int mask = 0; mask < KeepChoices; ++mask) {
        keptSuit[mask] = -1;
        for (int slot = 0; slot < HandSize; ++slot)
            if (mask & (1 << slot)) {
                keptKey[mask] += RankKey[hand[slot].rank - 1];
                keptSuit[mask] = keptSuit[mask] == -1 || keptSuit[mask] == hand[slot].suit ? hand[slot].suit : -2;
            }
    }
    Generator generator(seed);
    for (std::uint32_t round = 0; round < rounds; ++round) {
        if (stop && (round & 1023U) == 0 && stop->load(std::memory_order_relaxed))
            return false;
        for (int i = 0; i < Dealt; ++i)
            std::swap(unseen[i], unseen[i + generator.Below(static_cast<std::uint32_t>(Unseen - i))]);

        HandCards computer{unseen[0], unseen[1], unseen[2], unseen[3], unseen[4]};
        const DrawSlots draw = ComputerDrawSlots(computer, Classify(computer));
        int next = HandSize;
        for (std::uint8_t i = 0; i < draw.count; ++i)
            computer[draw.slot[i]] = unseen[next++];
        const HandClass computerClass = Classify(computer);

        // The player's replacements are the next cards, in slot order; only their ranks and
        // suits matter to the class.
        std::array<std::uint64_t, HandSize + 1> drawnKey{};
        std::array<int, HandSize + 1> drawnSuit{};
        drawnSuit[0] = -1;
        for (int n = 1; n <= HandSize; ++n) {
            const Card& c = unseen[next + n - 1];
            drawnKey[n] = drawnKey[n - 1] + RankKey[c.rank - 1];
            drawnSuit[n] = drawnSuit[n - 1] == -1 || drawnSuit[n - 1] == c.suit ? c.suit : -2;
        }
        for (int mask = 0; mask < KeepChoices; ++mask) {
            const int n = HandSize - KeptCount(static_cast<KeepMask>(mask));
            const int kept = keptSuit[mask];
            const int drawn = drawnSuit[n];
            const bool flush = kept != -2 && drawn != -2 && (kept == -1 || drawn == -1 || kept == drawn);
            const HandClass playerClass = table.Find(keptKey[mask] + drawnKey[n], flush);
            switch (Settle(computerClass, playerClass)) {
            case Outcome::PlayerByCategory:
            case Outcome::PlayerByValue:
                ++tally[mask][0];
                break;
            case Outcome::Tie:
                ++tally[mask][1];
                break;
            default:
                ++tally[mask][2];
                break;
            }
        }
    }
    return true;
}

// The rounds are played in this many parts, each from its own seed, spread over the processor's
// cores: the same advice whatever the number of cores.
constexpr std::uint32_t Parts = 8;

} // namespace

HandClass ClassifyByRanks(const HandCards& hand)
{
    std::uint64_t rankKey = 0;
    bool flush = true;
    for (const Card& c : hand) {
        rankKey += RankKey.at(static_cast<std::size_t>(c.rank - 1));
        flush = flush && c.suit == hand[0].suit;
    }
    return Classes().Find(rankKey, flush);
}

std::optional<Advice> Advise(const HandCards& hand, const std::atomic<bool>* stop, std::uint32_t rounds,
                             std::uint64_t seed)
{
    RequireWholeHand(hand);
    Advice advice;
    advice.hand = hand;
    advice.rounds = rounds;
    const std::array<ClassCounts, KeepChoices> classes = ExactClassChances(hand);

    std::array<Card, Unseen> unseen{};
    int at = 0;
    for (CardCode code = 1; code <= DeckSize; ++code) {
        const Card c = DecodeCard(code);
        if (std::find(hand.begin(), hand.end(), c) == hand.end())
            unseen[at++] = c;
    }

    std::array<Tally, Parts> parts{};
    std::array<bool, Parts> played{};
    const auto playParts = [&](std::uint32_t first, std::uint32_t step) {
        for (std::uint32_t part = first; part < Parts; part += step) {
            const std::uint32_t share = rounds / Parts + (part < rounds % Parts ? 1 : 0);
            played[part] = PlayRounds(hand, unseen, share, seed + part * 0x9E37'79B9'7F4A'7C15ULL, stop, parts[part]);
        }
    };
    const std::uint32_t threads = std::clamp(std::thread::hardware_concurrency(), 1U, Parts);
    std::vector<std::thread> helpers;
    for (std::uint32_t t = 1; t < threads; ++t)
        helpers.emplace_back(playParts, t, threads);
    playParts(0, threads);
    for (std::thread& helper : helpers)
        helper.join();
    if (std::find(played.begin(), played.end(), false) != played.end())
        return std::nullopt;
    Tally tally{};
    for (const Tally& part : parts)
        for (int mask = 0; mask < KeepChoices; ++mask)
            for (int i = 0; i < 3; ++i)
                tally[mask][i] += part[mask][i];

    for (int mask = 0; mask < KeepChoices; ++mask) {
        ChoiceOdds& odds = advice.choices[mask];
        odds.keep = static_cast<KeepMask>(mask);
        odds.classes = classes[mask];
        const double n = rounds == 0 ? 1.0 : static_cast<double>(rounds);
        odds.win = tally[mask][0] / n;
        odds.tie = tally[mask][1] / n;
        odds.loss = tally[mask][2] / n;
    }
    std::iota(advice.ranking.begin(), advice.ranking.end(), KeepMask{0});
    // Most money first; between equals, the higher win, then the fewer cards bought.
    // Compared on the counts, so equal choices are equal and not rounded apart.
    std::stable_sort(advice.ranking.begin(), advice.ranking.end(), [&tally](KeepMask a, KeepMask b) {
        const auto gain = [&tally](KeepMask m) {
            return static_cast<std::int64_t>(tally[m][0]) - static_cast<std::int64_t>(tally[m][2]);
        };
        if (gain(a) != gain(b))
            return gain(a) > gain(b);
        if (tally[a][0] != tally[b][0])
            return tally[a][0] > tally[b][0];
        return KeptCount(a) > KeptCount(b);
    });
    return advice;
}

} // namespace engine
