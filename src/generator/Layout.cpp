// Grid layout: half-turn-symmetric patterns of white bars in a blocked playing area.
#include "generator/GeradorInterno.h"

#include <algorithm>

namespace {

bool DentroDaArea(int32_t N, int32_t r, int32_t c) {
    return r >= 1 && r < N && c >= 1 && c < N;
}

// What a trial needs of the pattern in one orientation: the candidates and, along every
// line, how many cells before each position have a white cell beside them across the line.
// Both change only when a bar is placed, while trials that place nothing come many in a row
// (the densifying pass ends only after 30 of them), so they are kept until a bar is placed.
struct TVistaDaGrelha {
    bool Valida = false;
    std::vector<TCandidatoBarra> Candidatos;
    std::array<std::array<int16_t, CLadoMaximo + 1>, CLadoMaximo> Tocadas;

    void Preparar(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t AMin,
                  int32_t AMax) {
        ListarCandidatosBarra(g, N, AHorizontal, AMin, AMax, Candidatos);
        auto branca = [&](int32_t ALinha, int32_t p) {
            return ALinha >= 1 && ALinha <= N - 1 && !(AHorizontal ? g[ALinha][p] : g[p][ALinha]);
        };
        for (int32_t L = 0; L < N; ++L) {
            Tocadas[L][0] = 0;
            for (int32_t p = 0; p < N; ++p)
                Tocadas[L][p + 1] = static_cast<int16_t>(
                    Tocadas[L][p] + (branca(L - 1, p) || branca(L + 1, p) ? 1 : 0));
        }
        Valida = true;
    }
    // BarraTocaBranca, counted instead of looked at cell by cell.
    bool Toca(const TBarraEscolhida& ABarra) const {
        const auto& tocadas = Tocadas[ABarra.LinhaFixa];
        return tocadas[ABarra.Inicio + ABarra.Comprimento] > tocadas[ABarra.Inicio];
    }
};

// The bars of one trial, all of one orientation.
struct TBarrasDoEnsaio {
    bool Horizontal = true;
    std::vector<TBarraEscolhida> Todas;
    std::vector<TBarraEscolhida> Tocantes;
    // Working space, kept from trial to trial so that a trial allocates nothing: the views of
    // the pattern across and down.
    std::array<TVistaDaGrelha, 2> Vistas;

    const TVistaDaGrelha& Vista(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t AMin,
                                int32_t AMax) {
        TVistaDaGrelha& vista = Vistas[AHorizontal ? 1 : 0];
        if (!vista.Valida) vista.Preparar(g, N, AHorizontal, AMin, AMax);
        return vista;
    }
    // A bar was placed: the views no longer hold.
    void GrelhaMudou() { Vistas[0].Valida = Vistas[1].Valida = false; }
};

int32_t SortearComprimento(const TCandidatoBarra& ACandidato, int32_t AMin,
                           TAleatorio& AAleatorio) {
    int32_t comprimento = AMin;
    for (int32_t i = 0; i < CSorteiosComprimento; ++i)
        comprimento =
            std::max(comprimento, AMin + AAleatorio.Inteiro(ACandidato.ComprimentoMax - AMin + 1));
    return comprimento;
}

// Picks the orientation, lists its candidates and draws their lengths; false when there is
// no candidate in either orientation.
bool PrepararEnsaio(const TGrelhaBooleana& g, int32_t N, int32_t AMin, int32_t AMax,
                    TBarrasDoEnsaio& AEnsaio, TAleatorio& AAleatorio) {
    bool horizontal = AAleatorio.Real() < CProbabilidadeHorizontal;
    const TVistaDaGrelha* vista = &AEnsaio.Vista(g, N, horizontal, AMin, AMax);
    if (vista->Candidatos.empty()) {
        horizontal = !horizontal;
        vista = &AEnsaio.Vista(g, N, horizontal, AMin, AMax);
    }
    if (vista->Candidatos.empty()) return false;

    AEnsaio.Horizontal = horizontal;
    AEnsaio.Todas.clear();
    AEnsaio.Tocantes.clear();
    for (const TCandidatoBarra& candidato : vista->Candidatos) {
        const TBarraEscolhida barra{candidato.LinhaFixa, candidato.Inicio,
                                    SortearComprimento(candidato, AMin, AAleatorio)};
        AEnsaio.Todas.push_back(barra);
        if (vista->Toca(barra)) AEnsaio.Tocantes.push_back(barra);
    }
    return true;
}

bool ColocarBarraEscolhida(TGrelhaBooleana& g, int32_t N, bool AHorizontal,
                           const TBarraEscolhida& ABarra) {
    return AHorizontal
               ? ColocarBarra(g, N, ABarra.LinhaFixa, ABarra.Inicio, true, ABarra.Comprimento)
               : ColocarBarra(g, N, ABarra.Inicio, ABarra.LinhaFixa, false, ABarra.Comprimento);
}

// Places a bar together with its mirror image. Returns the number of cells whitened; 0 when
// either could not be placed, in which case g is as before.
int32_t ColocarBarraEspelhada(TGrelhaBooleana& g, int32_t N, bool AHorizontal,
                              const TBarraEscolhida& ABarra) {
    if (!ColocarBarraEscolhida(g, N, AHorizontal, ABarra)) return 0;
    if (BarraAutoEspelhada(N, ABarra)) return ABarra.Comprimento;
    if (ColocarBarraEscolhida(g, N, AHorizontal, EspelharBarra(N, ABarra)))
        return 2 * ABarra.Comprimento;
    RetirarBarra(g, AHorizontal, ABarra);
    return 0;
}

const TBarraEscolhida& SortearBarra(const std::vector<TBarraEscolhida>& ABarras,
                                    TAleatorio& AAleatorio) {
    return ABarras[static_cast<size_t>(AAleatorio.Inteiro(static_cast<int32_t>(ABarras.size())))];
}

} // namespace

