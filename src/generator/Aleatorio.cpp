#include "generator/Aleatorio.h"

#include <chrono>
#include <utility>

namespace {

// xoshiro256**: fast, small state and good statistical quality.
class TXoshiro256 {
public:
    explicit TXoshiro256(uint64_t ASemente) {
        // splitmix64 spreads one clock reading over the whole state.
        for (uint64_t& palavra : FEstado) {
            ASemente += 0x9E3779B97F4A7C15ull;
            uint64_t z = ASemente;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            palavra = z ^ (z >> 31);
        }
    }

    uint64_t Proximo() {
        const uint64_t resultado = Rodar(FEstado[1] * 5, 7) * 9;
        const uint64_t t = FEstado[1] << 17;
        FEstado[2] ^= FEstado[0];
        FEstado[3] ^= FEstado[1];
        FEstado[1] ^= FEstado[2];
        FEstado[0] ^= FEstado[3];
        FEstado[2] ^= t;
        FEstado[3] = Rodar(FEstado[3], 45);
        return resultado;
    }

private:
    static uint64_t Rodar(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t FEstado[4];
};

uint64_t SementeDoRelogio() {
    return static_cast<uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

TXoshiro256& Gerador() {
    static TXoshiro256 gerador(SementeDoRelogio());
    return gerador;
}

} // namespace

void SemearAleatorio() {
    Gerador() = TXoshiro256(SementeDoRelogio());
}

void SemearAleatorio(uint64_t ASemente) {
    Gerador() = TXoshiro256(ASemente);
}

int32_t Aleatorio(int32_t n) {
    // Lemire's multiply-and-reject: uniform without modulo bias.
    const auto limite = static_cast<uint32_t>(n);
    uint64_t produto =
        static_cast<uint64_t>(static_cast<uint32_t>(Gerador().Proximo() >> 32)) * limite;
    auto baixo = static_cast<uint32_t>(produto);
    if (baixo < limite) {
        const uint32_t rejeitar = (0u - limite) % limite;
        while (baixo < rejeitar) {
            produto =
                static_cast<uint64_t>(static_cast<uint32_t>(Gerador().Proximo() >> 32)) * limite;
            baixo = static_cast<uint32_t>(produto);
        }
    }
    return static_cast<int32_t>(produto >> 32);
}

double AleatorioReal() {
    // The top 53 bits give every double in [0, 1) on a 2^-53 grid.
    return static_cast<double>(Gerador().Proximo() >> 11) * 0x1.0p-53;
}

void Embaralhar(std::span<int32_t> a) {
    for (size_t k = a.size(); k-- > 1;) {
        const size_t j = static_cast<size_t>(Aleatorio(static_cast<int32_t>(k + 1)));
        std::swap(a[k], a[j]);
    }
}
