// The two export commands, inside game/: the dialogs, the questions, the progress of a batch
// in the information box and the lines that report the end. What goes on paper, and the
// writing of the file, are the PDF unit's.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// "Exportar Puzzle": the board as it is now, puzzle and solution, to the file the player
// chooses.
void ExportarPuzzle(IJanelaJogo& AJanela, const TSomadoBoard& ABoard);

// "Exportar Lote" for one set of settings. The batch works on a copy of the settings, so that
// what the player changes meanwhile does not reach it.
class TExportacaoLote {
public:
    // AEmCurso is set for as long as the batch runs. A close request meanwhile sets
    // AInterromper, which stops the batch; the batch then asks the window to close again.
    TExportacaoLote(IJanelaJogo& AJanela, const TGeradorDePuzzles& AGerador,
                    const TConfiguracao& AConfiguracao, int32_t AThreads, bool& AEmCurso,
                    bool& AInterromper);

    // From the save dialog to the line that reports the end. An error is reported in the
    // information box and raised again for the general error report.
    void Executar();

private:
    // The generated boards in book order, and how many puzzles failed.
    struct TResultado {
        std::vector<std::unique_ptr<TSomadoBoard>> Tabuleiros;
        int32_t Falhados = 0;
    };

    bool Progressivo() const;
    TNivelDificuldade NivelDoPuzzle(int32_t AIndice) const;
    bool EscolherDestino(QString& ACaminho) const;
    // The warning for a fixed level that the size is not known to generate reliably: true
    // when the batch may go on.
    bool ConfirmarCombinacao() const;
    TPedidoLote Pedido() const;
    QString LinhaDoProgresso(const TProgressoLote& AProgresso) const;
    TResultado Gerar();
    // Shows the progress until the workers end, passing on a close request that comes in with
    // the window's events.
    void AcompanharProgresso(TGeracaoLote& AGeracao, QString ALinhaMostrada);
    TResultado Recolher(TGeracaoLote& AGeracao) const;
    QString RotuloDaCapa() const;
    QString LinhaFinal(int32_t AGerados, int32_t AFalhados, const QString& ACaminho) const;
    void Mostrar(const QString& ALinha);

    IJanelaJogo& FJanela;
    const TGeradorDePuzzles& FGerador;
    const TConfiguracao FLote;
    const int32_t FThreads;
    const int32_t FLado;
    bool& FEmCurso;
    bool& FInterromper;
};
