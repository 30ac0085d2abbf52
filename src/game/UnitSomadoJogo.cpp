#include "game/UnitSomadoJogo.h"

#include "game/Exportacao.h"

#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <exception>
#include <future>

namespace {

const QString CVerSolucao = QStringLiteral("Ver Solução");
const QString CEsconderSolucao = QStringLiteral("Esconder Solução");

// Seconds with one decimal, in the user's own notation (2,4 with Portuguese settings).
QString Segundos(qint64 AMilissegundos) {
    return QLocale().toString(static_cast<double>(AMilissegundos) / 1000.0, 'f', 1);
}

} // namespace

QString NomeDoNivel(TNivelDificuldade ANivel) {
    return QString::fromUtf8(NomeNivel(ANivel));
}

int64_t TempoLimiteGeracao(TTamanhoTabuleiro ATamanho) {
    return ATamanho == TTamanhoTabuleiro::tt12 || ATamanho == TTamanhoTabuleiro::tt15 ? 75000
                                                                                      : 30000;
}

TJogo::TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador)
    : FJanela(AJanela), FGerador(std::move(AGerador)) {
    DefinirFonteDeTempo({});
}

void TJogo::DefinirFonteDeTempo(std::function<int64_t()> AFonte) {
    if (!AFonte) {
        auto relogio = std::make_shared<QElapsedTimer>();
        relogio->start();
        AFonte = [relogio] { return relogio->elapsed(); };
    }
    const int64_t decorrido = TempoDeJogoMs();
    FFonteDeTempo = std::move(AFonte);
    ReporRelogio(decorrido);
}

int64_t TJogo::TempoDeJogoMs() const {
    if (FInicioTrechoMs < 0 || !FFonteDeTempo) return FTempoAcumuladoMs;
    return FTempoAcumuladoMs + std::max<int64_t>(0, FFonteDeTempo() - FInicioTrechoMs);
}

bool TJogo::RelogioDeveCorrer() const {
    return FBoard && !FPausado && FGameState == TGameState::gsPlaying &&
           !TabuleiroCompletoECorrecto();
}

void TJogo::ReporRelogio(int64_t AAcumuladoMs) {
    FTempoAcumuladoMs = AAcumuladoMs;
    FInicioTrechoMs = -1;
    AcertarRelogio();
}

// Starts or stops the running stretch as the state asks.
void TJogo::AcertarRelogio() {
    const bool deve = RelogioDeveCorrer();
    if (deve && FInicioTrechoMs < 0) {
        FInicioTrechoMs = FFonteDeTempo();
    } else if (!deve && FInicioTrechoMs >= 0) {
        FTempoAcumuladoMs = TempoDeJogoMs();
        FInicioTrechoMs = -1;
    }
}

void TJogo::PausarRelogio() {
    FPausado = true;
    AcertarRelogio();
}

void TJogo::RetomarRelogio() {
    FPausado = false;
    AcertarRelogio();
}

QString TJogo::TextoDoTempo(int64_t AMilissegundos) {
    const int64_t segundos = std::max<int64_t>(0, AMilissegundos) / 1000;
    const int64_t h = segundos / 3600, m = segundos / 60 % 60, s = segundos % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QChar(u'0'))
            .arg(s, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar(u'0'));
}

bool TJogo::TabuleiroCompletoECorrecto() const {
    if (!FBoard) return false;
    bool algumaBranca = false;
    for (int32_t r = 0; r < FBoard->Size(); ++r)
        for (int32_t c = 0; c < FBoard->Size(); ++c) {
            const TSomadoCell cell = FBoard->GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            algumaBranca = true;
            if (cell.Value == 0 || cell.Value != cell.Solution) return false;
        }
    return algumaBranca;
}

