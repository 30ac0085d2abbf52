// Construction search: change the digits run by run until the totals determine every cell.
#include "generator/GeradorInterno.h"

#include <algorithm>

namespace {

// Depth-first placement of the positions in AOrdem[t..], each taking a distinct digit of its
// allowed set, tried in random order.
bool Atribuir(std::span<const TConjuntoDigitos> APermitidos, const std::array<int32_t, 9>& AOrdem,
              int32_t t, TConjuntoDigitos& ADisponiveis, std::span<int32_t> ADigitos,
              TAleatorio& AAleatorio) {
    if (t == static_cast<int32_t>(APermitidos.size())) return true;
    const int32_t posicao = AOrdem[t];
    std::array<int32_t, 9> digitos;
    int32_t quantos = 0;
    for (int32_t d = 1; d <= 9; ++d)
        if (APermitidos[posicao] & ADisponiveis & Bit(d)) digitos[quantos++] = d;
    AAleatorio.Embaralhar(std::span(digitos.data(), static_cast<size_t>(quantos)));
    for (int32_t i = 0; i < quantos; ++i) {
        const int32_t d = digitos[i];
        ADisponiveis &= static_cast<TConjuntoDigitos>(~Bit(d));
        ADigitos[posicao] = d;
        if (Atribuir(APermitidos, AOrdem, t + 1, ADisponiveis, ADigitos, AAleatorio)) return true;
        ADisponiveis |= Bit(d);
    }
    return false;
}

// The digits standing in the other cells of the run that crosses ACelula.
TConjuntoDigitos Proibidos(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                           int32_t ACelula) {
    TConjuntoDigitos proibidos = 0;
    for (const int32_t q : AModelo.RunsDaCelula(ACelula)) {
        if (q == ARun) continue;
        for (const int32_t outra : AModelo.CelulasDoRun(q))
            if (outra != ACelula) proibidos |= Bit(ADigitos[outra]);
    }
    return proibidos;
}

// Writes a run's digits, keeping the ones they replace in AAnteriores.
void TrocarDigitosDoRun(std::span<const int32_t> ACelulas, const TArr9I& ANovos,
                        std::vector<int32_t>& ADigitos, TArr9I& AAnteriores) {
    for (size_t i = 0; i < ACelulas.size(); ++i) {
        AAnteriores[i] = ADigitos[ACelulas[i]];
        ADigitos[ACelulas[i]] = ANovos[i];
    }
}

} // namespace

bool SortearAtribuicao(std::span<const TConjuntoDigitos> APermitidos, std::span<int32_t> ADigitos,
                       TAleatorio& AAleatorio) {
    const auto n = static_cast<int32_t>(APermitidos.size());
    // Fewest choices first; a stable insertion sort keeps run order among equals.
    std::array<int32_t, 9> ordem;
    for (int32_t i = 0; i < n; ++i) {
        int32_t j = i;
        while (j > 0 && ContarBits(APermitidos[ordem[j - 1]]) > ContarBits(APermitidos[i])) {
            ordem[j] = ordem[j - 1];
            --j;
        }
        ordem[j] = i;
    }
    TConjuntoDigitos disponiveis = 0;
    for (const TConjuntoDigitos permitido : APermitidos)
        disponiveis |= permitido;
    return Atribuir(APermitidos, ordem, 0, disponiveis, ADigitos, AAleatorio);
}

void GerarPropostas(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                    int32_t AMaximo, std::vector<TProposta>& APropostas, TAleatorio& AAleatorio) {
    const std::span<const int32_t> celulas = AModelo.CelulasDoRun(ARun);
    const auto n = static_cast<int32_t>(celulas.size());
    std::array<TConjuntoDigitos, 9> proibidos;
    for (int32_t i = 0; i < n; ++i)
        proibidos[i] = Proibidos(AModelo, ADigitos, ARun, celulas[i]);

    // Totals with at most two combinations pin the run's digits down the most.
    std::array<int32_t, CMaxSoma + 1> totais;
    int32_t nTotais = 0;
    for (int32_t S = n * (n + 1) / 2; S <= n * (19 - n) / 2; ++S)
        if (ContarCombinacoes(n, S) <= CMaxCombinacoesProposta) totais[nTotais++] = S;
    AAleatorio.Embaralhar(std::span(totais.data(), static_cast<size_t>(nTotais)));

    const size_t primeiraDestaChamada = APropostas.size();
    auto repetida = [&](const TArr9I& ADigitosNovos) {
        for (size_t p = primeiraDestaChamada; p < APropostas.size(); ++p)
            if (std::equal(ADigitosNovos.begin(), ADigitosNovos.begin() + n,
                           APropostas[p].Digitos.begin()))
                return true;
        return false;
    };
    auto mudaAlgum = [&](const TArr9I& ADigitosNovos) {
        for (int32_t i = 0; i < n; ++i)
            if (ADigitosNovos[i] != ADigitos[celulas[i]]) return true;
        return false;
    };

    int32_t acrescentadas = 0;
    for (int32_t t = 0; t < nTotais; ++t)
        for (const TConjuntoDigitos c : Combinacoes(n, totais[t])) {
            std::array<TConjuntoDigitos, 9> permitidos;
            bool vazio = false;
            for (int32_t i = 0; i < n && !vazio; ++i) {
                permitidos[i] = static_cast<TConjuntoDigitos>(c & ~proibidos[i]);
                vazio = permitidos[i] == 0;
            }
            if (vazio) continue;
            for (int sorteio = 0; sorteio < 2; ++sorteio) {
                TProposta proposta{ARun, {}};
                if (!SortearAtribuicao(std::span(permitidos.data(), static_cast<size_t>(n)),
                                       std::span(proposta.Digitos.data(), static_cast<size_t>(n)),
                                       AAleatorio))
                    break;
                if (mudaAlgum(proposta.Digitos) && !repetida(proposta.Digitos)) {
                    APropostas.push_back(proposta);
                    ++acrescentadas;
                }
            }
            if (acrescentadas >= AMaximo) return;
        }
}

