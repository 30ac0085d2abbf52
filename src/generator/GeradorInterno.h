// The generator's steps and working types. Only the generator's own files, its tests and the
// benchmarks that time single steps include this (through the somado_generator_interno
// target); the rest of the program sees UnitSomadoGenerator.h. Each section declares what one
// source file defines, in the order the generation uses them.
#pragma once

#ifndef SOMADO_GERADOR_INTERNO
#error "GeradorInterno.h belongs to the generator: include generator/UnitSomadoGenerator.h"
#endif

#include "generator/Aleatorio.h"
#include "generator/UnitSomadoGenerator.h"
#include "model/UnitSomado.h"

#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <utility>
#include <vector>

// What one generation keeps while it works (Geracao.cpp); the steps take it by reference.
struct TContextoGeracao;
// The evaluation of one construction step's proposals (Propagador.cpp).
class TPropagador;

// ---- Digit sets ---------------------------------------------------------------------------
// The filling's used digits and the deduction's candidate sets are TConjuntoDigitos words.

inline constexpr TConjuntoDigitos CDominioCompleto = 0x03FE;

constexpr TConjuntoDigitos Bit(int32_t d) {
    return static_cast<TConjuntoDigitos>(1u << d);
}

// A table rather than std::popcount: without a popcnt instruction in the x86-64 baseline the
// compilers turn it into a library call or a long bit-twiddling sequence, and these counts
// sit in the innermost loops.
inline constexpr auto CBitsDoConjunto = [] {
    std::array<uint8_t, 1024> bits{};
    for (int m = 1; m < 1024; ++m)
        bits[m] = static_cast<uint8_t>(bits[m >> 1] + (m & 1));
    return bits;
}();

inline int32_t ContarBits(TConjuntoDigitos AConjunto) {
    return CBitsDoConjunto[AConjunto & 1023];
}

inline bool UmSoDigito(TConjuntoDigitos AConjunto) {
    return AConjunto != 0 && (AConjunto & (AConjunto - 1)) == 0;
}

// The smallest digit of a non-empty set (a single instruction, bsf or tzcnt).
inline int32_t MenorDigito(uint32_t AConjunto) {
    return std::countr_zero(AConjunto);
}

// ---- Stopwatch ----------------------------------------------------------------------------

// A monotonic stopwatch in milliseconds, started when made.
class TCronometro {
public:
    TCronometro() : FInicio(std::chrono::steady_clock::now()) {}
    int64_t DecorridoMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - FInicio)
            .count();
    }
    // The budget is spent when it is positive and the whole milliseconds passed exceed it.
    bool Esgotado(int64_t ALimiteMs) const { return ALimiteMs > 0 && DecorridoMs() > ALimiteMs; }

private:
    std::chrono::steady_clock::time_point FInicio;
};

// ---- Runs.cpp: run extraction ---------------------------------------------------------------

// true = blocked (black or clue), false = white. Only the first N rows and columns of a
// board of side N are used.
using TGrelhaBooleana = std::array<std::array<bool, CLadoMaximo>, CLadoMaximo>;

TGrelhaBooleana GrelhaBloqueada();
// The board's current layout as a pattern.
TGrelhaBooleana GrelhaDoTabuleiro(const TSomadoBoard& ABoard);

inline constexpr int32_t CComprimentoMaximoRun = 9;

// Visits the cells of a run in order along it, as AVisita(row, column).
template <typename TVisita> void ParaCadaCelulaDoRun(const TSomadoGroup& ARun, TVisita&& AVisita) {
    const int32_t dr = ARun.IsHorizontal ? 0 : 1, dc = ARun.IsHorizontal ? 1 : 0;
    for (int32_t i = 0; i < ARun.Length; ++i)
        AVisita(ARun.StartRow + i * dr, ARun.StartCol + i * dc);
}

bool ExtrairGrupos(const TGrelhaBooleana& g, int32_t N, TSomadoGroupArray& AAcross,
                   TSomadoGroupArray& ADown);
