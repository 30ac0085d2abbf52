// The two export commands, inside game/: the dialogs, the questions, the progress of a batch
// in the information box and the lines that report the end. What goes on paper, and the
// writing of the file, are the PDF unit's.
#pragma once

#include "game/Trabalho.h"
#include "game/UnitSomadoJogo.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// "Exportar Puzzle": the board as it is now, puzzle and solution, to the file the player
// chooses (ACaminho); false when the player cancels. AReservado names a file a running batch
// will write (empty when none): choosing it raises ESomadoError, before anything is written.
bool ExportarPuzzle(IJanelaJogo& AJanela, const TSomadoBoard& ABoard, QString& ACaminho,
                    const QString& AReservado = {});

// Whether two paths name one file, whether or not it exists yet (the batch writes its book at
// its end): links and ".." resolved where they can be, letter case ignored where the file
// system ignores it.
bool MesmoFicheiro(const QString& A, const QString& B);
// Refuses, with ESomadoError, a path that names the file a running batch will write.
void RecusarSeReservado(const QString& ACaminho, const QString& AReservado);

// "Exportar Lote" for one set of settings: the dialogs and questions before, the progress
// line while the game's workers generate, and the pages and the file after. It works on a
// copy of the settings, so that what the player changes meanwhile does not reach it.
class TExportacaoLote {
public:
    TExportacaoLote(IJanelaJogo& AJanela, const TConfiguracao& AConfiguracao, int32_t AThreads);

    // The save dialog and the questions; the puzzles to generate, or none when the player
    // stops here. A place that cannot take the file raises ESomadoError now, not after
    // minutes of generation.
    std::optional<TPedidoLote> Preparar() const;
    QString LinhaDoProgresso(const TProgressoLote& AProgresso) const;
    // The book's file, once Preparar has chosen it.
    const QString& Caminho() const { return FCaminho; }
    // Once the workers have ended: the book written, and the line that reports the end. An
    // error is shown through AMostrar and raised again for the general error report.
    QString Concluir(TTrabalho& ATrabalho, const std::function<void(const QString&)>& AMostrar);

private:
    bool Progressivo() const;
    TNivelDificuldade NivelDoPuzzle(int32_t AIndice) const;
    bool EscolherDestino(QString& ACaminho) const;
    // The warning for a fixed level that the size is not known to generate reliably: true
    // when the batch may go on.
    bool ConfirmarCombinacao() const;
    QString RotuloDaCapa() const;
    QString LinhaFinal(int32_t AGerados, int32_t AFalhados) const;

    IJanelaJogo& FJanela;
    const TConfiguracao FLote;
    const int32_t FThreads;
    const int32_t FLado;
    // Chosen by Preparar.
    mutable QString FCaminho;
};
