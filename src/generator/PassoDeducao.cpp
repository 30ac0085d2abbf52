// The next step of reasoning on a board in play.
//
// What the player can be taken to know is what each run allows on its own, given its placed
// digits (the runs area and the clue tooltips show it), narrowed where the player's marks leave
// out digits that the level's whole propagation rules out as well. Every digit left out is
// therefore provably impossible, whatever the marks say, and a step is one rule on one run
// applied to that knowledge. A step the player follows (a digit written, marks removed) always
// shrinks it, so explaining step after step reaches the solution whenever the level's
// reasoning does.
#include "generator/PassoDeducao.h"

#include "generator/GeradorInterno.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

struct TRunDoPasso {
    TCorridaDaCelula Corrida;
    std::array<int32_t, CMaxComprimento> Celulas{};
    int32_t N = 0;
    int32_t Abertas = 0;
    TConjuntoDigitos Colocados = 0;
    bool Repetido = false;
    TConjuntoDigitos Admite = 0;
};

// The white cells in reading order and the runs read from them; a stretch without a clue
// constrains nothing and is left out.
struct TTabuleiroDoPasso {
    int32_t Lado = 0;
    std::vector<int32_t> Indice;
    std::vector<int32_t> CelR;
    std::vector<int32_t> CelC;
    std::vector<int32_t> Valor;
    // The across run, then the down run of each cell; -1 where there is none.
    std::vector<std::array<int32_t, 2>> RunsDaCelula;
    std::vector<TRunDoPasso> Runs;

    int32_t NCel() const { return static_cast<int32_t>(CelR.size()); }
};

TConjuntoDigitos AdmiteDaCorrida(int32_t ACasas, int32_t ASoma, TConjuntoDigitos AColocados) {
    TConjuntoDigitos admite = 0;
    for (const TConjuntoDigitos c : Combinacoes(ACasas, ASoma))
        if ((c & AColocados) == AColocados) admite |= c;
    return static_cast<TConjuntoDigitos>(admite & ~AColocados);
}

TTabuleiroDoPasso LerTabuleiro(const TSomadoBoard& ABoard) {
    TTabuleiroDoPasso t;
    const int32_t N = ABoard.Size();
    t.Lado = N;
    t.Indice.assign(static_cast<size_t>(N) * N, -1);
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            if (!CelulaBranca(ABoard, r, c)) continue;
            t.Indice[r * N + c] = t.NCel();
            t.CelR.push_back(r);
            t.CelC.push_back(c);
            const int32_t v = ABoard.GetCell(r, c).Value;
            t.Valor.push_back(v >= 1 && v <= 9 ? v : 0);
        }
    t.RunsDaCelula.assign(static_cast<size_t>(t.NCel()), {-1, -1});
    for (const bool horizontal : {true, false})
        for (int32_t celula = 0; celula < t.NCel(); ++celula) {
            const int32_t r = t.CelR[celula], c = t.CelC[celula];
            if (horizontal ? CelulaBranca(ABoard, r, c - 1) : CelulaBranca(ABoard, r - 1, c))
                continue;
            TRunDoPasso run;
            run.Corrida = CorridaPor(ABoard, r, c, horizontal);
            run.N = run.Corrida.Comprimento;
            if (run.N < 2 || run.N > CMaxComprimento || run.Corrida.Soma <= 0) continue;
            const auto numero = static_cast<int32_t>(t.Runs.size());
            for (int32_t k = 0; k < run.N; ++k) {
                const int32_t i = t.Indice[run.Corrida.RowDe(k) * N + run.Corrida.ColDe(k)];
                run.Celulas[k] = i;
                t.RunsDaCelula[i][horizontal ? 0 : 1] = numero;
                if (const int32_t v = t.Valor[i]; v != 0) {
                    run.Repetido = run.Repetido || (run.Colocados & Bit(v));
                    run.Colocados = static_cast<TConjuntoDigitos>(run.Colocados | Bit(v));
                } else {
                    ++run.Abertas;
                }
            }
            run.Admite = run.Repetido ? 0 : AdmiteDaCorrida(run.N, run.Corrida.Soma, run.Colocados);
            t.Runs.push_back(run);
        }
    return t;
}

