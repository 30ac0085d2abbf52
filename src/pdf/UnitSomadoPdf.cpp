#include "pdf/UnitSomadoPdf.h"

#include "io/GravacaoSegura.h"
#include "pdf/PaginasPdf.h"
#include "render/UnitSomadoDesenho.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>

namespace {

const QColor CPreto(0, 0, 0);
const QColor CCinzentoRodape(128, 128, 128);

QFontMetrics Metricas(const TDocumentoPdf& AD) {
    auto& canvas = const_cast<TDocumentoPdf&>(AD).Canvas();
    return QFontMetrics(canvas.font(), canvas.device());
}

// The document information readers show; Qt writes the title but has no author field, so
// the author goes in through QPDF, which rewrites the file's structure without touching
// the pages.
QByteArray ComAutor(const QByteArray& APdf, const char* AAutor) {
    QPDF pdf;
    pdf.processMemoryFile("somado.pdf", APdf.constData(), static_cast<size_t>(APdf.size()));
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    info.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(AAutor));
    QPDFWriter escritor(pdf);
    escritor.setOutputMemory();
    escritor.write();
    const std::shared_ptr<Buffer> saida = escritor.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(saida->getBuffer()),
                      static_cast<qsizetype>(saida->getSize()));
}

void EscreverNumero(TDocumentoPdf& AD, int32_t AY, int32_t ANumero) {
    QFont fonte = AD.Canvas().font();
    fonte.setPointSizeF(AD.Pontos(14));
    fonte.setBold(true);
    AD.Canvas().setFont(fonte);
    const QString texto = QStringLiteral("#%1").arg(ANumero);
    AD.TextOut(CLarguraPagina - CMargem - AD.TextWidth(texto), AY, texto);
    fonte.setBold(false);
    AD.Canvas().setFont(fonte);
}

QString SubtituloDoPuzzle(const TSomadoBoard& ABoard) {
    return QStringLiteral("%1 x %1 / %2")
        .arg(ABoard.Size())
        .arg(QString::fromUtf8(NomeNivel(ABoard.Difficulty())));
}

} // namespace

int32_t MmParaUnidades(double AMm) {
    return static_cast<int32_t>(Arredondar(AMm / 25.4 * 96.0));
}

TDocumentoPdf::TDocumentoPdf() : FEscritor(std::make_unique<QPdfWriter>(&FBuffer)) {
    FPapel = FEscritor.get();
    FBuffer.open(QIODevice::WriteOnly);
    FEscritor->setResolution(96);
    FEscritor->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    FEscritor->setTitle(QStringLiteral("SOMADO"));
    FEscritor->setCreator(QStringLiteral("Somado"));
}

TDocumentoPdf::TDocumentoPdf(QPagedPaintDevice& APapel) : FPapel(&APapel) {}

TDocumentoPdf::~TDocumentoPdf() {
    if (FCanvas.isActive()) FCanvas.end();
}

QTransform TransformacaoParaPapel(int32_t ALargura, int32_t AAltura, double AResolucao) {
    const double a = CAreaImpressaMargem;
    const double largura = CLarguraPagina - 2 * a, altura = CAlturaPagina - 2 * a;
    // Device units per page unit: the true size, unless the printable area is smaller.
    const double k = std::min({AResolucao / 96.0, ALargura / largura, AAltura / altura});
    const double dx = (ALargura - largura * k) / 2 - a * k;
    const double dy = (AAltura - altura * k) / 2 - a * k;
    return QTransform(k, 0, 0, k, dx, dy);
}

void TDocumentoPdf::AjustarAoPapel() {
    // The PDF document is drawn in its own units; a printer's paper is fitted.
    if (FEscritor) return;
    FPagina = TransformacaoParaPapel(FPapel->width(), FPapel->height(), FPapel->logicalDpiX());
    FFactorFonte = 96.0 / FPapel->logicalDpiY();
    FCanvas.setWorldTransform(FPagina);
}

void TDocumentoPdf::AdicionarPagina() {
    // The painter's start opens the first page; every later page is a new one.
    if (FPaginas == 0) {
        if (!FCanvas.begin(FPapel))
            throw ESomadoError("Não foi possível começar a imprimir: a impressora não aceitou o "
                               "trabalho.");
        FCanvas.setBackgroundMode(Qt::TransparentMode);
    } else if (!FPapel->newPage()) {
        throw ESomadoError("A impressora não aceitou mais páginas.");
    }
    // A new page on some printers starts from a fresh device context.
    AjustarAoPapel();
    ++FPaginas;
}

bool TDocumentoPdf::TerminarPapel() {
    return !FCanvas.isActive() || FCanvas.end();
}

int32_t TDocumentoPdf::TextWidth(const QString& ATexto) const {
    return Metricas(*this).horizontalAdvance(ATexto);
}

int32_t TDocumentoPdf::TextHeight(const QString&) const {
    return Metricas(*this).height();
}

void TDocumentoPdf::TextOut(int32_t AX, int32_t AY, const QString& ATexto) {
    FCanvas.drawText(AX, AY + Metricas(*this).ascent(), ATexto);
}

QByteArray TDocumentoPdf::Terminar() {
    // Only a document drawn in memory has bytes.
    if (!FEscritor) return {};
    if (FCanvas.isActive()) FCanvas.end();
    return ComAutor(FBuffer.data(), "Quorvel");
}

