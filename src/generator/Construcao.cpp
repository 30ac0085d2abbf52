// Construction search: change the digits run by run until the totals determine every cell.
#include "generator/Aleatorio.h"
#include "generator/UnitSomadoVarianteA.h"

#include <algorithm>

namespace {

constexpr TConjuntoDigitos Bit(int32_t d) {
    return static_cast<TConjuntoDigitos>(1u << d);
}

// Depth-first placement of the positions in AOrdem[t..], each taking a distinct digit of its
// allowed set, tried in random order.
bool Atribuir(std::span<const TConjuntoDigitos> APermitidos, const std::array<int32_t, 9>& AOrdem,
              int32_t t, TConjuntoDigitos& ADisponiveis, std::span<int32_t> ADigitos) {
    if (t == static_cast<int32_t>(APermitidos.size())) return true;
    const int32_t posicao = AOrdem[t];
    std::array<int32_t, 9> digitos;
    int32_t quantos = 0;
    for (int32_t d = 1; d <= 9; ++d)
        if (APermitidos[posicao] & ADisponiveis & Bit(d)) digitos[quantos++] = d;
    Embaralhar(std::span(digitos.data(), static_cast<size_t>(quantos)));
    for (int32_t i = 0; i < quantos; ++i) {
        const int32_t d = digitos[i];
        ADisponiveis &= static_cast<TConjuntoDigitos>(~Bit(d));
        ADigitos[posicao] = d;
        if (Atribuir(APermitidos, AOrdem, t + 1, ADisponiveis, ADigitos)) return true;
        ADisponiveis |= Bit(d);
    }
    return false;
}

// The digits standing in the other cells of the run that crosses ACelula.
TConjuntoDigitos Proibidos(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                           int32_t ACelula) {
    TConjuntoDigitos proibidos = 0;
    for (const int32_t q : AModelo.CelRun[ACelula]) {
        if (q == ARun) continue;
        for (const int32_t outra : AModelo.RunCel[q])
            if (outra != ACelula) proibidos |= Bit(ADigitos[outra]);
    }
    return proibidos;
}

// The run and the runs that cross its cells: the totals a new assignment of the run changes.
int32_t RunsMudados(const TModelo& AModelo, int32_t ARun,
                    std::array<int32_t, 1 + CMaxComprimento>& ARuns) {
    int32_t n = 0;
    ARuns[n++] = ARun;
    for (const int32_t celula : AModelo.RunCel[ARun])
        for (const int32_t q : AModelo.CelRun[celula])
            if (q != ARun) ARuns[n++] = q;
    return n;
}

int32_t SomaDoRun(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun) {
    int32_t soma = 0;
    for (const int32_t celula : AModelo.RunCel[ARun])
        soma += ADigitos[celula];
    return soma;
}

struct TRunCandidato {
    int32_t Chave;
    int32_t Run;
};

} // namespace

bool SortearAtribuicao(std::span<const TConjuntoDigitos> APermitidos, std::span<int32_t> ADigitos) {
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
    return Atribuir(APermitidos, ordem, 0, disponiveis, ADigitos);
}

void GerarPropostas(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                    int32_t AMaximo, std::vector<TProposta>& APropostas) {
    const std::vector<int32_t>& celulas = AModelo.RunCel[ARun];
    const auto n = static_cast<int32_t>(celulas.size());
    std::array<TConjuntoDigitos, 9> proibidos;
    for (int32_t i = 0; i < n; ++i)
        proibidos[i] = Proibidos(AModelo, ADigitos, ARun, celulas[i]);

    // Totals with at most two combinations pin the run's digits down the most.
    std::array<int32_t, CMaxSoma + 1> totais;
    int32_t nTotais = 0;
    for (int32_t S = n * (n + 1) / 2; S <= n * (19 - n) / 2; ++S)
        if (ContarCombinacoes(n, S) <= CMaxCombinacoesProposta) totais[nTotais++] = S;
    Embaralhar(std::span(totais.data(), static_cast<size_t>(nTotais)));

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
                                       std::span(proposta.Digitos.data(), static_cast<size_t>(n))))
                    break;
                if (mudaAlgum(proposta.Digitos) && !repetida(proposta.Digitos)) {
                    APropostas.push_back(proposta);
                    ++acrescentadas;
                }
            }
            if (acrescentadas >= AMaximo) return;
        }
}

