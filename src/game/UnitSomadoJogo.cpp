#include "game/UnitSomadoJogo.h"

#include "generator/Aleatorio.h"
#include "generator/UnitSomadoGenerator.h"
#include "io/UnitSomadoFicheiro.h"
#include "pdf/UnitSomadoPdf.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <exception>

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
    : FJanela(AJanela), FGerador(std::move(AGerador)) {}

void TJogo::DefinirLote(const TConfiguracao& AConfiguracao) {
    FTamanhoLote = AConfiguracao.TamanhoLote;
    FModoLote = AConfiguracao.ModoLote;
    FDificuldadeLote = AConfiguracao.DificuldadeLote;
    FQuantidadeLote = AConfiguracao.QuantidadeLote;
    FTituloLote = AConfiguracao.TituloLote;
}

void TJogo::Iniciar() {
    const TConfiguracao predefinida;
    FNivelConfigurado = predefinida.Nivel;
    DefinirLote(predefinida);
    FTamanhoConfigurado = predefinida.Tamanho;
    FBoard = FGerador(TTamanhoTabuleiro::tt9, FNivelConfigurado,
                      TempoLimiteGeracao(TTamanhoTabuleiro::tt9));
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
    GuardarValoresBase();
    AtualizarLabelTamanho();
    FJanela.ConfigurarGrelha();
}

void TJogo::AtualizarLabelTamanho() {
    const int32_t lado = LadoDoTabuleiro(FTamanhoConfigurado);
    FJanela.DefinirLegendaTamanho(QStringLiteral("Tamanho seleccionado: %1x%1").arg(lado));
}

bool TJogo::GerarNovoPuzzle() {
    if (FLoteEmCurso) return false;
    const int32_t lado = LadoDoTabuleiro(FTamanhoConfigurado);
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("A gerar puzzle %1x%1...").arg(lado));
    FJanela.AdicionarInformacao(QStringLiteral("Pode demorar alguns segundos — aguarde."));
    FJanela.ComecarEspera();

    QElapsedTimer cronometro;
    cronometro.start();
    std::unique_ptr<TSomadoBoard> board;
    try {
        board = FGerador(FTamanhoConfigurado, FNivelConfigurado,
                         TempoLimiteGeracao(FTamanhoConfigurado));
    } catch (...) {
        // The window comes back to life before the error is reported, without the
        // progress lines.
        FJanela.TerminarEspera();
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(
            QStringLiteral("Não foi possível gerar um puzzle com esta configuração."));
        throw;
    }
    const qint64 decorrido = cronometro.elapsed();
    FJanela.TerminarEspera();

    if (!board) {
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(
            QStringLiteral("Não foi possível gerar um puzzle com esta configuração."));
        FJanela.AdicionarInformacao(QStringLiteral("Tente outra vez, ou escolha outro tamanho."));
        FJanela.AdicionarInformacao(
            QStringLiteral("[Diagnóstico] Tempo até desistir: %1s.").arg(Segundos(decorrido)));
        return false;
    }
    const int32_t n = board->Size();
    const QString nivel = NomeDoNivel(board->Difficulty());
    InstalarBoard(std::move(board));
    AvancarParaProximaVazia(0, -1);
    FJanela.RepintarGrelha();
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle gerado: %1x%1, %2. Tempo: %3s.")
                                    .arg(n)
                                    .arg(nivel, Segundos(decorrido)));
    return true;
}

void TJogo::InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard) {
    FBoard = std::move(ABoard);
    FHistorico.Limpar();
    FGameState = TGameState::gsPlaying;
    FJanela.DefinirLegendaVerSolucao(CVerSolucao);
    GuardarValoresBase();
    FJanela.ConfigurarGrelha();
    FJanela.AjustarTamanhoGrelha();
}

void TJogo::CarregarPuzzleFixo() {
    FTamanhoConfigurado = TTamanhoTabuleiro::tt9;
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
}

bool TJogo::HaJogadasPorGravar() const {
    if (!FBoard) return false;
    const int32_t n = FBoard->Size();
    if (FValoresBase.size() != static_cast<size_t>(n)) return true;
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            if (FBoard->GetCell(r, c).Value != FValoresBase[r][c]) return true;
    return false;
}

void TJogo::VerSolucao() {
    if (!FBoard) return;
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
        FJanela.AdicionarInformacao(QStringLiteral("Parabéns! Puzzle resolvido correctamente."));
    } else {
        FJanela.AdicionarInformacao(QStringLiteral("Correctas: %1. Erradas: %2. Por preencher: %3.")
                                        .arg(corretas)
                                        .arg(erradas)
                                        .arg(porPreencher));
    }
}

