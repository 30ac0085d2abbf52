// The game: start-up, the commands (refused while busy, then run on the play state), new
// boards, and the long work of making puzzles. The flows around files and settings are in
// FluxosFicheiros.cpp; the moves themselves in Jogadas.cpp.
#include "game/UnitSomadoJogo.h"

#include "game/Estatisticas.h"
#include "game/Exportacao.h"
#include "game/Jogadas.h"
#include "game/Recuperacao.h"
#include "game/Trabalho.h"

#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"

#include <QLocale>

#include <exception>

namespace {

// Seconds with one decimal, in the user's own notation (2,4 with Portuguese settings).
QString Segundos(qint64 AMilissegundos) {
    return QLocale().toString(static_cast<double>(AMilissegundos) / 1000.0, 'f', 1);
}

const QString CFalhaGeracao =
    QStringLiteral("Não foi possível gerar um puzzle com esta configuração.");

} // namespace

QString NomeDoNivel(TNivelDificuldade ANivel) {
    return QString::fromUtf8(NomeNivel(ANivel));
}

int64_t TempoLimiteGeracao(TTamanhoTabuleiro ATamanho) {
    return ATamanho == TTamanhoTabuleiro::tt12 || ATamanho == TTamanhoTabuleiro::tt15 ? 75000
                                                                                      : 30000;
}

// The long work under way, and what its end is for.
struct TJogo::TTrabalhoEmCurso {
    TTipoTrabalho Tipo = TTipoTrabalho::Puzzle;
    // A new puzzle: what to do once it has (or has not) been installed.
    std::function<void(bool)> Depois;
    // A book: its settings, dialogs and pages, and the progress line on show.
    std::unique_ptr<TExportacaoLote> Exportacao;
    QString LinhaMostrada;
    // Last, so that its workers stop before anything they might reach goes.
    std::unique_ptr<TTrabalho> Trabalho;
};

TJogo::TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador)
    : FJanela(AJanela), FGerador(std::move(AGerador)) {
    FEstado.Relogio.DefinirFonte({});
}

TJogo::~TJogo() = default;

// ---- What the window reads

bool TJogo::MostraSolucao() const {
    return FEstado.MostraSolucao();
}

QString TJogo::LegendaVerSolucao() const {
    return MostraSolucao() ? QStringLiteral("Esconder Solução") : QStringLiteral("Ver Solução");
}

QString TJogo::LegendaTamanho() const {
    const int32_t lado = LadoDoTabuleiro(FConfiguracao.Tamanho);
    return QStringLiteral("Tamanho seleccionado: %1x%1").arg(lado);
}

void TJogo::AtualizarLabelTamanho() {
    Mudou(mLegendas);
}

void TJogo::Informar(const QStringList& ALinhas) {
    Mudou(Jogadas::Informar(FEstado, ALinhas));
}

bool TJogo::CelulaEmConflito(int32_t ARow, int32_t ACol) const {
    return FEstado.MostrarConflitos && FEstado.Board && !MostraSolucao() &&
           DigitoEmConflito(*FEstado.Board, ARow, ACol);
}

void TJogo::DefinirMostrarConflitos(bool AMostrar) {
    FEstado.MostrarConflitos = AMostrar;
    Mudou(mTabuleiro);
}

// ---- Commands

bool TJogo::PodeExecutar(TComando AComando) const {
    if (Recusado(AComando)) return false;
    switch (AComando) {
    case TComando::Desfazer:
        return Jogadas::PodeDesfazer(FEstado);
    case TComando::Refazer:
        return Jogadas::PodeRefazer(FEstado);
    default:
        return true;
    }
}

void TJogo::Executar(TComando AComando) {
    switch (AComando) {
    case TComando::Gerar:
        return BitBtnGerarClick();
    case TComando::VerSolucao:
        return VerSolucao();
    case TComando::Verificar:
        return Verificar();
    case TComando::Dica:
        return Dica();
    case TComando::Limpar:
        return Limpar();
    case TComando::Guardar:
        return BitBtnGuardarClick();
    case TComando::Abrir:
        return BitBtnAbrirClick();
    case TComando::ExportarPuzzle:
        return BitBtnExportarPuzzleClick();
    case TComando::ExportarLote:
        return BitBtnExportarLoteClick();
    case TComando::Configurar:
        return BitBtnConfigurarClick();
    case TComando::Sair:
        return BitBtnSairClick();
    case TComando::Desfazer:
        return Desfazer();
    case TComando::Refazer:
        return Refazer();
    case TComando::ExplicarPasso:
        return ExplicarPasso();
    case TComando::PreencherNotas:
        return PreencherNotas();
    case TComando::Pausa:
        return AlternarPausa();
    case TComando::Imprimir:
        return Imprimir();
    case TComando::Ajuda:
    case TComando::Sobre:
    case TComando::Estatisticas:
    case TComando::Jogada:
        // The window's own dialogs; moves come with their cell and key.
        return;
    }
}

