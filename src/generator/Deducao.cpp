// The deduction model: what the run totals alone tell about the digits of the white cells.
#include "generator/GeradorInterno.h"

#include <algorithm>
#include <bit>

namespace {

// The sets of a run, 9 bits each, the first seven in Baixa and the others in Alta.
TMemoriaDeRuns::TPacote EmpacotarConjuntos(std::span<const TConjuntoDigitos> AConjuntos) {
    TMemoriaDeRuns::TPacote pacote;
    for (size_t i = 0; i < AConjuntos.size(); ++i) {
        if (i < 7)
            pacote.Baixa |= uint64_t{AConjuntos[i]} >> 1 << (9 * i);
        else
            pacote.Alta |= uint64_t{AConjuntos[i]} >> 1 << (9 * (i - 7));
    }
    return pacote;
}

} // namespace

TMemoriaDeRuns::TPacote TMemoriaDeRuns::Chave(bool ASoCombinacoes,
                                              std::span<const TConjuntoDigitos> AConjuntos,
                                              int32_t ASoma) {
    TPacote chave = EmpacotarConjuntos(AConjuntos);
    chave.Alta |= uint64_t{AConjuntos.size()} << 18 | uint64_t{ASoCombinacoes} << 22 |
                  uint64_t{static_cast<uint32_t>(ASoma)} << 23 | uint64_t{1} << 63;
    return chave;
}

TMemoriaDeRuns::TPacote TMemoriaDeRuns::Resposta(std::span<const TConjuntoDigitos> AAntes,
                                                 std::span<const TConjuntoDigitos> ADepois,
                                                 bool AValido) {
    TPacote resposta = EmpacotarConjuntos(ADepois);
    uint64_t mudadas = 0;
    for (size_t i = 0; i < AAntes.size(); ++i)
        if (AAntes[i] != ADepois[i]) mudadas |= uint64_t{1} << i;
    resposta.Alta |= mudadas << CBitMudadas | uint64_t{AValido} << CBitValido;
    return resposta;
}

const TMemoriaDeRuns::TPacote* TMemoriaDeRuns::Procurar(const TPacote& AChave) const {
    const TEntrada& entrada = FEntradas[Posicao(AChave)];
    return entrada.Chave == AChave ? &entrada.Resposta : nullptr;
}

const TMemoriaDeRuns::TPacote& TMemoriaDeRuns::Guardar(const TPacote& AChave,
                                                       const TPacote& AResposta) {
    TEntrada& entrada = FEntradas[Posicao(AChave)];
    entrada.Chave = AChave;
    entrada.Resposta = AResposta;
    return entrada.Resposta;
}

size_t TMemoriaDeRuns::Posicao(const TPacote& AChave) {
    const uint64_t h = AChave.Baixa * 0x9E3779B97F4A7C15ull ^ AChave.Alta * 0xC2B2AE3D27D4EB4Full;
    return static_cast<size_t>(h >> (64 - CBitsPosicao));
}

namespace {

// The digits of all combinations of (L, S): what either rule leaves in cells that could
// still hold any digit, as every run's cells can at the start of a propagation.
constexpr auto CUniaoCombinacoes = [] {
    std::array<std::array<TConjuntoDigitos, CMaxSoma + 1>, CMaxComprimento + 1> uniao{};
    for (int L = 1; L <= CMaxComprimento; ++L)
        for (int S = 0; S <= CMaxSoma; ++S)
            for (int i = 0; i < TabelaCombinacoes.Quantidade[L][S]; ++i)
                uniao[L][S] |= TabelaCombinacoes.Conjuntos[TabelaCombinacoes.Inicio[L][S] + i];
    return uniao;
}();

// The total of the digits of each set.
constexpr auto CSomaDosDigitos = [] {
    std::array<int8_t, 1024> somas{};
    for (int m = 2; m < 1024; ++m)
        for (int d = 1; d <= 9; ++d)
            if (m >> d & 1) somas[m] = static_cast<int8_t>(somas[m] + d);
    return somas;
}();

// The position rule for a run of two cells: a digit stays when the other cell can take the
// rest of the total, which must be a different digit.
bool FiltrarParPorPosicoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma) {
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    TConjuntoDigitos primeira = 0, segunda = 0;
    for (uint32_t livres = AConjuntos[0]; livres; livres &= livres - 1) {
        const int32_t a = MenorDigito(livres), b = ASoma - a;
        if (b >= 1 && b <= 9 && b != a && (AConjuntos[1] & Bit(b))) {
            primeira |= Bit(a);
            segunda |= Bit(b);
        }
    }
    if (primeira == 0) return false;
    AConjuntos[0] = primeira;
    AConjuntos[1] = segunda;
    return true;
}