bool ProcurarSolucaoUnica(const TModelo& AModelo, std::vector<int32_t>& ADigitos,
                          bool ASoCombinacoes, const TCronometro& ACronometro, int64_t ALimiteMs) {
    TDominios atuais, rascunho, base;
    std::vector<int32_t> somas;
    std::vector<uint8_t> fora;
    int32_t indeterminadas = ContarIndeterminadas(AModelo, ADigitos, ASoCombinacoes, atuais);
    std::vector<int32_t> pontos;
    std::vector<TRunCandidato> candidatos;
    std::vector<int32_t> escolhidos;
    std::vector<TProposta> propostas;

    for (int32_t passo = 1; passo <= CMaxPassosUnicidade; ++passo) {
        if (indeterminadas == 0) return true;
        if (ACronometro.Esgotado(ALimiteMs)) return false;

        // Runs touching many undetermined cells come first; the random part breaks ties.
        pontos.assign(static_cast<size_t>(AModelo.NRuns), 0);
        for (int32_t k = 0; k < AModelo.NCel; ++k)
            if (ContarBits(atuais[k]) > 1)
                for (const int32_t r : AModelo.CelRun[k])
                    ++pontos[r];
        candidatos.clear();
        for (int32_t r = 0; r < AModelo.NRuns; ++r)
            if (pontos[r] > 0) candidatos.push_back({pontos[r] * 1000 + Aleatorio(1000), r});
        std::stable_sort(
            candidatos.begin(), candidatos.end(),
            [](const TRunCandidato& a, const TRunCandidato& b) { return a.Chave > b.Chave; });
        escolhidos.clear();
        for (size_t i = 0; i < std::min<size_t>(candidatos.size(), 3 * CRunsPorPasso); ++i)
            escolhidos.push_back(candidatos[i].Run);
        Embaralhar(escolhidos);
        escolhidos.resize(std::min<size_t>(escolhidos.size(), CRunsPorPasso));

        propostas.clear();
        for (const int32_t run : escolhidos)
            GerarPropostas(AModelo, ADigitos, run, CMaxPropostasPorRun, propostas);
        if (propostas.empty()) return false;

        // Proposals for one run change the totals of that run and of the runs crossing it,
        // nothing else: the propagation of all other runs is shared by them.
        somas = SomasDosRuns(AModelo, ADigitos);
        fora.assign(static_cast<size_t>(AModelo.NRuns), 0);
        size_t melhor = 0;
        int32_t melhorValor = 0;
        std::array<int32_t, 9> guardados;
        std::array<int32_t, 1 + CMaxComprimento> mudados, somasGuardadas;
        int32_t nMudados = 0;
        bool baseValida = true;
        for (size_t p = 0; p < propostas.size(); ++p) {
            const int32_t run = propostas[p].Run;
            if (p == 0 || run != propostas[p - 1].Run) {
                for (int32_t i = 0; i < nMudados; ++i)
                    fora[mudados[i]] = 0;
                nMudados = RunsMudados(AModelo, run, mudados);
                for (int32_t i = 0; i < nMudados; ++i)
                    fora[mudados[i]] = 1;
                baseValida = PropagarSemRuns(AModelo, somas, ASoCombinacoes, fora, base);
            }
            const std::vector<int32_t>& celulas = AModelo.RunCel[run];
            for (size_t i = 0; i < celulas.size(); ++i) {
                guardados[i] = ADigitos[celulas[i]];
                ADigitos[celulas[i]] = propostas[p].Digitos[i];
            }
            for (int32_t i = 0; i < nMudados; ++i) {
                somasGuardadas[i] = somas[mudados[i]];
                somas[mudados[i]] = SomaDoRun(AModelo, ADigitos, mudados[i]);
            }
            // Without the changed runs the others already contradict: so do they all.
            const int32_t valor =
                baseValida ? ContarIndeterminadasDesde(
                                 AModelo, somas, ASoCombinacoes, base,
                                 std::span(mudados.data(), static_cast<size_t>(nMudados)), rascunho)
                           : CIndeterminadasContradicao;
            for (int32_t i = 0; i < nMudados; ++i)
                somas[mudados[i]] = somasGuardadas[i];
            for (size_t i = 0; i < celulas.size(); ++i)
                ADigitos[celulas[i]] = guardados[i];
            if (p == 0 || valor < melhorValor) {
                melhor = p;
                melhorValor = valor;
            }
        }
        // The best proposal is taken even when it does not improve: the walk goes on.
        const std::vector<int32_t>& celulas = AModelo.RunCel[propostas[melhor].Run];
        for (size_t i = 0; i < celulas.size(); ++i)
            ADigitos[celulas[i]] = propostas[melhor].Digitos[i];
        indeterminadas = ContarIndeterminadas(AModelo, ADigitos, ASoCombinacoes, atuais);
    }
    return indeterminadas == 0;
}
