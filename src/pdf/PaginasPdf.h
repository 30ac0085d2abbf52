// The PDF unit's internal header: its pages, for the PDF code, its tests and benchmarks.
// A4 pages drawn on a QPainter at 96 units per inch, the single-puzzle pages and the pages of a
// batch (cover, rules, sections, example, two-puzzle and solution pages). Included through the
// somado_pdf_interno target; the rest of the program sees UnitSomadoPdf.h.
#pragma once

#ifndef SOMADO_PDF_INTERNO
#error "PaginasPdf.h belongs to the PDF code: include pdf/UnitSomadoPdf.h"
#endif

#include "model/UnitSomado.h"
#include "pdf/UnitSomadoPdf.h"

#include <QBuffer>
#include <QColor>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

struct TBlocoRegras;

// Millimetres to page units (96 per inch), rounded halves to even.
int32_t MmParaUnidades(double AMm);

inline constexpr int32_t CLarguraPagina = 794; // 210 mm
inline constexpr int32_t CAlturaPagina = 1123; // 297 mm
inline constexpr int32_t CMargem = 57;         // 15 mm
inline constexpr int32_t CAteTabuleiro = 94;   // 25 mm
inline constexpr int32_t CFaixaInferior = 76;  // 20 mm
inline constexpr int32_t CPassoSubtitulo = 53; // 14 mm
inline constexpr int32_t CTopoRodape = 1070;   // 283 mm
inline constexpr int32_t CMargemRodape = 68;   // 18 mm

// One document being drawn. Pages are drawn in memory; Gravar writes the finished file in
// one go, so a failure never leaves a half-written file behind. The same pages go to a
// printer's paper instead (the second constructor): drawn in the A4 page's units, scaled down
// where the paper's printable area is smaller than the part of the page that holds ink.
class TDocumentoPdf {
public:
    TDocumentoPdf();
    // Draws on APapel (a printer, or anything paged), whose pages stay the caller's to finish.
    explicit TDocumentoPdf(QPagedPaintDevice& APapel);
    ~TDocumentoPdf();
    TDocumentoPdf(const TDocumentoPdf&) = delete;
    TDocumentoPdf& operator=(const TDocumentoPdf&) = delete;

    // Raises ESomadoError when the device takes no more pages (a printer that failed).
    void AdicionarPagina();
    int32_t Paginas() const { return FPaginas; }
    // The current page's canvas.
    QPainter& Canvas() { return FCanvas; }
    // A font size in points as the page means it: the pages are drawn at 96 units per inch,
    // whatever the device's own resolution.
    double Pontos(double APontos) const { return APontos * FFactorFonte; }

    // The text operations of the page canvas, in the current font.
    int32_t TextWidth(const QString& ATexto) const;
    int32_t TextHeight(const QString& ATexto) const;
    void TextOut(int32_t AX, int32_t AY, const QString& ATexto);

    // The finished document as a PDF file (title "SOMADO", author "Quorvel"); raises
    // ESomadoError naming the file when it cannot be written.
    void Gravar(const QString& ACaminho);
    // The finished document's bytes.
    QByteArray Terminar();
    // Ends the drawing on the paper; false when the device reports a failure.
    bool TerminarPapel();

private:
    void AjustarAoPapel();

    QBuffer FBuffer;
    std::unique_ptr<QPdfWriter> FEscritor;
    QPagedPaintDevice* FPapel = nullptr;
    QPainter FCanvas;
    // Page units to the device's, and the font sizes' correction to 96 units per inch.
    QTransform FPagina;
    double FFactorFonte = 1.0;
    int32_t FPaginas = 0;
};

// The part of an A4 page that holds the ink of every page drawn here (the margins' outer
// half is always blank): what a printer's printable area must take.
inline constexpr int32_t CAreaImpressaMargem = CMargem / 2;
// Page units to a device of ALargura × AAltura units at AResolucao dots per inch: the inked part
// at its true size when it fits, else scaled down to fit; centred on the device either way.
QTransform TransformacaoParaPapel(int32_t ALargura, int32_t AAltura, double AResolucao);

std::unique_ptr<TDocumentoPdf> CriarDocumentoPdf();
void DefinirFontePdf(TDocumentoPdf& AD, int32_t ATamanho, bool ANegrito, const QColor& ACor);
void EscreverCentrado(TDocumentoPdf& AD, int32_t AY, const QString& ATexto);
void DesenharRodape(TDocumentoPdf& AD, int32_t APagina);
// Every cell of a board, border off, then its grid with 2-unit lines and an AMoldura frame.
void DesenharTabuleiroPdf(TDocumentoPdf& AD, const TSomadoBoard& ABoard, int32_t AX0, int32_t AY0,
                          int32_t ACelula, bool AMostrarSolucao, int32_t AMoldura);
void DesenharPaginaPuzzle(TDocumentoPdf& AD, const TSomadoBoard& ABoard, bool AMostrarSolucao,
                          int32_t ANumero, bool AComTitulo, int32_t APagina);

// ---- Batch pages

void EscreverAjustado(TDocumentoPdf& AD, double AYMm, const QString& ATexto, int32_t AInicial,
                      int32_t AMinimo, int32_t APasso, bool ANegrito);
void DesenharCapa(TDocumentoPdf& AD, const QString& ATitulo, const QString& ARotulo,
                  int32_t APuzzles, int32_t ALado);
void DesenharPaginaRegras(TDocumentoPdf& AD, int32_t APagina);
int32_t DesenharBlocos(TDocumentoPdf& AD, const std::vector<TBlocoRegras>& ABlocos, int32_t AY,
                       bool& APrimeiroTitulo);
QStringList QuebrarLinhas(const TDocumentoPdf& AD, const QString& ATexto, int32_t ALargura);
void DesenharPaginaSeccao(TDocumentoPdf& AD, const QString& ATexto);
void DesenharPaginaExemplo(TDocumentoPdf& AD);
void DesenharPaginaDupla(TDocumentoPdf& AD, const TSomadoBoard& AA, const TSomadoBoard& AB,
                         int32_t ANumeroA, int32_t ANumeroB, int32_t APagina);
std::pair<int32_t, int32_t> SolucoesPorPagina(int32_t ALado);
void DesenharPaginaSolucoes(TDocumentoPdf& AD, const TListaDeTabuleiros& ALista, int32_t APrimeiro,
                            int32_t AColunas, int32_t ALinhas, int32_t APagina);
// The example page's 5 × 5 puzzle, in rows and columns 0..4 of a 6 × 6 board (the smallest
// board there is).
std::unique_ptr<TSomadoBoard> TabuleiroExemplo();

// Draws the example page when the next page would be even, so that the next is odd.
void GarantirPaginaImpar(TDocumentoPdf& AD, int32_t& AContadorPaginas);

// The whole batch document in its fixed page order, for boards of side ALado. ARotulo is
// "Progressivo" or the level's name.
void DesenharLote(TDocumentoPdf& AD, const TListaDeTabuleiros& ALista, int32_t ALado,
                  const QString& ATitulo, const QString& ARotulo);
