#include "game/UnitSomadoJogo.h"

#include "game/Exportacao.h"

#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>
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

// Long work under way: its workers, what it is for, and the news already on its way to the
// window's thread (so that a burst of changes sends one).
struct TJogo::TTrabalho {
    uint64_t Id = 0;
    TTipoTrabalho Tipo = TTipoTrabalho::Puzzle;
    std::shared_ptr<std::atomic<bool>> AvisoPendente = std::make_shared<std::atomic<bool>>(false);
    QElapsedTimer Cronometro;
    // A new puzzle: what to do once it has (or has not) been installed.
    std::function<void(bool)> Depois;
    // A batch: its settings, dialogs and pages.
    std::unique_ptr<TExportacaoLote> Exportacao;
    QString LinhaMostrada;
    // Last, so that its workers stop before anything they might reach goes.
    std::unique_ptr<TGeracaoLote> Geracao;
};

TJogo::TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador)
    : FJanela(AJanela), FGerador(std::move(AGerador)) {
    FEstado.Relogio.DefinirFonte({});
}

TJogo::~TJogo() = default;

// ---- Telling the window

void TJogo::Informar(const QStringList& ALinhas) {
    FEstado.Informacao = ALinhas;
    FEstado.FimActual = false;
    Mudou(mInformacao);
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

// ---- Commands

bool TJogo::PodeExecutar(TComando AComando) const {
    if (Recusado(AComando)) return false;
    switch (AComando) {
    case TComando::Desfazer:
        return PodeDesfazer();
    case TComando::Refazer:
        return PodeRefazer();
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
    case TComando::Ajuda:
    case TComando::Sobre:
    case TComando::Jogada:
        // The window's own dialogs; moves come with their cell and key.
        return;
    }
}

// ---- The clock

void TJogo::DefinirFonteDeTempo(std::function<int64_t()> AFonte) {
    FEstado.Relogio.DefinirFonte(std::move(AFonte));
    AcertarRelogio();
}

bool TJogo::RelogioDeveCorrer() const {
    return FEstado.Board && !FEstado.Pausado && FEstado.GameState == TGameState::gsPlaying &&
           !TabuleiroCompletoECorrecto();
}

void TJogo::AcertarRelogio() {
    FEstado.Relogio.Acertar(RelogioDeveCorrer());
}

void TJogo::PausarRelogio() {
    FEstado.Pausado = true;
    AcertarRelogio();
}

void TJogo::RetomarRelogio() {
    FEstado.Pausado = false;
    AcertarRelogio();
}

// ---- The finish

bool TJogo::TabuleiroCompletoECorrecto() const {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board) return false;
    bool algumaBranca = false;
    for (int32_t r = 0; r < board->Size(); ++r)
        for (int32_t c = 0; c < board->Size(); ++c) {
            const TSomadoCell cell = board->GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            algumaBranca = true;
            if (cell.Value == 0 || cell.Value != cell.Solution) return false;
        }
    return algumaBranca;
}

void TJogo::DepoisDeMudarDigitos() {
    if (FEstado.GameState == TGameState::gsPlaying && TabuleiroCompletoECorrecto()) {
        AcertarRelogio();
        FEstado.GameState = TGameState::gsSolved;
        FEstado.VerificacaoActual = false;
        QStringList linhas{QStringLiteral("Parabéns! Puzzle resolvido correctamente."),
                           QStringLiteral("Tempo de jogo: %1.").arg(TextoDoTempo(TempoDeJogoMs()))};
        if (FEstado.Dicas > 0)
            linhas << (FEstado.Dicas == 1 ? QStringLiteral("Com 1 dica.")
                                          : QStringLiteral("Com %1 dicas.").arg(FEstado.Dicas));
        Informar(linhas);
        FEstado.FimActual = true;
        return;
    }
    if (FEstado.GameState == TGameState::gsSolved) FEstado.GameState = TGameState::gsPlaying;
    AcertarRelogio();
    if (FEstado.FimActual) {
        // The congratulation told of digits that are no longer on the board.
        Informar({QStringLiteral("O puzzle deixou de estar resolvido — o relógio voltou a "
                                 "contar.")});
    } else if (FEstado.VerificacaoActual) {
        FEstado.VerificacaoActual = false;
        Informar({QStringLiteral(
            "As jogadas mudaram desde a última verificação — carregue em Verificar de novo.")});
    }
}

// ---- Conflicts

