// The evaluation of one construction step's proposals, each continuing from a propagation of
// the runs it leaves unchanged.
#include "generator/GeradorInterno.h"

namespace {

// The run and the runs that cross its cells: the totals a new assignment of the run changes.
int32_t RunsMudados(const TModelo& AModelo, int32_t ARun,
                    std::array<int32_t, 1 + CMaxComprimento>& ARuns) {
    int32_t n = 0;
    ARuns[n++] = ARun;
    for (const int32_t celula : AModelo.CelulasDoRun(ARun))
        for (const int32_t q : AModelo.RunsDaCelula(celula))
            if (q != ARun) ARuns[n++] = q;
    return n;
}

} // namespace

TPropagador::TPropagador(TContextoGeracao& AContexto, const TModelo& AModelo, bool ASoCombinacoes)
    : FContexto(AContexto), FModelo(AModelo), FSoCombinacoes(ASoCombinacoes) {}

void TPropagador::ComecarPasso(std::span<const int32_t> ADigitos,
                               std::span<const TProposta> APropostas) {
    FDigitos = ADigitos;
    FSomas.resize(static_cast<size_t>(FModelo.NRuns));
    for (int32_t r = 0; r < FModelo.NRuns; ++r)
        FSomas[r] = SomaDoRun(FModelo, ADigitos, r);

    FForaDoPasso.assign(static_cast<size_t>(FModelo.NRuns), 0);
    FRunsDoPasso.clear();
    std::array<int32_t, 1 + CMaxComprimento> mudados;
    for (size_t p = 0; p < APropostas.size(); ++p) {
        if (p > 0 && APropostas[p].Run == APropostas[p - 1].Run) continue;
        const int32_t nMudados = RunsMudados(FModelo, APropostas[p].Run, mudados);
        for (int32_t i = 0; i < nMudados; ++i)
            if (!FForaDoPasso[mudados[i]]) {
                FForaDoPasso[mudados[i]] = 1;
                FRunsDoPasso.push_back(mudados[i]);
            }
    }
    // When fewer runs already contradict each other, so do more of them.
    FBaseDoPassoValida =
        PropagarSemRuns(FContexto, FModelo, FSomas, FSoCombinacoes, FForaDoPasso, FBaseDoPasso);

    FFora.assign(static_cast<size_t>(FModelo.NRuns), 0);
    FNMudados = 0;
    FRun = -1;
}

void TPropagador::ComecarRun(int32_t ARun) {
    for (int32_t i = 0; i < FNMudados; ++i)
        FFora[FMudados[i]] = 0;
    FNMudados = RunsMudados(FModelo, ARun, FMudados);
    for (int32_t i = 0; i < FNMudados; ++i)
        FFora[FMudados[i]] = 1;
    FRun = ARun;
    FBaseValida =
        FBaseDoPassoValida && PropagarSemRunsDesde(FContexto, FModelo, FSomas, FSoCombinacoes,
                                                   FBaseDoPasso, FRunsDoPasso, FFora, FBase);
}

int32_t TPropagador::ContarComProposta(const TProposta& AProposta) {
    if (AProposta.Run != FRun) ComecarRun(AProposta.Run);
    // When the other runs already contradict each other, so do all runs together.
    if (!FBaseValida) return CIndeterminadasContradicao;

    // The proposal's totals: its run's own, and each crossing run's with one digit changed
    // (two runs cross at one cell at most).
    std::array<int32_t, 1 + CMaxComprimento> somasAnteriores;
    for (int32_t i = 0; i < FNMudados; ++i)
        somasAnteriores[i] = FSomas[FMudados[i]];
    const std::span<const int32_t> celulas = FModelo.CelulasDoRun(FRun);
    int32_t somaDoRun = 0;
    for (size_t i = 0; i < celulas.size(); ++i) {
        somaDoRun += AProposta.Digitos[i];
        for (const int32_t q : FModelo.RunsDaCelula(celulas[i]))
            if (q != FRun) FSomas[q] += AProposta.Digitos[i] - FDigitos[celulas[i]];
    }
    FSomas[FRun] = somaDoRun;

    const int32_t indeterminadas = ContarIndeterminadasDesde(
        FContexto, FModelo, FSomas, FSoCombinacoes, FBase,
        std::span(FMudados.data(), static_cast<size_t>(FNMudados)), FDominios);

    for (int32_t i = 0; i < FNMudados; ++i)
        FSomas[FMudados[i]] = somasAnteriores[i];
    return indeterminadas;
}
