// The game's flows around files and settings: the unsaved-moves snapshot and its questions,
// saving, opening, leaving, and the configuration dialog.
#include "game/Exportacao.h"
#include "game/Jogadas.h"
#include "game/Recuperacao.h"
#include "game/UnitSomadoJogo.h"

#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFileInfo>

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
    RecusarSeReservado(caminho, FicheiroDoLote());
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
    Jogadas::AcertarRelogio(FEstado);
    IrParaPrimeiraVazia();
    // What a damaged extra section lost is said here, not hidden: the board itself is whole.
    Informar(QStringList{QStringLiteral("Puzzle aberto: ") + NomeSemPasta(ACaminho)} +
             estado.Avisos);
    Mudou(mTabuleiro | mFoco);
}

// ---- The game kept for a program that is killed

void TJogo::UsarRecuperacao(const QString& APasta) {
    FRecuperacao = APasta.isEmpty() ? nullptr : std::make_unique<TRecuperacao>(APasta);
}

QString TJogo::FicheiroDeRecuperacao() const {
    return FRecuperacao && FRecuperacao->TemJogo() ? FRecuperacao->Ficheiro() : QString();
}

// At most one write a second, however fast the player types: the write goes to disk whole
// (GravarFicheiroInteiro), which a slow disk would make felt on every key.
void TJogo::AgendarRecuperacao() {
    if (!FRecuperacao || FRecuperacaoAgendada) return;
    FRecuperacaoAgendada = true;
    FJanela.Adiar(1000, [this] { GuardarRecuperacao(); });
}

void TJogo::GuardarRecuperacao() {
    FRecuperacaoAgendada = false;
    if (!FRecuperacao) return;
    if (!FEstado.Board || !HaJogadasPorGravar()) {
        FRecuperacao->Descartar();
        FTextoRecuperado.clear();
        return;
    }
    QString falha;
    try {
        const QByteArray texto = TextoDoJogoGuardado(*FEstado.Board, EstadoDoJogo(), FFicheiroJogo);
        if (texto == FTextoRecuperado && FRecuperacao->TemJogo()) return;
        FRecuperacao->Guardar(texto);
        FTextoRecuperado = texto;
        FFalhaDaRecuperacaoDita = false;
        return;
    } catch (const std::exception& e) {
        falha = QString::fromUtf8(e.what());
    }
    // The game itself is untouched; the player learns that a crash would now cost the moves.
    if (FFalhaDaRecuperacaoDita) return;
    FFalhaDaRecuperacaoDita = true;
    QStringList linhas = FEstado.Informacao;
    linhas << QStringLiteral("A cópia de segurança do jogo em curso não pôde ser guardada. %1 "
                             "Guarde o jogo para não perder as jogadas.")
                  .arg(falha);
    Informar(linhas);
}

void TJogo::GuardarAntesDoFim() {
    if (!FRecuperacao) return;
    GuardarRecuperacao();
    FRecuperacao->Manter(true);
}

bool TJogo::OferecerRecuperacao() {
    if (!FRecuperacao) return false;
    const QString abandonado = FRecuperacao->TomarAbandonado();
    if (abandonado.isEmpty()) return false;
    switch (FJanela.Perguntar(QStringLiteral("O Somado não terminou normalmente. Recuperar o jogo "
                                             "que estava em curso?"),
                              false)) {
    case TResposta::Sim:
        break;
    case TResposta::Nao:
        FRecuperacao->EsquecerAbandonado();
        return false;
    default:
        // Dismissed without an answer: the game waits for the next start.
        FRecuperacao->LargarAbandonado();
        return false;
    }
    if (!RecuperarDe(abandonado)) return false;
    // The game is now this session's: once its own copy is on disk, the old one can go.
    GuardarRecuperacao();
    if (FRecuperacao->TemJogo())
        FRecuperacao->EsquecerAbandonado();
    else
        FRecuperacao->LargarAbandonado();
    return true;
}

void TJogo::ContinuarArranque(const QString& AFicheiro) {
    bool recuperado = false;
    Proteger([this, &recuperado] { recuperado = OferecerRecuperacao(); });
    if (AFicheiro.isEmpty()) return;
    if (!recuperado) {
        AbrirFicheiroIndicado(AFicheiro);
        return;
    }
    QStringList linhas = FEstado.Informacao;
    linhas << QStringLiteral("O ficheiro \"%1\" não foi aberto, para não substituir o jogo "
                             "recuperado: abra-o com \"Abrir\" quando quiser.")
                  .arg(NomeSemPasta(AFicheiro));
    Informar(linhas);
}

bool TJogo::RecuperarDe(const QString& AFicheiro) {
    std::unique_ptr<TSomadoBoard> board;
    TEstadoDoJogo estado;
    TIdentidadeFicheiro ficheiro;
    try {
        board = LerJogoGuardado(AFicheiro, estado, ficheiro);
    } catch (const ESomadoError& e) {
        const QString aParte = FRecuperacao->PorDeParteAbandonado();
        QStringList linhas{QStringLiteral("O jogo que estava em curso não pôde ser recuperado."),
                           QString::fromUtf8(e.what())};
        if (!aParte.isEmpty())
            linhas << QStringLiteral("O ficheiro ficou guardado à parte como \"%1\".")
                          .arg(QDir::toNativeSeparators(aParte));
        Informar(linhas);
        return false;
    }
    InstalarBoard(std::move(board));
    FFicheiroJogo = ficheiro;
    FEstado.Notas.Instalar(*FEstado.Board, estado.Notas);
    FEstado.Relogio.Repor(estado.TempoMs);
    Jogadas::AcertarRelogio(FEstado);
    // Nothing of it is saved: every question about unsaved moves asks about it.
    FValoresBase.clear();
    FNotasBase.clear();
    IrParaPrimeiraVazia();
    const QString nome =
        ficheiro.Caminho.isEmpty() ? QString() : NomeSemPasta(ficheiro.CaminhoDoNome);
    Informar(QStringList{nome.isEmpty() ? QStringLiteral("Jogo recuperado.")
                                        : QStringLiteral("Jogo recuperado: ") + nome,
                         QStringLiteral("As jogadas recuperadas ainda não foram guardadas.")} +
             estado.Avisos);
    Mudou(mTabuleiro | mFoco);
    return true;
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
