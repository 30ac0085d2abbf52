// The attempts of one generation on every core, with the result one thread would have found.
#include "generator/GeradorInterno.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace {

int32_t NucleosDaMaquina() {
    // Asked once: the library reads it from the system each time.
    static const int32_t nucleos =
        std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
    return nucleos;
}

// Threads at work on the process's generations that took their cores from the shared count
// (a generation's own thread counts too). A generation takes a helper only while this is
// below the cores, so that a book whose workers keep every core busy gets no more threads,
// and its last puzzles get the cores its idle workers give back.
std::atomic<int32_t> GThreadsEmGeracoes{0};

bool ReservarNucleo() {
    int32_t emUso = GThreadsEmGeracoes.load();
    while (emUso < NucleosDaMaquina())
        if (GThreadsEmGeracoes.compare_exchange_weak(emUso, emUso + 1)) return true;
    return false;
}

void LibertarNucleo() {
    GThreadsEmGeracoes.fetch_sub(1);
}

class TTentativasEmParalelo {
public:
    TTentativasEmParalelo(const TFazerTentativa& AFazer, uint64_t ASemente,
                          const std::atomic<bool>& AParar)
        : FFazer(AFazer), FSemente(ASemente), FParar(AParar) {}

    ~TTentativasEmParalelo() {
        // Left early (out of memory on this thread): no helper starts, and the ones there give
        // up what they are doing.
        {
            std::lock_guard bloqueio(FMutex);
            FDecidida = true;
        }
        FCorte.store(-1);
        for (std::thread& ajudante : FAjudantes)
            ajudante.join();
    }

    std::unique_ptr<TSomadoBoard> Correr(int32_t AThreads, TEstatisticasGeracao* AEstatisticas) {
        FPartilhaNucleos = AThreads <= 0;
        FMaxAjudantes = FPartilhaNucleos ? NucleosDaMaquina() - 1 : AThreads - 1;
        {
            // This thread's core, given back however the work ends.
            struct TNucleoDoChamador {
                bool Partilhado;
                explicit TNucleoDoChamador(bool APartilhado) : Partilhado(APartilhado) {
                    if (Partilhado) GThreadsEmGeracoes.fetch_add(1);
                }
                ~TNucleoDoChamador() {
                    if (Partilhado) LibertarNucleo();
                }
            } nucleo(FPartilhaNucleos);
            Recrutar();
            Trabalhar();
        }
        {
            // Attempts below the one that ended the generation may still be running elsewhere.
            std::unique_lock bloqueio(FMutex);
            FMudou.wait(bloqueio, [&] { return FDecidida; });
        }
        for (std::thread& ajudante : FAjudantes)
            ajudante.join();
        FAjudantes.clear();
        if (AEstatisticas) *AEstatisticas = FEstatisticas;
        if (FErro) std::rethrow_exception(FErro);
        return std::move(FResultado);
    }

private:
    // Takes attempts in turn until none left could change the result.
    void Trabalhar() {
        TContextoGeracao contexto(TAleatorio(FSemente), &FParar);
        contexto.Corte = &FCorte;
        for (;;) {
            const int32_t k = FProxima.fetch_add(1);
            if (k >= CMaxTentativas || k > FCorte.load()) break;
            TResultadoTentativa resultado;
            std::exception_ptr erro;
            if (!FParar.load()) {
                contexto.Aleatorio = TAleatorio::DaTentativa(FSemente, static_cast<uint64_t>(k));
                contexto.Tentativa = k;
                {
                    std::lock_guard bloqueio(FMutex);
                    ++FEstatisticas.TentativasComecadas;
                }
                const auto inicio = std::chrono::steady_clock::now();
                try {
                    resultado = FFazer(k, contexto);
                } catch (...) {
                    erro = std::current_exception();
                }
                const std::chrono::duration<double> duracao =
                    std::chrono::steady_clock::now() - inicio;
                std::lock_guard bloqueio(FMutex);
                std::vector<double>& segundos = FEstatisticas.SegundosPorTentativa;
                if (segundos.size() <= static_cast<size_t>(k))
                    segundos.resize(static_cast<size_t>(k) + 1, 0.0);
                segundos[k] = duracao.count();
            }
            Entregar(k, std::move(resultado), erro);
            Recrutar();
        }
        std::lock_guard bloqueio(FMutex);
        FEstatisticas.ChamadasContarIndeterminadas += contexto.ChamadasContarIndeterminadas;
    }

