// The process-wide pseudo-random generator. The program seeds it once from the clock at
// start-up (SemearAleatorio(), before any window) and never again; until then the first use
// seeds it from the clock.
#pragma once

#include <cstdint>
#include <span>

// Seeds the generator from the clock now, so that the first puzzle does not pay for it.
void SemearAleatorio();
// A fixed seed, for tests and benchmarks that must repeat a generation exactly.
void SemearAleatorio(uint64_t ASemente);

// Uniform integer in [0, n); n must be at least 1.
int32_t Aleatorio(int32_t n);
// Uniform real in [0, 1).
double AleatorioReal();

// Fisher-Yates shuffle of the whole array.
void Embaralhar(std::span<int32_t> a);