// Writes the layout of g into the board; false (board untouched) when g breaks the run rules.
bool AplicarGrelha(TSomadoBoard& ABoard, const TGrelhaBooleana& g);
int32_t MaiorRegiaoBranca(const TGrelhaBooleana& g, int32_t N);
bool BrancasLigadas(const TGrelhaBooleana& g, int32_t N);

// ---- Layout.cpp: grid layout -------------------------------------------------------------

inline constexpr int32_t AComprimentoMin = 2;
inline constexpr int32_t AComprimentoMax = 9;
inline constexpr double CDensidadePretas = 0.45;
inline constexpr int32_t CSorteiosComprimento = 1;
inline constexpr int32_t CMaxTentativasGrelha = 1000;
inline constexpr int32_t CMaxFalhasSeguidas = 30;
inline constexpr double CProbabilidadeBarraTocante = 0.9;
inline constexpr double CFracaoMinimaAlvo = 0.95;
inline constexpr double CProbabilidadeHorizontal = 0.5;

struct TCandidatoBarra {
    int32_t LinhaFixa = 0;
    int32_t Inicio = 0;
    int32_t ComprimentoMax = 0;
    friend bool operator==(const TCandidatoBarra&, const TCandidatoBarra&) = default;
};

struct TBarraEscolhida {
    int32_t LinhaFixa = 0;
    int32_t Inicio = 0;
    int32_t Comprimento = 0;
    friend bool operator==(const TBarraEscolhida&, const TBarraEscolhida&) = default;
};

// White cells the first pass aims at, and the fewest it accepts.
int32_t AlvoBrancas(int32_t N);
int32_t MinimoBrancas(int32_t N);

std::vector<TCandidatoBarra> ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N,
                                                   bool AHorizontal, int32_t AMin, int32_t AMax);
// The same into ACandidatos, whose storage is reused.
void ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t AMin,
                           int32_t AMax, std::vector<TCandidatoBarra>& ACandidatos);
bool BarraTocaBranca(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t ALinha,
                     int32_t AInicio, int32_t AComprimento);
bool ColocarBarra(TGrelhaBooleana& g, int32_t N, int32_t ALinha, int32_t AColuna, bool AHorizontal,
                  int32_t AComprimento);
void RetirarBarra(TGrelhaBooleana& g, bool AHorizontal, const TBarraEscolhida& ABarra);
TBarraEscolhida EspelharBarra(int32_t N, const TBarraEscolhida& ABarra);
bool BarraAutoEspelhada(int32_t N, const TBarraEscolhida& ABarra);

// The steps that draw take the stream to draw from; by default the process-wide one, which
// only the interface thread may use.
bool GerarGrelhaPorBarras(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                          TAleatorio& AAleatorio = AleatorioDoProcesso());
void AdensarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                   TAleatorio& AAleatorio = AleatorioDoProcesso());
bool GerarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                 TAleatorio& AAleatorio = AleatorioDoProcesso());

// ---- Repair.cpp: loose-cell repair --------------------------------------------------------

inline constexpr int32_t CMaxPassosSoltas = 200;

struct TPosicaoGrelha {
    int32_t R = 0;
    int32_t C = 0;
    friend bool operator==(const TPosicaoGrelha&, const TPosicaoGrelha&) = default;
};

void MarcarCelulasEmGrupos(const TSomadoBoard& ABoard, TGrelhaBooleana& AEmHorizontal,
                           TGrelhaBooleana& AEmVertical);
// Lists the loose cells of every run holding two or more of them; returns the number of
// such runs.
int32_t ListarCelulasSoltas(const TSomadoBoard& ABoard, std::vector<TPosicaoGrelha>& ALista,
                            TGrelhaBooleana& AEmHorizontal, TGrelhaBooleana& AEmVertical);
