// The PDF unit's public face, for the rest of the program; its pages are in PaginasPdf.h.
// PDF documents: the single puzzle and the book of a batch, drawn on A4 pages and written to a
// file.
#pragma once

#include "model/UnitSomado.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QPagedPaintDevice;

using TListaDeTabuleiros = std::vector<std::unique_ptr<TSomadoBoard>>;

// Whether a batch title fits the cover's width at the smallest size the cover gives it
// (beyond that the cover would cut it at both page edges).
bool TituloCabeNaCapa(const QString& ATitulo);

// ---- Whole documents written to a file: drawn in memory, then written in one go
// (GravarFicheiroInteiro), so a failure raises ESomadoError naming the file and leaves any
// old file as it was.

// The single-puzzle document: the puzzle page (the board's digits as they are now), then its
// solution page.
void ExportarPuzzlePdf(const TSomadoBoard& ABoard, const QString& ACaminho);
// The batch document, in the page order of DesenharLote (PaginasPdf.h).
void ExportarLotePdf(const TListaDeTabuleiros& ALista, int32_t ALado, const QString& ATitulo,
                     const QString& ARotulo, const QString& ACaminho);

// ---- Printing: the single puzzle's pages, drawn by the same page code, on a printer's paper.

// What goes on paper: the puzzle page as it stands (as "Exportar Puzzle" draws it), a blank copy
// (the clues only, for solving on paper), or the puzzle page followed by its solution page.
enum class TConteudoImpressao : uint8_t { ComoEsta, EmBranco, ComSolucao };

// The board as the page shows it for AConteudo: a blank copy has no digit and no marks of a
// check.
TSomadoBoard TabuleiroParaImprimir(const TSomadoBoard& ABoard, TConteudoImpressao AConteudo);
// Draws the pages on APapel, which is left ended: raises ESomadoError with a Portuguese message
// when the device refuses to start, to take a page or to finish (nothing printed, or not all).
// Returns the number of pages drawn.
int32_t ImprimirPuzzle(QPagedPaintDevice& APapel, const TSomadoBoard& ABoard,
                       TConteudoImpressao AConteudo);
