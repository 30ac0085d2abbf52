// The game behind the main window. It owns every piece of play state in plain structures
// (the board, the current cell, marks, clock, undo, the information box, what long work runs),
// runs the window's commands on it, and tells the window once per command what changed; the
// window reads what it shows from here. It knows the window only through IJanelaJogo, so every
// flow runs in tests.
#pragma once

#include "game/AjudasRegras.h"
#include "game/Estado.h"
#include "game/Impressao.h"
#include "game/Lote.h"
#include "io/UnitSomadoFicheiro.h"
#include "model/UnitSomado.h"

#include <QString>
#include <QStringList>

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

// What the game needs of the window: one notification, a way onto its thread, and the
// requests that need an answer.
class IJanelaJogo {
public:
    virtual ~IJanelaJogo() = default;

    // Something changed: AMudancas holds TMudanca flags naming what to read again.
    virtual void Mudou(uint32_t AMudancas) = 0;
    // Runs AAccao on the window's thread once it is done with what it handles now. Called
    // from worker threads; never runs AAccao before returning.
    virtual void NoCicloPrincipal(std::function<void()> AAccao) = 0;

    // A modal confirmation box with "Sim", "Não" and, when ACancelar, "Cancelar"; "Sim" is
    // the default.
    virtual TResposta Perguntar(const QString& ATexto, bool ACancelar) = 0;
    // The puzzle file dialogs; false when the user cancels. The save dialog adds ".smd" when
    // the name has no extension, and asks nothing about existing files.
    virtual bool EscolherFicheiroParaGuardar(QString& ACaminho) = 0;
    virtual bool EscolherFicheiroParaAbrir(QString& ACaminho) = 0;
    // The configuration dialog, filled from AConfiguracao; on OK it holds what the user chose.
    virtual bool EditarConfiguracao(TConfiguracao& AConfiguracao) = 0;
    // Asks the window to close; closing then asks PodeFechar.
    virtual void Fechar() = 0;
    // The PDF save dialogs (neither asks about existing files). The batch dialog is offered
    // AProposto as the file name, in the folder of the name it held before.
    virtual bool EscolherFicheiroPdf(QString& ACaminho) = 0;
    virtual bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) = 0;
    // The print dialog with its preview of ABoard's pages, where the player picks what to print
    // and the printer; what came of it.
    virtual TResultadoImpressao Imprimir(const TSomadoBoard& ABoard) = 0;

    // The program's general error report, for an error a command could not deal with.
    virtual void ReportarErro(const QString& AMensagem) = 0;
    // Runs AAccao on the window's thread after about AMs milliseconds; never once the window
    // is gone.
    virtual void Adiar(int32_t AMs, std::function<void()> AAccao) = 0;
};

// The question before a command replaces a file: true when ACaminho names no file, or when
// the player answers "Sim" to replacing it.
bool PodeSubstituir(IJanelaJogo& AJanela, const QString& ACaminho);

class TExportacaoLote;
class TEstatisticas;
class TRecuperacao;