int32_t ContarGruposComSoltas(const TSomadoBoard& ABoard);
void CopiarGrelha(const TGrelhaBooleana& AOrigem, TGrelhaBooleana& ADestino);
bool RepararCelulasSoltas(TSomadoBoard& ABoard, TAleatorio& AAleatorio = AleatorioDoProcesso());

// ---- Filling.cpp: solution filling and run sums --------------------------------------------

inline constexpr int64_t CMaxColocacoes = 50000;

struct TCelulaVazia {
    int32_t Row = 0;
    int32_t Col = 0;
};

// The order in which a cell tries its digits, given the length of its shorter run:
// extreme digits first for short runs, where they narrow the sums the most.
std::array<int32_t, 9> OrdemDigitos(int32_t AMaisCurto,
                                    TAleatorio& AAleatorio = AleatorioDoProcesso());

bool PreencherSolucao(TSomadoBoard& ABoard, TAleatorio& AAleatorio = AleatorioDoProcesso());
void CalcularSomas(TSomadoBoard& ABoard);

// ---- Deducao.cpp: the deduction model -----------------------------------------------------
// Candidate digit sets, the two per-run rules, the memory of their results and the
// propagation of the totals.

inline constexpr int32_t CIndeterminadasContradicao = 2147483647;

// Runs never outnumber white cells (each has two or more cells, each cell lies in at most
// two runs), so a board of side 25 has at most 625 of either.
inline constexpr int32_t CMaxRunsModelo = CLadoMaximo * CLadoMaximo;

// White cells in row-major order; runs across first (board order), then down. The lists are
// flat, as the propagation reads them in its innermost loops.
struct TModelo {
    int32_t NCel = 0;
    int32_t NRuns = 0;
    std::vector<int32_t> CelR;
    std::vector<int32_t> CelC;
    // The cells of run r, in order along it: RunCel[RunInicio[r] .. RunInicio[r + 1]).
    std::vector<int32_t> RunInicio;
    std::vector<int32_t> RunCel;
    // The runs of each cell in increasing number; -1 where a cell lies in one run only.
    std::vector<std::array<int32_t, 2>> CelRun;

    std::span<const int32_t> CelulasDoRun(int32_t ARun) const {
        return std::span(RunCel).subspan(
            static_cast<size_t>(RunInicio[ARun]),
            static_cast<size_t>(RunInicio[ARun + 1] - RunInicio[ARun]));
    }
    std::span<const int32_t> RunsDaCelula(int32_t ACelula) const {
        return std::span(CelRun[ACelula]).first(CelRun[ACelula][1] < 0 ? 1 : 2);
    }
};

using TDominios = std::vector<TConjuntoDigitos>;

// Results of the rules by their whole input (rule, length, total and the cells' sets).
// During a construction the same runs meet the same sets over and over, since a proposal
// changes the totals of a few runs only; a direct-mapped table answers most applications
// without running the rule. An entry is 32 bytes, aligned, so that a look-up touches one
// cache line: both the key and the answer hold the sets packed 9 bits each (bits 1..9 of
// their words), the first seven in Baixa and the others in the low bits of Alta.
class TMemoriaDeRuns {
public:
    struct TPacote {
        uint64_t Baixa = 0;
        uint64_t Alta = 0;
        bool operator==(const TPacote&) const = default;
    };

    // Above the sets: the length, the rule, the whole total (it may lie outside 0..45) and
    // a used mark.
    static TPacote Chave(bool ASoCombinacoes, std::span<const TConjuntoDigitos> AConjuntos,
                         int32_t ASoma);
    // Above the narrowed sets: the positions that narrowed and whether the run holds at all.
    static TPacote Resposta(std::span<const TConjuntoDigitos> AAntes,
                            std::span<const TConjuntoDigitos> ADepois, bool AValido);
    static bool Valido(const TPacote& AResposta) { return AResposta.Alta >> CBitValido & 1; }
    static uint32_t Mudadas(const TPacote& AResposta) {
        return static_cast<uint32_t>(AResposta.Alta >> CBitMudadas) & 0x1FF;
    }
    static TConjuntoDigitos Conjunto(const TPacote& AResposta, int32_t APosicao) {
        const uint64_t bits = APosicao < 7 ? AResposta.Baixa >> (9 * APosicao)
                                           : AResposta.Alta >> (9 * (APosicao - 7));
        return static_cast<TConjuntoDigitos>((bits & 0x1FF) << 1);
    }