void PontuarRuns(const TModelo& AModelo, const TDominios& AAtuais, std::vector<int32_t>& APontos) {
    APontos.assign(static_cast<size_t>(AModelo.NRuns), 0);
    for (int32_t k = 0; k < AModelo.NCel; ++k)
        if (ContarBits(AAtuais[k]) > 1)
            for (const int32_t r : AModelo.RunsDaCelula(k))
                ++APontos[r];
}

void EscolherRuns(const std::vector<int32_t>& APontos, std::vector<TRunCandidato>& ACandidatos,
                  std::vector<int32_t>& AEscolhidos, TAleatorio& AAleatorio) {
    std::vector<TRunCandidato>& candidatos = ACandidatos;
    candidatos.clear();
    for (size_t r = 0; r < APontos.size(); ++r)
        if (APontos[r] > 0)
            candidatos.push_back(
                {APontos[r] * 1000 + AAleatorio.Inteiro(1000), static_cast<int32_t>(r)});
    // Largest key first, equal keys in run order: a stable sort, without its buffer.
    std::sort(candidatos.begin(), candidatos.end(),
              [](const TRunCandidato& a, const TRunCandidato& b) {
                  return a.Chave > b.Chave || (a.Chave == b.Chave && a.Run < b.Run);
              });
    AEscolhidos.clear();
    for (size_t i = 0; i < std::min<size_t>(candidatos.size(), 3 * CRunsPorPasso); ++i)
        AEscolhidos.push_back(candidatos[i].Run);
    AAleatorio.Embaralhar(AEscolhidos);
    AEscolhidos.resize(std::min<size_t>(AEscolhidos.size(), CRunsPorPasso));
}

void AvaliarPropostas(TPropagador& APropagador, std::span<const int32_t> ADigitos,
                      std::span<const TProposta> APropostas, TMelhorProposta& AMelhor) {
    APropagador.ComecarPasso(ADigitos, APropostas);
    for (size_t p = 0; p < APropostas.size(); ++p) {
        const int32_t indeterminadas = APropagador.ContarComProposta(APropostas[p]);
        if (p == 0 || indeterminadas < AMelhor.Indeterminadas) {
            AMelhor.Indice = p;
            AMelhor.Indeterminadas = indeterminadas;
            APropagador.TrocarDominios(AMelhor.Dominios);
        }
    }
}

bool ProcurarSolucaoUnica(TContextoGeracao& AContexto, const TModelo& AModelo,
                          std::vector<int32_t>& ADigitos, bool ASoCombinacoes,
                          const TCronometro& ACronometro, int64_t ALimiteMs) {
    TDominios atuais;
    int32_t indeterminadas =
        ContarIndeterminadas(AContexto, AModelo, ADigitos, ASoCombinacoes, atuais);
    std::vector<int32_t> pontos, escolhidos;
    std::vector<TRunCandidato> candidatos;
    std::vector<TProposta> propostas;
    TMelhorProposta melhor;
    TPropagador propagador(AContexto, AModelo, ASoCombinacoes);

    for (int32_t passo = 1; passo <= CMaxPassosUnicidade; ++passo) {
        if (indeterminadas == 0) return true;
        if (AContexto.Interromper(ACronometro, ALimiteMs)) return false;

        PontuarRuns(AModelo, atuais, pontos);
        EscolherRuns(pontos, candidatos, escolhidos, AContexto.Aleatorio);
        propostas.clear();
        for (const int32_t run : escolhidos)
            GerarPropostas(AModelo, ADigitos, run, CMaxPropostasPorRun, propostas,
                           AContexto.Aleatorio);
        if (propostas.empty()) return false;

        AvaliarPropostas(propagador, ADigitos, propostas, melhor);
        // The best proposal is taken even when it does not improve: the walk goes on. Its
        // evaluation already gave the sets and the count of its digits.
        const TProposta& escolhida = propostas[melhor.Indice];
        TArr9I anteriores;
        TrocarDigitosDoRun(AModelo.CelulasDoRun(escolhida.Run), escolhida.Digitos, ADigitos,
                           anteriores);
        std::swap(atuais, melhor.Dominios);
        indeterminadas = melhor.Indeterminadas;
        // Where a propagation stops at a contradiction depends on its order: take the sets
        // the plain propagation leaves.
        if (indeterminadas == CIndeterminadasContradicao)
            indeterminadas =
                ContarIndeterminadas(AContexto, AModelo, ADigitos, ASoCombinacoes, atuais);
    }
    return indeterminadas == 0;
}
