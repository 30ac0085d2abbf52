#include "ui/GrelhaTabuleiro.h"

#include "game/UnitSomadoJogo.h"
#include "render/UnitSomadoDesenho.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int CCelulaMinima = 28;
constexpr int CCelulaMaxima = 64;

} // namespace

static TRealceCelula RealceDoDestaque(TDestaque ADestaque) {
    switch (ADestaque) {
    case TDestaque::Corrida:
        return TRealceCelula::Corrida;
    case TDestaque::Passo:
        return TRealceCelula::Passo;
    case TDestaque::PassoCelula:
        return TRealceCelula::PassoCelula;
    case TDestaque::Nenhum:
        break;
    }
    return TRealceCelula::Nenhum;
}

void TGrelhaTabuleiro::Celebrar() {
    FCelebrar.start(CDuracaoCelebracaoMs);
    viewport()->update();
}

QColor CorMolduraFoco() {
    // The application's palette, not the view's: the style sheet makes the view's selection
    // colour see-through (the cells paint themselves), and the frame must never vanish with it.
    QColor cor = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    cor.setAlpha(255);
    return cor;
}

void TModeloTabuleiro::DefinirLado(int ALado) {
    beginResetModel();
    FLado = ALado;
    endResetModel();
}

int TModeloTabuleiro::rowCount(const QModelIndex& AParent) const {
    return AParent.isValid() ? 0 : FLado;
}

int TModeloTabuleiro::columnCount(const QModelIndex& AParent) const {
    return AParent.isValid() ? 0 : FLado;
}