void TJogo::DefinirMostrarConflitos(bool AMostrar) {
    FEstado.MostrarConflitos = AMostrar;
    Mudou(mTabuleiro);
}

bool TJogo::CelulaEmConflito(int32_t ARow, int32_t ACol) const {
    return FEstado.MostrarConflitos && FEstado.Board && !MostraSolucao() &&
           DigitoEmConflito(*FEstado.Board, ARow, ACol);
}

// ---- The current cell

bool TJogo::NoTabuleiro(int32_t ARow, int32_t ACol) const {
    const TSomadoBoard* board = FEstado.Board.get();
    return board && ARow >= 0 && ACol >= 0 && ARow < board->Size() && ACol < board->Size();
}

bool TJogo::PodeSeleccionar(int32_t ARow, int32_t ACol) const {
    return FEstado.Board && CelulaBranca(*FEstado.Board, ARow, ACol);
}

void TJogo::ColocarCursor(int32_t ARow, int32_t ACol) {
    const TCursor novo{ARow, ACol};
    if (novo == FEstado.Cursor) return;
    FEstado.Cursor = novo;
    Mudou(mCursor);
}

bool TJogo::SeleccionarCelula(int32_t ARow, int32_t ACol) {
    if (!PodeSeleccionar(ARow, ACol)) return false;
    ColocarCursor(ARow, ACol);
    return true;
}

bool TJogo::BrancaNaDireccao(int32_t ARow, int32_t ACol, int32_t ADeltaRow, int32_t ADeltaCol,
                             int32_t& ARowDestino, int32_t& AColDestino) const {
    if (ADeltaRow == 0 && ADeltaCol == 0) return false;
    for (int32_t r = ARow + ADeltaRow, c = ACol + ADeltaCol; NoTabuleiro(r, c);
         r += ADeltaRow, c += ADeltaCol) {
        if (PodeSeleccionar(r, c)) {
            ARowDestino = r;
            AColDestino = c;
            return true;
        }
    }
    return false;
}

bool TJogo::BrancaSeguinte(int32_t APasso, int32_t& ARow, int32_t& ACol) const {
    if (!FEstado.Board) return false;
    const int32_t n = FEstado.Board->Size(), total = n * n;
    const int32_t inicio = FEstado.Cursor.Row * n + FEstado.Cursor.Col;
    for (int32_t k = 1; k <= total; ++k) {
        const int32_t i = ((inicio + APasso * k) % total + total) % total;
        if (PodeSeleccionar(i / n, i % n)) {
            ARow = i / n;
            ACol = i % n;
            return true;
        }
    }
    return false;
}

bool TJogo::MoverCursor(TMovimento AMovimento) {
    int32_t r = 0, c = 0;
    const TCursor actual = FEstado.Cursor;
    bool encontrada = false;
    switch (AMovimento) {
    case TMovimento::Cima:
        encontrada = BrancaNaDireccao(actual.Row, actual.Col, -1, 0, r, c);
        break;
    case TMovimento::Baixo:
        encontrada = BrancaNaDireccao(actual.Row, actual.Col, 1, 0, r, c);
        break;
    case TMovimento::Esquerda:
        encontrada = BrancaNaDireccao(actual.Row, actual.Col, 0, -1, r, c);
        break;
    case TMovimento::Direita:
        encontrada = BrancaNaDireccao(actual.Row, actual.Col, 0, 1, r, c);
        break;
    case TMovimento::Seguinte:
        encontrada = BrancaSeguinte(1, r, c);
        break;
    case TMovimento::Anterior:
        encontrada = BrancaSeguinte(-1, r, c);
        break;
    }
    if (encontrada) ColocarCursor(r, c);
    return encontrada;
}

void TJogo::IrParaPrimeiraVazia() {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board) return;
    const int32_t n = board->Size();
    for (int32_t i = 0; i < n * n; ++i)
        if (PodeSeleccionar(i / n, i % n) && board->GetCell(i / n, i % n).Value == 0)
            return ColocarCursor(i / n, i % n);
    for (int32_t i = 0; i < n * n; ++i)
        if (PodeSeleccionar(i / n, i % n)) return ColocarCursor(i / n, i % n);
}