// A move on the play state, unless the long work refuses it: one notification of what
// changed.
void TJogo::Jogar(TComando AComando, uint32_t (*AJogada)(TEstadoJogo&)) {
    if (!Recusado(AComando)) Mudou(AJogada(FEstado));
}

void TJogo::VerSolucao() {
    Jogar(TComando::VerSolucao, Jogadas::VerSolucao);
}

void TJogo::Verificar() {
    Jogar(TComando::Verificar, Jogadas::Verificar);
}

void TJogo::Limpar() {
    Jogar(TComando::Limpar, Jogadas::Limpar);
}

void TJogo::Dica() {
    Jogar(TComando::Dica, Jogadas::Dica);
}

void TJogo::Desfazer() {
    Jogar(TComando::Desfazer, Jogadas::Desfazer);
}

void TJogo::Refazer() {
    Jogar(TComando::Refazer, Jogadas::Refazer);
}

void TJogo::ApagarCelulaActual() {
    Jogar(TComando::Jogada, Jogadas::ApagarCelula);
}

bool TJogo::EscreverCaracter(QChar ACaracter) {
    if (!FEstado.Board) return false;
    const int32_t digito = ACaracter >= u'1' && ACaracter <= u'9' ? ACaracter.unicode() - u'0' : 0;
    if (digito > 0 && !Recusado(TComando::Jogada)) Mudou(Jogadas::EscreverDigito(FEstado, digito));
    // Every character on the board is the board's, digit or not.
    return true;
}

void TJogo::AlternarNota(int32_t ADigito) {
    if (!Recusado(TComando::Jogada)) Mudou(Jogadas::AlternarNota(FEstado, ADigito));
}

void TJogo::ApagarNotas() {
    if (!Recusado(TComando::Jogada)) Mudou(Jogadas::ApagarNotas(FEstado, true));
}

void TJogo::ApagarNotasDaCelula() {
    if (!Recusado(TComando::Jogada)) Mudou(Jogadas::ApagarNotas(FEstado, false));
}

void TJogo::AlternarPausa() {
    if (!Recusado(TComando::Pausa)) Mudou(Jogadas::AlternarPausa(FEstado));
}

void TJogo::DefinirMostrarCorridas(bool AMostrar) {
    FEstado.MostrarCorridas = AMostrar;
    Mudou(mTabuleiro);
}

TDestaque TJogo::DestaqueDe(int32_t ARow, int32_t ACol) const {
    return Jogadas::DestaqueDe(FEstado, ARow, ACol);
}

void TJogo::Mudou(uint32_t AMudancas) {
    if (AMudancas & mFim) ContarFim();
    // An explained step stays on show only until the board or the current cell changes.
    if (FEstado.Passo && (AMudancas & (mTabuleiro | mCursor | mGrelha))) {
        FEstado.Passo.reset();
        AMudancas |= mTabuleiro;
    }
    if (AMudancas != 0) FJanela.Mudou(AMudancas);
    AgendarRecuperacao();
}

bool TJogo::PodeMarcar() const {
    return !Recusado(TComando::Jogada) && Jogadas::PodeMarcar(FEstado);
}

bool TJogo::PodeDesfazer() const {
    return PodeExecutar(TComando::Desfazer);
}

bool TJogo::PodeRefazer() const {
    return PodeExecutar(TComando::Refazer);
}

TEstadoDoJogo TJogo::EstadoDoJogo() const {
    return {FEstado.Notas.Todas(), TempoDeJogoMs()};
}

// ---- The current cell

bool TJogo::PodeSeleccionar(int32_t ARow, int32_t ACol) const {
    return Jogadas::PodeSeleccionar(FEstado, ARow, ACol);
}

