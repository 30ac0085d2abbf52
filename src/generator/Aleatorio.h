// Pseudo-random streams. A generation draws from the stream it is handed, so that generations
// on different threads share nothing. The process-wide stream is seeded once from the clock at
// start-up (SemearAleatorio(), before any window) and never again; until then the first use
// seeds it from the clock. Only the interface thread uses it: for single puzzles, and as the
// one source of each batch's seed.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <utility>

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

    // Defined here, as the layout, the filling and the search draw in their innermost loops.
    uint64_t Proximo() {
        const uint64_t resultado = std::rotl(FEstado[1] * 5, 7) * 9;
        const uint64_t t = FEstado[1] << 17;
        FEstado[2] ^= FEstado[0];
        FEstado[3] ^= FEstado[1];
        FEstado[1] ^= FEstado[2];
        FEstado[0] ^= FEstado[3];
        FEstado[2] ^= t;
        FEstado[3] = std::rotl(FEstado[3], 45);
        return resultado;
    }
    // Uniform integer in [0, n); n must be at least 1.
    int32_t Inteiro(int32_t n) {
        // Lemire's multiply-and-reject: uniform without modulo bias.
        const auto limite = static_cast<uint32_t>(n);
        uint64_t produto = static_cast<uint64_t>(static_cast<uint32_t>(Proximo() >> 32)) * limite;
        auto baixo = static_cast<uint32_t>(produto);
        if (baixo < limite) {
            const uint32_t rejeitar = (0u - limite) % limite;
            while (baixo < rejeitar) {
                produto = static_cast<uint64_t>(static_cast<uint32_t>(Proximo() >> 32)) * limite;
                baixo = static_cast<uint32_t>(produto);
            }
        }
        return static_cast<int32_t>(produto >> 32);
    }
    // Uniform real in [0, 1).
    double Real() {
        // The top 53 bits give every double in [0, 1) on a 2^-53 grid.
        return static_cast<double>(Proximo() >> 11) * 0x1.0p-53;
    }
    // Fisher-Yates shuffle of the whole array.
    void Embaralhar(std::span<int32_t> a) {
        for (size_t k = a.size(); k-- > 1;) {
            const size_t j = static_cast<size_t>(Inteiro(static_cast<int32_t>(k + 1)));
            std::swap(a[k], a[j]);
        }
    }

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
