// The board grid: a table view with one item per board cell, painted by the board drawing.
// It draws the current cell the game holds and turns clicks and keys into the game's commands;
// the view's own current index only follows the game's, for scrolling and accessibility.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <functional>

#include "game/Estado.h"

class QMenu;
class TJogo;

inline constexpr int CDuracaoCelebracaoMs = 1500;

// The colour of the frame around the current cell: the system's highlight colour, opaque.
QColor CorMolduraFoco();

// The cells carry no data of their own: everything is painted from the game's board.
class TModeloTabuleiro : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void DefinirLado(int ALado);
    int rowCount(const QModelIndex& AParent = {}) const override;
    int columnCount(const QModelIndex& AParent = {}) const override;
    QVariant data(const QModelIndex&, int) const override { return {}; }
    Qt::ItemFlags flags(const QModelIndex& AIndice) const override;

private:
    int FLado = 0;
};

class TGrelhaTabuleiro : public QTableView {
public:
    TGrelhaTabuleiro(TJogo& AJogo, QWidget* AParent);

    int Lado() const { return FModelo.rowCount(); }
    void ConfigurarGrelha(int ALado);
    // Cell size and place inside the parent, as the parent's client area allows.
    void AjustarTamanho(int ALarguraPainel, int AAlturaPainel);
    // The view's current index put on the game's current cell.
    void MostrarCursor();
    // The finish shows on the board itself: every white cell tinted for a moment.
    void Celebrar();
    bool Celebrando() const { return FCelebrar.isActive(); }
    // Runs the window's commands the grid's menu offers (statistics, help…).
    std::function<void(TComando)> Executar;

protected:
    QModelIndex moveCursor(CursorAction AAccao, Qt::KeyboardModifiers AModificadores) override;
    // Every press selects the cell under the pointer, a quick second click included; dragging
    // selects nothing.
    void mousePressEvent(QMouseEvent* AEvento) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvento) override;
    void mouseMoveEvent(QMouseEvent* AEvento) override;
    void mouseReleaseEvent(QMouseEvent* AEvento) override;
    void keyPressEvent(QKeyEvent* AEvento) override;
    // Tab and Shift+Tab move the current cell; Ctrl+Tab leaves the board.
    bool focusNextPrevChild(bool ASeguinte) override;
    // The right-click menu: the marks of the cell under the mouse, undo, redo, clearing the
    // marks and the display of conflicts.
    void contextMenuEvent(QContextMenuEvent* AEvento) override;
    void focusInEvent(QFocusEvent* AEvento) override;
    void focusOutEvent(QFocusEvent* AEvento) override;
    // Hovering a clue cell shows the combinations of its sums.
    bool viewportEvent(QEvent* AEvento) override;

private:
    void Clicar(QMouseEvent* AEvento);
    // The cell's menu; the marks only for a white cell.
    void MostrarMenu(const QPoint& AGlobal, bool ASobreBranca);
    void AdicionarNotas(QMenu& AMenu);

    TJogo& FJogo;
    TModeloTabuleiro FModelo;
    QTimer FCelebrar;
};

class TDelegadoCelula : public QStyledItemDelegate {
public:
    TDelegadoCelula(TJogo& AJogo, TGrelhaTabuleiro& AGrelha);
    void paint(QPainter* APainter, const QStyleOptionViewItem& AOpcao,
               const QModelIndex& AIndice) const override;

private:
    TJogo& FJogo;
    TGrelhaTabuleiro& FGrelha;
};