    void Entregar(int32_t AIndice, TResultadoTentativa AResultado, std::exception_ptr AErro) {
        {
            std::lock_guard bloqueio(FMutex);
            const bool terminal = AErro || AResultado.Desfecho == TDesfecho::dfSucesso ||
                                  AResultado.Desfecho == TDesfecho::dfInterrompida;
            // Nothing above an attempt that ends the generation can matter any more.
            if (terminal) Cortar(AIndice);
            FProntas.emplace(AIndice, TPronta{std::move(AResultado), AErro});
            Contar();
        }
        FMudou.notify_all();
    }

    // Takes the outcomes in order, as far as they have come in. Under FMutex.
    void Contar() {
        while (!FDecidida) {
            const auto pronta = FProntas.find(FContadas);
            if (pronta == FProntas.end()) return;
            TPronta atual = std::move(pronta->second);
            FProntas.erase(pronta);
            if (atual.Erro) {
                FErro = atual.Erro;
                FDecidida = true;
            } else if (FContagem.Contar(atual.Resultado.Desfecho)) {
                FResultado = std::move(atual.Resultado.Board);
                FDecidida = true;
            }
            if (FDecidida) Cortar(FContadas);
            ++FContadas;
        }
        // What is left are attempts above the decision, given up.
        FProntas.clear();
    }

    void Cortar(int32_t AIndice) {
        if (AIndice < FCorte.load()) FCorte.store(AIndice);
    }

    // Starts helpers while the machine has idle cores (or up to the threads asked for).
    void Recrutar() {
        std::lock_guard bloqueio(FMutex);
        while (!FDecidida && static_cast<int32_t>(FAjudantes.size()) < FMaxAjudantes) {
            if (FPartilhaNucleos && !ReservarNucleo()) return;
            try {
                FAjudantes.emplace_back([this] {
                    try {
                        Trabalhar();
                    } catch (...) {
                        // Out of memory outside an attempt: the generation ends with it.
                        std::lock_guard bloqueio(FMutex);
                        if (!FDecidida) {
                            FErro = std::current_exception();
                            FDecidida = true;
                        }
                        FCorte.store(-1);
                        FMudou.notify_all();
                    }
                    if (FPartilhaNucleos) LibertarNucleo();
                });
            } catch (...) {
                // A thread the system would not give: the ones there do the work.
                if (FPartilhaNucleos) LibertarNucleo();
                FMaxAjudantes = static_cast<int32_t>(FAjudantes.size());
                return;
            }
        }
    }

    struct TPronta {
        TResultadoTentativa Resultado;
        std::exception_ptr Erro;
    };

    const TFazerTentativa& FFazer;
    const uint64_t FSemente;
    const std::atomic<bool>& FParar;
    bool FPartilhaNucleos = false;
    std::atomic<int32_t> FProxima{0};
    // The lowest attempt known to end the generation.
    std::atomic<int32_t> FCorte{INT_MAX};

    std::mutex FMutex;
    std::condition_variable FMudou;
    // Under FMutex.
    int32_t FMaxAjudantes = 0;
    std::vector<std::thread> FAjudantes;
    std::map<int32_t, TPronta> FProntas;
    int32_t FContadas = 0;
    TContagemDeTentativas FContagem;
    bool FDecidida = false;
    std::unique_ptr<TSomadoBoard> FResultado;
    std::exception_ptr FErro;
    TEstatisticasGeracao FEstatisticas;
};

} // namespace

std::unique_ptr<TSomadoBoard> CorrerTentativas(const TFazerTentativa& AFazer, uint64_t ASemente,
                                               int32_t AThreads, const std::atomic<bool>& AParar,
                                               TEstatisticasGeracao* AEstatisticas) {
    TTentativasEmParalelo tentativas(AFazer, ASemente, AParar);
    return tentativas.Correr(AThreads, AEstatisticas);
}
