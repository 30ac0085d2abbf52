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
