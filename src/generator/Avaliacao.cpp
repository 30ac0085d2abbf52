// Difficulty grading: how far combination reasoning alone gets on a finished puzzle.
#include "generator/GeradorInterno.h"

namespace {

// Sweeps every run in order until a sweep narrows nothing; false on a contradiction.
bool PropagarPorVoltas(TContextoGeracao& AContexto, const TModelo& AModelo,
                       std::span<const int32_t> ASomas, TDominios& ADominios) {
    bool mudouNaVolta = true;
    while (mudouNaVolta) {
        mudouNaVolta = false;
        for (int32_t r = 0; r < AModelo.NRuns; ++r) {
            uint32_t mudadas = 0;
            if (!FiltrarRun(AContexto, true, AModelo, r, ASomas[r], ADominios, mudadas))
                return false;
            mudouNaVolta = mudouNaVolta || mudadas != 0;
        }
    }
    return true;
}

int32_t ContarResolvidas(const TDominios& ADominios) {
    int32_t resolvidas = 0;
    for (const TConjuntoDigitos conjunto : ADominios)
        resolvidas += ContarBits(conjunto) == 1;
    return resolvidas;
}

} // namespace

TAvaliacao AvaliarDificuldade(const TSomadoBoard& ABoard) {
    // Grading draws nothing: any stream will do, and the process-wide one stays untouched.
    TContextoGeracao contexto{TAleatorio(0)};
    return AvaliarDificuldade(contexto, ABoard);
}

TAvaliacao AvaliarDificuldade(TContextoGeracao& AContexto, const TSomadoBoard& ABoard) {
    TAvaliacao avaliacao;
    const TModelo modelo = ConstruirModelo(ABoard);
    const std::vector<int32_t> somas = SomasDoTabuleiro(ABoard);
    if (modelo.NCel == 0) return avaliacao;

    int32_t unicas = 0;
    for (int32_t r = 0; r < modelo.NRuns; ++r)
        unicas +=
            ContarCombinacoes(static_cast<int32_t>(modelo.CelulasDoRun(r).size()), somas[r]) == 1;
    if (modelo.NRuns > 0)
        avaliacao.FracRunsCombinacaoUnica = static_cast<double>(unicas) / modelo.NRuns;

    TDominios dominios(static_cast<size_t>(modelo.NCel), CDominioCompleto);
    const bool falhou = !PropagarPorVoltas(AContexto, modelo, somas, dominios);
    const int32_t resolvidas = ContarResolvidas(dominios);
    avaliacao.FracResolvidasCombinacoes = static_cast<double>(resolvidas) / modelo.NCel;
    avaliacao.ResolvidoCombinacoes = !falhou && resolvidas == modelo.NCel;
    return avaliacao;
}

TNivelDificuldade NivelDaAvaliacao(const TAvaliacao& AAvaliacao) {
    if (AAvaliacao.ResolvidoCombinacoes)
        return AAvaliacao.FracRunsCombinacaoUnica >= CLimiarFacil ? TNivelDificuldade::ndFacil
                                                                  : TNivelDificuldade::ndMedio;
    return AAvaliacao.FracResolvidasCombinacoes >= CLimiarDificil
               ? TNivelDificuldade::ndDificil
               : TNivelDificuldade::ndMuitoDificil;
}

int32_t PontuacaoDaAvaliacao(const TAvaliacao& AAvaliacao) {
    if (AAvaliacao.ResolvidoCombinacoes)
        return static_cast<int32_t>(Arredondar((1 - AAvaliacao.FracRunsCombinacaoUnica) * 100));
    return static_cast<int32_t>(Arredondar((1 - AAvaliacao.FracResolvidasCombinacoes) * 100)) + 100;
}
