// An independent solution counter for tests: backtracking over the white cells, with the run
// totals read from the clue cells, always filling next the cell with the fewest digits left
// (in row-major order the search is exponential on some boards: minutes for a 9 × 9). It
// knows nothing of the program's deduction and stops as soon as it has found two solutions.
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

    // Puts digit d into the cell's runs (ASinal +1) or takes it out again (-1); true when
    // both runs can still reach their totals.
    bool Mudar(int32_t ACelula, int32_t d, int ASinal) {
        bool ok = true;
        for (const int32_t run : {FRunH[ACelula], FRunV[ACelula]}) {
            if (run < 0) continue;
            FRuns[run].Usados ^= 1u << d;
            FRuns[run].Soma += ASinal * d;
            FRuns[run].Restantes -= ASinal;
            ok = ok && Viavel(FRuns[run]);
        }
        return ok;
    }

    // The digits the cell may still take, one bit each.
    unsigned Candidatos(int32_t ACelula) {
        const int32_t h = FRunH[ACelula], v = FRunV[ACelula];
        unsigned candidatos = 0;
        for (int32_t d = 1; d <= 9; ++d) {
            if ((h >= 0 && (FRuns[h].Usados >> d & 1)) || (v >= 0 && (FRuns[v].Usados >> d & 1)))
                continue;
            if (Mudar(ACelula, d, +1)) candidatos |= 1u << d;
            Mudar(ACelula, d, -1);
        }
        return candidatos;
    }

    void Procurar(size_t AColocadas) {
        if (FSolucoes >= 2) return;
        if (AColocadas == FCelulas.size()) {
            if (++FSolucoes == 1) FPrimeira = FDigitos;
            return;
        }
        int32_t celula = -1;
        unsigned candidatos = 0;
        int menos = 10;
        for (const int32_t k : FCelulas) {
            if (FDigitos[k] != 0) continue;
            const unsigned estes = Candidatos(k);
            const int quantos = __builtin_popcount(estes);
            if (quantos < menos) {
                celula = k;
                candidatos = estes;
                menos = quantos;
                if (quantos == 0) return;
            }
        }
        for (int32_t d = 1; d <= 9 && FSolucoes < 2; ++d) {
            if (!(candidatos >> d & 1)) continue;
            Mudar(celula, d, +1);
            FDigitos[celula] = d;
            Procurar(AColocadas + 1);
            FDigitos[celula] = 0;
            Mudar(celula, d, -1);
        }
    }

    int32_t FN;
    std::vector<TRun> FRuns;
    std::vector<int32_t> FRunH, FRunV, FCelulas, FDigitos, FPrimeira;
    int FSolucoes = 0;
};
