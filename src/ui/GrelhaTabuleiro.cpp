#include "ui/GrelhaTabuleiro.h"

#include "game/UnitSomadoJogo.h"
#include "render/UnitSomadoDesenho.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int CCelulaMinima = 28;
constexpr int CCelulaMaxima = 64;

// Resets the flag however the move ends.
class TMovimentoDoPrograma {
public:
    explicit TMovimentoDoPrograma(bool& AFlag) : FFlag(AFlag) { FFlag = true; }
    ~TMovimentoDoPrograma() { FFlag = false; }
    TMovimentoDoPrograma(const TMovimentoDoPrograma&) = delete;
    TMovimentoDoPrograma& operator=(const TMovimentoDoPrograma&) = delete;

private:
    bool& FFlag;
};

} // namespace

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
}

void TGrelhaTabuleiro::ConfigurarGrelha(int ALado) {
    {
        // Back to the corner first, so that the current cell stays inside a smaller grid.
        TMovimentoDoPrograma movimento(FASeleccionarProgramaticamente);
        if (FModelo.rowCount() > 0) setCurrentIndex(FModelo.index(0, 0));
    }
    FModelo.DefinirLado(ALado);
    TMovimentoDoPrograma movimento(FASeleccionarProgramaticamente);
    if (ALado > 0) setCurrentIndex(FModelo.index(0, 0));
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

void TGrelhaTabuleiro::CelulaActual(int32_t& ARow, int32_t& ACol) const {
    const QModelIndex actual = currentIndex();
    ARow = actual.isValid() ? actual.row() : 0;
    ACol = actual.isValid() ? actual.column() : 0;
}

void TGrelhaTabuleiro::SeleccionarCelula(int32_t ARow, int32_t ACol) {
    TMovimentoDoPrograma movimento(FASeleccionarProgramaticamente);
    setCurrentIndex(FModelo.index(ARow, ACol));
}

bool TGrelhaTabuleiro::PodeIrPara(const QModelIndex& AIndice) const {
    if (FASeleccionarProgramaticamente) return true;
    return AIndice.isValid() && FJogo.PodeSeleccionar(AIndice.row(), AIndice.column());
}

QModelIndex TGrelhaTabuleiro::moveCursor(CursorAction AAccao,
                                         Qt::KeyboardModifiers AModificadores) {
    int32_t dr = 0, dc = 0;
    switch (AAccao) {
    case MoveUp:
        dr = -1;
        break;
    case MoveDown:
        dr = 1;
        break;
    case MoveLeft:
        dc = -1;
        break;
    case MoveRight:
        dc = 1;
        break;
    default: {
        const QModelIndex destino = QTableView::moveCursor(AAccao, AModificadores);
        return PodeIrPara(destino) ? destino : currentIndex();
    }
    }
    // Arrows jump over blocked cells to the next white one, so no cell is out of reach.
    int32_t r = 0, c = 0, rDestino = 0, cDestino = 0;
    CelulaActual(r, c);
    if (!FJogo.BrancaNaDireccao(r, c, dr, dc, rDestino, cDestino)) return currentIndex();
    return FModelo.index(rDestino, cDestino);
}

void TGrelhaTabuleiro::mousePressEvent(QMouseEvent* AEvento) {
    const QModelIndex alvo = indexAt(AEvento->position().toPoint());
    if (!PodeIrPara(alvo)) {
        // A click on a black or clue cell only gives the grid the focus.
        setFocus(Qt::MouseFocusReason);
        AEvento->accept();
        return;
    }
    QTableView::mousePressEvent(AEvento);
}

void TGrelhaTabuleiro::keyPressEvent(QKeyEvent* AEvento) {
    const int tecla = AEvento->key();
    // Ctrl+digit toggles a pencil mark; the keypad's digits too.
    if ((AEvento->modifiers() & Qt::ControlModifier) && tecla >= Qt::Key_1 && tecla <= Qt::Key_9) {
        FJogo.AlternarNota(tecla - Qt::Key_0);
        AEvento->accept();
        return;
    }
    if (tecla == Qt::Key_Backspace || tecla == Qt::Key_Delete || tecla == Qt::Key_F2) {
        FJogo.ApagarCelulaActual();
        QTableView::keyPressEvent(AEvento);
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
    const QModelIndex alvo = indexAt(AEvento->pos());
    if (alvo.isValid() && FJogo.PodeSeleccionar(alvo.row(), alvo.column()))
        SeleccionarCelula(alvo.row(), alvo.column());
    setFocus(Qt::PopupFocusReason);
    int32_t r = 0, c = 0;
    CelulaActual(r, c);
    const TSomadoBoard* board = FJogo.Board();
    const bool podeMarcar = board && !FJogo.MostraSolucao() && FJogo.PodeSeleccionar(r, c) &&
                            board->GetCell(r, c).Value == 0;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MenuGrelha"));
    const uint16_t notas = FJogo.Notas(r, c);
    for (int32_t d = 1; d <= 9; ++d) {
        QAction* nota = menu.addAction(QStringLiteral("Nota %1").arg(d));
        nota->setCheckable(true);
        nota->setChecked(notas & (1u << d));
        nota->setEnabled(podeMarcar);
        nota->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + d)));
        connect(nota, &QAction::triggered, this, [this, d] { FJogo.AlternarNota(d); });
    }
    menu.addSeparator();
    QAction* desfazer = menu.addAction(QStringLiteral("Desfazer"));
    desfazer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(desfazer, &QAction::triggered, this, [this] { FJogo.Desfazer(); });
    QAction* refazer = menu.addAction(QStringLiteral("Refazer"));
    refazer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(refazer, &QAction::triggered, this, [this] { FJogo.Refazer(); });
    QAction* apagar = menu.addAction(QStringLiteral("Apagar notas"));
    connect(apagar, &QAction::triggered, this, [this] { FJogo.ApagarNotas(); });
    menu.addSeparator();
    QAction* conflitos = menu.addAction(QStringLiteral("Mostrar conflitos"));
    conflitos->setCheckable(true);
    conflitos->setChecked(FJogo.MostrarConflitos());
    connect(conflitos, &QAction::toggled, this,
            [this](bool AMostrar) { FJogo.DefinirMostrarConflitos(AMostrar); });
    menu.exec(AEvento->globalPos());
    AEvento->accept();
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
    APainter->save();
    DesenharCelula(*APainter, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                   board->GetCell(AIndice.row(), AIndice.column()), FJogo.MostraSolucao(), true,
                   {FJogo.Notas(AIndice.row(), AIndice.column()),
                    FJogo.CelulaEmConflito(AIndice.row(), AIndice.column())});
    if (AIndice == FGrelha.currentIndex() && FGrelha.hasFocus()) {
        // The focus frame: 3 units of the highlight colour, 1 unit inside the cell.
        APainter->setBrush(Qt::NoBrush);
        APainter->setPen(QPen(CorMolduraFoco(), 3));
        APainter->drawRect(r.adjusted(1, 1, -1, -1));
    }
    APainter->restore();
}
