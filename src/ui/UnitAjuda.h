// The help window: how to play, tips, the difficulty levels and what each button does; a second
// page tells the keys and the solving aids.
#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;

class TFormAjuda : public QDialog {
public:
    explicit TFormAjuda(QWidget* AParent = nullptr);

    // Rebuilds the whole text from the rules and button lists and shows it from the top.
    // The constructor already calls it; the text is not rebuilt when the window is shown.
    void PreencherAjuda();
    void PreencherTeclas();

    // Shows the rules, or the keys and aids (the rules' box keeps its place; the other page
    // takes it while shown).
    void MostrarTeclas(bool ATeclas);

    QTextEdit* RichEditRegras = nullptr;
    QTextEdit* RichEditTeclas = nullptr;
    QPushButton* BitBtnTeclas = nullptr;
    QPushButton* BitBtnOK = nullptr;

protected:
    void showEvent(QShowEvent* AEvento) override;
};