// What each run allows on its own, given its placed digits; placed cells hold their digit.
std::vector<TConjuntoDigitos> ConjuntosDasCorridas(const TTabuleiroDoPasso& t) {
    std::vector<TConjuntoDigitos> conjuntos(static_cast<size_t>(t.NCel()));
    for (int32_t i = 0; i < t.NCel(); ++i) {
        if (t.Valor[i] != 0) {
            conjuntos[i] = Bit(t.Valor[i]);
            continue;
        }
        TConjuntoDigitos conjunto = CDominioCompleto;
        for (const int32_t q : t.RunsDaCelula[i])
            if (q >= 0) conjunto &= t.Runs[q].Admite;
        conjuntos[i] = conjunto;
    }
    return conjuntos;
}

bool AplicarRegra(bool APosicoes, std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma) {
    std::array<uint8_t, CMaxComprimento> mudadas;
    return APosicoes ? FiltrarPorPosicoes(AConjuntos, ASoma, mudadas)
                     : FiltrarPorCombinacoes(AConjuntos, ASoma, mudadas);
}

// The rule over every run until nothing narrows; false on a contradiction.
bool PropagarTudo(const TTabuleiroDoPasso& t, bool APosicoes, std::vector<TConjuntoDigitos>& ADom) {
    const auto nRuns = static_cast<int32_t>(t.Runs.size());
    if (nRuns == 0) return true;
    std::vector<int32_t> fila(static_cast<size_t>(nRuns));
    std::iota(fila.begin(), fila.end(), 0);
    std::vector<uint8_t> naFila(static_cast<size_t>(nRuns), 1);
    int32_t cabeca = 0, quantos = nRuns;
    std::array<TConjuntoDigitos, CMaxComprimento> conjuntos;
    while (quantos > 0) {
        const int32_t r = fila[cabeca];
        cabeca = cabeca + 1 == nRuns ? 0 : cabeca + 1;
        --quantos;
        naFila[r] = 0;
        const TRunDoPasso& run = t.Runs[r];
        for (int32_t k = 0; k < run.N; ++k)
            conjuntos[k] = ADom[run.Celulas[k]];
        if (!AplicarRegra(APosicoes, std::span(conjuntos.data(), static_cast<size_t>(run.N)),
                          run.Corrida.Soma))
            return false;
        for (int32_t k = 0; k < run.N; ++k) {
            const int32_t i = run.Celulas[k];
            if (conjuntos[k] == ADom[i]) continue;
            ADom[i] = conjuntos[k];
            for (const int32_t q : t.RunsDaCelula[i]) {
                if (q < 0 || naFila[q]) continue;
                naFila[q] = 1;
                int32_t cauda = cabeca + quantos;
                if (cauda >= nRuns) cauda -= nRuns;
                fila[cauda] = q;
                ++quantos;
            }
        }
    }
    return true;
}

// What a step may take as known about an empty cell of its run, from the least to the most:
// what its run admits (nothing beyond the run itself), what its crossing run admits too, and
// what the player's marks leave of that.
enum TNivel : int8_t { nvCorrida, nvCruzada, nvNotas };

struct TConhecimento {
    const TTabuleiroDoPasso& T;
    std::vector<TConjuntoDigitos> Cruzadas; // both runs, each on its own
    std::vector<TConjuntoDigitos> Sabidas;  // and the marks, where the reasoning agrees
};

struct TCandidato {
    bool Existe = false;
    bool Posicoes = false;
    int32_t Run = -1;
    // A fix: the position along the run and the digit. A removal: the digits each cell loses.
    int32_t Alvo = -1;
    int32_t Digito = 0;
    std::array<TConjuntoDigitos, CMaxComprimento> Retirados{};
    std::array<int8_t, CMaxComprimento> Niveis{};
    // The ranking, least first: premises; then digits ruled out, negated, so that more come
    // first; the run's length; reading order.
    std::tuple<int32_t, int32_t, int32_t, int32_t> Chave{};
};

