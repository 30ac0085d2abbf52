// A batch's puzzles generated on worker threads, each from its own stream.
#include "game/Lote.h"

#include <algorithm>
#include <thread>

int32_t ThreadsDaMaquina() {
    return std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
}

TGeracaoLote::TGeracaoLote(TGeradorDePuzzles AGerador, TPedidoLote APedido,
                           std::function<void()> AAoMudar)
    : FGerador(std::move(AGerador)), FAoMudar(std::move(AAoMudar)), FPedido(std::move(APedido)),
      FResultados(FPedido.Niveis.size()), FTentativas(FPedido.Niveis.size(), 0),
      FFeitos(FPedido.Niveis.size(), false) {
    const auto quantos = static_cast<int32_t>(FPedido.Niveis.size());
    const int32_t threads = std::clamp(FPedido.Threads > 0 ? FPedido.Threads : ThreadsDaMaquina(),
                                       1, std::max(quantos, 1));
    FActivos = quantos > 0 ? threads : 0;
    if (quantos == 0) return;
    try {
        for (int32_t t = 0; t < threads; ++t)
            FTrabalhadores.emplace_back([this] { Trabalhar(); });
    } catch (...) {
        // A thread the system would not give: the ones running finish the batch.
        std::lock_guard bloqueio(FMutex);
        FActivos -= threads - static_cast<int32_t>(FTrabalhadores.size());
        if (FTrabalhadores.empty()) throw;
    }
}

TGeracaoLote::~TGeracaoLote() {
    Parar();
    for (std::thread& trabalhador : FTrabalhadores)
        trabalhador.join();
}

void TGeracaoLote::Parar() {
    FParar.store(true);
}

bool TGeracaoLote::Terminada() const {
    std::lock_guard bloqueio(FMutex);
    return FActivos == 0;
}

void TGeracaoLote::Esperar(std::chrono::milliseconds AMaximo) {
    std::unique_lock bloqueio(FMutex);
    const int64_t mudancas = FMudancas;
    FMudou.wait_for(bloqueio, AMaximo, [&] { return FActivos == 0 || FMudancas != mudancas; });
}

TProgressoLote TGeracaoLote::Progresso() const {
    std::lock_guard bloqueio(FMutex);
    TProgressoLote progresso;
    progresso.Concluidos = FConcluidos;
    const auto quantos = static_cast<int32_t>(FFeitos.size());
    progresso.Indice = quantos - 1;
    for (int32_t k = 0; k < quantos; ++k)
        if (!FFeitos[k]) {
            progresso.Indice = k;
            break;
        }
    progresso.Tentativa = quantos > 0 ? std::max(1, FTentativas[progresso.Indice]) : 1;
    return progresso;
}

std::vector<std::unique_ptr<TSomadoBoard>> TGeracaoLote::Resultados() {
    for (std::thread& trabalhador : FTrabalhadores)
        trabalhador.join();
    FTrabalhadores.clear();
    if (FErro) std::rethrow_exception(FErro);
    return std::move(FResultados);
}

void TGeracaoLote::Trabalhar() {
    const auto quantos = static_cast<int32_t>(FPedido.Niveis.size());
    for (;;) {
        const int32_t k = FProximo.fetch_add(1);
        if (k >= quantos || FParar.load()) break;
        // Attempts go on drawing from the puzzle's own stream.
        TAleatorio fluxo = TAleatorio::DoPuzzle(FPedido.Semente, static_cast<uint64_t>(k));
        std::unique_ptr<TSomadoBoard> board;
        try {
            for (int32_t tentativa = 1; tentativa <= FPedido.Tentativas && !board && !FParar.load();
                 ++tentativa) {
                {
                    std::lock_guard bloqueio(FMutex);
                    FTentativas[k] = tentativa;
                    ++FMudancas;
                }
                Avisar();
                board = FGerador(FPedido.Tamanho, FPedido.Niveis[k], FPedido.TempoLimiteMs, fluxo,
                                 FParar);
            }
        } catch (...) {
            std::lock_guard bloqueio(FMutex);
            if (!FErro) FErro = std::current_exception();
            FParar.store(true);
        }
        {
            std::lock_guard bloqueio(FMutex);
            FResultados[k] = std::move(board);
            FFeitos[k] = true;
            ++FConcluidos;
            ++FMudancas;
        }
        Avisar();
    }
    {
        std::lock_guard bloqueio(FMutex);
        --FActivos;
        ++FMudancas;
    }
    Avisar();
}

void TGeracaoLote::Avisar() {
    FMudou.notify_all();
    if (FAoMudar) FAoMudar();
}