bool TJogo::SeleccionarCelula(int32_t ARow, int32_t ACol) {
    if (!PodeSeleccionar(ARow, ACol)) return false;
    Mudou(Jogadas::ColocarCursor(FEstado, ARow, ACol));
    return true;
}

bool TJogo::MoverCursor(TMovimento AMovimento) {
    const uint32_t mudou = Jogadas::MoverCursor(FEstado, AMovimento);
    Mudou(mudou);
    return mudou != 0;
}

bool TJogo::BrancaNaDireccao(int32_t ARow, int32_t ACol, int32_t ADeltaRow, int32_t ADeltaCol,
                             int32_t& ARowDestino, int32_t& AColDestino) const {
    return FEstado.Board && Jogadas::BrancaNaDireccao(*FEstado.Board, ARow, ACol, ADeltaRow,
                                                      ADeltaCol, ARowDestino, AColDestino);
}

void TJogo::IrParaPrimeiraVazia() {
    Mudou(Jogadas::IrParaPrimeiraVazia(FEstado));
}

void TJogo::AvancarParaProximaVazia(int32_t ARow, int32_t ACol) {
    Mudou(Jogadas::AvancarParaProximaVazia(FEstado, ARow, ACol));
}

// ---- The clock

void TJogo::DefinirFonteDeTempo(std::function<int64_t()> AFonte) {
    FEstado.Relogio.DefinirFonte(std::move(AFonte));
    Jogadas::AcertarRelogio(FEstado);
}

void TJogo::PausarRelogio() {
    FEstado.Pausado = true;
    Jogadas::AcertarRelogio(FEstado);
}

void TJogo::RetomarRelogio() {
    FEstado.Pausado = false;
    Jogadas::AcertarRelogio(FEstado);
}

// ---- Start-up and new boards

void TJogo::Iniciar() {
    FConfiguracao = TConfiguracao{};
    {
        // Before the window shows: on this thread, with nothing to stop it.
        TAleatorio fluxo = AleatorioDoProcesso();
        const std::atomic<bool> nunca{false};
        FEstado.Board = FGerador(TTamanhoTabuleiro::tt9, FConfiguracao.Nivel,
                                 TempoLimiteGeracao(TTamanhoTabuleiro::tt9), fluxo, nunca);
        AleatorioDoProcesso() = fluxo;
    }
    QStringList informacao;
    if (FEstado.Board)
        informacao << QStringLiteral("Puzzle gerado: %1x%1, %2.")
                          .arg(FEstado.Board->Size())
                          .arg(NomeDoNivel(FEstado.Board->Difficulty()));
    else
        CarregarPuzzleFixo();
    PrepararBoard();
    Jogadas::Informar(FEstado, informacao);
    Jogadas::IrParaPrimeiraVazia(FEstado);
    Mudou(mTudo & ~mFoco);
}

void TJogo::CarregarPuzzleFixo() {
    FConfiguracao.Tamanho = TTamanhoTabuleiro::tt9;
    FEstado.Board = CriarPuzzleFixo();
}

// The state that belongs to one board starts afresh with the board in FEstado.
void TJogo::PrepararBoard() {
    FEstado.Historico.Limpar();
    FEstado.Notas.Repor(FEstado.Board ? FEstado.Board->Size() : 0);
    FEstado.GameState = TGameState::gsPlaying;
    FEstado.VerificacaoActual = false;
    FEstado.FimActual = false;
    FEstado.Dicas = 0;
    FEstado.SolucaoVista = false;
    FEstado.FimContado = false;
    FEstado.EmPausa = false;
    FEstado.Passo.reset();
    FEstado.Cursor = {};
    FEstado.Relogio.Repor(0);
    Jogadas::AcertarRelogio(FEstado);
    GuardarValoresBase();
}

void TJogo::InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard) {
    FEstado.Board = std::move(ABoard);
    // A new board belongs to no file until it is saved; one opened gets its file right after.
    FFicheiroJogo = {};
    PrepararBoard();
    Mudou(mGrelha | mTabuleiro | mCursor | mLegendas | mHistorico);
}

void TJogo::AplicarTamanhoSemPuzzle(TTamanhoTabuleiro ATamanho) {
    const int32_t lado = LadoDoTabuleiro(ATamanho);
    InstalarBoard(std::make_unique<TSomadoBoard>(lado));
    Informar({QStringLiteral("Tamanho alterado para %1x%1 — gere um puzzle novo quando quiser.")
                  .arg(lado)});
}