TConjuntoDigitos ConjuntoNoNivel(const TConhecimento& AConhecimento, const TRunDoPasso& ARun,
                                 int32_t APosicao, int8_t ANivel) {
    const int32_t i = ARun.Celulas[APosicao];
    if (AConhecimento.T.Valor[i] != 0) return Bit(AConhecimento.T.Valor[i]);
    switch (ANivel) {
    case nvCorrida:
        return ARun.Admite;
    case nvCruzada:
        return AConhecimento.Cruzadas[i];
    default:
        return AConhecimento.Sabidas[i];
    }
}

void Entradas(const TConhecimento& AConhecimento, const TRunDoPasso& ARun,
              const std::array<int8_t, CMaxComprimento>& ANiveis,
              std::array<TConjuntoDigitos, CMaxComprimento>& AEntradas) {
    for (int32_t k = 0; k < ARun.N; ++k)
        AEntradas[k] = ConjuntoNoNivel(AConhecimento, ARun, k, ANiveis[k]);
}

std::array<int8_t, CMaxComprimento> NiveisNaturais(const TConhecimento& AConhecimento,
                                                   const TRunDoPasso& ARun) {
    std::array<int8_t, CMaxComprimento> niveis{};
    for (int32_t k = 0; k < ARun.N; ++k) {
        const int32_t i = ARun.Celulas[k];
        if (AConhecimento.T.Valor[i] != 0) continue;
        niveis[k] = AConhecimento.Sabidas[i] != AConhecimento.Cruzadas[i] ? nvNotas
                    : AConhecimento.Cruzadas[i] != ARun.Admite            ? nvCruzada
                                                                          : nvCorrida;
    }
    return niveis;
}

bool Conclui(const TConhecimento& AConhecimento, const TRunDoPasso& ARun,
             const TCandidato& ACandidato) {
    std::array<TConjuntoDigitos, CMaxComprimento> saida;
    Entradas(AConhecimento, ARun, ACandidato.Niveis, saida);
    if (!AplicarRegra(ACandidato.Posicoes, std::span(saida.data(), static_cast<size_t>(ARun.N)),
                      ARun.Corrida.Soma))
        return false;
    if (ACandidato.Digito != 0) return saida[ACandidato.Alvo] == Bit(ACandidato.Digito);
    for (int32_t k = 0; k < ARun.N; ++k)
        if (saida[k] & ACandidato.Retirados[k]) return false;
    return true;
}

// Drops what the conclusion does not need, cell by cell along the run: a player reads a step
// more easily the fewer cells it asks them to look at. Returns the premises left.
int32_t Minimizar(const TConhecimento& AConhecimento, const TRunDoPasso& ARun,
                  TCandidato& ACandidato) {
    int32_t premissas = 0;
    for (int32_t k = 0; k < ARun.N; ++k) {
        const int8_t original = ACandidato.Niveis[k];
        for (int8_t nivel = nvCorrida; nivel < original; ++nivel) {
            if (nivel == nvCruzada && AConhecimento.Cruzadas[ARun.Celulas[k]] == ARun.Admite)
                continue;
            ACandidato.Niveis[k] = nivel;
            if (Conclui(AConhecimento, ARun, ACandidato)) break;
            ACandidato.Niveis[k] = original;
        }
        premissas += ACandidato.Niveis[k] != nvCorrida;
    }
    return premissas;
}

void Escolher(TCandidato& AMelhor, const TCandidato& ACandidato) {
    if (!AMelhor.Existe || ACandidato.Chave < AMelhor.Chave) AMelhor = ACandidato;
}

using TDigitosDaRun = std::array<TConjuntoDigitos, CMaxComprimento>;

