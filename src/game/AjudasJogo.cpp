// The game's solving aids: an explained next step, marks filled from the sums, and the
// statistics a clean finish goes into.
#include "game/Estatisticas.h"
#include "game/Explicacao.h"
#include "game/Jogadas.h"
#include "game/UnitSomadoJogo.h"

void TJogo::ExplicarPasso() {
    if (!FEstado.Board || Recusado(TComando::ExplicarPasso) || MostraSolucao()) return;
    const TPassoExplicado passo = ::ExplicarPasso(*FEstado.Board, FEstado.Notas.Todas());
    uint32_t mudou = Jogadas::Informar(FEstado, passo.Linhas);
    TEstadoJogo::TPassoMostrado mostrado;
    mostrado.Corridas = passo.Corridas;
    mostrado.Row = passo.Row;
    mostrado.Col = passo.Col;
    const bool algo = !mostrado.Corridas.empty() || mostrado.Row >= 0;
    if (algo || FEstado.Passo) mudou |= mTabuleiro;
    // Straight to the window: the step stays on show until the board or the cell changes.
    FEstado.Passo.reset();
    if (algo) FEstado.Passo = std::move(mostrado);
    FJanela.Mudou(mudou);
}

void TJogo::PreencherNotas() {
    if (!FEstado.Board || Recusado(TComando::PreencherNotas) || MostraSolucao()) return;
    std::vector<TMudancaNotas> mudancas =
        CandidatosDasCorridas(*FEstado.Board, FEstado.Notas.Todas());
    if (mudancas.empty()) return;
    FEstado.Notas.Aplicar(mudancas, false);
    FEstado.Historico.Registar({{}, std::move(mudancas), false});
    Mudou(mTabuleiro | mHistorico);
}

void TJogo::UsarEstatisticas(const QString& AFicheiro) {
    FFicheiroEstatisticas = AFicheiro;
    FEstatisticas = std::make_unique<TEstatisticas>();
    QString aviso;
    FEstatisticas->Carregar(AFicheiro, aviso);
    if (!aviso.isEmpty()) {
        QStringList linhas = FEstado.Informacao;
        linhas << aviso;
        Informar(linhas);
    }
}

void TJogo::ContarFim() {
    if (!FEstatisticas || FEstado.FimContado || FEstado.Dicas > 0 || FEstado.SolucaoVista ||
        !FEstado.Board)
        return;
    FEstado.FimContado = true;
    const int32_t lado = FEstado.Board->Size();
    const TNivelDificuldade nivel = FEstado.Board->Difficulty();
    const bool melhor = FEstatisticas->RegistarFim(lado, nivel, TempoDeJogoMs());
    QStringList linhas = FEstado.Informacao;
    if (melhor)
        linhas
            << QStringLiteral("Novo melhor tempo em %1x%1, %2!").arg(lado).arg(NomeDoNivel(nivel));
    try {
        FEstatisticas->Gravar(FFicheiroEstatisticas);
    } catch (const ESomadoError& e) {
        // The finish stays a finish: only the record of it is missing.
        linhas << QStringLiteral("As estatísticas não foram guardadas.")
               << QString::fromUtf8(e.what());
    }
    if (linhas != FEstado.Informacao) {
        // The congratulation stays current with the lines added to it.
        FEstado.Informacao = linhas;
    }
}