void TJogo::Limpar() {
    if (!FBoard) return;
    TPassoHistorico apagadas{{}, true};
    for (int32_t r = 0; r < FBoard->Size(); ++r)
        for (int32_t c = 0; c < FBoard->Size(); ++c)
            if (const int32_t valor = FBoard->GetCell(r, c).Value; valor != 0)
                apagadas.Mudancas.push_back({r, c, valor, 0});
    FHistorico.Registar(std::move(apagadas));
    FBoard->LimparJogadas();
    FGameState = TGameState::gsPlaying;
    FJanela.DefinirLegendaVerSolucao(CVerSolucao);
    FJanela.RepintarGrelha();
    AvancarParaProximaVazia(0, -1);
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(
        QStringLiteral("Puzzle limpo — a solução mantém-se, só as jogadas foram apagadas."));
}

void TJogo::Dica() {
    if (!FBoard || FGameState == TGameState::gsSolutionShown) return;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    const bool actualServe = NoTabuleiro(r, c) &&
                             FBoard->GetCell(r, c).CellType == TCellType::ctEmpty &&
                             FBoard->GetCell(r, c).Value == 0;
    if (!actualServe) {
        if (!EscolherCelulaVaziaAoAcaso(r, c)) return;
        FJanela.SeleccionarCelula(r, c);
    }
    const int32_t solucao = FBoard->GetCell(r, c).Solution;
    FHistorico.Registar({{{r, c, 0, solucao}}});
    EscreverValor(r, c, solucao);
    FJanela.RepintarGrelha();
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
    if (FGameState == TGameState::gsSolutionShown) return true;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    if (!NoTabuleiro(r, c)) return false;
    if (FBoard->GetCell(r, c).CellType == TCellType::ctEmpty && ACaracter >= u'1' &&
        ACaracter <= u'9') {
        const int32_t digito = ACaracter.unicode() - u'0';
        if (const int32_t antes = FBoard->GetCell(r, c).Value; antes != digito)
            FHistorico.Registar({{{r, c, antes, digito}}});
        EscreverValor(r, c, digito);
        FJanela.RepintarGrelha();
        AvancarParaProximaVazia(r, c);
    }
    return true;
}