Qt::ItemFlags TModeloTabuleiro::flags(const QModelIndex& AIndice) const {
    return AIndice.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

TGrelhaTabuleiro::TGrelhaTabuleiro(TJogo& AJogo, QWidget* AParent)
    : QTableView(AParent), FJogo(AJogo), FModelo(this) {
    setObjectName(QStringLiteral("StringGrid1"));
    setModel(&FModelo);
    setItemDelegate(new TDelegadoCelula(AJogo, *this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setFocusPolicy(Qt::StrongFocus);
    FCelebrar.setSingleShot(true);
    connect(&FCelebrar, &QTimer::timeout, this, [this] { viewport()->update(); });
}

void TGrelhaTabuleiro::ConfigurarGrelha(int ALado) {
    FModelo.DefinirLado(ALado);
    MostrarCursor();
}

void TGrelhaTabuleiro::AjustarTamanho(int ALarguraPainel, int AAlturaPainel) {
    const int n = Lado();
    if (n == 0) return;
    const int m = std::min(ALarguraPainel, AAlturaPainel);
    if (m <= 0) return;
    const int s = std::clamp(m / n, CCelulaMinima, CCelulaMaxima);
    horizontalHeader()->setDefaultSectionSize(s);
    verticalHeader()->setDefaultSectionSize(s);
    // A grid larger than its panel is centred all the same and cut off on both sides.
    setGeometry((ALarguraPainel - n * s) / 2, (AAlturaPainel - n * s) / 2, n * s, n * s);
}

void TGrelhaTabuleiro::MostrarCursor() {
    const TCursor cursor = FJogo.Cursor();
    const QModelIndex indice = FModelo.index(cursor.Row, cursor.Col);
    if (indice.isValid() && indice != currentIndex())
        selectionModel()->setCurrentIndex(indice, QItemSelectionModel::ClearAndSelect);
}

QModelIndex TGrelhaTabuleiro::moveCursor(CursorAction AAccao,
                                         Qt::KeyboardModifiers AModificadores) {
    switch (AAccao) {
    case MoveUp:
        FJogo.MoverCursor(TMovimento::Cima);
        break;
    case MoveDown:
        FJogo.MoverCursor(TMovimento::Baixo);
        break;
    case MoveLeft:
        FJogo.MoverCursor(TMovimento::Esquerda);
        break;
    case MoveRight:
        FJogo.MoverCursor(TMovimento::Direita);
        break;
    case MoveNext:
        FJogo.MoverCursor(TMovimento::Seguinte);
        break;
    case MovePrevious:
        FJogo.MoverCursor(TMovimento::Anterior);
        break;
    default: {
        // Home, End and the page keys: where the view would go, when that is a white cell.
        const QModelIndex destino = QTableView::moveCursor(AAccao, AModificadores);
        if (destino.isValid()) FJogo.SeleccionarCelula(destino.row(), destino.column());
    }
    }
    const TCursor cursor = FJogo.Cursor();
    return FModelo.index(cursor.Row, cursor.Col);
}

void TGrelhaTabuleiro::Clicar(QMouseEvent* AEvento) {
    const QModelIndex alvo = indexAt(AEvento->position().toPoint());
    // A click on a black or clue cell only gives the grid the focus.
    if (alvo.isValid() && AEvento->button() == Qt::LeftButton)
        FJogo.SeleccionarCelula(alvo.row(), alvo.column());
    setFocus(Qt::MouseFocusReason);
    AEvento->accept();
}

void TGrelhaTabuleiro::mousePressEvent(QMouseEvent* AEvento) {
    Clicar(AEvento);
}

void TGrelhaTabuleiro::mouseDoubleClickEvent(QMouseEvent* AEvento) {
    Clicar(AEvento);
}

void TGrelhaTabuleiro::mouseMoveEvent(QMouseEvent* AEvento) {
    AEvento->accept();
}

void TGrelhaTabuleiro::mouseReleaseEvent(QMouseEvent* AEvento) {
    AEvento->accept();
}

bool TGrelhaTabuleiro::focusNextPrevChild(bool ASeguinte) {
    if (hasFocus() && FJogo.Board()) {
        FJogo.MoverCursor(ASeguinte ? TMovimento::Seguinte : TMovimento::Anterior);
        return true;
    }
    return QTableView::focusNextPrevChild(ASeguinte);
}

void TGrelhaTabuleiro::keyPressEvent(QKeyEvent* AEvento) {
    const int tecla = AEvento->key();
    const Qt::KeyboardModifiers modificadores = AEvento->modifiers();
    // Ctrl+Tab and Ctrl+Shift+Tab take the keyboard off the board, to the buttons.
    if ((tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) &&
        (modificadores & Qt::ControlModifier)) {
        const bool seguinte = tecla == Qt::Key_Tab && !(modificadores & Qt::ShiftModifier);
        QTableView::focusNextPrevChild(seguinte);
        AEvento->accept();
        return;
    }
    // Ctrl+digit toggles a pencil mark; the keypad's digits too.
    if ((modificadores & Qt::ControlModifier) && tecla >= Qt::Key_1 && tecla <= Qt::Key_9) {
        FJogo.AlternarNota(tecla - Qt::Key_0);
        AEvento->accept();
        return;
    }
    if (tecla == Qt::Key_Backspace || tecla == Qt::Key_Delete || tecla == Qt::Key_F2) {
        FJogo.ApagarCelulaActual();
        AEvento->accept();
        return;
    }
    const QString texto = AEvento->text();
    if (texto.size() == 1 && texto[0].isPrint() && FJogo.EscreverCaracter(texto[0])) {
        AEvento->accept();
        return;
    }
    QTableView::keyPressEvent(AEvento);
}

void TGrelhaTabuleiro::contextMenuEvent(QContextMenuEvent* AEvento) {
    // The menu is about the cell under the pointer: a white one becomes the current cell
    // first; a black or clue cell offers no marks. From the keyboard it is the current cell's.
    bool sobreBranca = false;
    QPoint onde = AEvento->globalPos();
    if (AEvento->reason() == QContextMenuEvent::Keyboard) {
        const TCursor cursor = FJogo.Cursor();
        sobreBranca = FJogo.PodeSeleccionar(cursor.Row, cursor.Col);
        onde = viewport()->mapToGlobal(visualRect(FModelo.index(cursor.Row, cursor.Col)).center());
    } else {
        const QModelIndex alvo = indexAt(AEvento->pos());
        sobreBranca = alvo.isValid() && FJogo.SeleccionarCelula(alvo.row(), alvo.column());
    }
    setFocus(Qt::PopupFocusReason);
    MostrarMenu(onde, sobreBranca);
    AEvento->accept();
}

namespace {

QAction* AdicionarAccao(QMenu& AMenu, const QString& ALegenda, bool AActiva,
                        const QKeySequence& AAtalho = {}) {
    QAction* accao = AMenu.addAction(ALegenda);
    accao->setEnabled(AActiva);
    accao->setShortcut(AAtalho);
    return accao;
}

} // namespace

void TGrelhaTabuleiro::AdicionarNotas(QMenu& AMenu) {
    const TCursor cursor = FJogo.Cursor();
    const uint16_t notas = FJogo.Notas(cursor.Row, cursor.Col);
    const bool podeMarcar = FJogo.PodeMarcar();
    for (int32_t d = 1; d <= 9; ++d) {
        QAction* nota = AdicionarAccao(AMenu, QStringLiteral("Nota %1").arg(d), podeMarcar,
                                       QKeySequence(Qt::CTRL | (Qt::Key_0 + d)));
        nota->setCheckable(true);
        nota->setChecked(notas & (1u << d));
        connect(nota, &QAction::triggered, this, [this, d] { FJogo.AlternarNota(d); });
    }
}

void TGrelhaTabuleiro::MostrarMenu(const QPoint& AGlobal, bool ASobreBranca) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MenuGrelha"));
    if (ASobreBranca) {
        AdicionarNotas(menu);
        menu.addSeparator();
    }
    connect(AdicionarAccao(menu, QStringLiteral("Explicar um passo"),
                           FJogo.PodeExecutar(TComando::ExplicarPasso),
                           QKeySequence(Qt::CTRL | Qt::Key_H)),
            &QAction::triggered, this, [this] { FJogo.ExplicarPasso(); });
    connect(AdicionarAccao(menu, QStringLiteral("Preencher notas"),
                           FJogo.PodeExecutar(TComando::PreencherNotas),
                           QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, [this] { FJogo.PreencherNotas(); });
    menu.addSeparator();
    connect(AdicionarAccao(menu, QStringLiteral("Desfazer"), FJogo.PodeDesfazer(),
                           QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, [this] { FJogo.Desfazer(); });
    connect(AdicionarAccao(menu, QStringLiteral("Refazer"), FJogo.PodeRefazer(),
                           QKeySequence(Qt::CTRL | Qt::Key_Y)),
            &QAction::triggered, this, [this] { FJogo.Refazer(); });
    const bool podeApagar =
        FJogo.Board() && !FJogo.MostraSolucao() && !FJogo.Recusado(TComando::Jogada);
    if (ASobreBranca) {
        const TCursor cursor = FJogo.Cursor();
        connect(AdicionarAccao(menu, QStringLiteral("Apagar notas desta casa"),
                               podeApagar && FJogo.Notas(cursor.Row, cursor.Col) != 0),
                &QAction::triggered, this, [this] { FJogo.ApagarNotasDaCelula(); });
    }
    connect(AdicionarAccao(menu, QStringLiteral("Apagar todas as notas"),
                           podeApagar && FJogo.Estado().Notas.Alguma()),
            &QAction::triggered, this, [this] { FJogo.ApagarNotas(); });
    menu.addSeparator();
    QAction* pausa =
        AdicionarAccao(menu, QStringLiteral("Pausa"),
                       FJogo.PodeExecutar(TComando::Pausa) &&
                           (FJogo.EmPausa() || FJogo.GameState() == TGameState::gsPlaying),
                       QKeySequence(Qt::Key_Pause));
    pausa->setCheckable(true);
    pausa->setChecked(FJogo.EmPausa());
    connect(pausa, &QAction::triggered, this, [this] { FJogo.AlternarPausa(); });
    QAction* conflitos = AdicionarAccao(menu, QStringLiteral("Mostrar conflitos"), true);
    conflitos->setCheckable(true);
    conflitos->setChecked(FJogo.MostrarConflitos());
    connect(conflitos, &QAction::toggled, this,
            [this](bool AMostrar) { FJogo.DefinirMostrarConflitos(AMostrar); });
    QAction* corridas = AdicionarAccao(menu, QStringLiteral("Mostrar corridas"), true);
    corridas->setCheckable(true);
    corridas->setChecked(FJogo.MostrarCorridas());
    connect(corridas, &QAction::toggled, this,
            [this](bool AMostrar) { FJogo.DefinirMostrarCorridas(AMostrar); });
    menu.addSeparator();
    connect(AdicionarAccao(menu, QStringLiteral("Estatísticas…"), true), &QAction::triggered, this,
            [this] {
                if (Executar) Executar(TComando::Estatisticas);
            });
    connect(AdicionarAccao(menu, QStringLiteral("Imprimir…"),
                           FJogo.Board() && FJogo.PodeExecutar(TComando::Imprimir),
                           QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, [this] {
                if (Executar) Executar(TComando::Imprimir);
            });
    menu.exec(AGlobal);
}

// The focus frame follows the keyboard focus.
void TGrelhaTabuleiro::focusInEvent(QFocusEvent* AEvento) {
    QTableView::focusInEvent(AEvento);
    viewport()->update();
}

void TGrelhaTabuleiro::focusOutEvent(QFocusEvent* AEvento) {
    QTableView::focusOutEvent(AEvento);
    viewport()->update();
}

bool TGrelhaTabuleiro::viewportEvent(QEvent* AEvento) {
    if (AEvento->type() != QEvent::ToolTip) return QTableView::viewportEvent(AEvento);
    auto* ajuda = static_cast<QHelpEvent*>(AEvento);
    const QModelIndex celula = indexAt(ajuda->pos());
    const TSomadoBoard* board = FJogo.Board();
    const QString texto = board && celula.isValid()
                              ? CombinacoesDaPista(*board, celula.row(), celula.column())
                              : QString();
    if (texto.isEmpty()) {
        QToolTip::hideText();
        AEvento->ignore();
    } else {
        QToolTip::showText(ajuda->globalPos(), texto, viewport(), visualRect(celula));
    }
    return true;
}

TDelegadoCelula::TDelegadoCelula(TJogo& AJogo, TGrelhaTabuleiro& AGrelha)
    : QStyledItemDelegate(&AGrelha), FJogo(AJogo), FGrelha(AGrelha) {}

void TDelegadoCelula::paint(QPainter* APainter, const QStyleOptionViewItem& AOpcao,
                            const QModelIndex& AIndice) const {
    const TSomadoBoard* board = FJogo.Board();
    if (!board || AIndice.row() >= board->Size() || AIndice.column() >= board->Size()) return;
    const QRect r = AOpcao.rect;
    const int32_t row = AIndice.row(), col = AIndice.column();
    APainter->save();
    TExtrasCelula extras{FJogo.Notas(row, col), FJogo.CelulaEmConflito(row, col),
                         FGrelha.Celebrando() ? TRealceCelula::Fim
                                              : RealceDoDestaque(FJogo.DestaqueDe(row, col)),
                         FJogo.EmPausa()};
    DesenharCelula(*APainter, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                   board->GetCell(row, col), FJogo.MostraSolucao(), true, extras);
    const TCursor cursor = FJogo.Cursor();
    if (AIndice.row() == cursor.Row && AIndice.column() == cursor.Col && FGrelha.hasFocus()) {
        // The focus frame: 3 units of the highlight colour, 1 unit inside the cell.
        APainter->setBrush(Qt::NoBrush);
        APainter->setPen(QPen(CorMolduraFoco(), 3));
        APainter->drawRect(r.adjusted(1, 1, -1, -1));
    }
    APainter->restore();
}
