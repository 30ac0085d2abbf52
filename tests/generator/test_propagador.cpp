// The propagator against the plain propagation: for every proposal of a step, the count and
// the sets it gives must be what ContarIndeterminadas gives for the digits with the proposal
// written in, on seeded random boards, along a walk like the construction search's.
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

namespace {

// A random filled board of side N drawn from AAleatorio: its model and the solution's digits
// in cell order. False when the layout or the filling gave up.
bool ModeloComSolucao(int32_t N, TAleatorio& AAleatorio, TModelo& AModelo,
                      std::vector<int32_t>& ADigitos) {
    TSomadoBoard board(N);
    if (!GerarGrelha(board, AComprimentoMin, AComprimentoMax, AAleatorio) ||
        !PreencherSolucao(board, AAleatorio))
        return false;
    AModelo = ConstruirModelo(board);
    ADigitos.clear();
    for (int32_t k = 0; k < AModelo.NCel; ++k)
        ADigitos.push_back(board.GetCell(AModelo.CelR[k], AModelo.CelC[k]).Solution);
    return true;
}

// One step's proposals: the search's own for a few runs, then some of arbitrary digits, which
// often contradict the other totals.
std::vector<TProposta> PropostasDoPasso(const TModelo& AModelo,
                                        const std::vector<int32_t>& ADigitos,
                                        TAleatorio& AAleatorio) {
    std::vector<TProposta> propostas;
    for (int i = 0; i < CRunsPorPasso; ++i)
        GerarPropostas(AModelo, ADigitos, AAleatorio.Inteiro(AModelo.NRuns), CMaxPropostasPorRun,
                       propostas, AAleatorio);
    for (int i = 0; i < 3; ++i) {
        TProposta proposta{AAleatorio.Inteiro(AModelo.NRuns), {}};
        for (size_t c = 0; c < AModelo.CelulasDoRun(proposta.Run).size(); ++c)
            proposta.Digitos[c] = 1 + AAleatorio.Inteiro(9);
        propostas.push_back(proposta);
    }
    return propostas;
}

void Escrever(const TModelo& AModelo, const TProposta& AProposta, std::vector<int32_t>& ADigitos) {
    const std::span<const int32_t> celulas = AModelo.CelulasDoRun(AProposta.Run);
    for (size_t i = 0; i < celulas.size(); ++i)
        ADigitos[celulas[i]] = AProposta.Digitos[i];
}

} // namespace

TEST(TPropagador, CountsWhatThePlainPropagationCounts) {
    int32_t comparacoes = 0, contradicoes = 0, resolvidas = 0;
    for (const int32_t N : {6, 9, 12, 15})
        for (uint64_t semente = 1; semente <= 6; ++semente) {
            TAleatorio aleatorio(semente * 1000 + static_cast<uint64_t>(N));
            TModelo modelo;
            std::vector<int32_t> digitos;
            if (!ModeloComSolucao(N, aleatorio, modelo, digitos)) continue;
            for (const bool soCombinacoes : {true, false}) {
                TContextoGeracao contexto{TAleatorio(semente)};
                TPropagador propagador(contexto, modelo, soCombinacoes);
                std::vector<int32_t> passo = digitos;
                for (int32_t p = 0; p < 12; ++p) {
                    std::vector<TProposta> propostas = PropostasDoPasso(modelo, passo, aleatorio);
                    // Some steps meet their runs' proposals apart, not one run after another.
                    if (p % 4 == 3)
                        for (size_t i = propostas.size(); i > 1; --i)
                            std::swap(propostas[i - 1],
                                      propostas[static_cast<size_t>(
                                          aleatorio.Inteiro(static_cast<int32_t>(i)))]);
                    const std::vector<int32_t> antes = passo;
                    propagador.ComecarPasso(passo, propostas);
                    for (const TProposta& proposta : propostas) {
                        std::vector<int32_t> comProposta = passo;
                        Escrever(modelo, proposta, comProposta);
                        TDominios esperado, obtido;
                        const int32_t referencia = ContarIndeterminadas(
                            contexto, modelo, comProposta, soCombinacoes, esperado);
                        ASSERT_EQ(propagador.ContarComProposta(proposta), referencia);
                        if (referencia != CIndeterminadasContradicao) {
                            propagador.TrocarDominios(obtido);
                            ASSERT_EQ(obtido, esperado);
                        }
                        contradicoes += referencia == CIndeterminadasContradicao;
                        resolvidas += referencia == 0;
                        ++comparacoes;
                    }
                    ASSERT_EQ(passo, antes);
                    // Walk on, as the search does, so that later steps start from digits that
                    // no longer form the solution the board was filled with.
                    Escrever(modelo,
                             propostas[static_cast<size_t>(
                                 aleatorio.Inteiro(static_cast<int32_t>(propostas.size())))],
                             passo);
                }
            }
        }
    EXPECT_GT(comparacoes, 5000);
    EXPECT_GT(contradicoes, 0);
    EXPECT_GT(resolvidas, 0);
}