// One rule on run r as a step starts it: ACandidato names the run and its levels, AEntradas
// holds what the run's cells admit and ASaida what the rule leaves of it. False when the run
// has fewer than two open cells or the rule finds it impossible.
bool AplicarNaRun(const TConhecimento& AConhecimento, bool APosicoes, int32_t r,
                  TCandidato& ACandidato, TDigitosDaRun& AEntradas, TDigitosDaRun& ASaida) {
    const TRunDoPasso& run = AConhecimento.T.Runs[r];
    if (run.Abertas < 2) return false;
    ACandidato = {};
    ACandidato.Existe = true;
    ACandidato.Posicoes = APosicoes;
    ACandidato.Run = r;
    ACandidato.Niveis = NiveisNaturais(AConhecimento, run);
    Entradas(AConhecimento, run, ACandidato.Niveis, AEntradas);
    ASaida = AEntradas;
    return AplicarRegra(APosicoes, std::span(ASaida.data(), static_cast<size_t>(run.N)),
                        run.Corrida.Soma);
}

// The easiest cell that one rule on one run fixes.
TCandidato ProcurarFixa(const TConhecimento& AConhecimento, bool APosicoes) {
    TCandidato melhor, base;
    TDigitosDaRun entradas, saida;
    for (int32_t r = 0; r < static_cast<int32_t>(AConhecimento.T.Runs.size()); ++r) {
        if (!AplicarNaRun(AConhecimento, APosicoes, r, base, entradas, saida)) continue;
        const TRunDoPasso& run = AConhecimento.T.Runs[r];
        for (int32_t k = 0; k < run.N; ++k) {
            const int32_t i = run.Celulas[k];
            if (AConhecimento.T.Valor[i] != 0 || !UmSoDigito(saida[k]) ||
                UmSoDigito(AConhecimento.Sabidas[i]))
                continue;
            TCandidato candidato = base;
            candidato.Alvo = k;
            candidato.Digito = MenorDigito(saida[k]);
            candidato.Chave = {Minimizar(AConhecimento, run, candidato), 0, run.N, i};
            Escolher(melhor, candidato);
        }
    }
    return melhor;
}

// The easiest application of one rule to one run that rules digits out.
TCandidato ProcurarRetirada(const TConhecimento& AConhecimento, bool APosicoes) {
    TCandidato melhor, candidato;
    TDigitosDaRun entradas, saida;
    for (int32_t r = 0; r < static_cast<int32_t>(AConhecimento.T.Runs.size()); ++r) {
        if (!AplicarNaRun(AConhecimento, APosicoes, r, candidato, entradas, saida)) continue;
        const TRunDoPasso& run = AConhecimento.T.Runs[r];
        int32_t retirados = 0;
        for (int32_t k = 0; k < run.N; ++k) {
            if (AConhecimento.T.Valor[run.Celulas[k]] != 0) continue;
            candidato.Retirados[k] = static_cast<TConjuntoDigitos>(entradas[k] & ~saida[k]);
            retirados += ContarBits(candidato.Retirados[k]);
        }
        if (retirados == 0) continue;
        candidato.Chave = {Minimizar(AConhecimento, run, candidato), -retirados, run.N,
                           run.Celulas[0]};
        Escolher(melhor, candidato);
    }
    return melhor;
}

TCorridaDoPasso Descrever(const TRunDoPasso& ARun) {
    TCorridaDoPasso corrida;
    corrida.Corrida = ARun.Corrida;
    corrida.Colocados = ARun.Colocados;
    corrida.Admite = ARun.Admite;
    if (!ARun.Repetido)
        for (const TConjuntoDigitos c : Combinacoes(ARun.N, ARun.Corrida.Soma))
            if ((c & ARun.Colocados) == ARun.Colocados) corrida.Combinacoes.push_back(c);
    return corrida;
}