// The combination rule for a run of two cells, not both settled. With one digit settled the
// other cell must hold the rest of the total; otherwise a combination {a, b} of the total
// stays when both digits are among the cells' and each cell can take one of them.
bool FiltrarParPorCombinacoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma) {
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    for (int32_t i = 0; i < 2; ++i)
        if (UmSoDigito(AConjuntos[i])) {
            const int32_t a = MenorDigito(AConjuntos[i]), b = ASoma - a;
            TConjuntoDigitos& outra = AConjuntos[1 - i];
            if (b < 1 || b > 9 || b == a || !(outra & Bit(b))) return false;
            outra = Bit(b);
            return true;
        }
    const TConjuntoDigitos primeira = AConjuntos[0], segunda = AConjuntos[1];
    const auto uniao = static_cast<TConjuntoDigitos>(primeira | segunda);
    TConjuntoDigitos permitidos = 0;
    for (uint32_t livres = uniao; livres; livres &= livres - 1) {
        const int32_t a = MenorDigito(livres), b = ASoma - a;
        if (b <= a || b > 9) continue;
        const auto c = static_cast<TConjuntoDigitos>(Bit(a) | Bit(b));
        if ((c & ~uniao) == 0 && (primeira & c) && (segunda & c)) permitidos |= c;
    }
    AConjuntos[0] = static_cast<TConjuntoDigitos>(primeira & permitidos);
    AConjuntos[1] = static_cast<TConjuntoDigitos>(segunda & permitidos);
    return AConjuntos[0] != 0 && AConjuntos[1] != 0;
}

} // namespace

TModelo ConstruirModelo(const TSomadoBoard& ABoard) {
    TModelo modelo;
    const int32_t N = ABoard.Size();
    std::vector<int32_t> indice(static_cast<size_t>(N) * N, -1);
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            if (ABoard.GetCell(r, c).CellType != TCellType::ctEmpty) continue;
            indice[r * N + c] = modelo.NCel++;
            modelo.CelR.push_back(r);
            modelo.CelC.push_back(c);
        }
    const TSomadoGroupArray& across = ABoard.HorizontalGroups();
    const TSomadoGroupArray& down = ABoard.VerticalGroups();
    modelo.NRuns = static_cast<int32_t>(across.size() + down.size());
    modelo.CelRun.assign(static_cast<size_t>(modelo.NCel), {-1, -1});
    modelo.RunInicio.push_back(0);
    int32_t numero = 0;
    for (const TSomadoGroupArray* runs : {&across, &down})
        for (const TSomadoGroup& run : *runs) {
            ParaCadaCelulaDoRun(run, [&](int32_t r, int32_t c) {
                const int32_t celula = indice[r * N + c];
                modelo.RunCel.push_back(celula);
                // Runs are numbered in increasing order, so the first free place keeps the
                // cell's runs sorted.
                std::array<int32_t, 2>& runsDaCelula = modelo.CelRun[celula];
                runsDaCelula[runsDaCelula[0] < 0 ? 0 : 1] = numero;
            });
            modelo.RunInicio.push_back(static_cast<int32_t>(modelo.RunCel.size()));
            ++numero;
        }
    return modelo;
}

int32_t SomaDoRun(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun) {
    int32_t soma = 0;
    for (const int32_t celula : AModelo.CelulasDoRun(ARun))
        soma += ADigitos[celula];
    return soma;
}

std::vector<int32_t> SomasDosRuns(const TModelo& AModelo, std::span<const int32_t> ADigitos) {
    std::vector<int32_t> somas(static_cast<size_t>(AModelo.NRuns), 0);
    for (int32_t r = 0; r < AModelo.NRuns; ++r)
        somas[r] = SomaDoRun(AModelo, ADigitos, r);
    return somas;
}

std::vector<int32_t> SomasDoTabuleiro(const TSomadoBoard& ABoard) {
    std::vector<int32_t> somas;
    for (const TSomadoGroup& run : ABoard.HorizontalGroups())
        somas.push_back(run.Sum);
    for (const TSomadoGroup& run : ABoard.VerticalGroups())
        somas.push_back(run.Sum);
    return somas;
}

