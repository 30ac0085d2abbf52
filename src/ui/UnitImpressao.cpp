#include "ui/UnitImpressao.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr std::array<TConteudoImpressao, 3> CConteudos{
    TConteudoImpressao::ComoEsta, TConteudoImpressao::EmBranco, TConteudoImpressao::ComSolucao};

} // namespace

QString MensagemSemImpressoras() {
    return QStringLiteral("Não há nenhuma impressora instalada neste computador. Instale uma, ou "
                          "use \"Exportar Puzzle\" para guardar o puzzle num PDF.");
}

QString TFormImpressao::NomeDoConteudo(TConteudoImpressao AConteudo) {
    switch (AConteudo) {
    case TConteudoImpressao::ComoEsta:
        return QStringLiteral("O puzzle como está");
    case TConteudoImpressao::EmBranco:
        return QStringLiteral("Uma cópia em branco (só as pistas)");
    case TConteudoImpressao::ComSolucao:
        return QStringLiteral("O puzzle e a página da solução");
    }
    return {};
}

TFormImpressao::TFormImpressao(const TSomadoBoard& ABoard, QWidget* AParent)
    : QDialog(AParent), FBoard(ABoard), FPapel(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("FormImpressao"));
    setWindowTitle(QStringLiteral("Imprimir — SOMADO"));
    FPapel.setDocName(QStringLiteral("SOMADO"));

    auto* escolha = new QLabel(QStringLiteral("&Imprimir:"), this);
    ComboBoxConteudo = new QComboBox(this);
    ComboBoxConteudo->setObjectName(QStringLiteral("ComboBoxConteudo"));
    for (const TConteudoImpressao conteudo : CConteudos)
        ComboBoxConteudo->addItem(NomeDoConteudo(conteudo));
    escolha->setBuddy(ComboBoxConteudo);

    PreviewImpressao = new QPrintPreviewWidget(&FPapel, this);
    PreviewImpressao->setObjectName(QStringLiteral("PreviewImpressao"));
    PreviewImpressao->setViewMode(QPrintPreviewWidget::AllPagesView);
    PreviewImpressao->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(PreviewImpressao, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* APapel) { DesenharPrevisao(APapel); });
    connect(ComboBoxConteudo, &QComboBox::currentIndexChanged, PreviewImpressao,
            &QPrintPreviewWidget::updatePreview);

    BitBtnImprimir = new QPushButton(QStringLiteral("Imprimir…"), this);
    BitBtnImprimir->setObjectName(QStringLiteral("BitBtnImprimir"));
    BitBtnImprimir->setDefault(true);
    BitBtnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    BitBtnCancelar->setObjectName(QStringLiteral("BitBtnCancelar"));
    connect(BitBtnImprimir, &QPushButton::clicked, this, [this] { Imprimir(); });
    connect(BitBtnCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto* topo = new QHBoxLayout;
    topo->addWidget(escolha);
    topo->addWidget(ComboBoxConteudo, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(BitBtnImprimir);
    botoes->addWidget(BitBtnCancelar);
    auto* coluna = new QVBoxLayout(this);
    coluna->addLayout(topo);
    coluna->addWidget(PreviewImpressao, 1);
    coluna->addLayout(botoes);
    resize(760, 680);
    // The keyboard starts on the choice, so the arrows pick what to print.
    ComboBoxConteudo->setFocus();
}

TConteudoImpressao TFormImpressao::Conteudo() const {
    const int i = ComboBoxConteudo->currentIndex();
    return i >= 0 && i < static_cast<int>(CConteudos.size()) ? CConteudos[static_cast<size_t>(i)]
                                                             : TConteudoImpressao::ComoEsta;
}

void TFormImpressao::DesenharPrevisao(QPrinter* APapel) {
    // A preview that cannot be drawn stays blank; printing reports the reason.
    try {
        ImprimirPuzzle(*APapel, FBoard, Conteudo());
    } catch (const ESomadoError&) {}
}

TResultadoImpressao TFormImpressao::Executar() {
    FResultado = {};
    exec();
    return FResultado;
}

QString TFormImpressao::Destino() const {
    if (FPapel.outputFormat() == QPrinter::PdfFormat && !FPapel.outputFileName().isEmpty())
        return FPapel.outputFileName();
    return FPapel.printerName();
}

QString TFormImpressao::ImpressoraNaoPronta() const {
    // Printing to a file needs no printer.
    if (FPapel.outputFormat() != QPrinter::NativeFormat) return {};
    const QPrinterInfo impressora(FPapel);
    if (impressora.isNull())
        return QStringLiteral("A impressora \"%1\" não foi encontrada.").arg(FPapel.printerName());
    if (impressora.state() == QPrinter::Error)
        return QStringLiteral("A impressora \"%1\" não está pronta: está desligada, parada, sem "
                              "papel ou com um erro. Verifique-a e tente outra vez.")
            .arg(FPapel.printerName());
    return {};
}

void TFormImpressao::Falhar(const QString& AErro) {
    FResultado.Estado = TEstadoImpressao::Falhou;
    FResultado.Erro = AErro + QStringLiteral(" Nada do que tinha no tabuleiro se perdeu.");
    reject();
}

void TFormImpressao::Imprimir() {
    FResultado = {};
    FResultado.Conteudo = Conteudo();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) return Falhar(MensagemSemImpressoras());
    QPrintDialog dialogo(&FPapel, this);
    dialogo.setObjectName(QStringLiteral("PrintDialog"));
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    // The pages are one or two, drawn whole: there is no range or selection to pick.
    dialogo.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialogo.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialogo.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Cancelled: back to the preview, nothing printed.
    if (dialogo.exec() != QDialog::Accepted) return;
    FPapel.setPrintRange(QPrinter::AllPages);
    if (const QString razao = ImpressoraNaoPronta(); !razao.isEmpty()) return Falhar(razao);
    try {
        FResultado.Paginas = ImprimirPuzzle(FPapel, FBoard, FResultado.Conteudo);
    } catch (const ESomadoError& e) {
        return Falhar(QString::fromUtf8(e.what()));
    }
    if (FPapel.printerState() == QPrinter::Error || FPapel.printerState() == QPrinter::Aborted)
        return Falhar(QStringLiteral("A impressora \"%1\" comunicou um erro: o puzzle pode não ter "
                                     "sido impresso.")
                          .arg(Destino()));
    FResultado.Estado = TEstadoImpressao::Impressa;
    FResultado.Destino = Destino();
    accept();
}
