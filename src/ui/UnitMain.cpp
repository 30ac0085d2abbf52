#include "ui/UnitMain.h"

#include "ui/Arranque.h"
#include "ui/Disposicao.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/RegistoDosDialogos.h"
#include "ui/UnitAjuda.h"
#include "ui/UnitConfiguracao.h"
#include "ui/UnitEstatisticas.h"
#include "ui/UnitImpressao.h"
#include "ui/UnitSobre.h"

#include "game/Estatisticas.h"
#include "game/Recuperacao.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

// The panel that holds the grid: it refits the grid whenever it changes size.
class TPainelGrelha : public QWidget {
public:
    explicit TPainelGrelha(QWidget* AParent) : QWidget(AParent) {}
    TGrelhaTabuleiro* Grelha = nullptr;

protected:
    void resizeEvent(QResizeEvent* AEvento) override {
        QWidget::resizeEvent(AEvento);
        if (Grelha) Grelha->AjustarTamanho(width(), height());
    }
};

namespace {

// The side panel lays out its own children: each in its drawn place, the information box at
// the bottom. On a screen too short for that the box and then the gaps give up height (see
// DisporLateral), so every control stays visible.
class TPainelLateral : public QWidget {
public:
    explicit TPainelLateral(QWidget* AParent) : QWidget(AParent) {}
    QPlainTextEdit* Memo = nullptr;
    QWidget* AreaCorridas = nullptr;
    // Below the size label: where the runs' text goes on when the area above is full.
    QWidget* AreaCorridasMais = nullptr;
    // After each new layout: the runs' text is cut to the area it is given.
    std::function<void()> AoDispor;

    static constexpr int CAlturaMemo = 126;

    // Takes the controls' present places as the drawn ones; called once, before the first
    // layout.
    void GuardarDesenho();
    int AlturaMinima() const { return AlturaMinimaLateral(FDesenho, FMemo); }

protected:
    void resizeEvent(QResizeEvent* AEvento) override {
        QWidget::resizeEvent(AEvento);
        Dispor();
    }

private:
    int AlturaMinimaDe(const QWidget* AControlo) const;
    void Dispor();