bool TJogo::GerarNovoPuzzle(std::function<void(bool)> ADepois) {
    if (Recusado(TComando::Gerar)) return false;
    const int32_t lado = LadoDoTabuleiro(FConfiguracao.Tamanho);
    // A batch of one: the one attempt the window has always made, within its time limit.
    TPedidoLote pedido;
    pedido.Tamanho = FConfiguracao.Tamanho;
    pedido.Niveis = {FConfiguracao.Nivel};
    pedido.Tentativas = 1;
    pedido.TempoLimiteMs = TempoLimiteGeracao(FConfiguracao.Tamanho);
    pedido.Semente = AleatorioDoProcesso().Proximo();
    pedido.Threads = 1;
    Informar({QStringLiteral("A gerar puzzle %1x%1...").arg(lado),
              QStringLiteral("Pode demorar alguns segundos — aguarde.")});
    ComecarTrabalho(TTipoTrabalho::Puzzle, std::move(pedido));
    FTrabalho->Depois = std::move(ADepois);
    return true;
}

void TJogo::ReportarGeracaoFalhada(qint64 ADecorridoMs) {
    Informar(
        {CFalhaGeracao, QStringLiteral("Tente outra vez, ou escolha outro tamanho."),
         QStringLiteral("[Diagnóstico] Tempo até desistir: %1s.").arg(Segundos(ADecorridoMs))});
}

void TJogo::InstalarPuzzleGerado(std::unique_ptr<TSomadoBoard> ABoard, qint64 ADecorridoMs) {
    const int32_t n = ABoard->Size();
    const QString nivel = NomeDoNivel(ABoard->Difficulty());
    InstalarBoard(std::move(ABoard));
    IrParaPrimeiraVazia();
    Informar({QStringLiteral("Puzzle gerado: %1x%1, %2. Tempo: %3s.")
                  .arg(n)
                  .arg(nivel, Segundos(ADecorridoMs))});
    Mudou(mFoco);
}

// ---- Long work

void TJogo::DefinirOcupacao(TOcupacao AOcupacao) {
    FEstado.Ocupacao = AOcupacao;
    Mudou(mOcupacao | mHistorico);
}

void TJogo::ComecarTrabalho(TTipoTrabalho ATipo, TPedidoLote APedido) {
    // Busy before anything else can be handled: no command slips in between.
    FFechoPedido = false;
    FTrabalho = std::make_unique<TTrabalhoEmCurso>();
    FTrabalho->Tipo = ATipo;
    DefinirOcupacao(ATipo == TTipoTrabalho::Puzzle ? TOcupacao::AGerar : TOcupacao::EmLote);
    try {
        FTrabalho->Trabalho = std::make_unique<TTrabalho>(
            FGerador, std::move(APedido),
            [this](std::function<void()> AAccao) { FJanela.NoCicloPrincipal(std::move(AAccao)); },
            [this] { TrabalhoMudou(); });
    } catch (...) {
        FTrabalho.reset();
        DefinirOcupacao(TOcupacao::Livre);
        throw;
    }
}

void TJogo::TrabalhoMudou() {
    if (!FTrabalho) return;
    // A command is waiting for the player (a question, a dialog) with the window's loop
    // running under it: the board it works on must not change beneath it.
    if (FComandosAbertos > 0) {
        FNoticiaAdiada = true;
        return;
    }
    TTrabalhoEmCurso& emCurso = *FTrabalho;
    if (!emCurso.Trabalho->Terminado()) {
        if (emCurso.Tipo == TTipoTrabalho::Lote) {
            const QString linha =
                emCurso.Exportacao->LinhaDoProgresso(emCurso.Trabalho->Progresso());
            if (linha != emCurso.LinhaMostrada) {
                emCurso.LinhaMostrada = linha;
                Informar({linha});
            }
        }
        return;
    }
    // The work leaves the game before its end is handled, so that what the end starts (a
    // question, the close) finds the game free.
    std::unique_ptr<TTrabalhoEmCurso> terminado = std::move(FTrabalho);
    DefinirOcupacao(TOcupacao::Livre);
    Proteger([this, &terminado] {
        if (terminado->Tipo == TTipoTrabalho::Puzzle)
            TerminarGeracao(*terminado);
        else
            TerminarLote(*terminado);
    });
}

