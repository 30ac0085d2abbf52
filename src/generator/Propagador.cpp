// The evaluation of one construction step's proposals, each continuing from a propagation of
// the runs it leaves unchanged.
#include "generator/GeradorInterno.h"

#include <bit>

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
    FNGrupos = 0;
    for (size_t p = 0; p < APropostas.size(); ++p) {
        if (p > 0 && APropostas[p].Run == APropostas[p - 1].Run) continue;
        if (static_cast<size_t>(FNGrupos) == FGrupos.size()) FGrupos.emplace_back();
        TGrupo& grupo = FGrupos[FNGrupos++];
        grupo.Run = APropostas[p].Run;
        grupo.NMudados = RunsMudados(FModelo, grupo.Run, grupo.Mudados);
        for (int32_t i = 0; i < grupo.NMudados; ++i)
            if (!FForaDoPasso[grupo.Mudados[i]]) {
                FForaDoPasso[grupo.Mudados[i]] = 1;
                FRunsDoPasso.push_back(grupo.Mudados[i]);
            }
    }
    // When fewer runs already contradict each other, so do more of them.
    const bool valida =
        PropagarSemRuns(FContexto, FModelo, FSomas, FSoCombinacoes, FForaDoPasso, FBaseDoPasso);
    // Room for every depth before the halving starts: a base is read while deeper ones are
    // made.
    const auto profundidades = static_cast<size_t>(std::bit_width(static_cast<uint32_t>(FNGrupos)));
    if (FMetades.size() < profundidades) FMetades.resize(profundidades);
    if (FNGrupos > 0) FazerBases(0, FNGrupos, FBaseDoPasso, valida, 0);
    FGrupo = -1;
}

void TPropagador::FazerBases(int32_t ADe, int32_t AAte, const TDominios& ABase, bool AValida,
                             size_t AProfundidade) {
    if (AAte - ADe == 1) {
        FGrupos[ADe].Base = ABase;
        FGrupos[ADe].BaseValida = AValida;
        return;
    }
    const int32_t meio = ADe + (AAte - ADe) / 2;
    FazerMetade(ADe, meio, meio, AAte, ABase, AValida, AProfundidade);
    FazerMetade(meio, AAte, ADe, meio, ABase, AValida, AProfundidade);
}

void TPropagador::FazerMetade(int32_t ADe, int32_t AAte, int32_t AOutrasDe, int32_t AOutrasAte,
                              const TDominios& ABase, bool AValida, size_t AProfundidade) {
    // The base of groups [ADe, AAte): ABase with the runs of the other groups added back,
    // save those that also belong to one of these.
    TMetade& metade = FMetades[AProfundidade];
    bool valida = AValida;
    if (valida) {
        metade.Fora.assign(static_cast<size_t>(FModelo.NRuns), 0);
        for (int32_t g = ADe; g < AAte; ++g)
            for (int32_t i = 0; i < FGrupos[g].NMudados; ++i)
                metade.Fora[FGrupos[g].Mudados[i]] = 1;
        metade.AFiltrar.clear();
        for (int32_t g = AOutrasDe; g < AOutrasAte; ++g)
            for (int32_t i = 0; i < FGrupos[g].NMudados; ++i)
                metade.AFiltrar.push_back(FGrupos[g].Mudados[i]);
        valida = PropagarSemRunsDesde(FContexto, FModelo, FSomas, FSoCombinacoes, ABase,
                                      metade.AFiltrar, metade.Fora, metade.Base);
    }
    FazerBases(ADe, AAte, metade.Base, valida, AProfundidade + 1);
}

int32_t TPropagador::ContarComProposta(const TProposta& AProposta) {
    if (FGrupo < 0 || FGrupos[FGrupo].Run != AProposta.Run)
        for (FGrupo = 0; FGrupo < FNGrupos - 1 && FGrupos[FGrupo].Run != AProposta.Run; ++FGrupo)
            ;
    const TGrupo& grupo = FGrupos[FGrupo];
    // When the other runs already contradict each other, so do all runs together.
    if (!grupo.BaseValida) return CIndeterminadasContradicao;

    // The proposal's totals: its run's own, and each crossing run's with one digit changed
    // (two runs cross at one cell at most).
    std::array<int32_t, 1 + CMaxComprimento> somasAnteriores;
    for (int32_t i = 0; i < grupo.NMudados; ++i)
        somasAnteriores[i] = FSomas[grupo.Mudados[i]];
    const std::span<const int32_t> celulas = FModelo.CelulasDoRun(grupo.Run);
    int32_t somaDoRun = 0;
    for (size_t i = 0; i < celulas.size(); ++i) {
        somaDoRun += AProposta.Digitos[i];
        for (const int32_t q : FModelo.RunsDaCelula(celulas[i]))
            if (q != grupo.Run) FSomas[q] += AProposta.Digitos[i] - FDigitos[celulas[i]];
    }
    FSomas[grupo.Run] = somaDoRun;

    const int32_t indeterminadas = ContarIndeterminadasDesde(
        FContexto, FModelo, FSomas, FSoCombinacoes, grupo.Base,
        std::span(grupo.Mudados.data(), static_cast<size_t>(grupo.NMudados)), FDominios);

    for (int32_t i = 0; i < grupo.NMudados; ++i)
        FSomas[grupo.Mudados[i]] = somasAnteriores[i];
    return indeterminadas;
}
