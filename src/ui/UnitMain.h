// The main window: the board grid on the left, the command panel on the right.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <QFileDialog>
#include <QMainWindow>

#include <memory>
class QLabel;
class TFormAjuda;
class TFormConfiguracao;
class TFormSobre;
class QPlainTextEdit;
class QPushButton;
class QScreen;
class TGrelhaTabuleiro;
class TPainelGrelha;

// What a file dialog of the window keeps between uses: its kind, filter and default
// extension, and the folder it opens in (the working folder at first, then where the user
// left it).
struct TDialogoFicheiro {
    QString Nome;
    QFileDialog::AcceptMode Modo = QFileDialog::AcceptOpen;
    QString Filtro;
    QString Sufixo;
    QString Pasta;
};

class TFormMain : public QMainWindow, public IJanelaJogo {
public:
    explicit TFormMain(TGeradorDePuzzles AGerador, QWidget* AParent = nullptr);
    ~TFormMain() override;

    TJogo& Jogo() { return *FJogo; }
    TGrelhaTabuleiro* StringGrid1 = nullptr;
    QWidget* PanelGrelha = nullptr;
    QWidget* PanelLateral = nullptr;
    QPushButton* BitBtnGerar = nullptr;
    QPushButton* BitBtnVerSolucao = nullptr;
    QPushButton* BitBtnVerificar = nullptr;
    QPushButton* BitBtnDica = nullptr;
    QPushButton* BitBtnLimpar = nullptr;
    QPushButton* BitBtnGuardar = nullptr;
    QPushButton* BitBtnAbrir = nullptr;
    QPushButton* BitBtnExportarPuzzle = nullptr;
    QPushButton* BitBtnExportarLote = nullptr;
    QPushButton* BitBtnConfigurar = nullptr;
    QPushButton* BitBtnAjuda = nullptr;
    QPushButton* BitBtnSobre = nullptr;
    QPushButton* BitBtnSair = nullptr;
    QLabel* LabelTamanhoConfigurado = nullptr;
    // The play clock, above the buttons, and the current cell's runs, below them.
    QLabel* LabelRelogio = nullptr;
    QLabel* LabelCorridas = nullptr;
    QPlainTextEdit* MemoInformacao = nullptr;
    TDialogoFicheiro OpenDialog1;
    TDialogoFicheiro SaveDialog1;
    TDialogoFicheiro SaveDialogPdf;
    TDialogoFicheiro SaveDialogLotePdf;
    TFormConfiguracao* FormConfiguracao = nullptr;
    TFormSobre* FormSobre = nullptr;
    TFormAjuda* FormAjuda = nullptr;

    // IJanelaJogo
    void LimparInformacao() override;
    void AdicionarInformacao(const QString& ALinha) override;
    void DefinirLegendaVerSolucao(const QString& ALegenda) override;
    void DefinirLegendaTamanho(const QString& ALegenda) override;
    void ConfigurarGrelha() override;
    void AjustarTamanhoGrelha() override;
    void RepintarGrelha() override;
    void FocarGrelha() override;
    void CelulaActual(int32_t& ARow, int32_t& ACol) const override;
    void SeleccionarCelula(int32_t ARow, int32_t ACol) override;
    void ComecarEspera() override;
    void TerminarEspera() override;
    TResposta Perguntar(const QString& ATexto, bool ACancelar) override;
    bool EscolherFicheiroParaGuardar(QString& ACaminho) override;
    bool EscolherFicheiroParaAbrir(QString& ACaminho) override;
    bool EditarConfiguracao(TConfiguracao& AConfiguracao) override;
    void Fechar() override;
    bool EscolherFicheiroPdf(QString& ACaminho) override;
    bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) override;
    void ComecarLote() override;
    void TerminarLote() override;
    void ProcessarEventos() override;
    void ReportarErro(const QString& AMensagem) override;

protected:
    void showEvent(QShowEvent* AEvento) override;
    // The clock stands while the window is minimised.
    void changeEvent(QEvent* AEvento) override;
    // Every way of closing the window comes here: it closes only when PodeSair allows it.
    void closeEvent(QCloseEvent* AEvento) override;

private:
    void CriarComponentes();
    void CriarDialogos();
    void LigarEventos();
    // Keyboard shortcuts: Ctrl+N, Ctrl+S, Ctrl+O, Ctrl+E and F1 for their buttons; Ctrl+Z to
    // undo, Ctrl+Y and Ctrl+Shift+Z to redo.
    void LigarAtalhos();
    QPushButton* CriarBotao(const QString& ANome, const QString& ALegenda, int ATopo);
    // Shows the dialog, offering AProposto as the name; false when the user cancels.
    bool Escolher(TDialogoFicheiro& ADialogo, const QString& AProposto, QString& ACaminho);
    void DefinirTamanhoMinimo();
    QSize TamanhoMinimoCliente() const;
    // Opens the window at its drawn size where the screen's free area holds it with the frame
    // AMoldura around it, else at the largest size that fits, centred.
    void ColocarNoEcra(const QScreen* AEcra, const QMargins& AMoldura);
    // Once on the screen: with the frame the window really got, makes it fit if it does not.
    void AcertarNoEcra(int ATentativa);
    void ActualizarRelogio();
    void ActualizarCorridas();

    std::unique_ptr<TJogo> FJogo;
    bool FJaMostrada = false;
};
