// Pseudo-random streams. A generation draws from the stream it is handed, so that generations
// on different threads share nothing. The process-wide stream is seeded once from the clock at
// start-up (SemearAleatorio(), before any window) and never again; until then the first use
// seeds it from the clock. Only the interface thread uses it: for single puzzles, and as the
// one source of each batch's seed.
#pragma once

#include <cstdint>
#include <span>

// xoshiro256**: fast, small state and good statistical quality.
class TAleatorio {
public:
    explicit TAleatorio(uint64_t ASemente);
    // The stream of puzzle AIndice of a batch whose seed is ASementeLote: the same pair gives
    // the same stream, whichever thread draws from it and whenever.
    static TAleatorio DoPuzzle(uint64_t ASementeLote, uint64_t AIndice);
    // The stream of attempt AIndice of a generation whose seed is ASemente: attempts on
    // different threads draw from their own streams, so that the outcome of each depends on
    // the seed and its number only.
    static TAleatorio DaTentativa(uint64_t ASemente, uint64_t AIndice);

    uint64_t Proximo();
    // Uniform integer in [0, n); n must be at least 1.
    int32_t Inteiro(int32_t n);
    // Uniform real in [0, 1).
    double Real();
    // Fisher-Yates shuffle of the whole array.
    void Embaralhar(std::span<int32_t> a);

private:
    uint64_t FEstado[4];
};

TAleatorio& AleatorioDoProcesso();

// Seeds the process-wide stream from the clock now, so that the first puzzle does not pay.
void SemearAleatorio();
// A fixed seed, for tests and benchmarks that must repeat a generation exactly.
void SemearAleatorio(uint64_t ASemente);

// The same draws from the process-wide stream.
int32_t Aleatorio(int32_t n);
double AleatorioReal();
void Embaralhar(std::span<int32_t> a);
