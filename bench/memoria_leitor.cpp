// Peak memory and time of the puzzle file reader on hostile inputs: each input is read in a
// child process of its own, whose peak resident size the parent takes from wait4. The first
// row, a child that reads nothing, is what every child starts with.
//   memoria_leitor [PASTA]    (makes its inputs, about 100 MB, in a temporary folder there)
#include "io/UnitSomadoFicheiro.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 CMegabyte = 1024 * 1024;
// A reader that has not answered by then counts as hung.
constexpr unsigned CPrazoSegundos = 60;
// Address space of each child: a reader without a bound dies of it instead of taking the
// machine's memory.
constexpr rlim_t CLimiteMemoria = rlim_t{4} << 30;

bool EscreverGrande(const QString& ACaminho, const QByteArray& AInicio, char AEnchimento,
                    qint64 AQuantos) {
    QFile ficheiro(ACaminho);
    if (!ficheiro.open(QIODevice::WriteOnly) || ficheiro.write(AInicio) != AInicio.size())
        return false;
    const QByteArray bloco(CMegabyte, AEnchimento);
    for (qint64 resta = AQuantos - AInicio.size(); resta > 0; resta -= bloco.size())
        if (ficheiro.write(bloco.left(std::min<qint64>(resta, bloco.size()))) < 0) return false;
    return true;
}

QByteArray PuzzleGrande() {
    TSomadoBoard board(25);
    for (int32_t r = 0; r < 25; ++r)
        for (int32_t c = 0; c < 25; ++c) {
            TSomadoCell cell;
            cell.CellType = (r + c) % 3 == 0 ? TCellType::ctClue : TCellType::ctEmpty;
            cell.RightSum = cell.DownSum = cell.Value = cell.Solution = -2147483647 - 1;
            board.SetCell(r, c, cell);
        }
    return TextoDoPuzzle(board);
}

struct TEntrada {
    const char* Nome;
    std::function<QString(const QDir&)> Criar; // empty: the child reads nothing
};

struct TMedida {
    double Milissegundos = 0;
    long PicoKb = 0;
    std::string Resultado;
};

TMedida Medir(const QString& ACaminho) {
    int canal[2];
    if (::pipe(canal) != 0) return {0, 0, "pipe falhou"};
    const pid_t filho = ::fork();
    if (filho == 0) {
        ::close(canal[0]);
        ::alarm(CPrazoSegundos);
        const rlimit memoria{CLimiteMemoria, CLimiteMemoria};
        ::setrlimit(RLIMIT_AS, &memoria);
        QElapsedTimer relogio;
        relogio.start();
        std::string resultado = "lido";
        if (ACaminho.isEmpty())
            resultado = "-";
        else
            try {
                LerFicheiroPuzzle(ACaminho);
            } catch (const ESomadoError& e) {
                resultado = e.what();
            }
        const std::string linha =
            std::to_string(static_cast<double>(relogio.nsecsElapsed()) / 1e6) + "\n" + resultado;
        (void)!::write(canal[1], linha.data(), linha.size());
        ::_exit(0);
    }
    ::close(canal[1]);
    std::string lido;
    char bloco[4096];
    for (ssize_t n; (n = ::read(canal[0], bloco, sizeof bloco)) > 0;)
        lido.append(bloco, static_cast<size_t>(n));
    ::close(canal[0]);
    int estado = 0;
    rusage uso{};
    ::wait4(filho, &estado, 0, &uso);
    TMedida medida;
    medida.PicoKb = uso.ru_maxrss;
    const size_t quebra = lido.find('\n');
    if (!WIFEXITED(estado) || quebra == std::string::npos) {
        medida.Resultado = WIFSIGNALED(estado)
                               ? "morto pelo sinal " + std::to_string(WTERMSIG(estado))
                               : "sem resposta";
        return medida;
    }
    medida.Milissegundos = std::stod(lido.substr(0, quebra));
    medida.Resultado = lido.substr(quebra + 1);
    return medida;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir pasta(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/memoria_leitor-XXXXXX"
                                 : QDir::tempPath() + "/memoria_leitor-XXXXXX");
    if (!pasta.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QByteArray cabecalho = "[SOMADO tamanho=9 dificuldade=0 score=0]\r\n";
    const std::vector<TEntrada> entradas{
        {"(nada lido)", {}},
        {"puzzle 25x25 valido",
         [](const QDir& d) {
             EscreverGrande(d.filePath("25.smd"), PuzzleGrande(), '\n', PuzzleGrande().size());
             return d.filePath("25.smd");
         }},
        {"FIFO",
         [](const QDir& d) {
             ::mkfifo(QFile::encodeName(d.filePath("x.smd")).constData(), 0600);
             return d.filePath("x.smd");
         }},
        {"/dev/zero", [](const QDir&) { return QStringLiteral("/dev/zero"); }},
        {"pasta",
         [](const QDir& d) {
             d.mkdir("pasta.smd");
             return d.filePath("pasta.smd");
         }},
        {"1 MiB + 1 byte",
         [&cabecalho](const QDir& d) {
             EscreverGrande(d.filePath("limite.smd"), cabecalho, '\n', CTamanhoMaximoFicheiro + 1);
             return d.filePath("limite.smd");
         }},
        {"1 MiB numa linha",
         [&cabecalho](const QDir& d) {
             EscreverGrande(d.filePath("linha1.smd"), cabecalho, 'A', CTamanhoMaximoFicheiro);
             return d.filePath("linha1.smd");
         }},
        {"1 MiB de linhas vazias",
         [&cabecalho](const QDir& d) {
             EscreverGrande(d.filePath("vazias1.smd"), cabecalho, '\n', CTamanhoMaximoFicheiro);
             return d.filePath("vazias1.smd");
         }},
        {"50 MB numa linha",
         [&cabecalho](const QDir& d) {
             EscreverGrande(d.filePath("linha50.smd"), cabecalho, 'A', 50 * CMegabyte);
             return d.filePath("linha50.smd");
         }},
        {"50 MB de linhas vazias",
         [&cabecalho](const QDir& d) {
             EscreverGrande(d.filePath("vazias50.smd"), cabecalho, '\n', 50 * CMegabyte);
             return d.filePath("vazias50.smd");
         }},
    };

    std::printf("%-24s %10s %10s %12s  %s\n", "entrada", "tempo ms", "pico MB", "acima MB",
                "resultado");
    long base = 0;
    for (const TEntrada& entrada : entradas) {
        const QString caminho = entrada.Criar ? entrada.Criar(QDir(pasta.path())) : QString();
        const TMedida medida = Medir(caminho);
        if (!entrada.Criar) base = medida.PicoKb;
        std::printf("%-24s %10.1f %10.1f %12.1f  %.90s\n", entrada.Nome, medida.Milissegundos,
                    static_cast<double>(medida.PicoKb) / 1024.0,
                    static_cast<double>(medida.PicoKb - base) / 1024.0, medida.Resultado.c_str());
        if (!caminho.isEmpty() && !caminho.startsWith(QStringLiteral("/dev/")))
            QFile::remove(caminho);
    }
    return 0;
}