    TMemoriaDeRuns() : FEntradas(size_t{1} << CBitsPosicao) {}

    // The answer stored for the key, or nullptr.
    const TPacote* Procurar(const TPacote& AChave) const;
    const TPacote& Guardar(const TPacote& AChave, const TPacote& AResposta);

private:
    static constexpr int CBitsPosicao = 15;
    static constexpr int CBitMudadas = 18;
    static constexpr int CBitValido = 27;
    struct alignas(32) TEntrada {
        TPacote Chave;
        TPacote Resposta;
    };
    static size_t Posicao(const TPacote& AChave);
    std::vector<TEntrada> FEntradas;
};

TModelo ConstruirModelo(const TSomadoBoard& ABoard);
int32_t SomaDoRun(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun);
std::vector<int32_t> SomasDosRuns(const TModelo& AModelo, std::span<const int32_t> ADigitos);
std::vector<int32_t> SomasDoTabuleiro(const TSomadoBoard& ABoard);

// The two rules on the candidate sets of one run of n cells (n <= 9), in place. AMudadas[i]
// is 1 when cell i's set narrowed. False on a contradiction.
bool FiltrarPorCombinacoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                           std::array<uint8_t, CMaxComprimento>& AMudadas);
bool FiltrarPorPosicoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                        std::array<uint8_t, CMaxComprimento>& AMudadas);

// AMudadas gets bit i set when the set of the run's i-th cell narrowed.
bool FiltrarRun(TContextoGeracao& AContexto, bool ASoCombinacoes, const TModelo& AModelo,
                int32_t ARun, int32_t ASoma, TDominios& ADominios, uint32_t& AMudadas);
bool Propagar(TContextoGeracao& AContexto, const TModelo& AModelo, std::span<const int32_t> ASomas,
              bool ASoCombinacoes, TDominios& ADominios);
// Cells left with more than one candidate after propagating the totals of ADigitos, or
// CIndeterminadasContradicao. The plain propagation from all-open sets: what the quicker
// ways below and TPropagador are read and tested against.
int32_t ContarIndeterminadas(TContextoGeracao& AContexto, const TModelo& AModelo,
                             std::span<const int32_t> ADigitos, bool ASoCombinacoes,
                             TDominios& ADominios);

// Both rules only ever narrow, and narrow less from larger sets, so a propagation ends in the
// same sets whatever the order of its queue and wherever it starts, as long as it starts
// from sets that hold all it will keep. That lets totals which differ from known ones in a
// few runs only (a proposal's run and the runs crossing it) start from the propagation of
// all other runs: PropagarSemRuns makes that base, leaving out the runs marked in AFora;
// ContarIndeterminadasDesde continues from it with the totals ASomas, queueing only the
// runs ARunsMudados (exactly the ones left out), and ends where ContarIndeterminadas would.
bool PropagarSemRuns(TContextoGeracao& AContexto, const TModelo& AModelo,
                     std::span<const int32_t> ASomas, bool ASoCombinacoes,
                     std::span<const uint8_t> AFora, TDominios& ADominios);
// The base for leaving out some runs, made from the base for leaving out more of them
// (ABase, made with their union): filters the runs AAFiltrar that are not marked in AFora.
// The base of fewer runs holds all the base of more runs keeps, so this ends where
// PropagarSemRuns with AFora would; one step's proposals share the larger base.
bool PropagarSemRunsDesde(TContextoGeracao& AContexto, const TModelo& AModelo,
                          std::span<const int32_t> ASomas, bool ASoCombinacoes,
                          const TDominios& ABase, std::span<const int32_t> AAFiltrar,
                          std::span<const uint8_t> AFora, TDominios& ADominios);
