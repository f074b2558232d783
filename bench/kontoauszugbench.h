#pragma once

#include <benchmark/benchmark.h>

// The bank statement import over a generated year of n bookings: a
// statement of 10,000 lines read from its CAMT.053 file and previewed, then
// booked; beside each the same reads, and the same rows inserted, through
// the SQLite C API. The year already holds rules and an imported January, so
// rules and learned proposals hit and the overlap shows as duplicates.
namespace kontoauszugbench {

inline constexpr int kZeilen = 10000;

void vorschau(benchmark::State& state, int n);
// the same shown in the preview window, with the client's circles
void vorschaufenster(benchmark::State& state, int n);
void vorschauRoh(benchmark::State& state, int n);
void buchen(benchmark::State& state, int n);
void buchenRoh(benchmark::State& state, int n);

// Removes the prepared files.
void aufraeumen();

} // namespace kontoauszugbench