void TJogo::AvancarParaProximaVazia(int32_t ARow, int32_t ACol) {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board) return;
    const int32_t n = board->Size();
    for (int32_t i = ARow * n + ACol + 1; i < n * n; ++i)
        if (PodeSeleccionar(i / n, i % n) && board->GetCell(i / n, i % n).Value == 0)
            return ColocarCursor(i / n, i % n);
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
    if (FEstado.Board) {
        const int32_t n = FEstado.Board->Size();
        informacao << QStringLiteral("Puzzle gerado: %1x%1, %2.")
                          .arg(n)
                          .arg(NomeDoNivel(FEstado.Board->Difficulty()));
    } else {
        CarregarPuzzleFixo();
    }
    FEstado.Historico.Limpar();
    FEstado.Notas.Repor(FEstado.Board->Size());
    FEstado.GameState = TGameState::gsPlaying;
    FEstado.VerificacaoActual = false;
    FEstado.Dicas = 0;
    FEstado.Cursor = {};
    FEstado.Relogio.Repor(0);
    AcertarRelogio();
    GuardarValoresBase();
    Informar(informacao);
    IrParaPrimeiraVazia();
    Mudou(mTudo & ~mFoco);
}

void TJogo::CarregarPuzzleFixo() {
    FConfiguracao.Tamanho = TTamanhoTabuleiro::tt9;
    FEstado.Board = CriarPuzzleFixo();
}

void TJogo::InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard) {
    FEstado.Board = std::move(ABoard);
    FEstado.Historico.Limpar();
    FEstado.Notas.Repor(FEstado.Board ? FEstado.Board->Size() : 0);
    FEstado.GameState = TGameState::gsPlaying;
    FEstado.VerificacaoActual = false;
    FEstado.FimActual = false;
    FEstado.Dicas = 0;
    FEstado.Cursor = {};
    FEstado.Relogio.Repor(0);
    AcertarRelogio();
    GuardarValoresBase();
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
    auto trabalho = std::make_unique<TTrabalho>();
    trabalho->Id = ++FUltimoTrabalho;
    trabalho->Tipo = ATipo;
    trabalho->Cronometro.start();
    const uint64_t id = trabalho->Id;
    const std::shared_ptr<std::atomic<bool>> pendente = trabalho->AvisoPendente;
    const auto avisar = [this, id, pendente] {
        if (pendente->exchange(true)) return;
        FJanela.NoCicloPrincipal([this, id, pendente] {
            pendente->store(false);
            TrabalhoMudou(id);
        });
    };
    FTrabalho = std::move(trabalho);
    DefinirOcupacao(ATipo == TTipoTrabalho::Puzzle ? TOcupacao::AGerar : TOcupacao::EmLote);
    try {
        FTrabalho->Geracao = std::make_unique<TGeracaoLote>(FGerador, std::move(APedido), avisar);
    } catch (...) {
        FTrabalho.reset();
        DefinirOcupacao(TOcupacao::Livre);
        throw;
    }
    // A request with nothing to make ends at once, with no worker to say so.
    avisar();
}

void TJogo::TrabalhoMudou(uint64_t AId) {
    if (!FTrabalho || FTrabalho->Id != AId) return;
    TTrabalho& trabalho = *FTrabalho;
    if (!trabalho.Geracao->Terminada()) {
        if (trabalho.Tipo == TTipoTrabalho::Lote) {
            const QString linha =
                trabalho.Exportacao->LinhaDoProgresso(trabalho.Geracao->Progresso());
            if (linha != trabalho.LinhaMostrada) {
                trabalho.LinhaMostrada = linha;
                Informar({linha});
            }
        }
        return;
    }
    // The work leaves the game before its end is handled, so that what the end starts (a
    // question, the close) finds the game free.
    std::unique_ptr<TTrabalho> terminado = std::move(FTrabalho);
    DefinirOcupacao(TOcupacao::Livre);
    Proteger([this, &terminado] {
        if (terminado->Tipo == TTipoTrabalho::Puzzle)
            TerminarGeracao(*terminado);
        else
            TerminarLote(*terminado);
    });
}