// Some filling of the cells with distinct digits of their sets uses exactly the digits of
// ADisponiveis (as many as there are cells).
bool EmparelhaTodas(std::span<const TConjuntoDigitos> AConjuntos, size_t APosicao,
                    TConjuntoDigitos ADisponiveis) {
    if (APosicao == AConjuntos.size()) return true;
    for (uint32_t livres = AConjuntos[APosicao] & ADisponiveis; livres; livres &= livres - 1) {
        const int32_t d = MenorDigito(livres);
        if (EmparelhaTodas(AConjuntos, APosicao + 1,
                           static_cast<TConjuntoDigitos>(ADisponiveis & ~Bit(d))))
            return true;
    }
    return false;
}

void ListarPreenchimentos(std::span<const TConjuntoDigitos> AConjuntos, size_t APosicao,
                          int32_t AResto, TConjuntoDigitos AUsados,
                          std::array<int8_t, CMaxComprimento>& AActual, TPassoDeducao& APasso) {
    if (APasso.NPreenchimentos > CMaxPreenchimentosListados) return;
    if (APosicao == AConjuntos.size()) {
        if (AResto != 0) return;
        if (APasso.NPreenchimentos < CMaxPreenchimentosListados)
            APasso.Preenchimentos.push_back(AActual);
        ++APasso.NPreenchimentos;
        return;
    }
    const auto faltam = static_cast<int32_t>(AConjuntos.size() - APosicao - 1);
    for (uint32_t livres = AConjuntos[APosicao] & ~AUsados; livres; livres &= livres - 1) {
        const int32_t d = MenorDigito(livres);
        // Every cell after this one needs at least 1.
        if (d + faltam > AResto) break;
        AActual[APosicao] = static_cast<int8_t>(d);
        ListarPreenchimentos(AConjuntos, APosicao + 1, AResto - d,
                             static_cast<TConjuntoDigitos>(AUsados | Bit(d)), AActual, APasso);
    }
    AActual[APosicao] = 0;
}

void DescreverPassoDeRegra(const TConhecimento& AConhecimento, const TCandidato& ACandidato,
                           TPassoDeducao& APasso) {
    const TTabuleiroDoPasso& t = AConhecimento.T;
    const TRunDoPasso& run = t.Runs[ACandidato.Run];
    APasso.Raciocinio = ACandidato.Posicoes ? TRaciocinio::Posicoes : TRaciocinio::Combinacoes;
    APasso.Corridas.push_back(Descrever(run));
    const int32_t cruzada = run.Corrida.Horizontal ? 1 : 0;
    for (int32_t k = 0; k < run.N; ++k) {
        if (ACandidato.Niveis[k] == nvCorrida) continue;
        const int32_t i = run.Celulas[k];
        THipoteseDoPasso hipotese{t.CelR[i], t.CelC[i],
                                  ConjuntoNoNivel(AConhecimento, run, k, ACandidato.Niveis[k]), -1};
        if (ACandidato.Niveis[k] == nvCruzada) {
            hipotese.Corrida = static_cast<int32_t>(APasso.Corridas.size());
            APasso.Corridas.push_back(Descrever(t.Runs[t.RunsDaCelula[i][cruzada]]));
        }
        APasso.Hipoteses.push_back(hipotese);
    }

    std::array<TConjuntoDigitos, CMaxComprimento> entradas;
    Entradas(AConhecimento, run, ACandidato.Niveis, entradas);
    const std::span<const TConjuntoDigitos> celulas(entradas.data(), static_cast<size_t>(run.N));
    TConjuntoDigitos uniaoAbertas = 0;
    for (int32_t k = 0; k < run.N; ++k)
        if (t.Valor[run.Celulas[k]] == 0) uniaoAbertas |= entradas[k];
    for (const TConjuntoDigitos c : Combinacoes(run.N, run.Corrida.Soma)) {
        if ((c & run.Colocados) != run.Colocados) continue;
        bool serve;
        if (ACandidato.Posicoes) {
            serve = EmparelhaTodas(celulas, 0, c);
        } else {
            const auto resto = static_cast<TConjuntoDigitos>(c & ~run.Colocados);
            serve = (resto & ~uniaoAbertas) == 0;
            for (int32_t k = 0; k < run.N && serve; ++k)
                serve = t.Valor[run.Celulas[k]] != 0 || (entradas[k] & resto);
        }
        if (serve) APasso.CombinacoesQueServem.push_back(c);
    }

    if (ACandidato.Posicoes) {
        std::array<int8_t, CMaxComprimento> actual{};
        ListarPreenchimentos(celulas, 0, run.Corrida.Soma, 0, actual, APasso);
        if (APasso.NPreenchimentos > CMaxPreenchimentosListados) APasso.Preenchimentos.clear();
    }

    if (ACandidato.Digito != 0) {
        const int32_t i = run.Celulas[ACandidato.Alvo];
        APasso.Row = t.CelR[i];
        APasso.Col = t.CelC[i];
        APasso.Digito = ACandidato.Digito;
        if (ACandidato.Posicoes) {
            const TConjuntoDigitos d = Bit(ACandidato.Digito);
            bool numaSo = !APasso.CombinacoesQueServem.empty();
            for (const TConjuntoDigitos c : APasso.CombinacoesQueServem)
                numaSo = numaSo && (c & d);
            for (int32_t k = 0; k < run.N && numaSo; ++k)
                numaSo = k == ACandidato.Alvo || t.Valor[run.Celulas[k]] != 0 || !(entradas[k] & d);
            APasso.DigitoNumaSoCasa = numaSo;
        }
        return;
    }
    for (int32_t k = 0; k < run.N; ++k) {
        if (!ACandidato.Retirados[k]) continue;
        const int32_t i = run.Celulas[k];
        APasso.Retiradas.push_back(
            {t.CelR[i], t.CelC[i], AConhecimento.Sabidas[i],
             static_cast<TConjuntoDigitos>(AConhecimento.Sabidas[i] & ~ACandidato.Retirados[k])});
    }
}