bool FiltrarPorCombinacoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                           std::array<uint8_t, CMaxComprimento>& AMudadas) {
    AMudadas.fill(0);
    const auto n = static_cast<int32_t>(AConjuntos.size());
    TConjuntoDigitos fixos = 0, uniaoAbertas = 0;
    // The open cells' sets, apart: every combination is checked against each of them.
    std::array<TConjuntoDigitos, CMaxComprimento> abertas;
    int32_t nAbertas = 0;
    for (const TConjuntoDigitos conjunto : AConjuntos) {
        if (UmSoDigito(conjunto)) {
            if (fixos & conjunto) return false;
            fixos |= conjunto;
        } else {
            uniaoAbertas |= conjunto;
            abertas[nAbertas++] = conjunto;
        }
    }
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    const std::span<const TConjuntoDigitos> combinacoes = Combinacoes(n, ASoma);
    if (nAbertas == 0) {
        for (const TConjuntoDigitos c : combinacoes)
            if (c == fixos) return true;
        return false;
    }

    // The digits no combination can go beyond: once all of them are allowed, the remaining
    // combinations have nothing to add.
    const auto alcancaveis = static_cast<TConjuntoDigitos>(uniaoAbertas & ~fixos);
    TConjuntoDigitos permitidos = 0;
    for (const TConjuntoDigitos c : combinacoes) {
        if (permitidos == alcancaveis) break;
        if ((c & fixos) != fixos) continue;
        const auto resto = static_cast<TConjuntoDigitos>(c & ~fixos);
        if (resto & ~uniaoAbertas) continue;
        int32_t a = 0;
        while (a < nAbertas && (abertas[a] & resto))
            ++a;
        if (a == nAbertas) permitidos |= resto;
    }
    for (int32_t i = 0; i < n; ++i) {
        const TConjuntoDigitos conjunto = AConjuntos[i];
        if (UmSoDigito(conjunto)) continue;
        const auto novo = static_cast<TConjuntoDigitos>(conjunto & permitidos & ~fixos);
        if (novo == 0) return false;
        if (novo != conjunto) {
            AConjuntos[i] = novo;
            AMudadas[i] = 1;
        }
    }
    return true;
}

