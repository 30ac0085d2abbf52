// The game behind the main window: the current board, the state of play, the snapshot of
// saved digits, the settings for new puzzles and batches, and the flows of the window's
// commands. It knows the window only through IJanelaJogo, so every flow runs in tests.
#pragma once

#include "game/Historico.h"
#include "game/Lote.h"
#include "io/UnitSomadoFicheiro.h"
#include "model/UnitSomado.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum class TModoDificuldadeLote : uint8_t { mdlFixa, mdlProgressivo };

QString NomeDoNivel(TNivelDificuldade ANivel);

// Answers of the confirmation boxes; a box dismissed without a button answers Cancelar.
enum class TResposta : uint8_t { Sim, Nao, Cancelar };

// The settings the configuration dialog edits: new puzzles and batch export.
struct TConfiguracao {
    TTamanhoTabuleiro Tamanho = TTamanhoTabuleiro::tt9;
    TNivelDificuldade Nivel = TNivelDificuldade::ndFacil;
    TTamanhoTabuleiro TamanhoLote = TTamanhoTabuleiro::tt9;
    TModoDificuldadeLote ModoLote = TModoDificuldadeLote::mdlProgressivo;
    TNivelDificuldade DificuldadeLote = TNivelDificuldade::ndFacil;
    int32_t QuantidadeLote = 40;
    QString TituloLote;
};
int64_t TempoLimiteGeracao(TTamanhoTabuleiro ATamanho);

// Batch export: the level of puzzle k (0-based) of a progressive batch of n, and the code of
// the mode or level in the proposed file name.
TNivelDificuldade NivelProgressivo(int32_t k, int32_t n);
QString CodigoLote(TModoDificuldadeLote AModo, TNivelDificuldade ANivel);

// The 9 × 9 puzzle shown when the first generation at start-up gives no board.
std::unique_ptr<TSomadoBoard> CriarPuzzleFixo();

// The digit combinations that make ASoma in a run of ACasas cells, from the generator's table:
// "10 em 3 casas: 1+2+7, 1+3+6, 1+4+5, 2+3+5".
QString CombinacoesDaSoma(int32_t ASoma, int32_t ACasas);
// The tooltip of a clue cell: a line for its across sum ("→ …"), then one for its down sum
// ("↓ …"); empty for any other cell.
QString CombinacoesDaPista(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);

// The rules alone, never the solution: a digit that repeats in one of its runs, or that
// completes a run whose total is not the clue's sum.
bool DigitoEmConflito(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);
// The across and down run of a white cell, one line each ("→ 16 em 2 casas: 7+9"), with only
// the combinations that hold every digit already placed in that run; empty for other cells.
QString CorridasDaCelula(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);

// What the game needs of the window.
class IJanelaJogo {
public:
    virtual ~IJanelaJogo() = default;

    // The information box, the program's one status channel.
    virtual void LimparInformacao() = 0;
    virtual void AdicionarInformacao(const QString& ALinha) = 0;

    virtual void DefinirLegendaVerSolucao(const QString& ALegenda) = 0;
    virtual void DefinirLegendaTamanho(const QString& ALegenda) = 0;

    // The board grid.
    virtual void ConfigurarGrelha() = 0;
    virtual void AjustarTamanhoGrelha() = 0;
    virtual void RepintarGrelha() = 0;
    virtual void FocarGrelha() = 0;
    virtual void CelulaActual(int32_t& ARow, int32_t& ACol) const = 0;
    // Makes (ARow, ACol) the current cell whatever the cell holds.
    virtual void SeleccionarCelula(int32_t ARow, int32_t ACol) = 0;

    // Around a generation: hourglass cursor, generate button disabled, pending events
    // processed once so that the messages show; then everything back.
    virtual void ComecarEspera() = 0;
    virtual void TerminarEspera() = 0;

    // A modal confirmation box with "Sim", "Não" and, when ACancelar, "Cancelar"; "Sim" is
    // the default.
    virtual TResposta Perguntar(const QString& ATexto, bool ACancelar) = 0;
    // The puzzle file dialogs; false when the user cancels. The save dialog adds ".smd" when
    // the name has no extension, and asks nothing about existing files.
    virtual bool EscolherFicheiroParaGuardar(QString& ACaminho) = 0;
    virtual bool EscolherFicheiroParaAbrir(QString& ACaminho) = 0;
    // The configuration dialog, filled from AConfiguracao; on OK it holds what the user chose.
    virtual bool EditarConfiguracao(TConfiguracao& AConfiguracao) = 0;
    // Asks the window to close; closing then asks PodeSair.
    virtual void Fechar() = 0;

