// The program ended from outside: a signal on POSIX (a logout, a shutdown, kill, Ctrl+C in a
// terminal) or the desktop session closing. Without this, SIGTERM killed the program on the
// spot: the game in play was lost and this run's temporary folders stayed behind.
#include "ui/Arranque.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <utility>

namespace {

std::atomic<bool> GFimPedido{false};

#ifdef Q_OS_UNIX
void Terminar(const std::function<void()>& AAntes) {
    GFimPedido = true;
    if (AAntes) AAntes();
    // exit, not quit: quit would first ask every window to close, and the main window asks
    // the player about unsaved moves, which nobody is there to answer. exit also ends the
    // loop of a dialog that is open, whose command then goes no further.
    QCoreApplication::exit(0);
}

// The signal handler may only do what is safe there: it writes one byte to a socket, which
// the window's thread reads in its event loop.
int GSinais[2] = {-1, -1};

void AoSinal(int) {
    const int erro = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t escrito = ::write(GSinais[0], &byte, 1);
    errno = erro;
}

void OuvirSinais(std::function<void()> AAntes) {
    if (GSinais[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, GSinais) != 0) return;
    for (const int fd : GSinais) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    auto* notificador =
        new QSocketNotifier(GSinais[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notificador, &QSocketNotifier::activated, notificador,
                     [AAntes = std::move(AAntes)] {
                         char bytes[16];
                         while (::read(GSinais[1], bytes, sizeof bytes) > 0) {}
                         if (!GFimPedido) Terminar(AAntes);
                     });
    struct sigaction accao {};
    accao.sa_handler = AoSinal;
    sigemptyset(&accao.sa_mask);
    accao.sa_flags = SA_RESTART;
    for (const int sinal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sinal, &accao, nullptr);
}
#endif

} // namespace

void TerminarAPedidoDoSistema(std::function<void()> AAntes) {
#ifndef QT_NO_SESSIONMANAGER
    // The session asks first whether the program may end; Windows ends the process soon
    // after, or the session goes on (when another program refused) and so does the game: what
    // is kept now is only used after a session that really ended.
    if (auto* aplicacao = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(aplicacao, &QGuiApplication::commitDataRequest, aplicacao,
                         [AAntes](QSessionManager&) {
                             if (AAntes) AAntes();
                         });
        // When the session does end, Windows' end-session message announces the program's end
        // and then closes its windows: the game was kept above, and nobody is left to answer
        // the close questions. (After a normal close this comes too late to change anything.)
        QObject::connect(aplicacao, &QCoreApplication::aboutToQuit, aplicacao,
                         [] { GFimPedido = true; });
    }
#endif
#ifdef Q_OS_UNIX
    OuvirSinais(std::move(AAntes));
#endif
}

bool FimPedidoPeloSistema() {
    return GFimPedido;
}
