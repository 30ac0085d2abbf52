// An independent solution counter for tests: plain backtracking over the white cells in
// row-major order, with the run totals read from the clue cells. It knows nothing of the
// program's deduction and stops as soon as it has found two solutions.
#pragma once

#include "model/UnitSomado.h"

#include <vector>

class TContadorDeSolucoes {
public:
    explicit TContadorDeSolucoes(const TSomadoBoard& ABoard) : FN(ABoard.Size()) {
        FRunH.assign(static_cast<size_t>(FN * FN), -1);
        FRunV.assign(static_cast<size_t>(FN * FN), -1);
        for (int32_t r = 0; r < FN; ++r)
            for (int32_t c = 0; c < FN; ++c) {
                const TSomadoCell cell = ABoard.GetCell(r, c);
                if (cell.CellType == TCellType::ctClue) {
                    if (cell.RightSum > 0) AcrescentarRun(ABoard, r, c, 0, 1, cell.RightSum, FRunH);
                    if (cell.DownSum > 0) AcrescentarRun(ABoard, r, c, 1, 0, cell.DownSum, FRunV);
                }
                if (cell.CellType == TCellType::ctEmpty) FCelulas.push_back(r * FN + c);
            }
        FDigitos.assign(static_cast<size_t>(FN * FN), 0);
    }

    // 0, 1 or 2 (meaning two or more).
    int Contar() {
        FSolucoes = 0;
        Procurar(0);
        return FSolucoes;
    }
    const std::vector<int32_t>& PrimeiraSolucao() const { return FPrimeira; }
    int32_t N() const { return FN; }

private:
    struct TRun {
        int32_t Total = 0, Restantes = 0, Soma = 0;
        unsigned Usados = 0;
    };

    void AcrescentarRun(const TSomadoBoard& ABoard, int32_t r, int32_t c, int32_t dr, int32_t dc,
                        int32_t ATotal, std::vector<int32_t>& AIndice) {
        TRun run;
        run.Total = ATotal;
        for (int32_t k = 1;; ++k) {
            const int32_t rr = r + k * dr, cc = c + k * dc;
            if (rr >= FN || cc >= FN || ABoard.GetCell(rr, cc).CellType != TCellType::ctEmpty)
                break;
            AIndice[rr * FN + cc] = static_cast<int32_t>(FRuns.size());
            ++run.Restantes;
        }
        FRuns.push_back(run);
    }

    // Can the run still reach its total with `Restantes` distinct unused digits?
    static bool Viavel(const TRun& ARun) {
        const int32_t falta = ARun.Total - ARun.Soma;
        if (ARun.Restantes == 0) return falta == 0;
        int32_t minimo = 0, maximo = 0, quantos = 0;
        for (int d = 1; d <= 9 && quantos < ARun.Restantes; ++d)
            if (!(ARun.Usados >> d & 1)) minimo += d, ++quantos;
        if (quantos < ARun.Restantes) return false;
        quantos = 0;
        for (int d = 9; d >= 1 && quantos < ARun.Restantes; --d)
            if (!(ARun.Usados >> d & 1)) maximo += d, ++quantos;
        return falta >= minimo && falta <= maximo;
    }

    void Procurar(size_t AProxima) {
        if (FSolucoes >= 2) return;
        if (AProxima == FCelulas.size()) {
            if (++FSolucoes == 1) FPrimeira = FDigitos;
            return;
        }
        const int32_t celula = FCelulas[AProxima];
        const int32_t h = FRunH[celula], v = FRunV[celula];
        for (int32_t d = 1; d <= 9; ++d) {
            if ((h >= 0 && (FRuns[h].Usados >> d & 1)) || (v >= 0 && (FRuns[v].Usados >> d & 1)))
                continue;
            bool ok = true;
            for (const int32_t run : {h, v}) {
                if (run < 0) continue;
                FRuns[run].Usados |= 1u << d;
                FRuns[run].Soma += d;
                --FRuns[run].Restantes;
                ok = ok && Viavel(FRuns[run]);
            }
            FDigitos[celula] = d;
            if (ok) Procurar(AProxima + 1);
            FDigitos[celula] = 0;
            for (const int32_t run : {h, v}) {
                if (run < 0) continue;
                FRuns[run].Usados &= ~(1u << d);
                FRuns[run].Soma -= d;
                ++FRuns[run].Restantes;
            }
            if (FSolucoes >= 2) return;
        }
    }

    int32_t FN;
    std::vector<TRun> FRuns;
    std::vector<int32_t> FRunH, FRunV, FCelulas, FDigitos, FPrimeira;
    int FSolucoes = 0;
};
