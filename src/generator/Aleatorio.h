// The process-wide pseudo-random generator. It is seeded once from the clock, the first
// time it is used (start-up calls InicializarGerador, so that happens before any window),
// and never reseeded.
#pragma once

#include <cstdint>
#include <span>

// Seeds the generator now, so that the first puzzle does not pay for it.
void SemearAleatorio();

// Uniform integer in [0, n); n must be at least 1.
int32_t Aleatorio(int32_t n);
// Uniform real in [0, 1).
double AleatorioReal();

// Fisher-Yates shuffle of the whole array.
void Embaralhar(std::span<int32_t> a);
