// "Imprimir": a preview of the pages with the choice of what to print, and the system's print
// dialog behind its "Imprimir…" button.
#pragma once

#include "game/Impressao.h"
#include "model/UnitSomado.h"

#include <QDialog>
#include <QPrinter>

class QComboBox;
class QPrintPreviewWidget;
class QPushButton;

class TFormImpressao : public QDialog {
public:
    // ABoard stays the caller's and must outlive the dialog.
    TFormImpressao(const TSomadoBoard& ABoard, QWidget* AParent);

    // Shows the dialog until the pages are printed, printing fails or the player gives up.
    TResultadoImpressao Executar();

    // The choices, in the order of ComboBoxConteudo.
    static QString NomeDoConteudo(TConteudoImpressao AConteudo);

    QComboBox* ComboBoxConteudo = nullptr;
    QPrintPreviewWidget* PreviewImpressao = nullptr;
    QPushButton* BitBtnImprimir = nullptr;
    QPushButton* BitBtnCancelar = nullptr;

private:
    TConteudoImpressao Conteudo() const;
    void DesenharPrevisao(QPrinter* APapel);
    // "Imprimir…": the system's dialog, then the pages on the chosen printer.
    void Imprimir();
    // Why the chosen printer cannot print now, as the system reports it; empty when it can.
    QString ImpressoraNaoPronta() const;
    QString Destino() const;
    void Falhar(const QString& AErro);

    const TSomadoBoard& FBoard;
    QPrinter FPapel;
    TResultadoImpressao FResultado;
};

// The message for a system without any printer.
QString MensagemSemImpressoras();
