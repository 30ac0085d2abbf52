// Generation entry: boards are built and graded until one has the level asked for.
#include "generator/GeradorInterno.h"

bool NivelSoCombinacoes(TNivelDificuldade ANivel) {
    return ANivel == TNivelDificuldade::ndFacil || ANivel == TNivelDificuldade::ndMedio;
}

std::unique_ptr<TSomadoBoard> ConstruirTabuleiro(TContextoGeracao& AContexto,
                                                 TTamanhoTabuleiro ATamanho, bool ASoCombinacoes,
                                                 const TCronometro& ACronometro,
                                                 int64_t ALimiteMs) {
    auto board = std::make_unique<TSomadoBoard>(LadoDoTabuleiro(ATamanho));
    TAleatorio& aleatorio = AContexto.Aleatorio;
    if (!GerarGrelha(*board, AComprimentoMin, AComprimentoMax, aleatorio) ||
        !RepararCelulasSoltas(*board, aleatorio) || !PreencherSolucao(*board, aleatorio))
        return nullptr;

    const TModelo modelo = ConstruirModelo(*board);
    std::vector<int32_t> digitos(static_cast<size_t>(modelo.NCel));
    for (int32_t k = 0; k < modelo.NCel; ++k)
        digitos[k] = board->GetCell(modelo.CelR[k], modelo.CelC[k]).Solution;
    if (!ProcurarSolucaoUnica(AContexto, modelo, digitos, ASoCombinacoes, ACronometro, ALimiteMs))
        return nullptr;

    for (int32_t k = 0; k < modelo.NCel; ++k) {
        TSomadoCell cell = board->GetCell(modelo.CelR[k], modelo.CelC[k]);
        cell.Solution = digitos[k];
        cell.Value = 0;
        cell.DisplayState = TCellDisplayState::cdsNormal;
        board->SetCell(modelo.CelR[k], modelo.CelC[k], cell);
    }
    CalcularSomas(*board);
    return board;
}

TResultadoTentativa FazerTentativa(TContextoGeracao& AContexto, TTamanhoTabuleiro ATamanho,
                                   TNivelDificuldade ANivel, const TCronometro& ACronometro,
                                   int64_t ALimiteMs) {
    TResultadoTentativa resultado;
    if (AContexto.Interromper(ACronometro, ALimiteMs)) return resultado;
    resultado.Board =
        ConstruirTabuleiro(AContexto, ATamanho, NivelSoCombinacoes(ANivel), ACronometro, ALimiteMs);
    if (!resultado.Board) {
        // A search cut short by the budget is no failure of the board: one thread making the
        // attempts in turn would have stopped there.
        resultado.Desfecho = AContexto.Interromper(ACronometro, ALimiteMs)
                                 ? TDesfecho::dfInterrompida
                                 : TDesfecho::dfFalhaConstrucao;
        return resultado;
    }
    const TAvaliacao avaliacao = AvaliarDificuldade(AContexto, *resultado.Board);
    if (NivelDaAvaliacao(avaliacao) != ANivel) {
        resultado.Board.reset();
        resultado.Desfecho = TDesfecho::dfFalhaNivel;
        return resultado;
    }
    resultado.Board->SetDifficulty(ANivel);
    resultado.Board->SetDifficultyScore(PontuacaoDaAvaliacao(avaliacao));
    resultado.Desfecho = TDesfecho::dfSucesso;
    return resultado;
}

bool TContagemDeTentativas::Contar(TDesfecho ADesfecho) {
    switch (ADesfecho) {
    case TDesfecho::dfSucesso:
    case TDesfecho::dfInterrompida:
        return true;
    case TDesfecho::dfFalhaNivel:
        // A graded board ends its candidate.
        FTabuleiros = 0;
        return ++FCandidatos >= CMaxCandidatos;
    case TDesfecho::dfFalhaConstrucao:
        if (++FTabuleiros < CMaxTabuleiros) return false;
        FTabuleiros = 0;
        return ++FCandidatos >= CMaxCandidatos;
    }
    return true;
}

bool TContextoGeracao::Interromper(const TCronometro& ACronometro, int64_t ALimiteMs) const {
    return ACronometro.Esgotado(ALimiteMs) ||
           (Parar != nullptr && Parar->load(std::memory_order_relaxed)) ||
           (Corte != nullptr && Tentativa > Corte->load(std::memory_order_relaxed));
}

std::unique_ptr<TSomadoBoard>
GerarPuzzleEmParalelo(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ATempoLimiteMs,
                      uint64_t ASemente, int32_t AThreads, const std::atomic<bool>& AParar,
                      TEstatisticasGeracao* AEstatisticas) {
    // One stopwatch for all attempts: the budget is the whole generation's.
    const TCronometro cronometro;
    return CorrerTentativas(
        [&](int32_t, TContextoGeracao& AContexto) {
            return FazerTentativa(AContexto, ATamanho, ANivel, cronometro, ATempoLimiteMs);
        },
        ASemente, AThreads, AParar, AEstatisticas);
}

std::unique_ptr<TSomadoBoard> GerarPuzzle(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                          int64_t ATempoLimiteMs) {
    static const std::atomic<bool> nunca{false};
    return GerarPuzzleEmParalelo(ATamanho, ANivel, ATempoLimiteMs, AleatorioDoProcesso().Proximo(),
                                 0, nunca);
}

std::unique_ptr<TSomadoBoard> GerarPuzzleComAleatorio(TTamanhoTabuleiro ATamanho,
                                                      TNivelDificuldade ANivel,
                                                      int64_t ATempoLimiteMs,
                                                      TAleatorio& AAleatorio,
                                                      const std::atomic<bool>& AParar) {
    return GerarPuzzleEmParalelo(ATamanho, ANivel, ATempoLimiteMs, AAleatorio.Proximo(), 0, AParar);
}

std::vector<TNivelDificuldade> NiveisSeguros(TTamanhoTabuleiro ATamanho) {
    switch (ATamanho) {
    case TTamanhoTabuleiro::tt6:
    case TTamanhoTabuleiro::tt9:
    case TTamanhoTabuleiro::tt12:
    case TTamanhoTabuleiro::tt15:
        return {TNivelDificuldade::ndFacil, TNivelDificuldade::ndMedio,
                TNivelDificuldade::ndDificil, TNivelDificuldade::ndMuitoDificil};
    default:
        return {TNivelDificuldade::ndDificil};
    }
}