void TJogo::DepoisDeMudarDigitos() {
    if (FGameState == TGameState::gsPlaying && TabuleiroCompletoECorrecto()) {
        AcertarRelogio();
        FGameState = TGameState::gsSolved;
        FVerificacaoActual = false;
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral("Parabéns! Puzzle resolvido correctamente."));
        FJanela.AdicionarInformacao(
            QStringLiteral("Tempo de jogo: %1.").arg(TextoDoTempo(TempoDeJogoMs())));
        return;
    }
    if (FGameState == TGameState::gsSolved) FGameState = TGameState::gsPlaying;
    AcertarRelogio();
    if (FVerificacaoActual) {
        FVerificacaoActual = false;
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral(
            "As jogadas mudaram desde a última verificação — carregue em Verificar de novo."));
    }
}

void TJogo::DefinirMostrarConflitos(bool AMostrar) {
    FMostrarConflitos = AMostrar;
    FJanela.RepintarGrelha();
}

bool TJogo::CelulaEmConflito(int32_t ARow, int32_t ACol) const {
    return FMostrarConflitos && FBoard && !MostraSolucao() && DigitoEmConflito(*FBoard, ARow, ACol);
}

void TJogo::IrParaPrimeiraVazia() {
    if (!FBoard) return;
    const int32_t n = FBoard->Size();
    for (int32_t i = 0; i < n * n; ++i)
        if (const TSomadoCell cell = FBoard->GetCell(i / n, i % n);
            cell.CellType == TCellType::ctEmpty && cell.Value == 0) {
            FJanela.SeleccionarCelula(i / n, i % n);
            return;
        }
    for (int32_t i = 0; i < n * n; ++i)
        if (PodeSeleccionar(i / n, i % n)) {
            FJanela.SeleccionarCelula(i / n, i % n);
            return;
        }
}

void TJogo::Iniciar() {
    FConfiguracao = TConfiguracao{};
    {
        // Before the window shows: on this thread, with nothing to stop it.
        TAleatorio fluxo = AleatorioDoProcesso();
        const std::atomic<bool> nunca{false};
        FBoard = FGerador(TTamanhoTabuleiro::tt9, FConfiguracao.Nivel,
                          TempoLimiteGeracao(TTamanhoTabuleiro::tt9), fluxo, nunca);
        AleatorioDoProcesso() = fluxo;
    }
    FHistorico.Limpar();
    FJanela.LimparInformacao();
    if (FBoard) {
        const int32_t n = FBoard->Size();
        FJanela.AdicionarInformacao(QStringLiteral("Puzzle gerado: %1x%1, %2.")
                                        .arg(n)
                                        .arg(NomeDoNivel(FBoard->Difficulty())));
    } else {
        CarregarPuzzleFixo();
    }
    FGameState = TGameState::gsPlaying;
    ReporRelogio(0);
    GuardarValoresBase();
    AtualizarLabelTamanho();
    FJanela.ConfigurarGrelha();
}

void TJogo::AtualizarLabelTamanho() {
    const int32_t lado = LadoDoTabuleiro(FConfiguracao.Tamanho);
    FJanela.DefinirLegendaTamanho(QStringLiteral("Tamanho seleccionado: %1x%1").arg(lado));
}

namespace {

// Sets a flag for as long as it lives, whichever way the scope is left.
class TMarca {
public:
    explicit TMarca(bool& AMarca) : FMarca(AMarca) { FMarca = true; }
    ~TMarca() { FMarca = false; }
    TMarca(const TMarca&) = delete;
    TMarca& operator=(const TMarca&) = delete;

private:
    bool& FMarca;
};

} // namespace

