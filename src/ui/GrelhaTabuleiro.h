// The board grid: a table view with one item per board cell, painted by the board drawing.
// The view refuses to move onto black and clue cells unless the program itself moves it, and
// hands typed characters and the erase keys to the game.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

class TJogo;

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
    void CelulaActual(int32_t& ARow, int32_t& ACol) const;
    void SeleccionarCelula(int32_t ARow, int32_t ACol);

protected:
    QModelIndex moveCursor(CursorAction AAccao, Qt::KeyboardModifiers AModificadores) override;
    void mousePressEvent(QMouseEvent* AEvento) override;
    void keyPressEvent(QKeyEvent* AEvento) override;
    // The right-click menu: the marks of the cell under the mouse, undo, redo, clearing the
    // marks and the display of conflicts.
    void contextMenuEvent(QContextMenuEvent* AEvento) override;
    void focusInEvent(QFocusEvent* AEvento) override;
    void focusOutEvent(QFocusEvent* AEvento) override;
    // Hovering a clue cell shows the combinations of its sums.
    bool viewportEvent(QEvent* AEvento) override;

private:
    bool PodeIrPara(const QModelIndex& AIndice) const;

    TJogo& FJogo;
    TModeloTabuleiro FModelo;
    // True only while the program itself moves the current cell, which may then be any cell.
    bool FASeleccionarProgramaticamente = false;
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