void TDocumentoPdf::Gravar(const QString& ACaminho) {
    GravarFicheiroInteiro(ACaminho, Terminar());
}

void DesenharTabuleiroPdf(TDocumentoPdf& AD, const TSomadoBoard& ABoard, int32_t AX0, int32_t AY0,
                          int32_t ACelula, bool AMostrarSolucao, int32_t AMoldura) {
    const int32_t n = ABoard.Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            DesenharCelula(AD.Canvas(),
                           {AX0 + c * ACelula, AY0 + r * ACelula, AX0 + (c + 1) * ACelula,
                            AY0 + (r + 1) * ACelula},
                           ABoard.GetCell(r, c), AMostrarSolucao, false);
    DesenharGrelha(AD.Canvas(), AX0, AY0, ACelula, n, 2, AMoldura);
}

std::unique_ptr<TDocumentoPdf> CriarDocumentoPdf() {
    return std::make_unique<TDocumentoPdf>();
}

void DefinirFontePdf(TDocumentoPdf& AD, int32_t ATamanho, bool ANegrito, const QColor& ACor) {
    QFont fonte(QStringLiteral("Arial"));
    fonte.setPointSizeF(AD.Pontos(ATamanho));
    fonte.setBold(ANegrito);
    AD.Canvas().setFont(fonte);
    AD.Canvas().setPen(ACor);
    AD.Canvas().setBrush(Qt::NoBrush);
}

void EscreverCentrado(TDocumentoPdf& AD, int32_t AY, const QString& ATexto) {
    AD.Canvas().setBrush(Qt::NoBrush);
    AD.TextOut((CLarguraPagina - AD.TextWidth(ATexto)) / 2, AY, ATexto);
}

void DesenharRodape(TDocumentoPdf& AD, int32_t APagina) {
    if (APagina <= 0) return;
    DefinirFontePdf(AD, 9, false, CCinzentoRodape);
    AD.TextOut(CMargemRodape, CTopoRodape, QStringLiteral("SOMADO | Quorvel"));
    const QString numero = QString::number(APagina);
    AD.TextOut(CLarguraPagina - CMargemRodape - AD.TextWidth(numero), CTopoRodape, numero);
    AD.Canvas().setPen(CPreto);
}

void DesenharPaginaPuzzle(TDocumentoPdf& AD, const TSomadoBoard& ABoard, bool AMostrarSolucao,
                          int32_t ANumero, bool AComTitulo, int32_t APagina) {
    const int32_t n = ABoard.Size();
    AD.AdicionarPagina();
    int32_t y = CMargem;
    if (AComTitulo) {
        DefinirFontePdf(AD, 28, true, CPreto);
        EscreverCentrado(AD, CMargem, QStringLiteral("SOMADO"));
        y = CMargem + CPassoSubtitulo;
    }
    DefinirFontePdf(AD, 12, false, CPreto);
    EscreverCentrado(AD, y,
                     AMostrarSolucao ? QStringLiteral("%1 x %1 — Solução").arg(n)
                                     : SubtituloDoPuzzle(ABoard));
    if (ANumero > 0) EscreverNumero(AD, CMargem, ANumero);
    DesenharRodape(AD, APagina);
    const int32_t lado = std::min(CLarguraPagina - 2 * CMargem,
                                  CAlturaPagina - 2 * CMargem - CAteTabuleiro - CFaixaInferior);
    const int32_t s = lado / n;
    DesenharTabuleiroPdf(AD, ABoard, (CLarguraPagina - n * s) / 2, CMargem + CAteTabuleiro, s,
                         AMostrarSolucao, 5);
}

void ExportarPuzzlePdf(const TSomadoBoard& ABoard, const QString& ACaminho) {
    const auto documento = CriarDocumentoPdf();
    DesenharPaginaPuzzle(*documento, ABoard, false, 0, true, 1);
    DesenharPaginaPuzzle(*documento, ABoard, true, 0, true, 2);
    documento->Gravar(ACaminho);
}

TSomadoBoard TabuleiroParaImprimir(const TSomadoBoard& ABoard, TConteudoImpressao AConteudo) {
    TSomadoBoard board = ABoard;
    if (AConteudo != TConteudoImpressao::EmBranco) return board;
    for (int32_t r = 0; r < board.Size(); ++r)
        for (int32_t c = 0; c < board.Size(); ++c) {
            TSomadoCell celula = board.GetCell(r, c);
            celula.Value = 0;
            celula.DisplayState = TCellDisplayState::cdsNormal;
            board.SetCell(r, c, celula);
        }
    return board;
}

int32_t ImprimirPuzzle(QPagedPaintDevice& APapel, const TSomadoBoard& ABoard,
                       TConteudoImpressao AConteudo) {
    const TSomadoBoard board = TabuleiroParaImprimir(ABoard, AConteudo);
    TDocumentoPdf documento(APapel);
    DesenharPaginaPuzzle(documento, board, false, 0, true, 1);
    if (AConteudo == TConteudoImpressao::ComSolucao)
        DesenharPaginaPuzzle(documento, board, true, 0, true, 2);
    if (!documento.TerminarPapel())
        throw ESomadoError("A impressora não aceitou o trabalho até ao fim.");
    return documento.Paginas();
}