std::unique_ptr<TSomadoBoard> TJogo::GerarEmFundo(TTamanhoTabuleiro ATamanho,
                                                  TNivelDificuldade ANivel, int64_t ALimiteMs) {
    const TMarca emCurso(FGeracaoEmCurso);
    FInterromperLote = false;
    TAleatorio fluxo = AleatorioDoProcesso();
    std::atomic<bool> parar{false};
    std::future<std::unique_ptr<TSomadoBoard>> futuro =
        std::async(std::launch::async, [this, ATamanho, ANivel, ALimiteMs, &fluxo, &parar] {
            return FGerador(ATamanho, ANivel, ALimiteMs, fluxo, parar);
        });
    // Whichever way this is left, the worker is told to stop before the future waits for it.
    struct TPararAoSair {
        std::atomic<bool>& Parar;
        ~TPararAoSair() { Parar.store(true); }
    };
    {
        const TPararAoSair pararAoSair{parar};
        while (futuro.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            FJanela.ProcessarEventos();
            if (FInterromperLote) parar.store(true);
            futuro.wait_for(CIntervaloEventos);
        }
    }
    std::unique_ptr<TSomadoBoard> board = futuro.get();
    AleatorioDoProcesso() = fluxo;
    if (FInterromperLote) return nullptr;
    return board;
}

bool TJogo::GerarNovoPuzzle() {
    if (Ocupado()) return false;
    const int32_t lado = LadoDoTabuleiro(FConfiguracao.Tamanho);
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("A gerar puzzle %1x%1...").arg(lado));
    FJanela.AdicionarInformacao(QStringLiteral("Pode demorar alguns segundos — aguarde."));
    FJanela.ComecarEspera();

    QElapsedTimer cronometro;
    cronometro.start();
    std::unique_ptr<TSomadoBoard> board = GerarPuzzleConfigurado();
    const qint64 decorrido = cronometro.elapsed();
    FJanela.TerminarEspera();

    if (FInterromperLote) {
        // The close that stopped the generation goes on, with its usual question.
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral("Geração interrompida."));
        FJanela.Fechar();
        return false;
    }
    if (!board) {
        ReportarGeracaoFalhada(decorrido);
        return false;
    }
    InstalarPuzzleGerado(std::move(board), decorrido);
    return true;
}

std::unique_ptr<TSomadoBoard> TJogo::GerarPuzzleConfigurado() {
    try {
        return GerarEmFundo(FConfiguracao.Tamanho, FConfiguracao.Nivel,
                            TempoLimiteGeracao(FConfiguracao.Tamanho));
    } catch (...) {
        // The window comes back to life before the error is reported, without the
        // progress lines.
        FJanela.TerminarEspera();
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(
            QStringLiteral("Não foi possível gerar um puzzle com esta configuração."));
        throw;
    }
}

void TJogo::ReportarGeracaoFalhada(qint64 ADecorridoMs) {
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(
        QStringLiteral("Não foi possível gerar um puzzle com esta configuração."));
    FJanela.AdicionarInformacao(QStringLiteral("Tente outra vez, ou escolha outro tamanho."));
    FJanela.AdicionarInformacao(
        QStringLiteral("[Diagnóstico] Tempo até desistir: %1s.").arg(Segundos(ADecorridoMs)));
}

void TJogo::InstalarPuzzleGerado(std::unique_ptr<TSomadoBoard> ABoard, qint64 ADecorridoMs) {
    const int32_t n = ABoard->Size();
    const QString nivel = NomeDoNivel(ABoard->Difficulty());
    InstalarBoard(std::move(ABoard));
    IrParaPrimeiraVazia();
    FJanela.RepintarGrelha();
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle gerado: %1x%1, %2. Tempo: %3s.")
                                    .arg(n)
                                    .arg(nivel, Segundos(ADecorridoMs)));
}

void TJogo::InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard) {
    FBoard = std::move(ABoard);
    FHistorico.Limpar();
    FNotas.clear();
    FGameState = TGameState::gsPlaying;
    FVerificacaoActual = false;
    ReporRelogio(0);
    FJanela.DefinirLegendaVerSolucao(CVerSolucao);
    GuardarValoresBase();
    FJanela.ConfigurarGrelha();
    FJanela.AjustarTamanhoGrelha();
}

void TJogo::CarregarPuzzleFixo() {
    FConfiguracao.Tamanho = TTamanhoTabuleiro::tt9;
    FBoard = CriarPuzzleFixo();
}