class TJogo {
public:
    // AGerador is GerarPuzzle in the program; tests hand in their own.
    TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador);
    // Stops any long work and waits for its workers.
    ~TJogo();
    TJogo(const TJogo&) = delete;
    TJogo& operator=(const TJogo&) = delete;

    // The start-up sequence: the default settings, the first puzzle (or the fixed one), its
    // snapshot and the grid. It generates on this thread, before the window shows.
    void Iniciar();

    const TEstadoJogo& Estado() const { return FEstado; }
    const TSomadoBoard* Board() const { return FEstado.Board.get(); }
    TGameState GameState() const { return FEstado.GameState; }
    bool MostraSolucao() const;
    TCursor Cursor() const { return FEstado.Cursor; }
    const QStringList& Informacao() const { return FEstado.Informacao; }
    // The captions that follow the state: "Ver Solução" or "Esconder Solução", and the
    // configured size ("Tamanho seleccionado: 9x9").
    QString LegendaVerSolucao() const;
    QString LegendaTamanho() const;

    // ---- Commands: whether one can act now (not refused by the long work, and with
    // something to act on), and running one by its name.
    bool Recusado(TComando AComando) const { return FEstado.Recusado(AComando); }
    bool PodeExecutar(TComando AComando) const;
    void Executar(TComando AComando);

    // ---- New boards. A new puzzle is made on a worker thread: GerarNovoPuzzle starts it and
    // returns at once (false when refused); the board is installed when the work ends, on the
    // window's thread, and ADepois then learns whether a board came.
    bool GerarNovoPuzzle(std::function<void(bool)> ADepois = {});
    void CarregarPuzzleFixo();
    void AplicarTamanhoSemPuzzle(TTamanhoTabuleiro ATamanho);
    // The common tail of every way a new board arrives.
    void InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard);

    // ---- Unsaved moves, files and leaving
    void GuardarValoresBase();
    bool HaJogadasPorGravar() const;
    bool ConfirmarAntesDe(const QString& AAccao);
    bool PodeSair();
    // The window's close request: true when the window may close now. During long work it
    // asks the work to stop and refuses; when the work has ended the game asks the window to
    // close again. A save that fails is reported, and the window stays.
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
    // "Imprimir" (Impressao.cpp): the print dialog; a printer's failure is reported at once.
    void Imprimir();

    TOcupacao Ocupacao() const { return FEstado.Ocupacao; }
    bool LoteEmCurso() const { return FEstado.Ocupacao == TOcupacao::EmLote; }
    bool GeracaoEmCurso() const { return FEstado.Ocupacao == TOcupacao::AGerar; }

    // ---- Player actions
    void VerSolucao();
    void Verificar();
    void Limpar();
    void Dica();

    // ---- The current cell
    // May the player put the current cell on (ARow, ACol)? Only on white cells.
    bool PodeSeleccionar(int32_t ARow, int32_t ACol) const;
    // A click: makes (ARow, ACol) the current cell when it is white; false otherwise.
    bool SeleccionarCelula(int32_t ARow, int32_t ACol);
    // Arrows, Tab and Shift+Tab. False when no white cell is that way; the cell stays.
    bool MoverCursor(TMovimento AMovimento);
    // Where an arrow key takes the current cell from (ARow, ACol): the next white cell in the
    // direction (ADeltaRow, ADeltaCol), over any blocked cells between. False at the edge, or
    // when no white cell is left that way.
    bool BrancaNaDireccao(int32_t ARow, int32_t ACol, int32_t ADeltaRow, int32_t ADeltaCol,
                          int32_t& ARowDestino, int32_t& AColDestino) const;
    // The first empty white cell; on a board without one, the first white cell, so the
    // keyboard always starts where it can move.
    void IrParaPrimeiraVazia();
    void AvancarParaProximaVazia(int32_t ARow, int32_t ACol);

    // ---- Grid input on the current cell
    // A typed character; true when it was consumed (every character on the board is).
    bool EscreverCaracter(QChar ACaracter);
    // Backspace, Delete and F2 empty the current white cell.
    void ApagarCelulaActual();

    // ---- Pencil marks: bit d of a cell's marks is candidate d
    uint16_t Notas(int32_t ARow, int32_t ACol) const { return FEstado.Notas.Da(ARow, ACol); }
    // Whether the current cell takes marks: an empty white cell, the solution hidden.
    bool PodeMarcar() const;
    // Ctrl+digit: toggles ADigito among the current cell's marks.
    void AlternarNota(int32_t ADigito);
    // Clears every mark on the board as one step; or only the current cell's.
    void ApagarNotas();
    void ApagarNotasDaCelula();
    // The marks and the time played, as saved with the game.
    TEstadoDoJogo EstadoDoJogo() const;

    // ---- Rule conflicts: shown unless the player switches them off
    bool MostrarConflitos() const { return FEstado.MostrarConflitos; }
    void DefinirMostrarConflitos(bool AMostrar);
    // Whether (ARow, ACol) is drawn as breaking a rule now.
    bool CelulaEmConflito(int32_t ARow, int32_t ACol) const;

    // ---- The play clock: the time spent on this board. It runs while the board is being
    // played and the window is not minimised; it stops when the board is finished.
    int64_t TempoDeJogoMs() const { return FEstado.Relogio.TempoMs(); }
    void PausarRelogio();
    void RetomarRelogio();
    // The clock's source, in milliseconds from any fixed point; tests hand in their own.
    void DefinirFonteDeTempo(std::function<int64_t()> AFonte);
    static QString TextoDoTempo(int64_t AMilissegundos) { return TRelogio::Texto(AMilissegundos); }

    // ---- Solving aids
    // The next deduction from the clues and the digits, explained in the information box, its
    // runs and cell highlighted on the board; no digit is written.
    void ExplicarPasso();
    // Every empty white cell gets as marks the digits its two runs still allow; one undo step.
    void PreencherNotas();
    // The clock stands and the board is hidden until the player comes back.
    void AlternarPausa();
    bool EmPausa() const { return FEstado.EmPausa; }
    // The current cell's runs tinted on the board.
    bool MostrarCorridas() const { return FEstado.MostrarCorridas; }
    void DefinirMostrarCorridas(bool AMostrar);
    TDestaque DestaqueDe(int32_t ARow, int32_t ACol) const;
    // Statistics kept in AFicheiro (the user's data folder in the program; none by default,
    // so tests write nothing). A damaged file is set aside, and the information box says so.
    void UsarEstatisticas(const QString& AFicheiro);
    const TEstatisticas* Estatisticas() const { return FEstatisticas.get(); }

    // ---- The game kept for a program that is killed (Recuperacao.h): from now on, the game
    // in play is kept in APasta within a second of every change while it has unsaved moves
    // (none by default, so tests write nothing). A clean end removes it.
    void UsarRecuperacao(const QString& APasta);
    // At start-up: a game left by a session that did not end cleanly is offered back; "Sim"
    // opens it as it was (digits, marks, time, the file it belonged to, still unsaved). True
    // when it was opened.
    bool OferecerRecuperacao();
    // The program is being ended from outside (a signal, the desktop session closing): the
    // game in play is kept now, and stays for the next start.
    void GuardarAntesDoFim();
    // What the program does once its window stands: offers a game left by a session that
    // did not end cleanly, then opens AFicheiro (a game named on the command line) unless the
    // recovered game took its place, which the information box then says.
    void ContinuarArranque(const QString& AFicheiro);
    // The kept game's file; empty when none is written now.
    QString FicheiroDeRecuperacao() const;

    // ---- Undo and redo of the changes to the digits and marks (not while the solution shows)
    bool PodeDesfazer() const;
    bool PodeRefazer() const;
    void Desfazer();
    void Refazer();

    // ---- Settings for new puzzles and batches, as the configuration dialog edits them
    TConfiguracao FConfiguracao;
    // Worker threads of a batch; 0 for one per core.
    int32_t FThreadsLote = 0;

    void AtualizarLabelTamanho();

