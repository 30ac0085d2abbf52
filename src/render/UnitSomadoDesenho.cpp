#include "render/UnitSomadoDesenho.h"

#include <algorithm>

#include <QBrush>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

namespace {

// Fractions of the cell height; the glyph sizes and the clue inset all scale with the cell so
// the board looks the same on any screen size and on paper.
constexpr double CFracaoDigito = 0.5;
constexpr double CFracaoPista = 0.3;
constexpr double CFracaoMargemPista = 0.1;
constexpr double CFracaoNota = 0.27;
// The smallest pixel size of a mark.
constexpr int32_t CNotaMinima = 12;

const QString CNomeFonte = QStringLiteral("Segoe UI");

int32_t Escalar(int32_t AAltura, double AFracao) {
    return static_cast<int32_t>(Arredondar(AAltura * AFracao));
}

QRect ParaQRect(const TRectCelula& ARect) {
    return QRect(ARect.Left, ARect.Top, ARect.Right - ARect.Left, ARect.Bottom - ARect.Top);
}

// Cell outlines and grid lines must land on whole pixels; a smoothed diagonal would also bleed
// grey into the neighbouring cells. The caller's choice is put back afterwards.
class TSemSuavizacao {
public:
    explicit TSemSuavizacao(QPainter& ACanvas)
        : FCanvas(ACanvas), FAnterior(ACanvas.testRenderHint(QPainter::Antialiasing)) {
        FCanvas.setRenderHint(QPainter::Antialiasing, false);
    }
    ~TSemSuavizacao() { FCanvas.setRenderHint(QPainter::Antialiasing, FAnterior); }
    TSemSuavizacao(const TSemSuavizacao&) = delete;
    TSemSuavizacao& operator=(const TSemSuavizacao&) = delete;

private:
    QPainter& FCanvas;
    bool FAnterior;
};

void PreencherCelula(QPainter& ACanvas, const TRectCelula& ARect, const QColor& ACor, bool ABorda) {
    const QRect caixa = ParaQRect(ARect);
    if (!ABorda) {
        ACanvas.fillRect(caixa, ACor);
    } else {
        ACanvas.fillRect(caixa, CCorContorno);
        // Cells under three units across are all outline.
        if (caixa.width() > 2 && caixa.height() > 2)
            ACanvas.fillRect(caixa.adjusted(1, 1, -1, -1), ACor);
    }
    ACanvas.setBrush(QBrush(ACor, Qt::SolidPattern));
}

struct TTextoMedido {
    QFont Fonte;
    int32_t Largura = 0;
    int32_t Altura = 0;
    int32_t Ascendente = 0;
};

// Measured against the painter's own device, so a PDF page places the numbers exactly as the
// screen does.
TTextoMedido Medir(const QPainter& ACanvas, const QString& ATexto, int32_t ATamanho) {
    TTextoMedido medida;
    medida.Fonte = QFont(CNomeFonte);
    medida.Fonte.setBold(true);
    medida.Fonte.setPixelSize(ATamanho);
    const QFontMetrics metricas(medida.Fonte, ACanvas.device());
    medida.Largura = metricas.horizontalAdvance(ATexto);
    medida.Altura = metricas.height();
    medida.Ascendente = metricas.ascent();
    return medida;
}

// (AX, AY) is the top-left corner of the text's line box, not the baseline QPainter expects.
void EscreverEm(QPainter& ACanvas, const TTextoMedido& AMedida, const QString& ATexto,
                const QColor& ACor, int32_t AX, int32_t AY) {
    ACanvas.setFont(AMedida.Fonte);
    ACanvas.setPen(QPen(ACor));
    // An opaque background mode left by the caller would paint a box behind the glyphs.
    ACanvas.setBackgroundMode(Qt::TransparentMode);
    ACanvas.drawText(QPoint(AX, AY + AMedida.Ascendente), ATexto);
}

void EscreverDigito(QPainter& ACanvas, const TRectCelula& ARect, int32_t AValor,
                    const QColor& ACor) {
    const int32_t altura = ARect.Bottom - ARect.Top;
    const int32_t tamanho = Escalar(altura, CFracaoDigito);
    // QFont rejects a zero pixel size; a cell that small has no room for a digit anyway.
    if (tamanho <= 0) return;
    const QString texto = QString::number(AValor);
    const TTextoMedido medida = Medir(ACanvas, texto, tamanho);
    const int32_t x = ARect.Left + (ARect.Right - ARect.Left - medida.Largura) / 2;
    const int32_t y = ARect.Top + (altura - medida.Altura) / 2;
    EscreverEm(ACanvas, medida, texto, ACor, x, y);
}

void EscreverPista(QPainter& ACanvas, const TRectCelula& ARect, int32_t ASoma, bool AHorizontal) {
    const int32_t altura = ARect.Bottom - ARect.Top;
    const int32_t tamanho = Escalar(altura, CFracaoPista);
    if (tamanho <= 0) return;
    const int32_t margem = Escalar(altura, CFracaoMargemPista);
    const QString texto = QString::number(ASoma);
    const TTextoMedido medida = Medir(ACanvas, texto, tamanho);
    if (AHorizontal)
        EscreverEm(ACanvas, medida, texto, CCorBranca, ARect.Right - medida.Largura - margem,
                   ARect.Top + margem);
    else
        EscreverEm(ACanvas, medida, texto, CCorBranca, ARect.Left + margem,
                   ARect.Bottom - medida.Altura - margem);
}

// Candidate d sits in a fixed place of a 3 × 3 layout, 1 top left to 9 bottom right, as on a
// telephone keypad turned the right way up.
void EscreverNotas(QPainter& ACanvas, const TRectCelula& ARect, uint16_t ANotas) {
    const int32_t largura = ARect.Right - ARect.Left;
    const int32_t altura = ARect.Bottom - ARect.Top;
    // Never below what reads at a glance (about 8 pixels of ink for a digit), as long as
    // three rows of marks still fit the cell.
    const int32_t tamanho =
        std::min(std::max(Escalar(altura, CFracaoNota), CNotaMinima), altura / 2);
    if (tamanho <= 0) return;
    for (int32_t d = 1; d <= 9; ++d) {
        if (!(ANotas & (1u << d))) continue;
        const QString texto = QString::number(d);
        TTextoMedido medida = Medir(ACanvas, texto, tamanho);
        const int32_t coluna = (d - 1) % 3, linha = (d - 1) / 3;
        // Centred in its third of the cell, inside the cell's outline.
        const int32_t cx = ARect.Left + (largura * (2 * coluna + 1)) / 6;
        const int32_t cy = ARect.Top + (altura * (2 * linha + 1)) / 6;
        EscreverEm(ACanvas, medida, texto, CCorNota, cx - medida.Largura / 2,
                   cy - medida.Altura / 2);
    }
}

void DesenharDiagonal(QPainter& ACanvas, const TRectCelula& ARect) {
    // The line ends on (Right, Bottom), which belongs to the next cell: the flat cap leaves
    // that pixel out on a raster. On a PDF page the stroke is a true band half a unit either
    // side of the corner-to-corner path, so the clip trims what would spill over the neighbours.
    ACanvas.save();
    ACanvas.setClipRect(ParaQRect(ARect), Qt::IntersectClip);
    ACanvas.setPen(QPen(QBrush(CCorBranca), 1, Qt::SolidLine, Qt::FlatCap));
    ACanvas.drawLine(QPoint(ARect.Left, ARect.Top), QPoint(ARect.Right, ARect.Bottom));
    ACanvas.restore();
}

} // namespace