void TJogo::AplicarTamanhoSemPuzzle(TTamanhoTabuleiro ATamanho) {
    const int32_t lado = LadoDoTabuleiro(ATamanho);
    InstalarBoard(std::make_unique<TSomadoBoard>(lado));
    FJanela.RepintarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(
        QStringLiteral("Tamanho alterado para %1x%1 — gere um puzzle novo quando quiser.")
            .arg(lado));
}

void TJogo::GuardarValoresBase() {
    const int32_t n = FBoard ? FBoard->Size() : 0;
    FValoresBase.assign(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n)));
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            FValoresBase[r][c] = FBoard->GetCell(r, c).Value;
    if (FNotas.size() != static_cast<size_t>(n * n)) FNotas.assign(static_cast<size_t>(n * n), 0);
    FNotasBase = FNotas;
}

bool TJogo::HaJogadasPorGravar() const {
    if (!FBoard) return false;
    const int32_t n = FBoard->Size();
    if (FValoresBase.size() != static_cast<size_t>(n)) return true;
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            if (FBoard->GetCell(r, c).Value != FValoresBase[r][c]) return true;
    return FNotas != FNotasBase;
}

void TJogo::VerSolucao() {
    if (!FBoard || FGeracaoEmCurso) return;
    const bool mostrar = FGameState != TGameState::gsSolutionShown;
    FGameState = mostrar ? TGameState::gsSolutionShown : TGameState::gsPlaying;
    const TCellDisplayState marca =
        mostrar ? TCellDisplayState::cdsRevealed : TCellDisplayState::cdsNormal;
    const int32_t n = FBoard->Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c) {
            TSomadoCell cell = FBoard->GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            cell.DisplayState = marca;
            FBoard->SetCell(r, c, cell);
        }
    FJanela.RepintarGrelha();
    FJanela.LimparInformacao();
    FJanela.DefinirLegendaVerSolucao(mostrar ? CEsconderSolucao : CVerSolucao);
    FVerificacaoActual = false;
    AcertarRelogio();
    FJanela.AdicionarInformacao(
        mostrar ? QStringLiteral("Solução revelada. Clique novamente para esconder.")
                : QStringLiteral("Solução escondida — as suas jogadas continuam como estavam."));
}

void TJogo::Verificar() {
    if (!FBoard) return;
    if (FGameState == TGameState::gsSolutionShown) {
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(
            QStringLiteral("A solução já está visível — verificar não faz sentido agora."));
        return;
    }
    int32_t corretas = 0, erradas = 0, porPreencher = 0;
    const bool resolvido = FBoard->VerificarJogadas(corretas, erradas, porPreencher);
    FJanela.RepintarGrelha();
    FJanela.LimparInformacao();
    if (resolvido) {
        FGameState = TGameState::gsSolved;
        AcertarRelogio();
        FJanela.AdicionarInformacao(QStringLiteral("Parabéns! Puzzle resolvido correctamente."));
    } else {
        FVerificacaoActual = true;
        FJanela.AdicionarInformacao(QStringLiteral("Correctas: %1. Erradas: %2. Por preencher: %3.")
                                        .arg(corretas)
                                        .arg(erradas)
                                        .arg(porPreencher));
    }
}

void TJogo::Limpar() {
    if (!FBoard || FGeracaoEmCurso) return;
    TPassoHistorico apagadas{{}, {}, true};
    for (int32_t r = 0; r < FBoard->Size(); ++r)
        for (int32_t c = 0; c < FBoard->Size(); ++c)
            if (const int32_t valor = FBoard->GetCell(r, c).Value; valor != 0)
                apagadas.Mudancas.push_back({r, c, valor, 0});
    for (int32_t r = 0; r < FBoard->Size(); ++r)
        for (int32_t c = 0; c < FBoard->Size(); ++c)
            if (const uint16_t notas = Notas(r, c); notas != 0)
                apagadas.Notas.push_back({r, c, notas, 0});
    std::fill(FNotas.begin(), FNotas.end(), uint16_t{0});
    FHistorico.Registar(std::move(apagadas));
    FBoard->LimparJogadas();
    FGameState = TGameState::gsPlaying;
    FVerificacaoActual = false;
    AcertarRelogio();
    FJanela.DefinirLegendaVerSolucao(CVerSolucao);
    FJanela.RepintarGrelha();
    IrParaPrimeiraVazia();
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(
        QStringLiteral("Puzzle limpo — a solução mantém-se, só as jogadas foram apagadas."));
}