int32_t AlvoBrancas(int32_t N) {
    return static_cast<int32_t>(
        Arredondar(static_cast<double>((N - 1) * (N - 1)) * (1.0 - CDensidadePretas)));
}

int32_t MinimoBrancas(int32_t N) {
    return static_cast<int32_t>(Arredondar(AlvoBrancas(N) * CFracaoMinimaAlvo));
}

std::vector<TCandidatoBarra> ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N,
                                                   bool AHorizontal, int32_t AMin, int32_t AMax) {
    std::vector<TCandidatoBarra> candidatos;
    ListarCandidatosBarra(g, N, AHorizontal, AMin, AMax, candidatos);
    return candidatos;
}

void ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t AMin,
                           int32_t AMax, std::vector<TCandidatoBarra>& ACandidatos) {
    std::vector<TCandidatoBarra>& candidatos = ACandidatos;
    candidatos.clear();
    for (int32_t L = 1; L < N; ++L) {
        int32_t s = -1; // start of the open stretch of blocked cells, -1 when none
        for (int32_t p = 1; p <= N; ++p) {
            const bool bloqueada = p < N && (AHorizontal ? g[L][p] : g[p][L]);
            if (bloqueada) {
                if (s < 0) s = p;
                continue;
            }
            if (s < 0) continue;
            const int32_t e = p - 1;
            // Away from the edge, keep one blocked cell beside the bounding white cell.
            const int32_t a = s == 1 ? s : s + 1;
            const int32_t b = e == N - 1 ? e : e - 1;
            if (b - a + 1 >= AMin)
                for (int32_t k = a; k <= b - AMin + 1; ++k)
                    candidatos.push_back({L, k, std::min(AMax, b - k + 1)});
            s = -1;
        }
    }
}

bool BarraTocaBranca(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t ALinha,
                     int32_t AInicio, int32_t AComprimento) {
    for (int32_t i = 0; i < AComprimento; ++i) {
        const int32_t p = AInicio + i;
        if (AHorizontal) {
            if (ALinha - 1 >= 1 && !g[ALinha - 1][p]) return true;
            if (ALinha + 1 <= N - 1 && !g[ALinha + 1][p]) return true;
        } else {
            if (ALinha - 1 >= 1 && !g[p][ALinha - 1]) return true;
            if (ALinha + 1 <= N - 1 && !g[p][ALinha + 1]) return true;
        }
    }
    return false;
}