void TJogo::TerminarGeracao(TTrabalho& ATrabalho) {
    const qint64 decorrido = ATrabalho.Cronometro.elapsed();
    std::vector<std::unique_ptr<TSomadoBoard>> boards;
    try {
        boards = ATrabalho.Geracao->Resultados();
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
    if (ATrabalho.Depois) ATrabalho.Depois(instalado);
}

void TJogo::TerminarLote(TTrabalho& ATrabalho) {
    const auto mostrar = [this](const QString& ALinha) { Informar({ALinha}); };
    if (FFechoPedido) {
        ATrabalho.Geracao.reset();
        mostrar(QStringLiteral("Exportação do lote interrompida."));
        // The close that stopped the batch goes on, with its usual question.
        FJanela.Fechar();
        return;
    }
    mostrar(ATrabalho.Exportacao->Concluir(*ATrabalho.Geracao, mostrar));
}

// ---- Snapshot and unsaved moves

void TJogo::GuardarValoresBase() {
    const TSomadoBoard* board = FEstado.Board.get();
    const int32_t n = board ? board->Size() : 0;
    FValoresBase.assign(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n)));
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            FValoresBase[r][c] = board->GetCell(r, c).Value;
    FNotasBase = FEstado.Notas.Todas();
}

bool TJogo::HaJogadasPorGravar() const {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board) return false;
    const int32_t n = board->Size();
    if (FValoresBase.size() != static_cast<size_t>(n)) return true;
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            if (board->GetCell(r, c).Value != FValoresBase[r][c]) return true;
    return FEstado.Notas.Todas() != FNotasBase;
}

// ---- Player actions

void TJogo::VerSolucao() {
    TSomadoBoard* board = FEstado.Board.get();
    if (!board || Recusado(TComando::VerSolucao)) return;
    const bool mostrar = !MostraSolucao();
    FEstado.GameState = mostrar ? TGameState::gsSolutionShown : TGameState::gsPlaying;
    const TCellDisplayState marca =
        mostrar ? TCellDisplayState::cdsRevealed : TCellDisplayState::cdsNormal;
    const int32_t n = board->Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c) {
            TSomadoCell cell = board->GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            cell.DisplayState = marca;
            board->SetCell(r, c, cell);
        }
    FEstado.VerificacaoActual = false;
    AcertarRelogio();
    Informar({mostrar
                  ? QStringLiteral("Solução revelada. Clique novamente para esconder.")
                  : QStringLiteral("Solução escondida — as suas jogadas continuam como estavam.")});
    Mudou(mTabuleiro | mLegendas | mHistorico);
}

void TJogo::Verificar() {
    TSomadoBoard* board = FEstado.Board.get();
    if (!board || Recusado(TComando::Verificar)) return;
    if (MostraSolucao()) {
        Informar({QStringLiteral("A solução já está visível — verificar não faz sentido agora.")});
        return;
    }
    int32_t corretas = 0, erradas = 0, porPreencher = 0;
    const bool resolvido = board->VerificarJogadas(corretas, erradas, porPreencher);
    Mudou(mTabuleiro);
    if (resolvido) {
        FEstado.GameState = TGameState::gsSolved;
        AcertarRelogio();
        Informar({QStringLiteral("Parabéns! Puzzle resolvido correctamente.")});
        FEstado.FimActual = true;
    } else {
        Informar({QStringLiteral("Correctas: %1. Erradas: %2. Por preencher: %3.")
                      .arg(corretas)
                      .arg(erradas)
                      .arg(porPreencher)});
        FEstado.VerificacaoActual = true;
    }
}

void TJogo::Limpar() {
    TSomadoBoard* board = FEstado.Board.get();
    if (!board || Recusado(TComando::Limpar)) return;
    TPassoHistorico apagadas{{}, FEstado.Notas.ApagarTodas(), true};
    for (int32_t r = 0; r < board->Size(); ++r)
        for (int32_t c = 0; c < board->Size(); ++c)
            if (const int32_t valor = board->GetCell(r, c).Value; valor != 0)
                apagadas.Mudancas.push_back({r, c, valor, 0});
    FEstado.Notas.Aplicar(apagadas.Notas, false);
    FEstado.Historico.Registar(std::move(apagadas));
    board->LimparJogadas();
    FEstado.GameState = TGameState::gsPlaying;
    FEstado.VerificacaoActual = false;
    AcertarRelogio();
    IrParaPrimeiraVazia();
    Informar({QStringLiteral("Puzzle limpo — a solução mantém-se, só as jogadas foram apagadas.")});
    Mudou(mTabuleiro | mLegendas | mHistorico | mFoco);
}

