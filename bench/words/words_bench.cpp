// A million amounts spelt out and a million line amounts computed, as a sweep over varied values.

#include "data/money.h"
#include "words/amount_words.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int count = 1'000'000;

// Amounts in hundredths from a few tiyn up to hundreds of billions, so that every group and the
// fraction take part.
std::vector<double> amounts()
{
    std::mt19937_64 random(20240101);
    std::uniform_int_distribution<int> digits(1, 14);
    std::vector<double> values(count);
    for (double &value : values) {
        long long limit = 1;
        for (int d = digits(random); d > 0; --d)
            limit *= 10;
        value = std::uniform_int_distribution<long long>(0, limit - 1)(random) / 100.0;
    }
    return values;
}

void SpellMillionAmounts(benchmark::State &state)
{
    const std::vector<double> values = amounts();
    for (auto _ : state) {
        for (double value : values)
            benchmark::DoNotOptimize(SumPropis(value));
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(SpellMillionAmounts)->Unit(benchmark::kMillisecond);

void ComputeMillionLines(benchmark::State &state)
{
    std::mt19937_64 random(20240102);
    std::uniform_int_distribution<int> quantity(1, 500);
    std::uniform_int_distribution<int> priceInHundredths(1, 10'000'000);
    std::vector<double> quantities(count), prices(count);
    for (int i = 0; i < count; ++i) {
        quantities[i] = quantity(random);
        prices[i] = priceInHundredths(random) / 100.0;
    }
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(computeLineAmounts(i % 3, quantities[i], prices[i], 12));
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(ComputeMillionLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
