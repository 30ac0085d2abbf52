// The "about" window: the program's name and its author.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TFormSobre : public QDialog {
public:
    explicit TFormSobre(QWidget* AParent = nullptr);

    QLabel* LabelSobre = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelVersao = nullptr;
    QPushButton* BitBtnOK = nullptr;
};