void TJogo::Dica() {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board || Recusado(TComando::Dica) || MostraSolucao()) return;
    int32_t r = FEstado.Cursor.Row, c = FEstado.Cursor.Col;
    const bool actualServe = PodeSeleccionar(r, c) && board->GetCell(r, c).Value == 0;
    if (!actualServe) {
        if (!EscolherCelulaVaziaAoAcaso(r, c)) return;
        ColocarCursor(r, c);
    }
    ++FEstado.Dicas;
    ColocarDigito(r, c, board->GetCell(r, c).Solution);
    DepoisDeMudarDigitos();
    AvancarParaProximaVazia(r, c);
    Mudou(mTabuleiro | mHistorico | mFoco);
}

bool TJogo::EscolherCelulaVaziaAoAcaso(int32_t& ARow, int32_t& ACol) const {
    const TSomadoBoard* board = FEstado.Board.get();
    if (!board) return false;
    std::vector<std::pair<int32_t, int32_t>> vazias;
    const int32_t n = board->Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c) {
            const TSomadoCell cell = board->GetCell(r, c);
            if (cell.CellType == TCellType::ctEmpty && cell.Value == 0) vazias.emplace_back(r, c);
        }
    if (vazias.empty()) return false;
    const auto escolhida =
        vazias[static_cast<size_t>(Aleatorio(static_cast<int32_t>(vazias.size())))];
    ARow = escolhida.first;
    ACol = escolhida.second;
    return true;
}

// ---- Digits

void TJogo::EscreverValor(int32_t ARow, int32_t ACol, int32_t AValor) {
    TSomadoCell cell = FEstado.Board->GetCell(ARow, ACol);
    cell.Value = AValor;
    cell.DisplayState = TCellDisplayState::cdsNormal;
    FEstado.Board->SetCell(ARow, ACol, cell);
}

bool TJogo::EscreverCaracter(QChar ACaracter) {
    if (MostraSolucao() || Recusado(TComando::Jogada)) return true;
    const auto [r, c] = FEstado.Cursor;
    if (!NoTabuleiro(r, c)) return false;
    if (PodeSeleccionar(r, c) && ACaracter >= u'1' && ACaracter <= u'9') {
        const int32_t antes = FEstado.Board->GetCell(r, c).Value;
        ColocarDigito(r, c, ACaracter.unicode() - u'0');
        AvancarParaProximaVazia(r, c);
        if (FEstado.Board->GetCell(r, c).Value != antes) DepoisDeMudarDigitos();
        Mudou(mTabuleiro | mHistorico);
    }
    return true;
}

void TJogo::ColocarDigito(int32_t ARow, int32_t ACol, int32_t ADigito) {
    TPassoHistorico passo;
    if (const int32_t antes = FEstado.Board->GetCell(ARow, ACol).Value; antes != ADigito)
        passo.Mudancas.push_back({ARow, ACol, antes, ADigito});
    passo.Notas = FEstado.Notas.RetiradasPor(*FEstado.Board, ARow, ACol, ADigito);
    FEstado.Notas.Aplicar(passo.Notas, false);
    FEstado.Historico.Registar(std::move(passo));
    EscreverValor(ARow, ACol, ADigito);
}

void TJogo::ApagarCelulaActual() {
    if (MostraSolucao() || Recusado(TComando::Jogada)) return;
    const auto [r, c] = FEstado.Cursor;
    if (!PodeSeleccionar(r, c)) return;
    const int32_t antes = FEstado.Board->GetCell(r, c).Value;
    if (antes == 0) return;
    FEstado.Historico.Registar({{{r, c, antes, 0}}, {}});
    EscreverValor(r, c, 0);
    DepoisDeMudarDigitos();
    Mudou(mTabuleiro | mHistorico);
}

// ---- Marks

bool TJogo::PodeMarcar() const {
    const auto [r, c] = FEstado.Cursor;
    return !MostraSolucao() && !Recusado(TComando::Jogada) && PodeSeleccionar(r, c) &&
           FEstado.Board->GetCell(r, c).Value == 0;
}

void TJogo::RegistarNotas(std::vector<TMudancaNotas> AMudancas) {
    if (AMudancas.empty()) return;
    FEstado.Notas.Aplicar(AMudancas, false);
    FEstado.Historico.Registar({{}, std::move(AMudancas), false});
    Mudou(mTabuleiro | mHistorico);
}

void TJogo::AlternarNota(int32_t ADigito) {
    if (!PodeMarcar() || ADigito < 1 || ADigito > 9) return;
    const auto [r, c] = FEstado.Cursor;
    const uint16_t antes = Notas(r, c);
    RegistarNotas({{r, c, antes, static_cast<uint16_t>(antes ^ (1u << ADigito))}});
}

