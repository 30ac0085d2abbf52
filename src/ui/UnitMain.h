// The main window: the board grid on the left, the command panel on the right.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <QFileDialog>
#include <QMainWindow>

#include <functional>
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

// Where the file dialogs first open in a run: the user's documents (their home when there is no
// such folder); afterwards each opens where its last file was chosen.
QString PastaInicialDosDialogos();

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
    // Where the runs' text goes on, below the size label, when the area above is full.
    QLabel* LabelCorridasMais = nullptr;
    QPlainTextEdit* MemoInformacao = nullptr;
    TDialogoFicheiro OpenDialog1;
    TDialogoFicheiro SaveDialog1;
    TDialogoFicheiro SaveDialogPdf;
    TDialogoFicheiro SaveDialogLotePdf;
    TFormConfiguracao* FormConfiguracao = nullptr;
    TFormSobre* FormSobre = nullptr;
    TFormAjuda* FormAjuda = nullptr;

    // IJanelaJogo
    void Mudou(uint32_t AMudancas) override;
    void NoCicloPrincipal(std::function<void()> AAccao) override;
    TResposta Perguntar(const QString& ATexto, bool ACancelar) override;
    bool EscolherFicheiroParaGuardar(QString& ACaminho) override;
    bool EscolherFicheiroParaAbrir(QString& ACaminho) override;
    bool EditarConfiguracao(TConfiguracao& AConfiguracao) override;
    void Fechar() override;
    bool EscolherFicheiroPdf(QString& ACaminho) override;
    bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) override;
    TResultadoImpressao Imprimir(const TSomadoBoard& ABoard) override;
    void ReportarErro(const QString& AMensagem) override;
    void Adiar(int32_t AMs, std::function<void()> AAccao) override;

    // A command from a button, a shortcut or the grid's menu; nothing when the game refuses it
    // now.
    void Executar(TComando AComando);

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
    // The buttons and the keyboard shortcuts, from the command table.
    void CriarComandos();
    QPushButton* CriarBotao(const QString& ANome, const QString& ALegenda, int ATopo);
    // Each button enabled when its command can act; the hourglass while long work runs.
    void ActualizarComandos();
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
    void MostrarEstatisticas();
    void ActualizarCorridas();

    std::unique_ptr<TJogo> FJogo;
    bool FJaMostrada = false;
    bool FCursorDeEspera = false;
};