namespace {

// A digit stays in a cell exactly when some filling of the run with distinct digits from
// the cells' own sets adds up to the total and puts that digit there. Stated plainly, that
// is a matching test per combination, cell and digit, exponential when a matching fails;
// here each combination needs one matching and the closure of a graph of at most 9 nodes.

// Kuhn's augmenting path for cell ACelula, over the digits allowed to each cell.
bool Aumentar(int32_t ACelula, std::span<const TConjuntoDigitos> APermitidos,
              std::array<int8_t, 10>& ACelulaDoDigito,
              std::array<int8_t, CMaxComprimento>& ADigitoDaCelula, TConjuntoDigitos& AVisitados) {
    for (uint32_t livres = APermitidos[ACelula] & ~AVisitados; livres; livres &= livres - 1) {
        const int d = MenorDigito(livres);
        AVisitados = static_cast<TConjuntoDigitos>(AVisitados | (1u << d));
        if (ACelulaDoDigito[d] < 0 || Aumentar(ACelulaDoDigito[d], APermitidos, ACelulaDoDigito,
                                               ADigitoDaCelula, AVisitados)) {
            ACelulaDoDigito[d] = static_cast<int8_t>(ACelula);
            ADigitoDaCelula[ACelula] = static_cast<int8_t>(d);
            return true;
        }
    }
    return false;
}

// Per combination: one perfect matching of cells to the combination's digits, then the
// matching's alternating cycles. Cell i can take the digit matched to cell j exactly when
// j reaches i in the graph "cell a can take the digit matched to cell b".
void SuportePorEmparelhamentos(std::span<const TConjuntoDigitos> AConjuntos, int32_t ASoma,
                               std::array<TConjuntoDigitos, CMaxComprimento>& ASuportados) {
    const auto n = static_cast<int32_t>(AConjuntos.size());
    TConjuntoDigitos uniao = 0;
    for (const TConjuntoDigitos conjunto : AConjuntos)
        uniao |= conjunto;
    // Once every digit of every cell is supported, the remaining combinations add nothing.
    auto todosSuportados = [&] {
        for (int32_t i = 0; i < n; ++i)
            if (ASuportados[i] != AConjuntos[i]) return false;
        return true;
    };
    for (const TConjuntoDigitos c : Combinacoes(n, ASoma)) {
        if (c & ~uniao) continue;
        std::array<TConjuntoDigitos, CMaxComprimento> permitidos;
        bool vazio = false, acrescenta = false;
        for (int32_t i = 0; i < n && !vazio; ++i) {
            permitidos[i] = AConjuntos[i] & c;
            vazio = permitidos[i] == 0;
            acrescenta = acrescenta || (permitidos[i] & ~ASuportados[i]) != 0;
        }
        // A combination can only add digits it allows: when each cell already has them all,
        // its matchings have nothing to tell.
        if (vazio || !acrescenta) continue;
        const std::span<const TConjuntoDigitos> celulas(permitidos.data(), static_cast<size_t>(n));

        std::array<int8_t, 10> celulaDoDigito;
        celulaDoDigito.fill(-1);
        std::array<int8_t, CMaxComprimento> digitoDaCelula;
        bool perfeito = true;
        for (int32_t i = 0; i < n && perfeito; ++i) {
            TConjuntoDigitos visitados = 0;
            perfeito = Aumentar(i, celulas, celulaDoDigito, digitoDaCelula, visitados);
        }
        if (!perfeito) continue;

        std::array<uint16_t, CMaxComprimento> alcance{};
        for (int32_t i = 0; i < n; ++i)
            for (uint32_t livres = permitidos[i]; livres; livres &= livres - 1)
                alcance[i] |= static_cast<uint16_t>(1u << celulaDoDigito[MenorDigito(livres)]);
        for (int32_t k = 0; k < n; ++k)
            for (int32_t i = 0; i < n; ++i)
                if (alcance[i] >> k & 1u) alcance[i] |= alcance[k];
        for (int32_t i = 0; i < n; ++i)
            for (uint32_t livres = permitidos[i]; livres; livres &= livres - 1) {
                const int d = MenorDigito(livres);
                const int j = celulaDoDigito[d];
                if (j == i || (alcance[j] >> i & 1u))
                    ASuportados[i] = static_cast<TConjuntoDigitos>(ASuportados[i] | (1u << d));
            }
        if (todosSuportados()) return;
    }
}

} // namespace

bool FiltrarPorPosicoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                        std::array<uint8_t, CMaxComprimento>& AMudadas) {
    AMudadas.fill(0);
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    const auto n = static_cast<int32_t>(AConjuntos.size());
    std::array<TConjuntoDigitos, CMaxComprimento> suportados{};
    SuportePorEmparelhamentos(AConjuntos, ASoma, suportados);
    for (int32_t i = 0; i < n; ++i) {
        if (suportados[i] == 0) return false;
        if (suportados[i] != AConjuntos[i]) {
            AConjuntos[i] = suportados[i];
            AMudadas[i] = 1;
        }
    }
    return true;
}