    std::vector<QWidget*> FControlos;
    std::vector<TFaixa> FDesenho;
    TMedidasMemo FMemo;
};

// A button still shows its caption at this height; the runs area keeps two lines.
constexpr int CAlturaMinimaBotao = 22;
constexpr int CAlturaMinimaCorridas = 28;
// About four lines of the information box, with its scroll bar.
constexpr int CAlturaMinimaMemo = 64;
// Between the lowest control of the side panel and the information box.
constexpr int CFolgaAcimaMemo = 8;
// Between the size label and the rest of the runs' text below it.
constexpr int CFolgaAbaixoDoTamanho = 4;

int TPainelLateral::AlturaMinimaDe(const QWidget* AControlo) const {
    if (qobject_cast<const QPushButton*>(AControlo))
        return std::min(AControlo->height(), CAlturaMinimaBotao);
    if (AControlo == AreaCorridas) return std::min(AControlo->height(), CAlturaMinimaCorridas);
    return AControlo->height();
}

void TPainelLateral::GuardarDesenho() {
    FControlos.clear();
    for (QWidget* filho : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (filho != Memo && filho != AreaCorridasMais) FControlos.push_back(filho);
    std::stable_sort(FControlos.begin(), FControlos.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    FDesenho.clear();
    for (const QWidget* controlo : FControlos)
        FDesenho.push_back({controlo->y(), controlo->height(), AlturaMinimaDe(controlo)});
    FMemo = {CAlturaMemo, CAlturaMinimaMemo, CFolgaAcimaMemo, CFolgaMinimaEntreFaixas};
}

void TPainelLateral::Dispor() {
    const TDisposicaoLateral disposicao = DisporLateral(FDesenho, FMemo, height());
    for (size_t i = 0; i < FControlos.size(); ++i) {
        QWidget* controlo = FControlos[i];
        const TFaixa& faixa = disposicao.Faixas[i];
        // A control that cannot shrink keeps the size it gives itself (the size label
        // follows its text).
        if (FDesenho[i].AlturaMinima == FDesenho[i].Altura)
            controlo->move(controlo->x(), faixa.Topo);
        else
            controlo->setGeometry(controlo->x(), faixa.Topo, controlo->width(), faixa.Altura);
    }
    if (Memo) Memo->setGeometry(0, disposicao.TopoMemo, width(), disposicao.AlturaMemo);
    if (AreaCorridasMais) {
        // Whatever room is left between the lowest control and the box, none on a short screen.
        int topo = 0;
        for (const QWidget* controlo : FControlos)
            topo = std::max(topo, controlo->geometry().bottom() + 1 + CFolgaAbaixoDoTamanho);
        const int fundo = disposicao.TopoMemo - CFolgaAcimaMemo;
        const bool cabeUmaLinha = fundo - topo >= AreaCorridasMais->fontMetrics().height();
        AreaCorridasMais->setGeometry(AreaCorridasMais->x(), std::min(topo, fundo),
                                      AreaCorridasMais->width(), std::max(0, fundo - topo));
        AreaCorridasMais->setVisible(cabeUmaLinha);
    }
    if (AoDispor) AoDispor();
}

constexpr int CLarguraCliente = 955;
constexpr int CAlturaCliente = 735;
constexpr int CLarguraLateral = 220;
// How long the window waits for its frame before it trusts the guess.
constexpr int CTentativasMoldura = 20;
constexpr int CIntervaloMoldura = 50;
// Room for a 9 × 9 board at the smallest cell size.
constexpr int CLarguraMinimaGrelha = 9 * 28;
// The frame a window gets on Windows at any scaling (title bar and resizing borders), taken
// before the window exists; the real one corrects it once the window is on the screen.
const QMargins CMolduraProvavel(8, 31, 8, 8);

// The runs' text cut to the area: the longest list of combinations loses its last ones, with
// "…" in their place, until the wrapped text fits; the tooltip keeps the whole of it.
QString TextoQueCabe(const QString& ATexto, const QFontMetrics& AMetricas, const QSize& AArea) {
    const QString separador = QStringLiteral(", ");
    QStringList linhas = ATexto.split(u'\n');
    std::vector<bool> cortada(static_cast<size_t>(linhas.size()), false);
    const auto juntar = [&] {
        QStringList partes;
        for (qsizetype i = 0; i < linhas.size(); ++i)
            partes << (cortada[static_cast<size_t>(i)] ? linhas[i] + separador + u'…' : linhas[i]);
        return partes.join(u'\n');
    };
    for (;;) {
        const QString texto = juntar();
        const QRect caixa(0, 0, AArea.width(), 100000);
        if (AMetricas.boundingRect(caixa, Qt::TextWordWrap, texto).height() <= AArea.height())
            return texto;
        qsizetype maisLonga = -1;
        for (qsizetype i = 0; i < linhas.size(); ++i)
            if (linhas[i].contains(separador) &&
                (maisLonga < 0 || linhas[i].size() > linhas[maisLonga].size()))
                maisLonga = i;
        if (maisLonga < 0) return texto;
        linhas[maisLonga].truncate(linhas[maisLonga].lastIndexOf(separador));
        cortada[static_cast<size_t>(maisLonga)] = true;
    }
}

bool CabeNaArea(const QString& ATexto, const QFontMetrics& AMetricas, const QSize& AArea) {
    const QRect caixa(0, 0, AArea.width(), 100000);
    return AMetricas.boundingRect(caixa, Qt::TextWordWrap, ATexto).height() <= AArea.height();
}

// The runs' text over its two areas, cut only when both are full: all of it above when it fits
// there; else the across run above and the down run below the size label, each cut to its own.
std::pair<QString, QString> RepartirCorridas(const QString& ATexto, const QFontMetrics& AMetricas,
                                             const QSize& AAcima, const QSize& AAbaixo) {
    const QStringList linhas = ATexto.split(u'\n');
    if (CabeNaArea(ATexto, AMetricas, AAcima) || linhas.size() < 2 ||
        AAbaixo.height() < AMetricas.height())
        return {TextoQueCabe(ATexto, AMetricas, AAcima), {}};
    return {TextoQueCabe(linhas.constFirst(), AMetricas, AAcima),
            TextoQueCabe(linhas.mid(1).join(u'\n'), AMetricas, AAbaixo)};
}

} // namespace

QString PastaInicialDosDialogos() {
    // Not the working folder: started from the Start menu that is the install folder, where an
    // ordinary user may not write.
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documentos.isEmpty() && QFileInfo(documentos).isDir()) return documentos;
    return QDir::homePath();
}

TFormMain::TFormMain(TGeradorDePuzzles AGerador, QWidget* AParent)
    : QMainWindow(AParent), FJogo(std::make_unique<TJogo>(*this, std::move(AGerador))) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("SOMADO | by Quorvel"));
    CriarComponentes();
    CriarDialogos();
    LigarEventos();
    FJogo->Iniciar();
    FJogo->UsarEstatisticas(TEstatisticas::CaminhoPredefinido());
    FJogo->UsarRecuperacao(TRecuperacao::PastaPredefinida());
    DefinirTamanhoMinimo();
    ColocarNoEcra(QGuiApplication::primaryScreen(), CMolduraProvavel);
    FormConfiguracao = new TFormConfiguracao(this);
    FormSobre = new TFormSobre(this);
    FormAjuda = new TFormAjuda(this);
}