void TJogo::ApagarNotas() {
    if (!FEstado.Board || MostraSolucao() || Recusado(TComando::Jogada)) return;
    RegistarNotas(FEstado.Notas.ApagarTodas());
}

void TJogo::ApagarNotasDaCelula() {
    if (!FEstado.Board || MostraSolucao() || Recusado(TComando::Jogada)) return;
    RegistarNotas(FEstado.Notas.ApagarDe(FEstado.Cursor.Row, FEstado.Cursor.Col));
}

TEstadoDoJogo TJogo::EstadoDoJogo() const {
    TEstadoDoJogo estado;
    estado.Notas = FEstado.Notas.Todas();
    estado.TempoMs = TempoDeJogoMs();
    return estado;
}

// ---- Undo and redo

bool TJogo::PodeDesfazer() const {
    return FEstado.Board && !MostraSolucao() && !Recusado(TComando::Desfazer) &&
           FEstado.Historico.PodeDesfazer();
}

bool TJogo::PodeRefazer() const {
    return FEstado.Board && !MostraSolucao() && !Recusado(TComando::Refazer) &&
           FEstado.Historico.PodeRefazer();
}

void TJogo::Desfazer() {
    TPassoHistorico passo;
    if (!PodeDesfazer() || !FEstado.Historico.Desfazer(passo)) return;
    AplicarPasso(passo, true);
}

void TJogo::Refazer() {
    TPassoHistorico passo;
    if (!PodeRefazer() || !FEstado.Historico.Refazer(passo)) return;
    AplicarPasso(passo, false);
}

void TJogo::AplicarPasso(const TPassoHistorico& APasso, bool AAntes) {
    for (const TMudancaDigito& m : APasso.Mudancas)
        if (NoTabuleiro(m.Row, m.Col)) EscreverValor(m.Row, m.Col, AAntes ? m.Antes : m.Depois);
    FEstado.Notas.Aplicar(APasso.Notas, AAntes);
    // A step over the whole board ("Limpar") selects as "Limpar" does.
    if (APasso.TodoOTabuleiro)
        IrParaPrimeiraVazia();
    else if (!APasso.Mudancas.empty())
        ColocarCursor(APasso.Mudancas.front().Row, APasso.Mudancas.front().Col);
    else if (APasso.Notas.size() == 1)
        ColocarCursor(APasso.Notas.front().Row, APasso.Notas.front().Col);
    if (!APasso.Mudancas.empty()) DepoisDeMudarDigitos();
    Mudou(mTabuleiro | mHistorico);
}

// ---- Unsaved moves, files and leaving

bool TJogo::ResolverJogadasPorGravar(const QString& APergunta) {
    if (!HaJogadasPorGravar()) return true;
    switch (FJanela.Perguntar(APergunta, true)) {
    case TResposta::Sim:
        return GuardarPuzzle();
    case TResposta::Nao:
        return true;
    default:
        return false;
    }
}

bool TJogo::ConfirmarAntesDe(const QString& AAccao) {
    return ResolverJogadasPorGravar(
        QStringLiteral("Há jogadas por gravar. Guardar antes de %1?").arg(AAccao));
}

bool TJogo::PodeSair() {
    return ResolverJogadasPorGravar(
        QStringLiteral("Há jogadas por gravar. Guardar antes de sair?"));
}

bool TJogo::PodeFechar() {
    if (FTrabalho) {
        FFechoPedido = true;
        FTrabalho->Geracao->Parar();
        return false;
    }
    bool pode = false;
    Proteger([this, &pode] { pode = PodeSair(); });
    return pode;
}

void TJogo::Proteger(const std::function<void()>& AComando) {
    try {
        AComando();
    } catch (const std::exception& e) {
        FJanela.ReportarErro(QString::fromUtf8(e.what()));
    } catch (...) {
        FJanela.ReportarErro(QStringLiteral("Ocorreu um erro inesperado."));
    }
}

bool PodeSubstituir(IJanelaJogo& AJanela, const QString& ACaminho) {
    return !QFileInfo::exists(ACaminho) ||
           AJanela.Perguntar(QStringLiteral("O ficheiro \"%1\" já existe. Substituir?")
                                 .arg(NomeSemPasta(ACaminho)),
                             false) == TResposta::Sim;
}