void TJogo::Dica() {
    if (!FBoard || FGeracaoEmCurso || FGameState == TGameState::gsSolutionShown) return;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    const bool actualServe = NoTabuleiro(r, c) &&
                             FBoard->GetCell(r, c).CellType == TCellType::ctEmpty &&
                             FBoard->GetCell(r, c).Value == 0;
    if (!actualServe) {
        if (!EscolherCelulaVaziaAoAcaso(r, c)) return;
        FJanela.SeleccionarCelula(r, c);
    }
    ColocarDigito(r, c, FBoard->GetCell(r, c).Solution);
    FJanela.RepintarGrelha();
    DepoisDeMudarDigitos();
    AvancarParaProximaVazia(r, c);
    FJanela.FocarGrelha();
}

bool TJogo::EscolherCelulaVaziaAoAcaso(int32_t& ARow, int32_t& ACol) const {
    if (!FBoard) return false;
    std::vector<std::pair<int32_t, int32_t>> vazias;
    const int32_t n = FBoard->Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c) {
            const TSomadoCell cell = FBoard->GetCell(r, c);
            if (cell.CellType == TCellType::ctEmpty && cell.Value == 0) vazias.emplace_back(r, c);
        }
    if (vazias.empty()) return false;
    const auto escolhida =
        vazias[static_cast<size_t>(Aleatorio(static_cast<int32_t>(vazias.size())))];
    ARow = escolhida.first;
    ACol = escolhida.second;
    return true;
}

bool TJogo::NoTabuleiro(int32_t ARow, int32_t ACol) const {
    return FBoard && ARow >= 0 && ACol >= 0 && ARow < FBoard->Size() && ACol < FBoard->Size();
}

