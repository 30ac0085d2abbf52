// The help window: how to play, tips, the difficulty levels and what each button does.
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

    QTextEdit* RichEditRegras = nullptr;
    QPushButton* BitBtnOK = nullptr;
};