bool TJogo::GuardarPuzzle() {
    if (!FEstado.Board) return false;
    QString caminho;
    if (!FJanela.EscolherFicheiroParaGuardar(caminho)) return false;
    if (!PodeSubstituir(FJanela, caminho)) return false;
    // Another program (or another copy of this one) wrote the file since this game read or
    // saved it: replacing it would lose that without a word.
    if (AlteradoDesde(FFicheiroJogo, caminho) &&
        FJanela.Perguntar(QStringLiteral("O ficheiro \"%1\" foi alterado por outro programa "
                                         "depois de aberto ou guardado aqui. Substituir mesmo "
                                         "assim?")
                              .arg(NomeSemPasta(caminho)),
                          false) != TResposta::Sim)
        return false;
    try {
        FFicheiroJogo = GravarFicheiroJogo(caminho, *FEstado.Board, EstadoDoJogo());
    } catch (const ESomadoError&) {
        // An earlier "Puzzle guardado" line must not stay as if it told of this save.
        Informar({QStringLiteral("O puzzle não foi guardado.")});
        throw;
    }
    GuardarValoresBase();
    Informar({QStringLiteral("Puzzle guardado: ") + NomeSemPasta(caminho)});
    return true;
}

void TJogo::AbrirPuzzle() {
    if (Recusado(TComando::Abrir) || !ConfirmarAntesDe(QStringLiteral("abrir outro puzzle")))
        return;
    QString caminho;
    if (!FJanela.EscolherFicheiroParaAbrir(caminho)) return;
    AbrirFicheiro(caminho);
}

void TJogo::AbrirFicheiroIndicado(const QString& ACaminho) {
    Proteger([this, &ACaminho] {
        if (!Recusado(TComando::Abrir)) AbrirFicheiro(ACaminho);
    });
}

void TJogo::AbrirFicheiro(const QString& ACaminho) {
    std::unique_ptr<TSomadoBoard> novo;
    TEstadoDoJogo estado;
    TIdentidadeFicheiro identidade;
    try {
        novo = LerFicheiroJogo(ACaminho, estado, &identidade);
    } catch (const ESomadoError& e) {
        // Nothing changes but the report: board, digits, state and grid stay.
        Informar(
            {QStringLiteral("Não foi possível abrir este ficheiro."), QString::fromUtf8(e.what())});
        return;
    }
    InstalarBoard(std::move(novo));
    FFicheiroJogo = identidade;
    FEstado.Notas.Instalar(*FEstado.Board, estado.Notas);
    FNotasBase = FEstado.Notas.Todas();
    FEstado.Relogio.Repor(estado.TempoMs);
    AcertarRelogio();
    IrParaPrimeiraVazia();
    Informar({QStringLiteral("Puzzle aberto: ") + NomeSemPasta(ACaminho)});
    Mudou(mTabuleiro | mFoco);
}

// ---- The window's commands

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
        if (ExportarPuzzle(FJanela, *FEstado.Board, caminho))
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

void TJogo::Configurar() {
    if (Recusado(TComando::Configurar)) return;
    const TTamanhoTabuleiro tamanhoAntigo = FConfiguracao.Tamanho;
    const TNivelDificuldade nivelAntigo = FConfiguracao.Nivel;
    TConfiguracao configuracao = FConfiguracao;
    if (!FJanela.EditarConfiguracao(configuracao)) return;

    const TTamanhoTabuleiro tamanhoNovo = configuracao.Tamanho;
    // The batch settings and the level take effect now; the size waits for the new puzzle.
    FConfiguracao = configuracao;
    FConfiguracao.Tamanho = tamanhoAntigo;

    if (tamanhoNovo == tamanhoAntigo && FConfiguracao.Nivel == nivelAntigo) {
        AtualizarLabelTamanho();
        return;
    }
    if (!ResolverJogadasPorGravar(
            QStringLiteral("A configuração mudou — vai ser gerado um puzzle novo, que substitui o "
                           "actual.\r\nHá jogadas por gravar. Guardar antes de continuar?"))) {
        FConfiguracao.Nivel = nivelAntigo;
        return;
    }
    FConfiguracao.Tamanho = tamanhoNovo;
    AtualizarLabelTamanho();
    GerarNovoPuzzle([this, tamanhoNovo, tamanhoAntigo](bool AInstalado) {
        if (!AInstalado && tamanhoNovo != tamanhoAntigo) AplicarTamanhoSemPuzzle(tamanhoNovo);
    });
}