void TJogo::TerminarGeracao(TTrabalhoEmCurso& AEmCurso) {
    const qint64 decorrido = AEmCurso.Trabalho->DecorridoMs();
    std::vector<std::unique_ptr<TSomadoBoard>> boards;
    try {
        boards = AEmCurso.Trabalho->Resultados();
    } catch (...) {
        // No progress line stays behind the error report.
        Informar({CFalhaGeracao});
        throw;
    }
    if (FFechoPedido) {
        // The close that stopped the generation goes on, with its usual question.
        Informar({QStringLiteral("Geração interrompida.")});
        FJanela.Fechar();
        return;
    }
    std::unique_ptr<TSomadoBoard> board = boards.empty() ? nullptr : std::move(boards.front());
    const bool instalado = board != nullptr;
    if (instalado)
        InstalarPuzzleGerado(std::move(board), decorrido);
    else
        ReportarGeracaoFalhada(decorrido);
    if (AEmCurso.Depois) AEmCurso.Depois(instalado);
}

void TJogo::TerminarLote(TTrabalhoEmCurso& AEmCurso) {
    if (FFechoPedido) {
        AEmCurso.Trabalho.reset();
        Informar({QStringLiteral("Exportação do lote interrompida.")});
        // The close that stopped the batch goes on, with its usual question.
        FJanela.Fechar();
        return;
    }
    Informar({AEmCurso.Exportacao->Concluir(
        *AEmCurso.Trabalho, [this](const QString& ALinha) { Informar({ALinha}); })});
}

QString TJogo::FicheiroDoLote() const {
    return FTrabalho && FTrabalho->Exportacao ? FTrabalho->Exportacao->Caminho() : QString();
}

bool TJogo::PodeFechar() {
    if (FTrabalho) {
        FFechoPedido = true;
        FTrabalho->Trabalho->Parar();
        return false;
    }
    bool pode = false;
    Proteger([this, &pode] { pode = PodeSair(); });
    // The player ends the program: the kept game goes with it, even if a closing desktop
    // session had asked to keep it before the player cancelled that.
    if (pode && FRecuperacao) FRecuperacao->Manter(false);
    return pode;
}

void TJogo::Proteger(const std::function<void()>& AComando) {
    ++FComandosAbertos;
    try {
        AComando();
    } catch (const std::exception& e) {
        FJanela.ReportarErro(QString::fromUtf8(e.what()));
    } catch (...) {
        FJanela.ReportarErro(QStringLiteral("Ocorreu um erro inesperado."));
    }
    --FComandosAbertos;
    // The news that came while the command waited for the player is handled now.
    if (FComandosAbertos == 0 && FNoticiaAdiada) {
        FNoticiaAdiada = false;
        TrabalhoMudou();
    }
}

// ---- The window's commands that reach past the play state

void TJogo::BitBtnGerarClick() {
    Proteger([this] {
        if (!Recusado(TComando::Gerar) && ConfirmarAntesDe(QStringLiteral("gerar um puzzle novo")))
            GerarNovoPuzzle();
    });
}

void TJogo::BitBtnGuardarClick() {
    Proteger([this] {
        if (!Recusado(TComando::Guardar)) GuardarPuzzle();
    });
}

void TJogo::BitBtnAbrirClick() {
    Proteger([this] { AbrirPuzzle(); });
}

void TJogo::BitBtnConfigurarClick() {
    Proteger([this] { Configurar(); });
}

void TJogo::BitBtnExportarPuzzleClick() {
    Proteger([this] {
        if (!FEstado.Board || Recusado(TComando::ExportarPuzzle)) return;
        QString caminho;
        if (ExportarPuzzle(FJanela, *FEstado.Board, caminho, FicheiroDoLote()))
            Informar({QStringLiteral("Puzzle exportado: ") + NomeSemPasta(caminho)});
    });
}

void TJogo::BitBtnExportarLoteClick() {
    Proteger([this] {
        if (Recusado(TComando::ExportarLote)) return;
        auto exportacao = std::make_unique<TExportacaoLote>(FJanela, FConfiguracao, FThreadsLote);
        std::optional<TPedidoLote> pedido = exportacao->Preparar();
        if (!pedido) return;
        const QString primeira = exportacao->LinhaDoProgresso(TProgressoLote{});
        ComecarTrabalho(TTipoTrabalho::Lote, std::move(*pedido));
        FTrabalho->Exportacao = std::move(exportacao);
        FTrabalho->LinhaMostrada = primeira;
        Informar({primeira});
    });
}