int32_t ContarIndeterminadasDesde(TContextoGeracao& AContexto, const TModelo& AModelo,
                                  std::span<const int32_t> ASomas, bool ASoCombinacoes,
                                  const TDominios& ABase, std::span<const int32_t> ARunsMudados,
                                  TDominios& ADominios);

// ---- Construcao.cpp: construction search ---------------------------------------------------

inline constexpr int32_t CMaxPassosUnicidade = 100;
inline constexpr int32_t CRunsPorPasso = 8;
inline constexpr int32_t CMaxPropostasPorRun = 4;
inline constexpr int32_t CMaxCombinacoesProposta = 2;

using TArr9I = std::array<int32_t, 9>;

struct TProposta {
    int32_t Run = 0;
    TArr9I Digitos{};
};

bool SortearAtribuicao(std::span<const TConjuntoDigitos> APermitidos, std::span<int32_t> ADigitos,
                       TAleatorio& AAleatorio = AleatorioDoProcesso());
void GerarPropostas(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                    int32_t AMaximo, std::vector<TProposta>& APropostas,
                    TAleatorio& AAleatorio = AleatorioDoProcesso());

// Runs touching many undetermined cells score high: one point per undetermined cell.
void PontuarRuns(const TModelo& AModelo, const TDominios& AAtuais, std::vector<int32_t>& APontos);
struct TRunCandidato {
    int32_t Chave;
    int32_t Run;
};

// The runs that receive proposals in one step: CRunsPorPasso drawn from the 3 × CRunsPorPasso
// best scored, ties broken at random. ACandidatos is working space.
void EscolherRuns(const std::vector<int32_t>& APontos, std::vector<TRunCandidato>& ACandidatos,
                  std::vector<int32_t>& AEscolhidos,
                  TAleatorio& AAleatorio = AleatorioDoProcesso());

// The outcome of evaluating one step's proposals: the first one that leaves the fewest
// undetermined cells, that count, and the candidate sets it leaves.
struct TMelhorProposta {
    size_t Indice = 0;
    int32_t Indeterminadas = 0;
    TDominios Dominios;
};

void AvaliarPropostas(TPropagador& APropagador, std::span<const int32_t> ADigitos,
                      std::span<const TProposta> APropostas, TMelhorProposta& AMelhor);
bool ProcurarSolucaoUnica(TContextoGeracao& AContexto, const TModelo& AModelo,
                          std::vector<int32_t>& ADigitos, bool ASoCombinacoes,
                          const TCronometro& ACronometro, int64_t ALimiteMs);

// ---- Propagador.cpp: evaluation of one step's proposals -----------------------------------

// Answers, for the proposals of one construction step, how many cells each would leave
// undetermined: what ContarIndeterminadas answers for the digits with the proposal written
// in, with the same sets, but without propagating every run again. A proposal changes the
// totals of its run and of the runs crossing it only (the run's group), so its count
// continues from the propagation of all other runs (the run's base, shared by the run's
// proposals). The bases start from the propagation that leaves out every group of the step
// (the step's base) and are made by halving: the base of half the groups adds back the runs
// of the other half, and so on down to one group. On a small board the groups of a step
// cover most runs, and adding each run's base back from the step's base would propagate
// nearly the whole board once per run; halving adds each run back about log2(groups) times.
// The propagator owns the bases and its working sets, kept from step to step: after the
// first step it allocates nothing.
class TPropagador {
public:
    TPropagador(TContextoGeracao& AContexto, const TModelo& AModelo, bool ASoCombinacoes);

