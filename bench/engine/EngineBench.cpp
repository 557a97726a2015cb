#include "engine/Advisor.h"
#include "engine/Engine.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace engine;

namespace {

// Classification of every five-card hand; the rate is reported per hand.
void BM_ClassifyAllHands(benchmark::State& state)
{
    std::vector<HandCards> hands;
    hands.reserve(2598960);
    for (int a = 1; a <= 48; ++a)
        for (int b = a + 1; b <= 49; ++b)
            for (int c = b + 1; c <= 50; ++c)
                for (int d = c + 1; d <= 51; ++d)
                    for (int e = d + 1; e <= 52; ++e)
                        hands.push_back({DecodeCard(a), DecodeCard(b), DecodeCard(c), DecodeCard(d), DecodeCard(e)});
    for (auto _ : state) {
        long categories = 0;
        for (const HandCards& h : hands) {
            Hands[PlayerHand] = h;
            ClassifyHand(PlayerHand);
            categories += HandCategory[PlayerHand];
        }
        benchmark::DoNotOptimize(categories);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(hands.size()));
}
BENCHMARK(BM_ClassifyAllHands)->Unit(benchmark::kMillisecond);

// One deal as the round flow runs it: shuffle, two hands, classify, the computer's draw,
// the player's draw of three, classify both, settle.
void BM_WholeDeal(benchmark::State& state)
{
    Randomize(1);
    SessionValues session;
    session.Stake = 10;
    for (auto _ : state) {
        ShuffleDeck();
        DealHand(ComputerHand);
        DealHand(PlayerHand);
        ClassifyHand(ComputerHand);
        ComputerDraw();
        ClassifyHand(PlayerHand);
        Replace({true, false, true, false, false});
        ClassifyHand(PlayerHand);
        SortHand(ComputerHand);
        ClassifyHand(ComputerHand);
        Decision(session);
        session.Fund = 3000;
        benchmark::DoNotOptimize(ResultMessage.data());
    }
}
BENCHMARK(BM_WholeDeal)->Unit(benchmark::kMicrosecond);

// The hands the advisor is timed on: a pair, four of a suit, nothing.
const HandCards AdvisedHands[] = {
    {{{1, 2}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}},
    {{{2, 2}, {5, 2}, {7, 2}, {10, 2}, {12, 0}}},
    {{{1, 0}, {3, 1}, {6, 2}, {9, 3}, {11, 0}}},
};

// The exact class chances of all 32 keep choices for one hand.
void BM_ExactClassChances(benchmark::State& state)
{
    const HandCards& hand = AdvisedHands[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(ExactClassChances(hand));
}
BENCHMARK(BM_ExactClassChances)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The whole advice: the class chances and 120,000 rounds against the computer for all 32.
void BM_Advice(benchmark::State& state)
{
    const HandCards& hand = AdvisedHands[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(Advise(hand));
}
// Processor time of every thread, the parts of the rounds spread over the cores included.
BENCHMARK(BM_Advice)->DenseRange(0, 2)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