bool TJogo::PodeSeleccionar(int32_t ARow, int32_t ACol) const {
    return NoTabuleiro(ARow, ACol) && FBoard->GetCell(ARow, ACol).CellType == TCellType::ctEmpty;
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

void TJogo::EscreverValor(int32_t ARow, int32_t ACol, int32_t AValor) {
    TSomadoCell cell = FBoard->GetCell(ARow, ACol);
    cell.Value = AValor;
    cell.DisplayState = TCellDisplayState::cdsNormal;
    FBoard->SetCell(ARow, ACol, cell);
}

bool TJogo::EscreverCaracter(QChar ACaracter) {
    if (FGameState == TGameState::gsSolutionShown || FGeracaoEmCurso) return true;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    if (!NoTabuleiro(r, c)) return false;
    if (FBoard->GetCell(r, c).CellType == TCellType::ctEmpty && ACaracter >= u'1' &&
        ACaracter <= u'9') {
        const int32_t antes = FBoard->GetCell(r, c).Value;
        ColocarDigito(r, c, ACaracter.unicode() - u'0');
        FJanela.RepintarGrelha();
        AvancarParaProximaVazia(r, c);
        if (FBoard->GetCell(r, c).Value != antes) DepoisDeMudarDigitos();
    }
    return true;
}

void TJogo::ColocarDigito(int32_t ARow, int32_t ACol, int32_t ADigito) {
    TPassoHistorico passo;
    if (const int32_t antes = FBoard->GetCell(ARow, ACol).Value; antes != ADigito)
        passo.Mudancas.push_back({ARow, ACol, antes, ADigito});
    passo.Notas = NotasRetiradasPor(ARow, ACol, ADigito);
    for (const TMudancaNotas& m : passo.Notas)
        DefinirNotas(m.Row, m.Col, m.Depois);
    FHistorico.Registar(std::move(passo));
    EscreverValor(ARow, ACol, ADigito);
}

std::vector<TMudancaNotas> TJogo::NotasRetiradasPor(int32_t ARow, int32_t ACol,
                                                    int32_t ADigito) const {
    std::vector<TMudancaNotas> retiradas;
    const auto bit = static_cast<uint16_t>(1u << ADigito);
    const auto percorrer = [&](int32_t ADeltaRow, int32_t ADeltaCol) {
        for (int32_t r = ARow + ADeltaRow, c = ACol + ADeltaCol; PodeSeleccionar(r, c);
             r += ADeltaRow, c += ADeltaCol)
            if (const uint16_t notas = Notas(r, c); notas & bit)
                retiradas.push_back({r, c, notas, static_cast<uint16_t>(notas & ~bit)});
    };
    percorrer(0, -1);
    percorrer(0, 1);
    percorrer(-1, 0);
    percorrer(1, 0);
    return retiradas;
}

uint16_t TJogo::Notas(int32_t ARow, int32_t ACol) const {
    if (!NoTabuleiro(ARow, ACol)) return 0;
    const size_t i = static_cast<size_t>(ARow * FBoard->Size() + ACol);
    return i < FNotas.size() ? FNotas[i] : 0;
}

void TJogo::DefinirNotas(int32_t ARow, int32_t ACol, uint16_t ANotas) {
    if (!NoTabuleiro(ARow, ACol)) return;
    const size_t i = static_cast<size_t>(ARow * FBoard->Size() + ACol);
    if (i < FNotas.size()) FNotas[i] = ANotas & CTodasAsNotas;
}

void TJogo::AlternarNota(int32_t ADigito) {
    if (!FBoard || MostraSolucao() || FGeracaoEmCurso || ADigito < 1 || ADigito > 9) return;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    if (!PodeSeleccionar(r, c) || FBoard->GetCell(r, c).Value != 0) return;
    const uint16_t antes = Notas(r, c);
    const auto depois = static_cast<uint16_t>(antes ^ (1u << ADigito));
    FHistorico.Registar({{}, {{r, c, antes, depois}}, false});
    DefinirNotas(r, c, depois);
    FJanela.RepintarGrelha();
}

void TJogo::ApagarNotas() {
    if (!FBoard || MostraSolucao() || FGeracaoEmCurso) return;
    TPassoHistorico passo;
    for (int32_t r = 0; r < FBoard->Size(); ++r)
        for (int32_t c = 0; c < FBoard->Size(); ++c)
            if (const uint16_t notas = Notas(r, c); notas != 0)
                passo.Notas.push_back({r, c, notas, 0});
    if (passo.Notas.empty()) return;
    std::fill(FNotas.begin(), FNotas.end(), uint16_t{0});
    FHistorico.Registar(std::move(passo));
    FJanela.RepintarGrelha();
}

TEstadoDoJogo TJogo::EstadoDoJogo() const {
    TEstadoDoJogo estado;
    estado.Notas = FNotas;
    estado.TempoMs = TempoDeJogoMs();
    return estado;
}

void TJogo::InstalarEstado(const TEstadoDoJogo& AEstado) {
    const int32_t n = FBoard ? FBoard->Size() : 0;
    if (AEstado.Notas.size() == static_cast<size_t>(n * n)) {
        FNotas = AEstado.Notas;
        // Marks only belong in white cells.
        for (int32_t r = 0; r < n; ++r)
            for (int32_t c = 0; c < n; ++c)
                if (!PodeSeleccionar(r, c)) FNotas[static_cast<size_t>(r * n + c)] = 0;
    }
    FNotasBase = FNotas;
    ReporRelogio(AEstado.TempoMs);
}

void TJogo::ApagarCelulaActual() {
    if (FGameState == TGameState::gsSolutionShown || FGeracaoEmCurso) return;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    if (!NoTabuleiro(r, c) || FBoard->GetCell(r, c).CellType != TCellType::ctEmpty) return;
    if (const int32_t antes = FBoard->GetCell(r, c).Value; antes != 0)
        FHistorico.Registar({{{r, c, antes, 0}}, {}});
    const bool mudou = FBoard->GetCell(r, c).Value != 0;
    EscreverValor(r, c, 0);
    FJanela.RepintarGrelha();
    if (mudou) DepoisDeMudarDigitos();
}

void TJogo::AvancarParaProximaVazia(int32_t ARow, int32_t ACol) {
    if (!FBoard) return;
    const int32_t n = FBoard->Size();
    for (int32_t indice = ARow * n + ACol + 1; indice < n * n; ++indice) {
        const TSomadoCell cell = FBoard->GetCell(indice / n, indice % n);
        if (cell.CellType == TCellType::ctEmpty && cell.Value == 0) {
            FJanela.SeleccionarCelula(indice / n, indice % n);
            return;
        }
    }
}

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
    if (Ocupado()) {
        FInterromperLote = true;
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

namespace {

// Game files are a few kilobytes; anything much larger is not read again just to compare.
constexpr qint64 CMaximoParaResumo = 16 * 1024 * 1024;

// A digest of a regular file's content; empty for anything else (a FIFO would block the
// reading), for a file too large, or one that cannot be read.
QByteArray ResumoDoConteudo(const QFileInfo& AInfo) {
    if (!AInfo.isFile() || AInfo.size() > CMaximoParaResumo) return {};
    QFile ficheiro(AInfo.absoluteFilePath());
    if (!ficheiro.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash resumo(QCryptographicHash::Sha256);
    if (!resumo.addData(&ficheiro)) return {};
    return resumo.result();
}

} // namespace

void TJogo::LembrarFicheiro(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    FFicheiroJogo = {info.canonicalFilePath(), info.size(), info.lastModified(),
                     ResumoDoConteudo(info)};
}

bool TJogo::AlteradoPorOutro(const QString& ACaminho) const {
    if (FFicheiroJogo.Caminho.isEmpty()) return false;
    const QFileInfo info(ACaminho);
    if (info.canonicalFilePath() != FFicheiroJogo.Caminho) return false;
    if (info.size() != FFicheiroJogo.Tamanho || info.lastModified() != FFicheiroJogo.Modificado)
        return true;
    return !FFicheiroJogo.Resumo.isEmpty() && ResumoDoConteudo(info) != FFicheiroJogo.Resumo;
}

bool PodeSubstituir(IJanelaJogo& AJanela, const QString& ACaminho) {
    return !QFileInfo::exists(ACaminho) ||
           AJanela.Perguntar(QStringLiteral("O ficheiro \"%1\" já existe. Substituir?")
                                 .arg(NomeSemPasta(ACaminho)),
                             false) == TResposta::Sim;
}

bool TJogo::GuardarPuzzle() {
    if (!FBoard) return false;
    QString caminho;
    if (!FJanela.EscolherFicheiroParaGuardar(caminho)) return false;
    if (!PodeSubstituir(FJanela, caminho)) return false;
    // Another program (or another copy of this one) wrote the file since this game read or
    // saved it: replacing it would lose that without a word.
    if (AlteradoPorOutro(caminho) &&
        FJanela.Perguntar(QStringLiteral("O ficheiro \"%1\" foi alterado por outro programa "
                                         "depois de aberto ou guardado aqui. Substituir mesmo "
                                         "assim?")
                              .arg(NomeSemPasta(caminho)),
                          false) != TResposta::Sim)
        return false;
    try {
        GravarFicheiroJogo(caminho, *FBoard, EstadoDoJogo());
    } catch (const ESomadoError&) {
        // An earlier "Puzzle guardado" line must not stay as if it told of this save.
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral("O puzzle não foi guardado."));
        throw;
    }
    LembrarFicheiro(caminho);
    GuardarValoresBase();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle guardado: ") + NomeSemPasta(caminho));
    return true;
}

void TJogo::AbrirPuzzle() {
    if (Ocupado() || !ConfirmarAntesDe(QStringLiteral("abrir outro puzzle"))) return;
    QString caminho;
    if (!FJanela.EscolherFicheiroParaAbrir(caminho)) return;
    AbrirFicheiro(caminho);
}

void TJogo::AbrirFicheiroIndicado(const QString& ACaminho) {
    Proteger([this, &ACaminho] {
        if (!FLoteEmCurso) AbrirFicheiro(ACaminho);
    });
}

void TJogo::AbrirFicheiro(const QString& ACaminho) {
    std::unique_ptr<TSomadoBoard> novo;
    TEstadoDoJogo estado;
    try {
        novo = LerFicheiroJogo(ACaminho, estado);
    } catch (const ESomadoError& e) {
        // Nothing changes but the report: board, digits, state and grid stay.
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral("Não foi possível abrir este ficheiro."));
        FJanela.AdicionarInformacao(QString::fromUtf8(e.what()));
        return;
    }
    InstalarBoard(std::move(novo));
    LembrarFicheiro(ACaminho);
    InstalarEstado(estado);
    IrParaPrimeiraVazia();
    FJanela.RepintarGrelha();
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle aberto: ") + NomeSemPasta(ACaminho));
}

void TJogo::BitBtnGerarClick() {
    Proteger([this] {
        if (!Ocupado() && ConfirmarAntesDe(QStringLiteral("gerar um puzzle novo")))
            GerarNovoPuzzle();
    });
}

void TJogo::BitBtnGuardarClick() {
    Proteger([this] { GuardarPuzzle(); });
}

void TJogo::BitBtnAbrirClick() {
    Proteger([this] { AbrirPuzzle(); });
}

void TJogo::BitBtnConfigurarClick() {
    Proteger([this] { Configurar(); });
}

void TJogo::BitBtnExportarPuzzleClick() {
    Proteger([this] {
        if (FBoard) ExportarPuzzle(FJanela, *FBoard);
    });
}

void TJogo::BitBtnExportarLoteClick() {
    Proteger([this] {
        if (!Ocupado())
            TExportacaoLote(FJanela, FGerador, FConfiguracao, FThreadsLote, FLoteEmCurso,
                            FInterromperLote)
                .Executar();
    });
}

void TJogo::Configurar() {
    if (Ocupado()) return;
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
    if (!GerarNovoPuzzle() && tamanhoNovo != tamanhoAntigo && !FInterromperLote)
        AplicarTamanhoSemPuzzle(tamanhoNovo);
}

void TJogo::Desfazer() {
    TPassoHistorico passo;
    if (!FBoard || FGeracaoEmCurso || MostraSolucao() || !FHistorico.Desfazer(passo)) return;
    AplicarPasso(passo, true);
}

void TJogo::Refazer() {
    TPassoHistorico passo;
    if (!FBoard || FGeracaoEmCurso || MostraSolucao() || !FHistorico.Refazer(passo)) return;
    AplicarPasso(passo, false);
}

void TJogo::AplicarPasso(const TPassoHistorico& APasso, bool AAntes) {
    for (const TMudancaDigito& m : APasso.Mudancas)
        if (NoTabuleiro(m.Row, m.Col)) EscreverValor(m.Row, m.Col, AAntes ? m.Antes : m.Depois);
    for (const TMudancaNotas& m : APasso.Notas)
        DefinirNotas(m.Row, m.Col, AAntes ? m.Antes : m.Depois);
    FJanela.RepintarGrelha();
    // A step over the whole board ("Limpar") selects as "Limpar" does.
    if (APasso.TodoOTabuleiro)
        IrParaPrimeiraVazia();
    else if (!APasso.Mudancas.empty())
        FJanela.SeleccionarCelula(APasso.Mudancas.front().Row, APasso.Mudancas.front().Col);
    else if (APasso.Notas.size() == 1)
        FJanela.SeleccionarCelula(APasso.Notas.front().Row, APasso.Notas.front().Col);
    if (!APasso.Mudancas.empty()) DepoisDeMudarDigitos();
}