    // A new step: the digits in place (read until the step ends, left unchanged) and the
    // step's proposals, whose runs make the groups.
    void ComecarPasso(std::span<const int32_t> ADigitos, std::span<const TProposta> APropostas);
    // Cells left undetermined by the step's digits with AProposta's digits written over its
    // run, or CIndeterminadasContradicao. AProposta is one of the step's.
    int32_t ContarComProposta(const TProposta& AProposta);
    // Swaps the sets the last count left (unless it was a contradiction) with AOutros: the
    // caller takes them without a copy, and the propagator works on in AOutros' storage.
    void TrocarDominios(TDominios& AOutros) { std::swap(FDominios, AOutros); }

private:
    // A run of the step's proposals and the runs crossing it.
    struct TGrupo {
        int32_t Run = 0;
        std::array<int32_t, 1 + CMaxComprimento> Mudados{};
        int32_t NMudados = 0;
        TDominios Base;
        bool BaseValida = false;
    };
    // The working space of one depth of the halving.
    struct TMetade {
        std::vector<uint8_t> Fora;
        std::vector<int32_t> AFiltrar;
        TDominios Base;
    };
    // The bases of groups [ADe, AAte) from ABase, the propagation without all their runs.
    void FazerBases(int32_t ADe, int32_t AAte, const TDominios& ABase, bool AValida,
                    size_t AProfundidade);
    void FazerMetade(int32_t ADe, int32_t AAte, int32_t AOutrasDe, int32_t AOutrasAte,
                     const TDominios& ABase, bool AValida, size_t AProfundidade);

    TContextoGeracao& FContexto;
    const TModelo& FModelo;
    bool FSoCombinacoes;

    // The step: its digits and their totals, the runs its proposals change (marked and
    // listed) and the propagation of all other runs.
    std::span<const int32_t> FDigitos;
    std::vector<int32_t> FSomas;
    std::vector<uint8_t> FForaDoPasso;
    std::vector<int32_t> FRunsDoPasso;
    TDominios FBaseDoPasso;

    std::vector<TGrupo> FGrupos;
    int32_t FNGrupos = 0;
    std::vector<TMetade> FMetades;
    // The group whose proposals are being counted.
    int32_t FGrupo = -1;

    TDominios FDominios;
};

// ---- Avaliacao.cpp: grading ---------------------------------------------------------------

inline constexpr double CLimiarFacil = 0.45;
inline constexpr double CLimiarDificil = 0.25;

struct TAvaliacao {
    double FracResolvidasCombinacoes = 0;
    bool ResolvidoCombinacoes = false;
    double FracRunsCombinacaoUnica = 0;
};

TAvaliacao AvaliarDificuldade(TContextoGeracao& AContexto, const TSomadoBoard& ABoard);
TAvaliacao AvaliarDificuldade(const TSomadoBoard& ABoard);
TNivelDificuldade NivelDaAvaliacao(const TAvaliacao& AAvaliacao);
int32_t PontuacaoDaAvaliacao(const TAvaliacao& AAvaliacao);

// ---- Geracao.cpp: attempts and the generation entry -----------------------------------------

// What one generation call keeps while it works: the stream it draws from, the request to
// stop it, the memory of rule results and the count of propagations the benchmarks report.
// Each thread of a generation makes its own, so that threads share nothing but the read-only
// table of combinations.
struct TContextoGeracao {
    // A stream seeded from the process-wide one: for the interface thread and for tests.
    TContextoGeracao() : Aleatorio(AleatorioDoProcesso().Proximo()) {}
    explicit TContextoGeracao(const TAleatorio& AAleatorio,
                              const std::atomic<bool>* AParar = nullptr)
        : Aleatorio(AAleatorio), Parar(AParar) {}

    TAleatorio Aleatorio;
    // Set by another thread to stop the generation; it is read where the budget is, so that
    // a construction step that started runs to its end.
    const std::atomic<bool>* Parar = nullptr;
    // Where attempts run side by side: this attempt's number, and the number of the lowest
    // attempt known to end the generation. An attempt above it has nothing left to decide.
    int32_t Tentativa = 0;
    const std::atomic<int32_t>* Corte = nullptr;
    TMemoriaDeRuns Memoria;
    int64_t ChamadasContarIndeterminadas = 0;