    // The PDF save dialogs (neither asks about existing files). The batch dialog is offered
    // AProposto as the file name, in the folder of the name it held before.
    virtual bool EscolherFicheiroPdf(QString& ACaminho) = 0;
    virtual bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) = 0;
    // Around a batch: hourglass and the batch button disabled; then both back.
    virtual void ComecarLote() = 0;
    virtual void TerminarLote() = 0;
    // Lets the window handle what is pending (painting, input) while a generation or a batch
    // runs on other threads; called again and again until it ends. Commands and a close
    // request may arrive meanwhile; see TJogo::LoteEmCurso and PodeFechar.
    virtual void ProcessarEventos() = 0;

    // The program's general error report, for an error a command could not deal with.
    virtual void ReportarErro(const QString& AMensagem) = 0;
};

// The question before a command replaces a file: true when ACaminho names no file, or when
// the player answers "Sim" to replacing it.
bool PodeSubstituir(IJanelaJogo& AJanela, const QString& ACaminho);

class TJogo {
public:
    // AGerador is GerarPuzzle in the program; tests hand in their own.
    TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador);

    // The start-up sequence: the default settings, the first puzzle (or the fixed one), its
    // snapshot and the grid.
    void Iniciar();

    const TSomadoBoard* Board() const { return FBoard.get(); }
    TGameState GameState() const { return FGameState; }
    bool MostraSolucao() const { return FGameState == TGameState::gsSolutionShown; }

    // ---- New boards
    bool GerarNovoPuzzle();
    void CarregarPuzzleFixo();
    void AplicarTamanhoSemPuzzle(TTamanhoTabuleiro ATamanho);
    // The common tail of every way a new board arrives.
    void InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard);

    // ---- Unsaved moves, files and leaving
    void GuardarValoresBase();
    bool HaJogadasPorGravar() const;
    bool ConfirmarAntesDe(const QString& AAccao);
    bool PodeSair();
    // The window's close request: true when the window may close now. During a batch it
    // asks the batch to stop and refuses; the batch then asks the window to close again.
    // A save that fails is reported, and the window stays.
    bool PodeFechar();
    // True when the file was written. A file that cannot be written raises ESomadoError, so
    // the command that asked for the save does not go on.
    bool GuardarPuzzle();
    void AbrirPuzzle();
    // A game named when the program starts (on its command line, by a double-click in the
    // file manager): opened as "Abrir" opens the chosen file, with the same messages, but
    // without the question and the dialog. A file that cannot be read leaves the board as it
    // was and says why in the information box.
    void AbrirFicheiroIndicado(const QString& ACaminho);

    // ---- The window's commands. Each one reports its own errors through the window's
    // general error report, so that no error runs back through the window toolkit's code.
    void BitBtnGerarClick();
    void BitBtnGuardarClick();
    void BitBtnAbrirClick();
    void BitBtnConfigurarClick();
    void BitBtnSairClick() { FJanela.Fechar(); }
    void BitBtnExportarPuzzleClick();
    void BitBtnExportarLoteClick();

    // While a batch runs, the commands that would change the settings or the board or start
    // other long work (generate, open, configure, another batch) do nothing.
    bool LoteEmCurso() const { return FLoteEmCurso; }
    // While a new puzzle is made, the same commands do nothing, and neither do the moves on
    // the board it is about to replace.
    bool GeracaoEmCurso() const { return FGeracaoEmCurso; }

    // ---- Player actions
    void VerSolucao();
    void Verificar();
    void Limpar();
    void Dica();
    bool EscolherCelulaVaziaAoAcaso(int32_t& ARow, int32_t& ACol) const;

    // ---- Grid input
    // May the player move the selection to (ARow, ACol)? Only onto white cells.
    bool PodeSeleccionar(int32_t ARow, int32_t ACol) const;
    // Where an arrow key takes the selection from (ARow, ACol): the next white cell in the
    // direction (ADeltaRow, ADeltaCol), over any blocked cells between. False at the edge, or
    // when no white cell is left that way, and the selection stays.
    bool BrancaNaDireccao(int32_t ARow, int32_t ACol, int32_t ADeltaRow, int32_t ADeltaCol,
                          int32_t& ARowDestino, int32_t& AColDestino) const;
    // A typed character; true when it was consumed (every character on the board is).
    bool EscreverCaracter(QChar ACaracter);
    // Backspace, Delete and F2 empty the current white cell; the key goes on to the grid.
    void ApagarCelulaActual();
    void AvancarParaProximaVazia(int32_t ARow, int32_t ACol);
    // The first empty white cell; on a board without one, the first white cell, so the
    // keyboard always starts where it can move.
    void IrParaPrimeiraVazia();

    // ---- Pencil marks: bit d of a cell's marks is candidate d
    uint16_t Notas(int32_t ARow, int32_t ACol) const;
    // Ctrl+digit: toggles ADigito among the current cell's marks, when it is an empty white
    // cell and the solution is hidden.
    void AlternarNota(int32_t ADigito);
    // Clears every mark on the board as one step.
    void ApagarNotas();
    // The marks and the time played, as saved with the game.
    TEstadoDoJogo EstadoDoJogo() const;

    // ---- Rule conflicts: shown unless the player switches them off
    bool MostrarConflitos() const { return FMostrarConflitos; }
    void DefinirMostrarConflitos(bool AMostrar);
    // Whether (ARow, ACol) is drawn as breaking a rule now.
    bool CelulaEmConflito(int32_t ARow, int32_t ACol) const;

    // ---- The play clock: the time spent on this board. It runs while the board is being
    // played and the window is not minimised; it stops when the board is finished.
    int64_t TempoDeJogoMs() const;
    void PausarRelogio();
    void RetomarRelogio();
    // The clock's source, in milliseconds from any fixed point; tests hand in their own.
    void DefinirFonteDeTempo(std::function<int64_t()> AFonte);
    // Minutes and seconds ("12:05"), with hours in front past the hour ("1:02:05").
    static QString TextoDoTempo(int64_t AMilissegundos);

    // ---- Undo and redo of the changes to the digits (refused while the solution is shown)
    void Desfazer();
    void Refazer();

    // ---- Settings for new puzzles and batches, as the configuration dialog edits them
    TConfiguracao FConfiguracao;
    // Worker threads of a batch; 0 for one per core.
    int32_t FThreadsLote = 0;

    void AtualizarLabelTamanho();

