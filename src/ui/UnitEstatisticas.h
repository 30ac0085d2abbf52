// The statistics window: per board size and level, how many boards were solved without help,
// the best time and the median time.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class TEstatisticas;

class TFormEstatisticas : public QDialog {
public:
    explicit TFormEstatisticas(QWidget* AParent = nullptr);

    // Fills the table from AEstatisticas and fits the window to it; showing it is the caller's.
    // Until then the table shows an empty record.
    void Mostrar(const TEstatisticas& AEstatisticas);

    // Two heading rows (the levels, then "Resolvidos", "Melhor" and "Mediana" under each) and
    // one row per size, its name in the first column.
    QTableWidget* GridEstatisticas = nullptr;
    QLabel* LabelNota = nullptr;
    QPushButton* BitBtnFechar = nullptr;

private:
    void AjustarTamanho();
};