void TJogo::ApagarCelulaActual() {
    if (FGameState == TGameState::gsSolutionShown) return;
    int32_t r = 0, c = 0;
    FJanela.CelulaActual(r, c);
    if (!NoTabuleiro(r, c) || FBoard->GetCell(r, c).CellType != TCellType::ctEmpty) return;
    if (const int32_t antes = FBoard->GetCell(r, c).Value; antes != 0)
        FHistorico.Registar({{{r, c, antes, 0}}});
    EscreverValor(r, c, 0);
    FJanela.RepintarGrelha();
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
    if (FLoteEmCurso) {
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

bool TJogo::GuardarPuzzle() {
    if (!FBoard) return false;
    QString caminho;
    if (!FJanela.EscolherFicheiroParaGuardar(caminho)) return false;
    if (QFileInfo::exists(caminho) &&
        FJanela.Perguntar(
            QStringLiteral("O ficheiro \"%1\" já existe. Substituir?").arg(NomeSemPasta(caminho)),
            false) != TResposta::Sim)
        return false;
    GravarFicheiroPuzzle(caminho, *FBoard);
    GuardarValoresBase();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle guardado: ") + NomeSemPasta(caminho));
    return true;
}

void TJogo::AbrirPuzzle() {
    if (FLoteEmCurso || !ConfirmarAntesDe(QStringLiteral("abrir outro puzzle"))) return;
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
    try {
        novo = LerFicheiroPuzzle(ACaminho);
    } catch (const ESomadoError& e) {
        // Nothing changes but the report: board, digits, state and grid stay.
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(QStringLiteral("Não foi possível abrir este ficheiro."));
        FJanela.AdicionarInformacao(QString::fromUtf8(e.what()));
        return;
    }
    InstalarBoard(std::move(novo));
    AvancarParaProximaVazia(0, -1);
    FJanela.RepintarGrelha();
    FJanela.FocarGrelha();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle aberto: ") + NomeSemPasta(ACaminho));
}

void TJogo::BitBtnGerarClick() {
    Proteger([this] {
        if (!FLoteEmCurso && ConfirmarAntesDe(QStringLiteral("gerar um puzzle novo")))
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
    Proteger([this] { ExportarPuzzle(); });
}

void TJogo::BitBtnExportarLoteClick() {
    Proteger([this] { ExportarLote(); });
}

TConfiguracao TJogo::ConfiguracaoActual() const {
    return {FTamanhoConfigurado, FNivelConfigurado, FTamanhoLote, FModoLote,
            FDificuldadeLote,    FQuantidadeLote,   FTituloLote};
}

void TJogo::Configurar() {
    if (FLoteEmCurso) return;
    const TTamanhoTabuleiro tamanhoAntigo = FTamanhoConfigurado;
    const TNivelDificuldade nivelAntigo = FNivelConfigurado;
    TConfiguracao configuracao = ConfiguracaoActual();
    if (!FJanela.EditarConfiguracao(configuracao)) return;

    const TTamanhoTabuleiro tamanhoNovo = configuracao.Tamanho;
    FNivelConfigurado = configuracao.Nivel;
    // The batch settings take effect now, whatever happens to the new-puzzle settings.
    DefinirLote(configuracao);

    if (tamanhoNovo == tamanhoAntigo && FNivelConfigurado == nivelAntigo) {
        FTamanhoConfigurado = tamanhoNovo;
        AtualizarLabelTamanho();
        return;
    }
    if (!ResolverJogadasPorGravar(
            QStringLiteral("A configuração mudou — vai ser gerado um puzzle novo, que substitui o "
                           "actual.\r\nHá jogadas por gravar. Guardar antes de continuar?"))) {
        FNivelConfigurado = nivelAntigo;
        return;
    }
    FTamanhoConfigurado = tamanhoNovo;
    AtualizarLabelTamanho();
    if (!GerarNovoPuzzle() && tamanhoNovo != tamanhoAntigo) AplicarTamanhoSemPuzzle(tamanhoNovo);
}

bool TJogo::PodeSubstituir(const QString& ACaminho) {
    return !QFileInfo::exists(ACaminho) ||
           FJanela.Perguntar(QStringLiteral("O ficheiro \"%1\" já existe. Substituir?")
                                 .arg(NomeSemPasta(ACaminho)),
                             false) == TResposta::Sim;
}

TNivelDificuldade NivelProgressivo(int32_t k, int32_t n) {
    const int32_t q = n / 4, r = n % 4;
    int32_t fim = 0;
    for (int32_t bloco = 0; bloco < 4; ++bloco) {
        fim += q + (bloco < r ? 1 : 0);
        if (k < fim) return static_cast<TNivelDificuldade>(bloco);
    }
    return TNivelDificuldade::ndMuitoDificil;
}

QString CodigoLote(TModoDificuldadeLote AModo, TNivelDificuldade ANivel) {
    if (AModo == TModoDificuldadeLote::mdlProgressivo) return QStringLiteral("P");
    switch (ANivel) {
    case TNivelDificuldade::ndFacil:
        return QStringLiteral("F");
    case TNivelDificuldade::ndMedio:
        return QStringLiteral("M");
    case TNivelDificuldade::ndDificil:
        return QStringLiteral("D");
    default:
        return QStringLiteral("MD");
    }
}

void TJogo::ExportarPuzzle() {
    if (!FBoard) return;
    QString caminho;
    if (!FJanela.EscolherFicheiroPdf(caminho) || !PodeSubstituir(caminho)) return;
    const auto documento = CriarDocumentoPdf();
    DesenharPaginaPuzzle(*documento, *FBoard, false, 0, true, 1);
    DesenharPaginaPuzzle(*documento, *FBoard, true, 0, true, 2);
    documento->Gravar(caminho);
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(QStringLiteral("Puzzle exportado: ") + NomeSemPasta(caminho));
}

namespace {

// Marks a batch as running, with the window's batch mode, and gives both back on every way out
// of it, an error included.
class TLoteEmCurso {
public:
    TLoteEmCurso(IJanelaJogo& AJanela, bool& AEmCurso, bool& AInterromper)
        : FJanela(AJanela), FEmCurso(AEmCurso) {
        FEmCurso = true;
        AInterromper = false;
        FJanela.ComecarLote();
    }
    ~TLoteEmCurso() { Terminar(); }
    TLoteEmCurso(const TLoteEmCurso&) = delete;
    TLoteEmCurso& operator=(const TLoteEmCurso&) = delete;
    void Terminar() {
        if (!FEmCurso) return;
        FEmCurso = false;
        FJanela.TerminarLote();
    }

private:
    IJanelaJogo& FJanela;
    bool& FEmCurso;
};

} // namespace

void TJogo::ExportarLote() {
    if (FLoteEmCurso) return;
    // The batch works on the settings as they are now, whatever happens to them meanwhile.
    const TConfiguracao lote = ConfiguracaoActual();
    const int32_t lado = LadoDoTabuleiro(lote.TamanhoLote);
    const QString proposto = QStringLiteral("Somado_%1_%2x%2_%3")
                                 .arg(CodigoLote(lote.ModoLote, lote.DificuldadeLote))
                                 .arg(lado)
                                 .arg(lote.QuantidadeLote);
    QString caminho;
    if (!FJanela.EscolherFicheiroLotePdf(proposto, caminho) || !PodeSubstituir(caminho)) return;
    const bool progressivo = lote.ModoLote == TModoDificuldadeLote::mdlProgressivo;
    if (!progressivo) {
        const std::vector<TNivelDificuldade> seguros = NiveisSeguros(lote.TamanhoLote);
        if (std::find(seguros.begin(), seguros.end(), lote.DificuldadeLote) == seguros.end() &&
            FJanela.Perguntar(
                QStringLiteral("A combinação %1x%1 / %2 não é conhecida por gerar sempre com "
                               "sucesso.\r\nIsto pode demorar bastante, e alguns puzzles podem "
                               "não sair. Avançar mesmo assim?")
                    .arg(lado)
                    .arg(NomeDoNivel(lote.DificuldadeLote)),
                false) != TResposta::Sim)
            return;
    }

    TListaDeTabuleiros lista;
    int32_t falhados = 0;
    TLoteEmCurso emCurso(FJanela, FLoteEmCurso, FInterromperLote);
    try {
        for (int32_t k = 1; k <= lote.QuantidadeLote && !FInterromperLote; ++k) {
            const TNivelDificuldade nivel =
                progressivo ? NivelProgressivo(k - 1, lote.QuantidadeLote) : lote.DificuldadeLote;
            std::unique_ptr<TSomadoBoard> board;
            for (int32_t tentativa = 1; tentativa <= CTentativasPorPuzzleLote && !board;
                 ++tentativa) {
                FJanela.LimparInformacao();
                FJanela.AdicionarInformacao(
                    QStringLiteral("A gerar puzzle %1 de %2, %3 (tentativa %4 de %5)...")
                        .arg(k)
                        .arg(lote.QuantidadeLote)
                        .arg(NomeDoNivel(nivel))
                        .arg(tentativa)
                        .arg(CTentativasPorPuzzleLote));
                FJanela.ProcessarEventos();
                // A close request came in with the events: stop before the next attempt.
                if (FInterromperLote) break;
                board = FGerador(lote.TamanhoLote, nivel, CTempoLimiteLoteMs);
            }
            // A failed puzzle leaves no gap: the numbering runs over the generated ones.
            if (board)
                lista.push_back(std::move(board));
            else if (!FInterromperLote)
                ++falhados;
        }
        if (FInterromperLote) {
            lista.clear();
            emCurso.Terminar();
            FJanela.LimparInformacao();
            FJanela.AdicionarInformacao(QStringLiteral("Exportação do lote interrompida."));
            // The close that stopped the batch goes on, with its usual question.
            FJanela.Fechar();
            return;
        }
        if (lista.empty()) {
            FJanela.LimparInformacao();
            FJanela.AdicionarInformacao(QStringLiteral(
                "Não foi possível gerar nenhum puzzle com esta configuração — PDF não criado."));
            return;
        }

        const auto documento = CriarDocumentoPdf();
        DesenharLote(*documento, lista, lado, lote.TituloLote,
                     progressivo ? QStringLiteral("Progressivo")
                                 : NomeDoNivel(lote.DificuldadeLote));
        documento->Gravar(caminho);
    } catch (...) {
        // No progress line may stay behind the error report.
        FJanela.LimparInformacao();
        FJanela.AdicionarInformacao(
            QStringLiteral("Não foi possível exportar o lote — PDF não criado."));
        throw;
    }

    const auto gerados = static_cast<int32_t>(lista.size());
    lista.clear();
    emCurso.Terminar();
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(
        falhados == 0 ? QStringLiteral("Lote exportado: %1 puzzles em %2")
                            .arg(gerados)
                            .arg(NomeSemPasta(caminho))
                      : QStringLiteral("Lote exportado: %1 puzzles (%2 falharam) em %3")
                            .arg(gerados)
                            .arg(falhados)
                            .arg(NomeSemPasta(caminho)));
}

void TJogo::Desfazer() {
    TPassoHistorico passo;
    if (!FBoard || MostraSolucao() || !FHistorico.Desfazer(passo)) return;
    AplicarPasso(passo, true);
}

void TJogo::Refazer() {
    TPassoHistorico passo;
    if (!FBoard || MostraSolucao() || !FHistorico.Refazer(passo)) return;
    AplicarPasso(passo, false);
}

void TJogo::AplicarPasso(const TPassoHistorico& APasso, bool AAntes) {
    for (const TMudancaDigito& m : APasso.Mudancas)
        if (NoTabuleiro(m.Row, m.Col)) EscreverValor(m.Row, m.Col, AAntes ? m.Antes : m.Depois);
    FJanela.RepintarGrelha();
    // A step over the whole board ("Limpar") selects as "Limpar" does.
    if (APasso.TodoOTabuleiro)
        AvancarParaProximaVazia(0, -1);
    else
        FJanela.SeleccionarCelula(APasso.Mudancas.front().Row, APasso.Mudancas.front().Col);
}
