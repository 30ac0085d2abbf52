// Loose-cell repair: no run may hold two white cells that lie in that run only, since those
// two could swap their digits without changing any sum.
#include "generator/GeradorInterno.h"

namespace {

void DefinirComEspelho(TGrelhaBooleana& g, int32_t N, TPosicaoGrelha p, bool ABloqueada) {
    g[p.R][p.C] = ABloqueada;
    g[N - p.R][N - p.C] = ABloqueada;
}

} // namespace

void MarcarCelulasEmGrupos(const TSomadoBoard& ABoard, TGrelhaBooleana& AEmHorizontal,
                           TGrelhaBooleana& AEmVertical) {
    AEmHorizontal = TGrelhaBooleana{};
    AEmVertical = TGrelhaBooleana{};
    for (const TSomadoGroup& run : ABoard.HorizontalGroups())
        ParaCadaCelulaDoRun(run, [&](int32_t r, int32_t c) { AEmHorizontal[r][c] = true; });
    for (const TSomadoGroup& run : ABoard.VerticalGroups())
        ParaCadaCelulaDoRun(run, [&](int32_t r, int32_t c) { AEmVertical[r][c] = true; });
}

int32_t ListarCelulasSoltas(const TSomadoBoard& ABoard, std::vector<TPosicaoGrelha>& ALista,
                            TGrelhaBooleana& AEmHorizontal, TGrelhaBooleana& AEmVertical) {
    MarcarCelulasEmGrupos(ABoard, AEmHorizontal, AEmVertical);
    ALista.clear();
    int32_t ruins = 0;
    auto examinar = [&](const TSomadoGroup& run) {
        const size_t antes = ALista.size();
        ParaCadaCelulaDoRun(run, [&](int32_t r, int32_t c) {
            if (!(AEmHorizontal[r][c] && AEmVertical[r][c])) ALista.push_back({r, c});
        });
        if (ALista.size() - antes < 2)
            ALista.resize(antes);
        else
            ++ruins;
    };
    for (const TSomadoGroup& run : ABoard.HorizontalGroups())
        examinar(run);
    for (const TSomadoGroup& run : ABoard.VerticalGroups())
        examinar(run);
    return ruins;
}

int32_t ContarGruposComSoltas(const TSomadoBoard& ABoard) {
    std::vector<TPosicaoGrelha> lista;
    TGrelhaBooleana emHorizontal, emVertical;
    return ListarCelulasSoltas(ABoard, lista, emHorizontal, emVertical);
}

void CopiarGrelha(const TGrelhaBooleana& AOrigem, TGrelhaBooleana& ADestino) {
    ADestino = AOrigem;
}

bool RepararCelulasSoltas(TSomadoBoard& ABoard, TAleatorio& AAleatorio) {
    const int32_t N = ABoard.Size();
    TGrelhaBooleana g = GrelhaDoTabuleiro(ABoard);
    TGrelhaBooleana copia, emHorizontal, emVertical;
    std::vector<TPosicaoGrelha> soltas;

    for (int32_t passo = 0; passo < CMaxPassosSoltas; ++passo) {
        const int32_t ruins = ListarCelulasSoltas(ABoard, soltas, emHorizontal, emVertical);
        if (ruins == 0) return true;
        const TPosicaoGrelha p =
            soltas[static_cast<size_t>(AAleatorio.Inteiro(static_cast<int32_t>(soltas.size())))];
        CopiarGrelha(g, copia);

        // A cell of an across run lacks a down run: whiten above or below it, and vice versa.
        TPosicaoGrelha a{p.R, p.C - 1}, b{p.R, p.C + 1};
        if (emHorizontal[p.R][p.C]) {
            a = {p.R - 1, p.C};
            b = {p.R + 1, p.C};
        }
        if (AAleatorio.Inteiro(2) == 1) std::swap(a, b);

        bool mantido = false;
        for (const TPosicaoGrelha x : {a, b}) {
            if (x.R < 1 || x.R > N - 1 || x.C < 1 || x.C > N - 1 || !g[x.R][x.C]) continue;
            DefinirComEspelho(g, N, x, false);
            bool aplicada = false;
            if (BrancasLigadas(g, N)) {
                aplicada = AplicarGrelha(ABoard, g);
                if (aplicada && ContarGruposComSoltas(ABoard) <= ruins) {
                    mantido = true;
                    break;
                }
            }
            CopiarGrelha(copia, g);
            if (aplicada) AplicarGrelha(ABoard, g);
        }
        if (mantido) continue;

        // No neighbour helped: block the loose cell instead, whatever the new count.
        DefinirComEspelho(g, N, p, true);
        if (!(BrancasLigadas(g, N) && AplicarGrelha(ABoard, g))) CopiarGrelha(copia, g);
    }
    return ContarGruposComSoltas(ABoard) == 0;
}
