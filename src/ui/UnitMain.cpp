#include "ui/UnitMain.h"

#include "ui/Arranque.h"
#include "ui/Disposicao.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitAjuda.h"
#include "ui/UnitConfiguracao.h"
#include "ui/UnitSobre.h"

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

int TPainelLateral::AlturaMinimaDe(const QWidget* AControlo) const {
    if (qobject_cast<const QPushButton*>(AControlo))
        return std::min(AControlo->height(), CAlturaMinimaBotao);
    if (AControlo == AreaCorridas) return std::min(AControlo->height(), CAlturaMinimaCorridas);
    return AControlo->height();
}

void TPainelLateral::GuardarDesenho() {
    FControlos.clear();
    for (QWidget* filho : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (filho != Memo) FControlos.push_back(filho);
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

} // namespace

TFormMain::TFormMain(TGeradorDePuzzles AGerador, QWidget* AParent)
    : QMainWindow(AParent), FJogo(std::make_unique<TJogo>(*this, std::move(AGerador))) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("SOMADO | by Quorvel"));
    CriarComponentes();
    CriarDialogos();
    LigarEventos();
    LigarAtalhos();
    FJogo->Iniciar();
    DefinirTamanhoMinimo();
    ColocarNoEcra(QGuiApplication::primaryScreen(), CMolduraProvavel);
    FormConfiguracao = new TFormConfiguracao(this);
    FormSobre = new TFormSobre(this);
    FormAjuda = new TFormAjuda(this);
}

void TFormMain::CriarDialogos() {
    const QString smd = QStringLiteral("Somado (*.smd)"), pdf = QStringLiteral("PDF (*.pdf)");
    const QString pasta = QDir::currentPath();
    OpenDialog1 = {QStringLiteral("OpenDialog1"), QFileDialog::AcceptOpen, smd,
                   QStringLiteral("smd"), pasta};
    SaveDialog1 = {QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave, smd,
                   QStringLiteral("smd"), pasta};
    SaveDialogPdf = {QStringLiteral("SaveDialogPdf"), QFileDialog::AcceptSave, pdf,
                     QStringLiteral("pdf"), pasta};
    SaveDialogLotePdf = {QStringLiteral("SaveDialogLotePdf"), QFileDialog::AcceptSave, pdf,
                         QStringLiteral("pdf"), pasta};
}

TFormMain::~TFormMain() = default;

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
    painelGrelha->Grelha = StringGrid1;

    auto* lateral = new TPainelLateral(centro);
    PanelLateral = lateral;
    PanelLateral->setObjectName(QStringLiteral("PanelLateral"));
    PanelLateral->setFixedWidth(CLarguraLateral);

    BitBtnGerar = CriarBotao(QStringLiteral("BitBtnGerar"), QStringLiteral("Gerar Puzzle"), 26);
    BitBtnVerSolucao =
        CriarBotao(QStringLiteral("BitBtnVerSolucao"), QStringLiteral("Ver Solução"), 57);
    BitBtnVerificar =
        CriarBotao(QStringLiteral("BitBtnVerificar"), QStringLiteral("Verificar"), 88);
    BitBtnDica = CriarBotao(QStringLiteral("BitBtnDica"), QStringLiteral("Dica"), 119);
    BitBtnLimpar = CriarBotao(QStringLiteral("BitBtnLimpar"), QStringLiteral("Limpar"), 150);
    BitBtnGuardar = CriarBotao(QStringLiteral("BitBtnGuardar"), QStringLiteral("Guardar"), 213);
    BitBtnAbrir = CriarBotao(QStringLiteral("BitBtnAbrir"), QStringLiteral("Abrir"), 244);
    BitBtnExportarPuzzle =
        CriarBotao(QStringLiteral("BitBtnExportarPuzzle"), QStringLiteral("Exportar Puzzle"), 275);
    BitBtnExportarLote =
        CriarBotao(QStringLiteral("BitBtnExportarLote"), QStringLiteral("Exportar Lote"), 306);
    BitBtnConfigurar =
        CriarBotao(QStringLiteral("BitBtnConfigurar"), QStringLiteral("Configurar"), 337);
    BitBtnAjuda = CriarBotao(QStringLiteral("BitBtnAjuda"), QStringLiteral("Ajuda"), 397);
    BitBtnSobre = CriarBotao(QStringLiteral("BitBtnSobre"), QStringLiteral("Sobre"), 429);
    BitBtnSair = CriarBotao(QStringLiteral("BitBtnSair"), QStringLiteral("Sair"), 460);

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

void TFormMain::LigarEventos() {
    connect(BitBtnGerar, &QPushButton::clicked, this, [this] { FJogo->BitBtnGerarClick(); });
    connect(BitBtnGuardar, &QPushButton::clicked, this, [this] { FJogo->BitBtnGuardarClick(); });
    connect(BitBtnAbrir, &QPushButton::clicked, this, [this] { FJogo->BitBtnAbrirClick(); });
    connect(BitBtnConfigurar, &QPushButton::clicked, this,
            [this] { FJogo->BitBtnConfigurarClick(); });
    connect(BitBtnVerSolucao, &QPushButton::clicked, this, [this] { FJogo->VerSolucao(); });
    connect(BitBtnVerificar, &QPushButton::clicked, this, [this] { FJogo->Verificar(); });
    connect(BitBtnLimpar, &QPushButton::clicked, this, [this] { FJogo->Limpar(); });
    connect(BitBtnDica, &QPushButton::clicked, this, [this] { FJogo->Dica(); });
    connect(BitBtnSair, &QPushButton::clicked, this, [this] { FJogo->BitBtnSairClick(); });
    connect(BitBtnExportarPuzzle, &QPushButton::clicked, this,
            [this] { FJogo->BitBtnExportarPuzzleClick(); });
    connect(BitBtnExportarLote, &QPushButton::clicked, this,
            [this] { FJogo->BitBtnExportarLoteClick(); });
    connect(BitBtnAjuda, &QPushButton::clicked, this, [this] { FormAjuda->exec(); });
    connect(BitBtnSobre, &QPushButton::clicked, this, [this] { FormSobre->exec(); });
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ActualizarCorridas(); });
    auto* relogio = new QTimer(this);
    relogio->setInterval(500);
    connect(relogio, &QTimer::timeout, this, [this] { ActualizarRelogio(); });
    relogio->start();
}

