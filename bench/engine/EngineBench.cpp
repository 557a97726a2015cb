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

} // namespace

BENCHMARK_MAIN();
