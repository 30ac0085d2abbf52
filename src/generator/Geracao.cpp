// Generation entry: candidates are built and graded until one has the level asked for.
#include "generator/GeradorInterno.h"

bool NivelSoCombinacoes(TNivelDificuldade ANivel) {
    return ANivel == TNivelDificuldade::ndFacil || ANivel == TNivelDificuldade::ndMedio;
}

std::unique_ptr<TSomadoBoard> ConstruirPuzzle(TContextoGeracao& AContexto,
                                              TTamanhoTabuleiro ATamanho, bool ASoCombinacoes,
                                              const TCronometro& ACronometro, int64_t ALimiteMs) {
    for (int32_t tentativa = 0; tentativa < CMaxTabuleiros; ++tentativa) {
        if (AContexto.Interromper(ACronometro, ALimiteMs)) return nullptr;
        auto board = std::make_unique<TSomadoBoard>(LadoDoTabuleiro(ATamanho));
        TAleatorio& aleatorio = AContexto.Aleatorio;
        if (!GerarGrelha(*board, AComprimentoMin, AComprimentoMax, aleatorio) ||
            !RepararCelulasSoltas(*board, aleatorio) || !PreencherSolucao(*board, aleatorio))
            continue;

        const TModelo modelo = ConstruirModelo(*board);
        std::vector<int32_t> digitos(static_cast<size_t>(modelo.NCel));
        for (int32_t k = 0; k < modelo.NCel; ++k)
            digitos[k] = board->GetCell(modelo.CelR[k], modelo.CelC[k]).Solution;
        if (!ProcurarSolucaoUnica(AContexto, modelo, digitos, ASoCombinacoes, ACronometro,
                                  ALimiteMs))
            continue;

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
    return nullptr;
}

std::unique_ptr<TSomadoBoard> GerarPuzzle(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                          int64_t ATempoLimiteMs) {
    // The process-wide stream goes through the generation and comes back advanced, exactly
    // as if the generation had drawn from it.
    TContextoGeracao contexto(AleatorioDoProcesso());
    std::unique_ptr<TSomadoBoard> board =
        GerarPuzzleNoContexto(ATamanho, ANivel, ATempoLimiteMs, contexto);
    AleatorioDoProcesso() = contexto.Aleatorio;
    return board;
}

std::unique_ptr<TSomadoBoard> GerarPuzzleComAleatorio(TTamanhoTabuleiro ATamanho,
                                                      TNivelDificuldade ANivel,
                                                      int64_t ATempoLimiteMs,
                                                      TAleatorio& AAleatorio,
                                                      const std::atomic<bool>& AParar) {
    TContextoGeracao contexto(AAleatorio, &AParar);
    std::unique_ptr<TSomadoBoard> board =
        GerarPuzzleNoContexto(ATamanho, ANivel, ATempoLimiteMs, contexto);
    AAleatorio = contexto.Aleatorio;
    return board;
}

bool TContextoGeracao::Interromper(const TCronometro& ACronometro, int64_t ALimiteMs) const {
    return ACronometro.Esgotado(ALimiteMs) ||
           (Parar != nullptr && Parar->load(std::memory_order_relaxed));
}

std::unique_ptr<TSomadoBoard> GerarPuzzleNoContexto(TTamanhoTabuleiro ATamanho,
                                                    TNivelDificuldade ANivel,
                                                    int64_t ATempoLimiteMs,
                                                    TContextoGeracao& AContexto) {
    const TCronometro cronometro;
    const bool soCombinacoes = NivelSoCombinacoes(ANivel);
    for (int32_t candidato = 0; candidato < CMaxCandidatos; ++candidato) {
        if (AContexto.Interromper(cronometro, ATempoLimiteMs)) return nullptr;
        std::unique_ptr<TSomadoBoard> board =
            ConstruirPuzzle(AContexto, ATamanho, soCombinacoes, cronometro, ATempoLimiteMs);
        if (!board) continue;
        const TAvaliacao avaliacao = AvaliarDificuldade(AContexto, *board);
        if (NivelDaAvaliacao(avaliacao) != ANivel) continue;
        board->SetDifficulty(ANivel);
        board->SetDifficultyScore(PontuacaoDaAvaliacao(avaliacao));
        return board;
    }
    return nullptr;
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