// A cell its runs leave one digit: first one whose run alone does, then where both are needed.
bool ProcurarCruzamento(const TConhecimento& AConhecimento, TPassoDeducao& APasso) {
    const TTabuleiroDoPasso& t = AConhecimento.T;
    int32_t melhor = -1, melhorNomeadas = 3;
    for (int32_t i = 0; i < t.NCel(); ++i) {
        if (t.Valor[i] != 0 || !UmSoDigito(AConhecimento.Cruzadas[i])) continue;
        int32_t nomeadas = 2;
        for (const int32_t q : t.RunsDaCelula[i])
            if (q >= 0 && UmSoDigito(t.Runs[q].Admite)) nomeadas = 1;
        if (nomeadas < melhorNomeadas) {
            melhor = i;
            melhorNomeadas = nomeadas;
        }
    }
    if (melhor < 0) return false;
    const std::array<int32_t, 2>& runs = t.RunsDaCelula[melhor];
    // The run that leaves fewer digits first: the other only has to rule out the rest.
    std::array<int32_t, 2> ordem = runs;
    if (ordem[0] < 0 || (ordem[1] >= 0 &&
                         ContarBits(t.Runs[ordem[1]].Admite) < ContarBits(t.Runs[ordem[0]].Admite)))
        std::swap(ordem[0], ordem[1]);
    APasso.Raciocinio = TRaciocinio::Cruzamento;
    APasso.Row = t.CelR[melhor];
    APasso.Col = t.CelC[melhor];
    APasso.Digito = MenorDigito(AConhecimento.Cruzadas[melhor]);
    APasso.Corridas.push_back(Descrever(t.Runs[ordem[0]]));
    if (melhorNomeadas == 2) APasso.Corridas.push_back(Descrever(t.Runs[ordem[1]]));
    return true;
}