void TFormMain::CriarDialogos() {
    const QString smd = QStringLiteral("Somado (*.smd)"), pdf = QStringLiteral("PDF (*.pdf)");
    const QString pasta = PastaInicialDosDialogos();
    OpenDialog1 = {QStringLiteral("OpenDialog1"), QFileDialog::AcceptOpen, smd,
                   QStringLiteral("smd"), pasta};
    SaveDialog1 = {QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave, smd,
                   QStringLiteral("smd"), pasta};
    SaveDialogPdf = {QStringLiteral("SaveDialogPdf"), QFileDialog::AcceptSave, pdf,
                     QStringLiteral("pdf"), pasta};
    SaveDialogLotePdf = {QStringLiteral("SaveDialogLotePdf"), QFileDialog::AcceptSave, pdf,
                         QStringLiteral("pdf"), pasta};
}

TFormMain::~TFormMain() {
    // The workers stop and are waited for while the window still stands.
    FJogo.reset();
    if (FCursorDeEspera) QApplication::restoreOverrideCursor();
}

QPushButton* TFormMain::CriarBotao(const QString& ANome, const QString& ALegenda, int ATopo) {
    auto* botao = new QPushButton(ALegenda, PanelLateral);
    botao->setObjectName(ANome);
    botao->setGeometry(64, ATopo, 100, 25);
    // A click leaves the keyboard on the board, so the next digit lands there; Tab still
    // reaches every button.
    botao->setFocusPolicy(Qt::TabFocus);
    return botao;
}

