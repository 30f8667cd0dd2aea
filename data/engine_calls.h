#pragma once

#include <cstdint>

// The calls this process makes to the database engine, counted for the whole process so that
// tests and benchmarks can see how many a user's action takes. On a server each one is a
// network round trip, except fetches the client library answers from a batch of rows it has
// already received.
namespace engine_calls {

struct Counts {
    std::uint64_t prepared = 0;
    std::uint64_t executed = 0;
    std::uint64_t fetched = 0;
    std::uint64_t transactions = 0; // starts and commits

    std::uint64_t total() const { return prepared + executed + fetched + transactions; }
    Counts operator-(const Counts &earlier) const
    {
        return {prepared - earlier.prepared, executed - earlier.executed, fetched - earlier.fetched,
                transactions - earlier.transactions};
    }
    Counts &operator+=(const Counts &more)
    {
        prepared += more.prepared;
        executed += more.executed;
        fetched += more.fetched;
        transactions += more.transactions;
        return *this;
    }
    bool operator==(const Counts &) const = default;
};

// The counts since the process started.
Counts sinceStart();

void notePrepared();
void noteExecuted();
void noteFetched();
void noteTransaction();

} // namespace engine_calls
