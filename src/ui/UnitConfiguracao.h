// The configuration dialog: size and level of new puzzles, and the batch export options.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <QDialog>
#include <QGroupBox>
#include <QSpinBox>

class QButtonGroup;

class QLabel;
class QLineEdit;
class QPushButton;

// The quantity field: any number may be typed; on leaving the field (or when read) a number
// outside the range is brought into it, and a text that is not a number reads as the minimum.
class TSpinEditQuantidade : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    int ValorLido() const;
    QLineEdit* Editor() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& ATexto, int& APosicao) const override;
    void fixup(QString& ATexto) const override;
    void focusOutEvent(QFocusEvent* AEvento) override;
};

// The batch title field accepts only a title that fits one line of the cover.
class TValidadorTitulo : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& ATexto, int& APosicao) const override;
};

// A caption and a column of radio buttons, one item selected.
class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const QString& ALegenda, const QStringList& AItens, QWidget* AParent);
    int ItemIndex() const;
    void DefinirItemIndex(int AIndice);
    QButtonGroup* Botoes() const { return FBotoes; }

private:
    QButtonGroup* FBotoes;
};

class TFormConfiguracao : public QDialog {
public:
    explicit TFormConfiguracao(QWidget* AParent = nullptr);

    void DefinirConfiguracaoPuzzle(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel);
    void CarregarConfiguracaoPuzzle(TTamanhoTabuleiro& ATamanho, TNivelDificuldade& ANivel) const;
    void DefinirConfiguracaoLote(TTamanhoTabuleiro ATamanho, TModoDificuldadeLote AModo,
                                 TNivelDificuldade ADificuldade, int32_t AQuantidade,
                                 const QString& ATitulo);
    void CarregarConfiguracaoLote(TTamanhoTabuleiro& ATamanho, TModoDificuldadeLote& AModo,
                                  TNivelDificuldade& ADificuldade, int32_t& AQuantidade,
                                  QString& ATitulo) const;
    void AtualizarMinimoQuantidade();

    QGroupBox* GroupBoxExportarLote = nullptr;
    TRadioGroup* RadioGroupTamanhoLote = nullptr;
    TRadioGroup* RadioGroupDificuldadeLote = nullptr;
    QLabel* Label1 = nullptr;
    TSpinEditQuantidade* SpinEditQuantidade = nullptr;
    QLabel* LabelTitulo = nullptr;
    QLineEdit* EditTitulo = nullptr;
    QGroupBox* GroupBoxNovoPuzzle = nullptr;
    TRadioGroup* RadioGroupTamanho = nullptr;
    TRadioGroup* RadioGroupNivel = nullptr;
    QPushButton* BitBtnCancelar = nullptr;
    QPushButton* BitBtnOK = nullptr;
};

// Items of the size radio groups: 0 "6 x 6", 1 "9 x 9", 2 "12 x 12", 3 "15 x 15".
TTamanhoTabuleiro TamanhoDoIndice(int AIndice);
// Raises ESomadoError for a size the dialog does not offer.
int IndiceDoTamanho(TTamanhoTabuleiro ATamanho);

inline constexpr int CItemProgressivo = 4;
inline constexpr int CQuantidadeMaxima = 200;