void TFormMain::CriarComponentes() {
    auto* centro = new QWidget(this);
    setCentralWidget(centro);

    auto* painelGrelha = new TPainelGrelha(centro);
    PanelGrelha = painelGrelha;
    PanelGrelha->setObjectName(QStringLiteral("PanelGrelha"));
    StringGrid1 = new TGrelhaTabuleiro(*FJogo, PanelGrelha);
    StringGrid1->Executar = [this](TComando AComando) { Executar(AComando); };
    painelGrelha->Grelha = StringGrid1;

    auto* lateral = new TPainelLateral(centro);
    PanelLateral = lateral;
    PanelLateral->setObjectName(QStringLiteral("PanelLateral"));
    PanelLateral->setFixedWidth(CLarguraLateral);

    CriarComandos();

    LabelTamanhoConfigurado = new QLabel(PanelLateral);
    LabelTamanhoConfigurado->setObjectName(QStringLiteral("LabelTamanhoConfigurado"));
    LabelTamanhoConfigurado->move(32, 541);

    LabelRelogio = new QLabel(PanelLateral);
    LabelRelogio->setObjectName(QStringLiteral("LabelRelogio"));
    LabelRelogio->setGeometry(64, 3, 100, 20);
    LabelRelogio->setAlignment(Qt::AlignCenter);
    LabelRelogio->setToolTip(QStringLiteral("Tempo de jogo neste tabuleiro"));

    LabelCorridas = new QLabel(PanelLateral);
    LabelCorridas->setObjectName(QStringLiteral("LabelCorridas"));
    // Between the last button and the size label, the room the panel has free.
    LabelCorridas->setGeometry(6, 488, CLarguraLateral - 12, 50);
    LabelCorridas->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelCorridas->setWordWrap(true);
    QFont fonteCorridas = LabelCorridas->font();
    fonteCorridas.setPixelSize(11);
    LabelCorridas->setFont(fonteCorridas);
    lateral->AreaCorridas = LabelCorridas;

    // The room between the size label and the information box.
    LabelCorridasMais = new QLabel(PanelLateral);
    LabelCorridasMais->setObjectName(QStringLiteral("LabelCorridasMais"));
    LabelCorridasMais->setGeometry(6, 562, CLarguraLateral - 12, 38);
    LabelCorridasMais->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelCorridasMais->setWordWrap(true);
    LabelCorridasMais->setFont(fonteCorridas);
    lateral->AreaCorridasMais = LabelCorridasMais;
    lateral->AoDispor = [this] { ActualizarCorridas(); };

    MemoInformacao = new QPlainTextEdit(PanelLateral);
    MemoInformacao->setObjectName(QStringLiteral("MemoInformacao"));
    MemoInformacao->setReadOnly(true);
    // Its text can still be selected with the mouse, but a click leaves the keyboard on the
    // board.
    MemoInformacao->setFocusPolicy(Qt::NoFocus);
    MemoInformacao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoInformacao->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont consolas(QStringLiteral("Consolas"));
    consolas.setPixelSize(12);
    MemoInformacao->setFont(consolas);
    lateral->Memo = MemoInformacao;

    auto* disposicao = new QHBoxLayout(centro);
    disposicao->setContentsMargins(0, 0, 0, 0);
    disposicao->setSpacing(0);
    disposicao->addWidget(PanelGrelha, 1);
    disposicao->addWidget(PanelLateral);
}

void TFormMain::DefinirTamanhoMinimo() {
    auto* lateral = static_cast<TPainelLateral*>(PanelLateral);
    lateral->GuardarDesenho();
    // The window may not shrink until the information box covers a control.
    PanelLateral->setMinimumHeight(lateral->AlturaMinima());
    PanelGrelha->setMinimumWidth(CLarguraMinimaGrelha);
}

QSize TFormMain::TamanhoMinimoCliente() const {
    return {CLarguraMinimaGrelha + CLarguraLateral, PanelLateral->minimumHeight()};
}

void TFormMain::ColocarNoEcra(const QScreen* AEcra, const QMargins& AMoldura) {
    if (!AEcra) {
        resize(CLarguraCliente, CAlturaCliente);
        return;
    }
    const TLugarJanela lugar =
        LugarInicial({CLarguraCliente, CAlturaCliente}, TamanhoMinimoCliente(),
                     AEcra->availableGeometry(), AMoldura);
    resize(lugar.Cliente);
    move(lugar.Moldura);
}

