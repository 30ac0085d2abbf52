#include "ProcessoFilho.h"

#include <exception>
#include <stdexcept>

#ifdef _WIN32

// No child here: the piece runs in this process, where it cannot lower its limits or its
// privileges (tests that need those skip), and a hang is cut short by CTest's time limit.
std::optional<std::string> NoFilho(const std::function<std::string()>& AAccao,
                                   const TOpcoesFilho& AOpcoes) {
    if (AOpcoes.SemPrivilegios || AOpcoes.LimiteFicheiro > 0) return std::nullopt;
    try {
        return AAccao();
    } catch (const std::exception& e) {
        return std::string("(exception in the piece: ") + e.what() + ")";
    } catch (...) {
        return std::string("(unknown exception in the piece)");
    }
}

#else

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

[[noreturn]] void CorrerFilho(const std::function<std::string()>& AAccao,
                              const TOpcoesFilho& AOpcoes, int ASaida) {
    std::string resultado;
    try {
        if (AOpcoes.SemPrivilegios && ::geteuid() == 0 &&
            (::setgid(CNinguem) != 0 || ::setuid(CNinguem) != 0))
            throw std::runtime_error("setuid nobody failed");
        if (AOpcoes.LimiteFicheiro > 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limite{static_cast<rlim_t>(AOpcoes.LimiteFicheiro),
                                static_cast<rlim_t>(AOpcoes.LimiteFicheiro)};
            if (::setrlimit(RLIMIT_FSIZE, &limite) != 0)
                throw std::runtime_error("setrlimit failed");
        }
        resultado = AAccao();
    } catch (const std::exception& e) {
        resultado = std::string("(exception in the child: ") + e.what() + ")";
    } catch (...) {
        resultado = "(unknown exception in the child)";
    }
    for (size_t feito = 0; feito < resultado.size();) {
        const ssize_t n = ::write(ASaida, resultado.data() + feito, resultado.size() - feito);
        if (n <= 0) break;
        feito += static_cast<size_t>(n);
    }
    // No destructors, no atexit handlers: they belong to the parent.
    ::_exit(0);
}

double Agora() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

std::optional<std::string> NoFilho(const std::function<std::string()>& AAccao,
                                   const TOpcoesFilho& AOpcoes) {
    int canal[2];
    if (::pipe(canal) != 0) return std::nullopt;
    const pid_t filho = ::fork();
    if (filho < 0) return std::nullopt;
    if (filho == 0) {
        ::close(canal[0]);
        CorrerFilho(AAccao, AOpcoes, canal[1]);
    }
    ::close(canal[1]);
    std::string lido;
    bool acabou = false;
    const double limite = Agora() + AOpcoes.Prazo;
    while (!acabou) {
        const double resta = limite - Agora();
        if (resta <= 0) break;
        pollfd p{canal[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(resta * 1000) + 1) <= 0) continue;
        char bloco[4096];
        const ssize_t n = ::read(canal[0], bloco, sizeof bloco);
        if (n > 0)
            lido.append(bloco, static_cast<size_t>(n));
        else
            acabou = true;
    }
    ::close(canal[0]);
    if (!acabou) ::kill(filho, SIGKILL);
    int estado = 0;
    ::waitpid(filho, &estado, 0);
    if (!acabou || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0) return std::nullopt;
    return lido;
}

#endif
