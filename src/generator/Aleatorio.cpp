#include "generator/Aleatorio.h"

#include <chrono>
#include <utility>

namespace {

// splitmix64's output function: a bijection that spreads every input bit over the word.
uint64_t Misturar(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t Rodar(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

uint64_t SementeDoRelogio() {
    return static_cast<uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

TAleatorio::TAleatorio(uint64_t ASemente) {
    // splitmix64 spreads one seed over the whole state.
    for (uint64_t& palavra : FEstado) {
        ASemente += 0x9E3779B97F4A7C15ull;
        palavra = Misturar(ASemente);
    }
}

TAleatorio TAleatorio::DoPuzzle(uint64_t ASementeLote, uint64_t AIndice) {
    // Mixed twice, so that neighbouring batch seeds and neighbouring indices give unrelated
    // streams; for one batch seed, distinct indices give distinct seeds.
    return TAleatorio(Misturar(Misturar(ASementeLote) + AIndice * 0xD1B54A32D192ED03ull));
}

TAleatorio TAleatorio::DaTentativa(uint64_t ASemente, uint64_t AIndice) {
    // Another multiplier than the puzzles', and the seed set apart first: a generation's
    // attempts and a batch's puzzles never share a stream.
    return TAleatorio(
        Misturar(Misturar(ASemente ^ 0x5851F42D4C957F2Dull) + AIndice * 0x9FB21C651E98DF25ull));
}

uint64_t TAleatorio::Proximo() {
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

int32_t TAleatorio::Inteiro(int32_t n) {
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

double TAleatorio::Real() {
    // The top 53 bits give every double in [0, 1) on a 2^-53 grid.
    return static_cast<double>(Proximo() >> 11) * 0x1.0p-53;
}

void TAleatorio::Embaralhar(std::span<int32_t> a) {
    for (size_t k = a.size(); k-- > 1;) {
        const size_t j = static_cast<size_t>(Inteiro(static_cast<int32_t>(k + 1)));
        std::swap(a[k], a[j]);
    }
}

TAleatorio& AleatorioDoProcesso() {
    static TAleatorio gerador(SementeDoRelogio());
    return gerador;
}

void SemearAleatorio() {
    AleatorioDoProcesso() = TAleatorio(SementeDoRelogio());
}

void SemearAleatorio(uint64_t ASemente) {
    AleatorioDoProcesso() = TAleatorio(ASemente);
}

int32_t Aleatorio(int32_t n) {
    return AleatorioDoProcesso().Inteiro(n);
}

double AleatorioReal() {
    return AleatorioDoProcesso().Real();
}

void Embaralhar(std::span<int32_t> a) {
    AleatorioDoProcesso().Embaralhar(a);
}