bool FiltrarRun(TContextoGeracao& AContexto, bool ASoCombinacoes, const TModelo& AModelo,
                int32_t ARun, int32_t ASoma, TDominios& ADominios, uint32_t& AMudadas) {
    const std::span<const int32_t> celulas = AModelo.CelulasDoRun(ARun);
    const size_t n = celulas.size();
    AMudadas = 0;
    std::array<TConjuntoDigitos, CMaxComprimento> antes;
    TConjuntoDigitos comuns = CDominioCompleto, uniao = 0;
    bool todosFixos = true;
    for (size_t i = 0; i < n; ++i) {
        const TConjuntoDigitos conjunto = ADominios[celulas[i]];
        antes[i] = conjunto;
        comuns &= conjunto;
        uniao |= conjunto;
        todosFixos = todosFixos && UmSoDigito(conjunto);
    }
    // A settled run narrows nothing under either rule; it only has to hold distinct digits
    // that add up to its total.
    if (todosFixos)
        return ContarBits(uniao) == static_cast<int32_t>(n) && CSomaDosDigitos[uniao] == ASoma;

    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    const TConjuntoDigitos daSoma = CUniaoCombinacoes[n][ASoma];
    if (daSoma == 0) return false;

    const std::span<const TConjuntoDigitos> run(antes.data(), n);
    std::array<TConjuntoDigitos, CMaxComprimento> depois;
    const std::span<TConjuntoDigitos> novos(depois.data(), n);
    std::copy(run.begin(), run.end(), novos.begin());
    bool ok;
    if ((comuns & daSoma) == daSoma) {
        // Every cell can take every digit of every combination (as all can when a propagation
        // starts): any combination fits in any order, so under either rule each cell keeps
        // exactly those digits.
        std::fill(novos.begin(), novos.end(), daSoma);
        ok = true;
    } else if (n == 2) {
        // Two cells are quicker worked out than looked up.
        ok = ASoCombinacoes ? FiltrarParPorCombinacoes(novos, ASoma)
                            : FiltrarParPorPosicoes(novos, ASoma);
    } else {
        // The stored answer says which cells narrowed: only those are unpacked and written.
        const TMemoriaDeRuns::TPacote chave = TMemoriaDeRuns::Chave(ASoCombinacoes, run, ASoma);
        const TMemoriaDeRuns::TPacote* resposta = AContexto.Memoria.Procurar(chave);
        if (!resposta) {
            std::array<uint8_t, CMaxComprimento> mudadas;
            const bool valido = ASoCombinacoes ? FiltrarPorCombinacoes(novos, ASoma, mudadas)
                                               : FiltrarPorPosicoes(novos, ASoma, mudadas);
            resposta =
                &AContexto.Memoria.Guardar(chave, TMemoriaDeRuns::Resposta(run, novos, valido));
        }
        if (!TMemoriaDeRuns::Valido(*resposta)) return false;
        AMudadas = TMemoriaDeRuns::Mudadas(*resposta);
        for (uint32_t m = AMudadas; m; m &= m - 1) {
            const int32_t i = std::countr_zero(m);
            ADominios[celulas[i]] = TMemoriaDeRuns::Conjunto(*resposta, i);
        }
        return true;
    }
    if (!ok) return false;
    for (size_t i = 0; i < n; ++i)
        if (depois[i] != antes[i]) {
            ADominios[celulas[i]] = depois[i];
            AMudadas |= 1u << i;
        }
    return true;
}

namespace {

// The queue of runs still to be filtered: each run at most once, in the order queued.
class TFilaDeRuns {
public:
    explicit TFilaDeRuns(int32_t ANRuns) : FNRuns(ANRuns) {
        std::fill_n(FNaFila.begin(), ANRuns, uint8_t{0});
    }
    bool Vazia() const { return FQuantos == 0; }
    bool Contem(int32_t ARun) const { return FNaFila[ARun] != 0; }
    void Acrescentar(int32_t ARun) {
        FNaFila[ARun] = 1;
        int32_t cauda = FCabeca + FQuantos;
        if (cauda >= FNRuns) cauda -= FNRuns;
        FFila[cauda] = static_cast<int16_t>(ARun);
        ++FQuantos;
    }
    int32_t Tirar() {
        const int32_t r = FFila[FCabeca];
        FCabeca = FCabeca + 1 == FNRuns ? 0 : FCabeca + 1;
        --FQuantos;
        FNaFila[r] = 0;
        return r;
    }

private:
    int32_t FNRuns;
    int32_t FCabeca = 0;
    int32_t FQuantos = 0;
    std::array<int16_t, CMaxRunsModelo> FFila;
    std::array<uint8_t, CMaxRunsModelo> FNaFila;
};

// Filters the queued runs, and every run that shares a narrowed cell with a filtered one,
// until the queue is empty. Runs marked in AFora are left out altogether. Both rules only
// ever narrow and narrow less from smaller sets, so the sets this ends with do not depend
// on the order of the queue, nor on where it starts, as long as the sets it starts from
// hold every digit that the runs it does not queue would leave.
bool PropagarFila(TContextoGeracao& AContexto, const TModelo& AModelo,
                  std::span<const int32_t> ASomas, bool ASoCombinacoes, TDominios& ADominios,
                  TFilaDeRuns& AFila, const uint8_t* AFora) {
    while (!AFila.Vazia()) {
        const int32_t r = AFila.Tirar();
        uint32_t mudadas = 0;
        if (!FiltrarRun(AContexto, ASoCombinacoes, AModelo, r, ASomas[r], ADominios, mudadas))
            return false;
        const std::span<const int32_t> celulas = AModelo.CelulasDoRun(r);
        for (; mudadas; mudadas &= mudadas - 1) {
            const int32_t i = std::countr_zero(mudadas);
            // The position rule leaves nothing more to narrow in its own run. The combination
            // rule does only when a cell became settled: while the settled digits stay the
            // same, every combination it kept still fits the narrowed sets, so a second pass
            // would keep the same digits.
            const bool outraVez = ASoCombinacoes && UmSoDigito(ADominios[celulas[i]]);
            for (const int32_t q : AModelo.CelRun[celulas[i]]) {
                if (q < 0 || AFila.Contem(q) || (q == r && !outraVez)) continue;
                if (AFora && AFora[q]) continue;
                AFila.Acrescentar(q);
            }
        }
    }
    return true;
}

int32_t ContarAbertas(const TDominios& ADominios) {
    int32_t indeterminadas = 0;
    for (const TConjuntoDigitos conjunto : ADominios)
        indeterminadas += ContarBits(conjunto) > 1;
    return indeterminadas;
}

} // namespace