bool ColocarBarra(TGrelhaBooleana& g, int32_t N, int32_t ALinha, int32_t AColuna, bool AHorizontal,
                  int32_t AComprimento) {
    const int32_t dr = AHorizontal ? 0 : 1;
    const int32_t dc = AHorizontal ? 1 : 0;
    for (int32_t i = 0; i < AComprimento; ++i) {
        const int32_t r = ALinha + i * dr, c = AColuna + i * dc;
        if (!DentroDaArea(N, r, c) || !g[r][c]) return false;
    }
    const int32_t antesR = ALinha - dr, antesC = AColuna - dc;
    if (DentroDaArea(N, antesR, antesC) && !g[antesR][antesC]) return false;
    const int32_t depoisR = ALinha + AComprimento * dr, depoisC = AColuna + AComprimento * dc;
    if (DentroDaArea(N, depoisR, depoisC) && !g[depoisR][depoisC]) return false;
    for (int32_t i = 0; i < AComprimento; ++i)
        g[ALinha + i * dr][AColuna + i * dc] = false;
    return true;
}

void RetirarBarra(TGrelhaBooleana& g, bool AHorizontal, const TBarraEscolhida& ABarra) {
    for (int32_t i = 0; i < ABarra.Comprimento; ++i) {
        if (AHorizontal)
            g[ABarra.LinhaFixa][ABarra.Inicio + i] = true;
        else
            g[ABarra.Inicio + i][ABarra.LinhaFixa] = true;
    }
}

TBarraEscolhida EspelharBarra(int32_t N, const TBarraEscolhida& ABarra) {
    return {N - ABarra.LinhaFixa, N - ABarra.Inicio - ABarra.Comprimento + 1, ABarra.Comprimento};
}

bool BarraAutoEspelhada(int32_t N, const TBarraEscolhida& ABarra) {
    return EspelharBarra(N, ABarra) == ABarra;
}

bool GerarGrelhaPorBarras(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                          TAleatorio& AAleatorio) {
    const int32_t N = ABoard.Size();
    TGrelhaBooleana g = GrelhaBloqueada();
    const int32_t alvo = AlvoBrancas(N);
    int32_t brancas = 0, falhas = 0;
    TBarrasDoEnsaio ensaio;

    while (brancas < alvo && falhas < CMaxFalhasSeguidas) {
        if (!PrepararEnsaio(g, N, AMin, AMax, ensaio, AAleatorio)) {
            ++falhas;
            continue;
        }
        const bool tocante =
            !ensaio.Tocantes.empty() && AAleatorio.Real() < CProbabilidadeBarraTocante;
        const TBarraEscolhida& barra =
            SortearBarra(tocante ? ensaio.Tocantes : ensaio.Todas, AAleatorio);
        const int32_t novas = ColocarBarraEspelhada(g, N, ensaio.Horizontal, barra);
        if (novas == 0) {
            ++falhas;
            continue;
        }
        brancas += novas;
        falhas = 0;
        ensaio.GrelhaMudou();
    }

    if (brancas < MinimoBrancas(N)) return false;
    if (!AplicarGrelha(ABoard, g)) return false;
    return MaiorRegiaoBranca(g, N) >= brancas;
}

void AdensarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax, TAleatorio& AAleatorio) {
    const int32_t N = ABoard.Size();
    TGrelhaBooleana g = GrelhaDoTabuleiro(ABoard);
    int32_t falhas = 0;
    bool mudou = false;
    TBarrasDoEnsaio ensaio;

    while (falhas < CMaxFalhasSeguidas) {
        if (!PrepararEnsaio(g, N, AMin, AMax, ensaio, AAleatorio) || ensaio.Tocantes.empty()) {
            ++falhas;
            continue;
        }
        if (ColocarBarraEspelhada(g, N, ensaio.Horizontal,
                                  SortearBarra(ensaio.Tocantes, AAleatorio)) == 0) {
            ++falhas;
            continue;
        }
        falhas = 0;
        mudou = true;
        ensaio.GrelhaMudou();
    }
    // A denser pattern that breaks the run rules is simply not taken.
    if (mudou) AplicarGrelha(ABoard, g);
}

bool GerarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax, TAleatorio& AAleatorio) {
    for (int32_t tentativa = 0; tentativa < CMaxTentativasGrelha; ++tentativa) {
        if (!GerarGrelhaPorBarras(ABoard, AMin, AMax, AAleatorio)) continue;
        AdensarGrelha(ABoard, AMin, AMax, AAleatorio);
        if (RepararCelulasSoltas(ABoard, AAleatorio)) return true;
    }
    return false;
}