bool ProcurarNotas(const TConhecimento& AConhecimento, TPassoDeducao& APasso) {
    const TTabuleiroDoPasso& t = AConhecimento.T;
    for (int32_t i = 0; i < t.NCel(); ++i) {
        if (t.Valor[i] != 0 || !UmSoDigito(AConhecimento.Sabidas[i])) continue;
        APasso.Raciocinio = TRaciocinio::Notas;
        APasso.Row = t.CelR[i];
        APasso.Col = t.CelC[i];
        APasso.Digito = MenorDigito(AConhecimento.Sabidas[i]);
        APasso.Hipoteses.push_back({t.CelR[i], t.CelC[i], AConhecimento.Sabidas[i], -1});
        return true;
    }
    return false;
}

} // namespace

TPassoDeducao ProximoPasso(const TSomadoBoard& ABoard, std::span<const uint16_t> ANotas) {
    TPassoDeducao passo;
    const TTabuleiroDoPasso t = LerTabuleiro(ABoard);
    if (t.NCel() == 0) {
        passo.SemPasso = TSemPasso::SemCasas;
        return passo;
    }
    passo.SemPasso = TSemPasso::Contradicao;
    for (const TRunDoPasso& run : t.Runs)
        if (run.Repetido) return passo;
    TConhecimento conhecimento{t, ConjuntosDasCorridas(t), {}};
    for (int32_t i = 0; i < t.NCel(); ++i)
        if (conhecimento.Cruzadas[i] == 0) return passo;

    const bool posicoes = !NivelSoCombinacoes(ABoard.Difficulty());
    std::vector<TConjuntoDigitos> provaveis = conhecimento.Cruzadas;
    if (!PropagarTudo(t, posicoes, provaveis)) return passo;
    if (std::find(t.Valor.begin(), t.Valor.end(), 0) == t.Valor.end()) {
        passo.SemPasso = TSemPasso::Resolvido;
        return passo;
    }

    // A mark the player removed counts as known only where the level's reasoning rules it out
    // too, so that a wrong mark never becomes a premise.
    const bool comNotas = ANotas.size() == t.Indice.size();
    conhecimento.Sabidas = conhecimento.Cruzadas;
    for (int32_t i = 0; i < t.NCel() && comNotas; ++i) {
        const auto notas = static_cast<TConjuntoDigitos>(ANotas[t.CelR[i] * t.Lado + t.CelC[i]] &
                                                         CDominioCompleto);
        if (t.Valor[i] == 0 && notas != 0)
            conhecimento.Sabidas[i] =
                static_cast<TConjuntoDigitos>(conhecimento.Cruzadas[i] & (notas | provaveis[i]));
    }

    passo.SemPasso = TSemPasso::Bloqueado;
    if (ProcurarCruzamento(conhecimento, passo) || ProcurarNotas(conhecimento, passo)) return passo;
    for (const bool regraPosicoes : {false, true}) {
        if (regraPosicoes && !posicoes) break;
        if (const TCandidato c = ProcurarFixa(conhecimento, regraPosicoes); c.Existe) {
            DescreverPassoDeRegra(conhecimento, c, passo);
            return passo;
        }
    }
    for (const bool regraPosicoes : {false, true}) {
        if (regraPosicoes && !posicoes) break;
        if (const TCandidato c = ProcurarRetirada(conhecimento, regraPosicoes); c.Existe) {
            DescreverPassoDeRegra(conhecimento, c, passo);
            return passo;
        }
    }
    return passo;
}

std::vector<TConjuntoDigitos> CandidatosPelasCorridas(const TSomadoBoard& ABoard) {
    const TTabuleiroDoPasso t = LerTabuleiro(ABoard);
    const std::vector<TConjuntoDigitos> conjuntos = ConjuntosDasCorridas(t);
    std::vector<TConjuntoDigitos> porCasa(t.Indice.size(), 0);
    for (int32_t i = 0; i < t.NCel(); ++i)
        if (t.Valor[i] == 0) porCasa[t.CelR[i] * t.Lado + t.CelC[i]] = conjuntos[i];
    return porCasa;
}