void TFormMain::AcertarNoEcra(int ATentativa) {
    const QScreen* ecra = screen();
    if (!ecra || isMaximized() || isFullScreen()) return;
    const QRect moldura = frameGeometry(), cliente = geometry();
    QMargins real(cliente.left() - moldura.left(), cliente.top() - moldura.top(),
                  moldura.right() - cliente.right(), moldura.bottom() - cliente.bottom());
    // The window manager may frame the window a moment after it appears.
    if (real.isNull() && ATentativa < CTentativasMoldura) {
        QTimer::singleShot(CIntervaloMoldura, this,
                           [this, ATentativa] { AcertarNoEcra(ATentativa + 1); });
        return;
    }
    // At a fractional scaling the frame's size in logical pixels is rounded down: a pixel more
    // on each side keeps the real one on the screen.
    const qreal escala = devicePixelRatio();
    if (escala != std::floor(escala)) real += QMargins(1, 1, 1, 1);
    const QRect disponivel = ecra->availableGeometry();
    const bool cabe = disponivel.contains(cliente.marginsAdded(real));
    const bool desenhada = cliente.size() == QSize(CLarguraCliente, CAlturaCliente);
    if (cabe && desenhada) return;
    const TLugarJanela lugar =
        LugarInicial({CLarguraCliente, CAlturaCliente}, TamanhoMinimoCliente(), disponivel, real);
    // A window that fits at its drawn size stays where it opened; a smaller one takes all the
    // room the real frame leaves.
    if (cabe && lugar.Cliente == cliente.size()) return;
    resize(lugar.Cliente);
    move(lugar.Moldura);
}