private:
    // ---- Telling the window
    void Mudou(uint32_t AMudancas);
    // A finish without hints or the solution shown goes into the statistics, once per board.
    void ContarFim();
    void Informar(const QStringList& ALinhas);
    void Jogar(TComando AComando, uint32_t (*AJogada)(TEstadoJogo&));
    void PrepararBoard();

    // ---- Files and settings (FluxosFicheiros.cpp)
    void Configurar();
    // The three-way question about unsaved moves: true when the caller may go on.
    bool ResolverJogadasPorGravar(const QString& APergunta);
    // Reads ACaminho and installs its board; on a reading error only the report changes.
    void AbrirFicheiro(const QString& ACaminho);
    // Runs a command; an error it lets out goes to the general error report.
    void Proteger(const std::function<void()>& AComando);

    // The file a running batch will write, which no other command may take meanwhile.
    QString FicheiroDoLote() const;

    // ---- Long work on worker threads, its news brought to the window's thread
    enum class TTipoTrabalho : uint8_t { Puzzle, Lote };
    struct TTrabalhoEmCurso;
    void ComecarTrabalho(TTipoTrabalho ATipo, TPedidoLote APedido);
    // The work's news, on the window's thread: progress, or its end.
    void TrabalhoMudou();
    void TerminarGeracao(TTrabalhoEmCurso& AEmCurso);
    void TerminarLote(TTrabalhoEmCurso& AEmCurso);
    void DefinirOcupacao(TOcupacao AOcupacao);
    void ReportarGeracaoFalhada(qint64 ADecorridoMs);
    void InstalarPuzzleGerado(std::unique_ptr<TSomadoBoard> ABoard, qint64 ADecorridoMs);

    IJanelaJogo& FJanela;
    TGeradorDePuzzles FGerador;
    TEstadoJogo FEstado;
    // The snapshot of the digits and marks as last saved, opened or installed.
    std::vector<std::vector<int32_t>> FValoresBase;
    std::vector<uint16_t> FNotasBase;
    // The file the game was last read from or saved to, as it was then.
    TIdentidadeFicheiro FFicheiroJogo;

    std::unique_ptr<TEstatisticas> FEstatisticas;
    QString FFicheiroEstatisticas;

    // ---- The kept game (FluxosFicheiros.cpp)
    void AgendarRecuperacao();
    void GuardarRecuperacao();
    // Opens the game kept in AFicheiro; false, with the reason in the information box, when
    // it cannot be read.
    bool RecuperarDe(const QString& AFicheiro);
    std::unique_ptr<TRecuperacao> FRecuperacao;
    bool FRecuperacaoAgendada = false;
    // The failure to keep the game is told once, until keeping it works again.
    bool FFalhaDaRecuperacaoDita = false;
    QByteArray FTextoRecuperado;

    std::unique_ptr<TTrabalhoEmCurso> FTrabalho;
    // A close request came while long work ran: it stops, then the close is asked again.
    bool FFechoPedido = false;
    // Commands under way (nested when one asks the player something and the window's loop
    // runs meanwhile), and news of the long work that waits for them to end.
    int32_t FComandosAbertos = 0;
    bool FNoticiaAdiada = false;
};