void SubstituirFonteEmFalta(const QString& ANome, const QStringList& ASubstitutos) {
    if (QFontDatabase::families().contains(ANome, Qt::CaseInsensitive)) return;
    QFont::insertSubstitutions(ANome, ASubstitutos);
}

void SubstituirFontesEmFalta() {
    // Windows has the named fonts; elsewhere look-alikes from Debian's font packages stand in.
    // "Arial" already resolves to Liberation Sans through fontconfig. Lato's widths are within a
    // few per cent of Segoe UI's, so the captions of the fixed-size buttons fit as they were laid
    // out; Open Sans is a sixteenth wider.
    SubstituirFonteEmFalta(
        QStringLiteral("Segoe UI"),
        {QStringLiteral("Lato"), QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    SubstituirFonteEmFalta(QStringLiteral("Consolas"),
                           {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
}

QColor CorDoDigito(TCellDisplayState AEstado) {
    switch (AEstado) {
    case TCellDisplayState::cdsWrong:
        return CCorDigitoErrado;
    case TCellDisplayState::cdsRevealed:
        return CCorDigitoRevelado;
    case TCellDisplayState::cdsNormal:
    case TCellDisplayState::cdsCorrect:
        break;
    }
    return CCorContorno;
}

void DesenharCelula(QPainter& ACanvas, const TRectCelula& ARect, const TSomadoCell& ACelula,
                    bool AMostrarSolucao, bool ABorda, const TExtrasCelula& AExtras) {
    const TSemSuavizacao semSuavizacao(ACanvas);
    switch (ACelula.CellType) {
    case TCellType::ctBlack:
        PreencherCelula(ACanvas, ARect, CCorBloqueada, ABorda);
        break;
    case TCellType::ctClue:
        PreencherCelula(ACanvas, ARect, CCorBloqueada, ABorda);
        DesenharDiagonal(ACanvas, ARect);
        if (ACelula.RightSum != 0) EscreverPista(ACanvas, ARect, ACelula.RightSum, true);
        if (ACelula.DownSum != 0) EscreverPista(ACanvas, ARect, ACelula.DownSum, false);
        break;
    case TCellType::ctEmpty: {
        const int32_t valor =
            AExtras.Oculto ? 0 : (AMostrarSolucao ? ACelula.Solution : ACelula.Value);
        const bool conflito = AExtras.Conflito && !AMostrarSolucao && valor != 0;
        PreencherCelula(ACanvas, ARect, FundoDaCelula(conflito, AExtras.Realce), ABorda);
        // A digit judged wrong by a check keeps its red; a rule conflict alone shows in its own
        // colour, on its own background.
        const QColor cor = conflito && ACelula.DisplayState == TCellDisplayState::cdsNormal
                               ? CCorConflito
                               : CorDoDigito(ACelula.DisplayState);
        if (valor != 0)
            EscreverDigito(ACanvas, ARect, valor, cor);
        else if (!AMostrarSolucao && !AExtras.Oculto && AExtras.Notas != 0)
            EscreverNotas(ACanvas, ARect, AExtras.Notas);
        break;
    }
    }
}

QColor FundoDaCelula(bool AConflito, TRealceCelula ARealce) {
    if (AConflito) return CCorFundoConflito;
    switch (ARealce) {
    case TRealceCelula::Corrida:
        return CCorFundoCorrida;
    case TRealceCelula::Passo:
        return CCorFundoPasso;
    case TRealceCelula::PassoCelula:
        return CCorFundoPassoCelula;
    case TRealceCelula::Fim:
        return CCorFundoFim;
    case TRealceCelula::Nenhum:
        break;
    }
    return CCorBranca;
}

void DesenharGrelha(QPainter& ACanvas, int32_t AX0, int32_t AY0, int32_t ATamanhoCelula,
                    int32_t ANumeroCelulas, int32_t ALarguraFina, int32_t ALarguraGrossa) {
    const TSemSuavizacao semSuavizacao(ACanvas);
    const int32_t total = ANumeroCelulas * ATamanhoCelula;
    // Each line is centred on the cell boundary so neighbouring cells lose the same amount.
    for (int32_t i = 0; i <= ANumeroCelulas; ++i) {
        const int32_t p = i * ATamanhoCelula - ALarguraFina / 2;
        ACanvas.fillRect(QRect(AX0 + p, AY0, ALarguraFina, total), CCorContorno);
        ACanvas.fillRect(QRect(AX0, AY0 + p, total, ALarguraFina), CCorContorno);
    }

    const int32_t metade = ALarguraGrossa / 2;
    const int32_t esquerda = AX0 - metade;
    const int32_t topo = AY0 - metade;
    const int32_t direita = AX0 + total - metade + ALarguraGrossa;
    const int32_t fundo = AY0 + total - metade + ALarguraGrossa;
    const int32_t largura = direita - esquerda;
    const int32_t altura = fundo - topo;
    ACanvas.fillRect(QRect(esquerda, topo, largura, ALarguraGrossa), CCorContorno);
    ACanvas.fillRect(QRect(esquerda, fundo - ALarguraGrossa, largura, ALarguraGrossa),
                     CCorContorno);
    ACanvas.fillRect(QRect(esquerda, topo, ALarguraGrossa, altura), CCorContorno);
    ACanvas.fillRect(QRect(direita - ALarguraGrossa, topo, ALarguraGrossa, altura), CCorContorno);
    ACanvas.setBrush(QBrush(CCorContorno, Qt::SolidPattern));
}
