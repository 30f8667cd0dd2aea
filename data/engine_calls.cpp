#include "engine_calls.h"

#include <atomic>

namespace engine_calls {

namespace {

// Relaxed: the counts are read after the work, never used to order it.
std::atomic<std::uint64_t> g_prepared{0};
std::atomic<std::uint64_t> g_executed{0};
std::atomic<std::uint64_t> g_fetched{0};
std::atomic<std::uint64_t> g_transactions{0};

void add(std::atomic<std::uint64_t> &counter)
{
    counter.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

Counts sinceStart()
{
    return {g_prepared.load(std::memory_order_relaxed), g_executed.load(std::memory_order_relaxed),
            g_fetched.load(std::memory_order_relaxed),
            g_transactions.load(std::memory_order_relaxed)};
}

void notePrepared()
{
    add(g_prepared);
}

void noteExecuted()
{
    add(g_executed);
}

void noteFetched()
{
    add(g_fetched);
}

void noteTransaction()
{
    add(g_transactions);
}

} // namespace engine_calls
