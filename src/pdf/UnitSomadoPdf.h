// The PDF unit's public face, for the rest of the program; its pages are in PaginasPdf.h.
// PDF documents: the single puzzle and the book of a batch, drawn on A4 pages and written to a
// file.
#pragma once

#include "model/UnitSomado.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

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