    // True when the budget is spent, a stop was asked for or a lower attempt ended the
    // generation.
    bool Interromper(const TCronometro& ACronometro, int64_t ALimiteMs) const;
};

inline constexpr int32_t CMaxCandidatos = 30;
inline constexpr int32_t CMaxTabuleiros = 50;
// Every board a generation may lay out: 30 candidates of at most 50 boards each.
inline constexpr int32_t CMaxTentativas = CMaxCandidatos * CMaxTabuleiros;

bool NivelSoCombinacoes(TNivelDificuldade ANivel);
// One board laid out, filled and searched until its totals settle every cell; none when a
// step fails or the generation was interrupted meanwhile.
std::unique_ptr<TSomadoBoard> ConstruirTabuleiro(TContextoGeracao& AContexto,
                                                 TTamanhoTabuleiro ATamanho, bool ASoCombinacoes,
                                                 const TCronometro& ACronometro, int64_t ALimiteMs);

// An attempt is one board: laid out, filled, searched and graded, drawing from its own stream.
enum class TDesfecho : uint8_t {
    dfSucesso,         // a board of the level asked for
    dfFalhaConstrucao, // layout, filling or construction search failed
    dfFalhaNivel,      // built, but graded at another level
    dfInterrompida,    // the budget ran out or a stop came first
};

struct TResultadoTentativa {
    TDesfecho Desfecho = TDesfecho::dfInterrompida;
    std::unique_ptr<TSomadoBoard> Board;
};

TResultadoTentativa FazerTentativa(TContextoGeracao& AContexto, TTamanhoTabuleiro ATamanho,
                                   TNivelDificuldade ANivel, const TCronometro& ACronometro,
                                   int64_t ALimiteMs);

// The attempts' outcomes taken in order, as one thread making them one after another would
// count them: up to 30 candidates, each ending with a graded board or after 50 boards that
// could not be built. True when the outcome just counted ends the generation.
class TContagemDeTentativas {
public:
    bool Contar(TDesfecho ADesfecho);

private:
    int32_t FCandidatos = 0;
    int32_t FTabuleiros = 0;
};

// ---- GeracaoParalela.cpp: attempts on every core --------------------------------------------

// Attempt AIndice of a generation, drawing from AContexto (its stream and its number already
// set). It may run on any thread of the generation, several at once.
using TFazerTentativa =
    std::function<TResultadoTentativa(int32_t AIndice, TContextoGeracao& AContexto)>;

struct TEstatisticasGeracao {
    int64_t ChamadasContarIndeterminadas = 0;
    // Attempts that started working, on all threads.
    int32_t TentativasComecadas = 0;
    // The wall time of each attempt that ran, by its number: with one thread, what the
    // benchmarks schedule on more cores to tell what those would take.
    std::vector<double> SegundosPorTentativa;
};

// Attempts 0, 1, 2, ... on AThreads threads (the caller's among them; 0: as many as the
// machine has cores the other generations of the process leave idle, taken as they become
// idle). Attempt k draws from TAleatorio::DaTentativa(ASemente, k); the result is that of the
// lowest attempt that ends the generation in TContagemDeTentativas' order, so it is the same
// whatever the number of threads. Attempts above it are stopped as soon as it is known;
// attempts below it are waited for. After AParar is set no attempt starts, and the running
// ones give up where they look at the budget. An exception an attempt raised is raised here
// when the attempts below it did not end the generation first.
std::unique_ptr<TSomadoBoard> CorrerTentativas(const TFazerTentativa& AFazer, uint64_t ASemente,
                                               int32_t AThreads, const std::atomic<bool>& AParar,
                                               TEstatisticasGeracao* AEstatisticas = nullptr);

// A generation from a seed, on AThreads threads as CorrerTentativas takes them.
std::unique_ptr<TSomadoBoard>
GerarPuzzleEmParalelo(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ATempoLimiteMs,
                      uint64_t ASemente, int32_t AThreads, const std::atomic<bool>& AParar,
                      TEstatisticasGeracao* AEstatisticas = nullptr);
