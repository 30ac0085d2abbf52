// Peak memory of saving over a large file that must be written in place (it has a second
// hard link), the route that once read the whole old file into memory.
//   memoria_gravacao [MB]   (800 by default; the old file is sparse, so it costs no disk)
#include "io/GravacaoSegura.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const long megas = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 800;
    QTemporaryDir pasta;
    if (!pasta.isValid()) return 1;
    const QString alvo = pasta.filePath("grande.pdf");
    {
        QFile ficheiro(alvo);
        if (!ficheiro.open(QIODevice::WriteOnly) || !ficheiro.resize(megas * 1024 * 1024)) return 1;
    }
    if (::link(QFile::encodeName(alvo).constData(),
               QFile::encodeName(pasta.filePath("outro.pdf")).constData()) != 0)
        return 1;
    rusage antes{};
    ::getrusage(RUSAGE_SELF, &antes);
    try {
        GravarFicheiroInteiro(alvo, QByteArray(10000, 'n'));
    } catch (const ESomadoError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    rusage depois{};
    ::getrusage(RUSAGE_SELF, &depois);
    std::printf("antigo %ld MB: memória máxima %ld MB antes de gravar, %ld MB depois\n", megas,
                antes.ru_maxrss / 1024, depois.ru_maxrss / 1024);
    return 0;
}
