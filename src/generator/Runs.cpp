// Turning a pattern of blocked and white cells into cell kinds, clue cells and runs.
#include "generator/GeradorInterno.h"

TGrelhaBooleana GrelhaBloqueada() {
    TGrelhaBooleana g;
    for (auto& linha : g)
        linha.fill(true);
    return g;
}

TGrelhaBooleana GrelhaDoTabuleiro(const TSomadoBoard& ABoard) {
    TGrelhaBooleana g = GrelhaBloqueada();
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            g[r][c] = ABoard.GetCell(r, c).CellType != TCellType::ctEmpty;
    return g;
}

bool ExtrairGrupos(const TGrelhaBooleana& g, int32_t N, TSomadoGroupArray& AAcross,
                   TSomadoGroupArray& ADown) {
    AAcross.clear();
    ADown.clear();
    // Length of the run through each white cell, per direction; 0 outside runs.
    std::array<std::array<uint8_t, CLadoMaximo>, CLadoMaximo> compH{}, compV{};

    for (int32_t r = 0; r < N; ++r) {
        int32_t c = 0;
        while (c < N) {
            if (g[r][c]) {
                ++c;
                continue;
            }
            const int32_t s = c;
            while (c < N && !g[r][c])
                ++c;
            const int32_t len = c - s;
            if (len > CComprimentoMaximoRun) return false;
            if (len >= 2) {
                AAcross.push_back({r, s, len, 0, true});
                for (int32_t k = s; k < c; ++k)
                    compH[r][k] = static_cast<uint8_t>(len);
            }
        }
    }
    for (int32_t c = 0; c < N; ++c) {
        int32_t r = 0;
        while (r < N) {
            if (g[r][c]) {
                ++r;
                continue;
            }
            const int32_t s = r;
            while (r < N && !g[r][c])
                ++r;
            const int32_t len = r - s;
            if (len > CComprimentoMaximoRun) return false;
            if (len >= 2) {
                ADown.push_back({s, c, len, 0, false});
                for (int32_t k = s; k < r; ++k)
                    compV[k][c] = static_cast<uint8_t>(len);
            }
        }
    }
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            if (!g[r][c] && compH[r][c] < 2 && compV[r][c] < 2) return false;
    return true;
}

bool AplicarGrelha(TSomadoBoard& ABoard, const TGrelhaBooleana& g) {
    const int32_t N = ABoard.Size();
    TSomadoGroupArray across, down;
    if (!ExtrairGrupos(g, N, across, down)) return false;

    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            TSomadoCell cell = ABoard.GetCell(r, c);
            cell.CellType = g[r][c] ? TCellType::ctBlack : TCellType::ctEmpty;
            cell.RightSum = 0;
            cell.DownSum = 0;
            cell.Value = 0;
            cell.Solution = 0;
            cell.DisplayState = TCellDisplayState::cdsNormal;
            ABoard.SetCell(r, c, cell);
        }
    auto marcarPista = [&ABoard](int32_t r, int32_t c) {
        TSomadoCell cell = ABoard.GetCell(r, c);
        cell.CellType = TCellType::ctClue;
        ABoard.SetCell(r, c, cell);
    };
    for (const TSomadoGroup& run : across)
        marcarPista(run.StartRow, run.StartCol - 1);
    for (const TSomadoGroup& run : down)
        marcarPista(run.StartRow - 1, run.StartCol);
    ABoard.SetGroups(across, down);
    return true;
}

int32_t MaiorRegiaoBranca(const TGrelhaBooleana& g, int32_t N) {
    TGrelhaBooleana visitada{};
    std::array<TPosicaoGrelha, CLadoMaximo * CLadoMaximo> pilha;
    int32_t maior = 0;
    for (int32_t r = 1; r < N; ++r)
        for (int32_t c = 1; c < N; ++c) {
            if (g[r][c] || visitada[r][c]) continue;
            int32_t topo = 0, tamanho = 0;
            pilha[topo++] = {r, c};
            visitada[r][c] = true;
            while (topo > 0) {
                const TPosicaoGrelha p = pilha[--topo];
                ++tamanho;
                static constexpr int32_t dr[4] = {-1, 1, 0, 0};
                static constexpr int32_t dc[4] = {0, 0, -1, 1};
                for (int k = 0; k < 4; ++k) {
                    const int32_t nr = p.R + dr[k], nc = p.C + dc[k];
                    if (nr < 1 || nr >= N || nc < 1 || nc >= N) continue;
                    if (g[nr][nc] || visitada[nr][nc]) continue;
                    visitada[nr][nc] = true;
                    pilha[topo++] = {nr, nc};
                }
            }
            if (tamanho > maior) maior = tamanho;
        }
    return maior;
}

bool BrancasLigadas(const TGrelhaBooleana& g, int32_t N) {
    int32_t brancas = 0;
    for (int32_t r = 1; r < N; ++r)
        for (int32_t c = 1; c < N; ++c)
            if (!g[r][c]) ++brancas;
    return brancas == 0 || brancas == MaiorRegiaoBranca(g, N);
}