namespace {

// One row of the window's command table: the command, its button (none for the commands
// only the keyboard and the grid's menu reach), the button's name, caption and top in the
// side panel, and its shortcuts, the first named in the button's tooltip.
struct TEntradaComando {
    TComando Comando;
    QPushButton* TFormMain::*Botao;
    const char* Nome;
    const char* Legenda;
    int Topo;
    std::vector<QKeySequence> Atalhos;
};

const std::vector<TEntradaComando>& TabelaDeComandos() {
    using K = QKeySequence;
    // One command a row reads better than what the formatter would make of it.
    // clang-format off
    static const std::vector<TEntradaComando> tabela{
        {TComando::Gerar, &TFormMain::BitBtnGerar, "BitBtnGerar", "Gerar Puzzle", 26, {K(Qt::CTRL | Qt::Key_N)}},
        {TComando::VerSolucao, &TFormMain::BitBtnVerSolucao, "BitBtnVerSolucao", "Ver Solução", 57, {}},
        {TComando::Verificar, &TFormMain::BitBtnVerificar, "BitBtnVerificar", "Verificar", 88, {}},
        {TComando::Dica, &TFormMain::BitBtnDica, "BitBtnDica", "Dica", 119, {}},
        {TComando::Limpar, &TFormMain::BitBtnLimpar, "BitBtnLimpar", "Limpar", 150, {}},
        {TComando::Guardar, &TFormMain::BitBtnGuardar, "BitBtnGuardar", "Guardar", 213, {K(Qt::CTRL | Qt::Key_S)}},
        {TComando::Abrir, &TFormMain::BitBtnAbrir, "BitBtnAbrir", "Abrir", 244, {K(Qt::CTRL | Qt::Key_O)}},
        {TComando::ExportarPuzzle, &TFormMain::BitBtnExportarPuzzle, "BitBtnExportarPuzzle", "Exportar Puzzle", 275, {K(Qt::CTRL | Qt::Key_E)}},
        {TComando::ExportarLote, &TFormMain::BitBtnExportarLote, "BitBtnExportarLote", "Exportar Lote", 306, {}},
        {TComando::Configurar, &TFormMain::BitBtnConfigurar, "BitBtnConfigurar", "Configurar", 337, {}},
        {TComando::Ajuda, &TFormMain::BitBtnAjuda, "BitBtnAjuda", "Ajuda", 397, {K(Qt::Key_F1)}},
        {TComando::Sobre, &TFormMain::BitBtnSobre, "BitBtnSobre", "Sobre", 429, {}},
        {TComando::Sair, &TFormMain::BitBtnSair, "BitBtnSair", "Sair", 460, {}},
        // No button: the keyboard and the grid's menu.
        {TComando::Desfazer, nullptr, nullptr, nullptr, 0, {K(Qt::CTRL | Qt::Key_Z)}},
        {TComando::Refazer, nullptr, nullptr, nullptr, 0, {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
        {TComando::ExplicarPasso, nullptr, nullptr, nullptr, 0, {K(Qt::CTRL | Qt::Key_H)}},
        {TComando::PreencherNotas, nullptr, nullptr, nullptr, 0, {K(Qt::CTRL | Qt::Key_M)}},
        {TComando::Pausa, nullptr, nullptr, nullptr, 0, {K(Qt::Key_Pause), K(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}},
        {TComando::Imprimir, nullptr, nullptr, nullptr, 0, {K(Qt::CTRL | Qt::Key_P)}},
    };
    // clang-format on
    return tabela;
}

} // namespace

void TFormMain::CriarComandos() {
    for (const TEntradaComando& entrada : TabelaDeComandos()) {
        const TComando comando = entrada.Comando;
        if (entrada.Botao) {
            QPushButton* botao = CriarBotao(QString::fromLatin1(entrada.Nome),
                                            QString::fromUtf8(entrada.Legenda), entrada.Topo);
            this->*entrada.Botao = botao;
            connect(botao, &QPushButton::clicked, this, [this, comando] { Executar(comando); });
            if (!entrada.Atalhos.empty())
                botao->setToolTip(
                    QStringLiteral("Atalho: %1")
                        .arg(entrada.Atalhos.front().toString(QKeySequence::NativeText)));
        }
        // A shortcut runs the very same flow as its button, questions included, and is
        // refused whenever the button would be.
        for (const QKeySequence& tecla : entrada.Atalhos) {
            auto* atalho = new QShortcut(tecla, this);
            connect(atalho, &QShortcut::activated, this, [this, comando] { Executar(comando); });
        }
    }
}

void TFormMain::Executar(TComando AComando) {
    if (!FJogo->PodeExecutar(AComando)) return;
    switch (AComando) {
    case TComando::Ajuda:
        FormAjuda->exec();
        break;
    case TComando::Sobre:
        FormSobre->exec();
        break;
    case TComando::Estatisticas:
        MostrarEstatisticas();
        break;
    default:
        FJogo->Executar(AComando);
    }
}

void TFormMain::MostrarEstatisticas() {
    TFormEstatisticas janela(this);
    if (const TEstatisticas* estatisticas = FJogo->Estatisticas()) janela.Mostrar(*estatisticas);
    janela.exec();
}

void TFormMain::ActualizarComandos() {
    for (const TEntradaComando& entrada : TabelaDeComandos())
        if (entrada.Botao) (this->*entrada.Botao)->setEnabled(FJogo->PodeExecutar(entrada.Comando));
    const bool ocupado = FJogo->Ocupacao() != TOcupacao::Livre;
    if (ocupado == FCursorDeEspera) return;
    FCursorDeEspera = ocupado;
    if (ocupado)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFormMain::LigarEventos() {
    auto* relogio = new QTimer(this);
    relogio->setInterval(500);
    connect(relogio, &QTimer::timeout, this, [this] { ActualizarRelogio(); });
    relogio->start();
}

void TFormMain::showEvent(QShowEvent* AEvento) {
    QMainWindow::showEvent(AEvento);
    if (FJaMostrada) return;
    FJaMostrada = true;
    // The guess at the frame made before the window existed is checked against the real one.
    QTimer::singleShot(0, this, [this] { AcertarNoEcra(0); });
    StringGrid1->AjustarTamanho(PanelGrelha->width(), PanelGrelha->height());
    FJogo->IrParaPrimeiraVazia();
    // The keyboard starts on the board, with the current cell framed.
    Mudou(mFoco | mTabuleiro);
}

void TFormMain::changeEvent(QEvent* AEvento) {
    QMainWindow::changeEvent(AEvento);
    if (AEvento->type() != QEvent::WindowStateChange) return;
    if (isMinimized())
        FJogo->PausarRelogio();
    else
        FJogo->RetomarRelogio();
}

void TFormMain::ActualizarRelogio() {
    LabelRelogio->setText(QStringLiteral("Tempo: ") + TJogo::TextoDoTempo(FJogo->TempoDeJogoMs()));
}

void TFormMain::ActualizarCorridas() {
    const auto [r, c] = FJogo->Cursor();
    const TSomadoBoard* board = FJogo->Board();
    const QString texto =
        board && !FJogo->MostraSolucao() ? CorridasDaCelula(*board, r, c) : QString();
    const QSize abaixoCabe = LabelCorridasMais->isVisibleTo(PanelLateral)
                                 ? LabelCorridasMais->size()
                                 : QSize(LabelCorridasMais->width(), 0);
    const auto [acima, abaixo] =
        RepartirCorridas(texto, LabelCorridas->fontMetrics(), LabelCorridas->size(), abaixoCabe);
    LabelCorridas->setText(acima);
    LabelCorridasMais->setText(abaixo);
    LabelCorridasMais->setToolTip(abaixo.isEmpty() ? QString() : texto);
    // A long list may not fit the area: the whole of it on hovering.
    LabelCorridas->setToolTip(texto);
}

void TFormMain::Mudou(uint32_t AMudancas) {
    if (AMudancas & mGrelha) {
        StringGrid1->ConfigurarGrelha(FJogo->Board() ? FJogo->Board()->Size() : 0);
        StringGrid1->AjustarTamanho(PanelGrelha->width(), PanelGrelha->height());
    }
    if (AMudancas & (mGrelha | mTabuleiro | mCursor)) {
        StringGrid1->MostrarCursor();
        StringGrid1->viewport()->update();
        ActualizarCorridas();
        ActualizarRelogio();
    }
    if (AMudancas & mLegendas) {
        BitBtnVerSolucao->setText(FJogo->LegendaVerSolucao());
        LabelTamanhoConfigurado->setText(FJogo->LegendaTamanho());
        LabelTamanhoConfigurado->adjustSize();
    }
    if (AMudancas & mInformacao) {
        MemoInformacao->setPlainText(FJogo->Informacao().join(u'\n'));
        MemoInformacao->verticalScrollBar()->setValue(
            MemoInformacao->verticalScrollBar()->maximum());
    }
    if (AMudancas & (mOcupacao | mHistorico | mLegendas)) ActualizarComandos();
    if ((AMudancas & mFoco) && StringGrid1->isVisible() && StringGrid1->isEnabled())
        StringGrid1->setFocus();
    if (AMudancas & mFim) StringGrid1->Celebrar();
}

void TFormMain::NoCicloPrincipal(std::function<void()> AAccao) {
    // Queued on this window: once it is gone, nothing runs.
    QMetaObject::invokeMethod(this, std::move(AAccao), Qt::QueuedConnection);
}

TResposta TFormMain::Perguntar(const QString& ATexto, bool ACancelar) {
    QMessageBox caixa(QMessageBox::Question, QStringLiteral("SOMADO"),
                      QString(ATexto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                      QMessageBox::NoButton, this);
    QPushButton* sim = caixa.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* nao = caixa.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    QPushButton* cancelar =
        ACancelar ? caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole) : nullptr;
    caixa.setDefaultButton(sim);
    if (cancelar) caixa.setEscapeButton(cancelar);
    caixa.exec();
    // A box closed without a button answers like "Cancelar".
    if (caixa.clickedButton() == sim) return TResposta::Sim;
    if (caixa.clickedButton() == nao) return TResposta::Nao;
    return TResposta::Cancelar;
}

bool TFormMain::Escolher(TDialogoFicheiro& ADialogo, const QString& AProposto, QString& ACaminho) {
    // Outlives the dialog, which writes its history as it goes.
    const TGuardaDoRegistoDosDialogos registo;
    // A dialog for each use: one kept alive kept its name completer's list floating over
    // the board after Enter, taking the next keystrokes.
    QFileDialog dialogo(this);
    dialogo.setObjectName(ADialogo.Nome);
    dialogo.setAcceptMode(ADialogo.Modo);
    const bool guardar = ADialogo.Modo == QFileDialog::AcceptSave;
    dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialogo.setNameFilter(ADialogo.Filtro);
    dialogo.setDefaultSuffix(ADialogo.Sufixo);
    // The commands ask about existing files themselves.
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    dialogo.setDirectory(ADialogo.Pasta);
    dialogo.setLabelText(QFileDialog::LookIn, QStringLiteral("Procurar em:"));
    dialogo.setLabelText(QFileDialog::FileName, QStringLiteral("Nome do ficheiro:"));
    dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Ficheiros do tipo:"));
    dialogo.setLabelText(QFileDialog::Accept,
                         guardar ? QStringLiteral("Guardar") : QStringLiteral("Abrir"));
    dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    if (!AProposto.isEmpty()) dialogo.selectFile(AProposto);
    const bool aceite = dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty();
    // Next time the dialog opens where the user left it, chosen or cancelled.
    ADialogo.Pasta = dialogo.directory().absolutePath();
    if (!aceite) return false;
    ACaminho = dialogo.selectedFiles().constFirst();
    ADialogo.Pasta = QFileInfo(ACaminho).absolutePath();
    return true;
}

bool TFormMain::EscolherFicheiroParaGuardar(QString& ACaminho) {
    return Escolher(SaveDialog1, {}, ACaminho);
}

bool TFormMain::EscolherFicheiroParaAbrir(QString& ACaminho) {
    return Escolher(OpenDialog1, {}, ACaminho);
}

bool TFormMain::EditarConfiguracao(TConfiguracao& AConfiguracao) {
    TFormConfiguracao& dialogo = *FormConfiguracao;
    dialogo.DefinirConfiguracaoPuzzle(AConfiguracao.Tamanho, AConfiguracao.Nivel);
    dialogo.DefinirConfiguracaoLote(AConfiguracao.TamanhoLote, AConfiguracao.ModoLote,
                                    AConfiguracao.DificuldadeLote, AConfiguracao.QuantidadeLote,
                                    AConfiguracao.TituloLote);
    if (dialogo.exec() != QDialog::Accepted) return false;
    dialogo.CarregarConfiguracaoPuzzle(AConfiguracao.Tamanho, AConfiguracao.Nivel);
    dialogo.CarregarConfiguracaoLote(AConfiguracao.TamanhoLote, AConfiguracao.ModoLote,
                                     AConfiguracao.DificuldadeLote, AConfiguracao.QuantidadeLote,
                                     AConfiguracao.TituloLote);
    return true;
}

void TFormMain::Fechar() {
    close();
}

void TFormMain::closeEvent(QCloseEvent* AEvento) {
    // The system is ending the program: the game in play is kept for the next start, and
    // nobody is there to answer questions.
    if (FimPedidoPeloSistema()) {
        AEvento->accept();
        return;
    }
    // Refused first: if saving fails with an error, the window must stay open.
    AEvento->ignore();
    if (FJogo->PodeFechar()) AEvento->accept();
}

bool TFormMain::EscolherFicheiroPdf(QString& ACaminho) {
    return Escolher(SaveDialogPdf, {}, ACaminho);
}

bool TFormMain::EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) {
    // Opens in the folder of the last batch (the working folder the first time), offering
    // the name for this one.
    return Escolher(SaveDialogLotePdf, AProposto, ACaminho);
}

TResultadoImpressao TFormMain::Imprimir(const TSomadoBoard& ABoard) {
    TFormImpressao dialogo(ABoard, this);
    return dialogo.Executar();
}

void TFormMain::ReportarErro(const QString& AMensagem) {
    MostrarErroGeral(AMensagem);
}

void TFormMain::Adiar(int32_t AMs, std::function<void()> AAccao) {
    // Timed on this window: once it is gone, nothing runs.
    QTimer::singleShot(AMs, this, std::move(AAccao));
}