void TFormMain::LigarAtalhos() {
    // A shortcut clicks its button, so it runs the very same flow, questions included, and
    // does nothing while the button is disabled.
    const std::pair<QPushButton*, QKeySequence> atalhos[] = {
        {BitBtnGerar, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {BitBtnGuardar, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {BitBtnAbrir, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {BitBtnExportarPuzzle, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {BitBtnAjuda, QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [botao, tecla] : atalhos) {
        auto* atalho = new QShortcut(tecla, this);
        connect(atalho, &QShortcut::activated, botao, &QPushButton::click);
        botao->setToolTip(
            QStringLiteral("Atalho: %1").arg(tecla.toString(QKeySequence::NativeText)));
    }
    const auto ligar = [this](QKeySequence ATecla, void (TJogo::*AAccao)()) {
        auto* atalho = new QShortcut(ATecla, this);
        connect(atalho, &QShortcut::activated, this, [this, AAccao] { ((*FJogo).*AAccao)(); });
    };
    ligar(QKeySequence(Qt::CTRL | Qt::Key_Z), &TJogo::Desfazer);
    ligar(QKeySequence(Qt::CTRL | Qt::Key_Y), &TJogo::Refazer);
    ligar(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TJogo::Refazer);
}

void TFormMain::showEvent(QShowEvent* AEvento) {
    QMainWindow::showEvent(AEvento);
    if (FJaMostrada) return;
    FJaMostrada = true;
    // The guess at the frame made before the window existed is checked against the real one.
    QTimer::singleShot(0, this, [this] { AcertarNoEcra(0); });
    AjustarTamanhoGrelha();
    FJogo->IrParaPrimeiraVazia();
    // The keyboard starts on the board, with the current cell framed.
    FocarGrelha();
    RepintarGrelha();
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
    int32_t r = 0, c = 0;
    StringGrid1->CelulaActual(r, c);
    const TSomadoBoard* board = FJogo->Board();
    const QString texto =
        board && !FJogo->MostraSolucao() ? CorridasDaCelula(*board, r, c) : QString();
    LabelCorridas->setText(
        TextoQueCabe(texto, LabelCorridas->fontMetrics(), LabelCorridas->size()));
    // A long list may not fit the area: the whole of it on hovering.
    LabelCorridas->setToolTip(texto);
}

void TFormMain::LimparInformacao() {
    MemoInformacao->clear();
}

void TFormMain::AdicionarInformacao(const QString& ALinha) {
    MemoInformacao->appendPlainText(ALinha);
}

void TFormMain::DefinirLegendaVerSolucao(const QString& ALegenda) {
    BitBtnVerSolucao->setText(ALegenda);
}

void TFormMain::DefinirLegendaTamanho(const QString& ALegenda) {
    LabelTamanhoConfigurado->setText(ALegenda);
    LabelTamanhoConfigurado->adjustSize();
}

void TFormMain::ConfigurarGrelha() {
    StringGrid1->ConfigurarGrelha(FJogo->Board() ? FJogo->Board()->Size() : 0);
}

void TFormMain::AjustarTamanhoGrelha() {
    StringGrid1->AjustarTamanho(PanelGrelha->width(), PanelGrelha->height());
}

void TFormMain::RepintarGrelha() {
    StringGrid1->viewport()->update();
    ActualizarCorridas();
    ActualizarRelogio();
}

void TFormMain::FocarGrelha() {
    if (StringGrid1->isVisible() && StringGrid1->isEnabled()) StringGrid1->setFocus();
}

void TFormMain::CelulaActual(int32_t& ARow, int32_t& ACol) const {
    StringGrid1->CelulaActual(ARow, ACol);
}

void TFormMain::SeleccionarCelula(int32_t ARow, int32_t ACol) {
    StringGrid1->SeleccionarCelula(ARow, ACol);
}

void TFormMain::ComecarEspera() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BitBtnGerar->setEnabled(false);
    // Once, so that the messages and the cursor show before the window freezes.
    QApplication::processEvents();
}

void TFormMain::TerminarEspera() {
    QApplication::restoreOverrideCursor();
    BitBtnGerar->setEnabled(true);
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

// The commands the game refuses during a batch, greyed out meanwhile.
static QList<QPushButton*> BotoesParadosNoLote(const TFormMain& AJanela) {
    return {AJanela.BitBtnExportarLote, AJanela.BitBtnGerar, AJanela.BitBtnAbrir,
            AJanela.BitBtnConfigurar};
}

void TFormMain::ComecarLote() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (QPushButton* botao : BotoesParadosNoLote(*this))
        botao->setEnabled(false);
}

void TFormMain::TerminarLote() {
    QApplication::restoreOverrideCursor();
    for (QPushButton* botao : BotoesParadosNoLote(*this))
        botao->setEnabled(true);
}

void TFormMain::ProcessarEventos() {
    QApplication::processEvents();
}

void TFormMain::ReportarErro(const QString& AMensagem) {
    MostrarErroGeral(AMensagem);
}