private:
    void Configurar();
    // Runs a command; an error it lets out goes to the general error report.
    void Proteger(const std::function<void()>& AComando);
    // The three-way question about unsaved moves: true when the caller may go on.
    bool ResolverJogadasPorGravar(const QString& APergunta);
    // Reads ACaminho and installs its board; on a reading error only the report changes.
    void AbrirFicheiro(const QString& ACaminho);
    bool NoTabuleiro(int32_t ARow, int32_t ACol) const;
    // The file the game was last read from or saved to, as it was then.
    struct TFicheiroJogo {
        QString Caminho;
        qint64 Tamanho = 0;
        QDateTime Modificado;
        // A same-size write within the file system's clock tick keeps size and time: the
        // content tells it apart. Empty when the file was too large to keep reading.
        QByteArray Resumo;
    };
    void LembrarFicheiro(const QString& ACaminho);
    bool AlteradoPorOutro(const QString& ACaminho) const;
    TFicheiroJogo FFicheiroJogo;
    void EscreverValor(int32_t ARow, int32_t ACol, int32_t AValor);
    // Places ADigito in (ARow, ACol) as one step of the history, taking that digit off the
    // marks of the other cells of its two runs.
    void ColocarDigito(int32_t ARow, int32_t ACol, int32_t ADigito);
    void DefinirNotas(int32_t ARow, int32_t ACol, uint16_t ANotas);
    std::vector<TMudancaNotas> NotasRetiradasPor(int32_t ARow, int32_t ACol, int32_t ADigito) const;
    void InstalarEstado(const TEstadoDoJogo& AEstado);
    // After a digit changed: the finish, or a note that the last check is out of date.
    void DepoisDeMudarDigitos();
    bool TabuleiroCompletoECorrecto() const;
    void ReporRelogio(int64_t AAcumuladoMs);
    bool RelogioDeveCorrer() const;
    void AcertarRelogio();

    IJanelaJogo& FJanela;
    TGeradorDePuzzles FGerador;
    std::unique_ptr<TSomadoBoard> FBoard;
    TGameState FGameState = TGameState::gsEmpty;
    std::vector<std::vector<int32_t>> FValoresBase;
    // One entry per cell, row by row; with a copy as last saved or opened.
    std::vector<uint16_t> FNotas;
    std::vector<uint16_t> FNotasBase;
    bool FMostrarConflitos = true;
    // The counts of "Verificar" are on show and still match the digits.
    bool FVerificacaoActual = false;
    std::function<int64_t()> FFonteDeTempo;
    int64_t FTempoAcumuladoMs = 0;
    // Where the running stretch started, or -1 while the clock stands.
    int64_t FInicioTrechoMs = -1;
    bool FPausado = false;
    // Belongs to the current board: emptied whenever another board is installed.
    THistoricoJogadas FHistorico;

    // Writes the step's digits (before or after) back into the board and selects its cell.
    void AplicarPasso(const TPassoHistorico& APasso, bool AAntes);
    // Runs the generator on a worker thread with the process-wide stream, which comes back
    // advanced; the window handles its events meanwhile. No board when it fails or is stopped.
    std::unique_ptr<TSomadoBoard> GerarEmFundo(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                               int64_t ALimiteMs);
    // GerarEmFundo with the configured settings; an error it raises first gives the window
    // back, with a line that says the generation failed.
    std::unique_ptr<TSomadoBoard> GerarPuzzleConfigurado();
    void ReportarGeracaoFalhada(qint64 ADecorridoMs);
    void InstalarPuzzleGerado(std::unique_ptr<TSomadoBoard> ABoard, qint64 ADecorridoMs);
    bool Ocupado() const { return FLoteEmCurso || FGeracaoEmCurso; }

    bool FLoteEmCurso = false;
    bool FGeracaoEmCurso = false;
    // A close request came while long work ran: it stops, then the close is asked again.
    bool FInterromperLote = false;
};
