// The cost of each game-state operation. A cursor tick runs twice a millisecond, so it is the
// one that matters: parse, add one, format, compare.
#include <benchmark/benchmark.h>

#include "GameState.h"

namespace {

using tonovka::GameState;

void manCursorTick(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench) {
        state.advanceManCursor();
        benchmark::DoNotOptimize(state.manCursor().data());
    }
}
BENCHMARK(manCursorTick);

// The woman cursor also runs the victory test on 14 ticks of 15.
void womanCursorTick(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench) {
        state.advanceWomanCursor();
        benchmark::DoNotOptimize(state.womanCursor().data());
    }
}
BENCHMARK(womanCursorTick);

void placeManAndWoman(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench) {
        state.advanceManCursor();
        state.placeMan();
        state.placeWoman();
    }
}
BENCHMARK(placeManAndWoman);

void countDownTick(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench)
        state.countDown();
}
BENCHMARK(countDownTick);

// A man placed under the cursor and rescued at once: a placement and a click.
void placeAndRescue(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench) {
        state.placeMan();
        state.clickWindow(1);
    }
}
BENCHMARK(placeAndRescue);

void clickOnEmptyWindow(benchmark::State& bench)
{
    GameState state;
    for (auto _ : bench)
        state.clickWindow(15);
}
BENCHMARK(clickOnEmptyWindow);

} // namespace

BENCHMARK_MAIN();