bool Propagar(TContextoGeracao& AContexto, const TModelo& AModelo, std::span<const int32_t> ASomas,
              bool ASoCombinacoes, TDominios& ADominios) {
    ADominios.assign(static_cast<size_t>(AModelo.NCel), CDominioCompleto);
    TFilaDeRuns fila(AModelo.NRuns);
    for (int32_t r = 0; r < AModelo.NRuns; ++r)
        fila.Acrescentar(r);
    return PropagarFila(AContexto, AModelo, ASomas, ASoCombinacoes, ADominios, fila, nullptr);
}

bool PropagarSemRuns(TContextoGeracao& AContexto, const TModelo& AModelo,
                     std::span<const int32_t> ASomas, bool ASoCombinacoes,
                     std::span<const uint8_t> AFora, TDominios& ADominios) {
    ADominios.assign(static_cast<size_t>(AModelo.NCel), CDominioCompleto);
    TFilaDeRuns fila(AModelo.NRuns);
    for (int32_t r = 0; r < AModelo.NRuns; ++r)
        if (!AFora[r]) fila.Acrescentar(r);
    return PropagarFila(AContexto, AModelo, ASomas, ASoCombinacoes, ADominios, fila, AFora.data());
}

bool PropagarSemRunsDesde(TContextoGeracao& AContexto, const TModelo& AModelo,
                          std::span<const int32_t> ASomas, bool ASoCombinacoes,
                          const TDominios& ABase, std::span<const int32_t> AAFiltrar,
                          std::span<const uint8_t> AFora, TDominios& ADominios) {
    ADominios = ABase;
    TFilaDeRuns fila(AModelo.NRuns);
    for (const int32_t r : AAFiltrar)
        if (!AFora[r] && !fila.Contem(r)) fila.Acrescentar(r);
    return PropagarFila(AContexto, AModelo, ASomas, ASoCombinacoes, ADominios, fila, AFora.data());
}

int32_t ContarIndeterminadas(TContextoGeracao& AContexto, const TModelo& AModelo,
                             std::span<const int32_t> ADigitos, bool ASoCombinacoes,
                             TDominios& ADominios) {
    ++AContexto.ChamadasContarIndeterminadas;
    std::array<int32_t, CMaxRunsModelo> somas;
    for (int32_t r = 0; r < AModelo.NRuns; ++r)
        somas[r] = SomaDoRun(AModelo, ADigitos, r);
    if (!Propagar(AContexto, AModelo, std::span(somas.data(), static_cast<size_t>(AModelo.NRuns)),
                  ASoCombinacoes, ADominios))
        return CIndeterminadasContradicao;
    return ContarAbertas(ADominios);
}

int32_t ContarIndeterminadasDesde(TContextoGeracao& AContexto, const TModelo& AModelo,
                                  std::span<const int32_t> ASomas, bool ASoCombinacoes,
                                  const TDominios& ABase, std::span<const int32_t> ARunsMudados,
                                  TDominios& ADominios) {
    ++AContexto.ChamadasContarIndeterminadas;
    ADominios = ABase;
    TFilaDeRuns fila(AModelo.NRuns);
    for (const int32_t r : ARunsMudados)
        fila.Acrescentar(r);
    if (!PropagarFila(AContexto, AModelo, ASomas, ASoCombinacoes, ADominios, fila, nullptr))
        return CIndeterminadasContradicao;
    return ContarAbertas(ADominios);
}
