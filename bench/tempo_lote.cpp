// A progressive batch, as "Exportar Lote" makes it (40 puzzles 9 × 9 with the default
// settings): prints the generation time (wall and processor), the drawing and writing time and
// the file's size.
//   tempo_lote [PASTA] [LADO] [--count K] [--threads T] [--seed S] [--budget MS]
//     writes PASTA/lote.pdf, PASTA/puzzle.pdf and PASTA/lote6.pdf (PASTA made when missing,
//     the temporary folder by default); LADO is 6, 9, 12 or 15 (9 by default), K 1 to 200
//     (40), T the worker threads (one per core), S the batch's seed (from the clock), MS each
//     attempt's budget (60000; 0 for none). Exit status 2 for a mistake on the command line,
//     1 when the folder or a document cannot be written or no puzzle was made.
#include "PastaDeDestino.h"

#include "game/UnitSomadoJogo.h"
#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"
#include "pdf/PaginasPdf.h"
#include "pdf/UnitSomadoPdf.h"
#include "render/UnitSomadoDesenho.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <optional>
#include <string>

namespace {

const char* const CUso =
    "uso: tempo_lote [PASTA] [LADO] [--count K] [--threads T] [--seed S] [--budget MS]\n"
    "  PASTA: onde se gravam lote.pdf, puzzle.pdf e lote6.pdf, criada se faltar (por omissão,\n"
    "         a pasta temporária)\n"
    "  LADO: 6, 9, 12 ou 15 (por omissão 9)\n"
    "  K: puzzles do lote progressivo, de 1 a 200 (por omissão 40)\n"
    "  T: threads de trabalho, de 1 a 1024 (por omissão, uma por núcleo)\n"
    "  S: semente do lote, para o repetir (por omissão, o relógio)\n"
    "  MS: orçamento de cada tentativa em milissegundos (por omissão 60000; 0 sem limite)\n";

const char* const CDocumentos[] = {"lote.pdf", "puzzle.pdf", "lote6.pdf"};

struct TOpcoes {
    int32_t Threads = 0;
    std::optional<uint64_t> Semente;
    int64_t Orcamento = CTempoLimiteLoteMs;
};

TListaDeTabuleiros Gerar(TTamanhoTabuleiro ATamanho, int32_t AQuantos, const TOpcoes& AOpcoes) {
    TPedidoLote pedido;
    pedido.Tamanho = ATamanho;
    for (int32_t k = 0; k < AQuantos; ++k)
        pedido.Niveis.push_back(NivelProgressivo(k, AQuantos));
    pedido.TempoLimiteMs = AOpcoes.Orcamento;
    pedido.Semente = AOpcoes.Semente ? *AOpcoes.Semente : AleatorioDoProcesso().Proximo();
    pedido.Threads = AOpcoes.Threads;
    TGeracaoLote geracao(GerarPuzzleComAleatorio, std::move(pedido));
    TListaDeTabuleiros lista;
    for (auto& board : geracao.Resultados())
        if (board) lista.push_back(std::move(board));
    return lista;
}

// A batch whose attempts all ran out of budget has no book to draw.
void ExigirPuzzles(const TListaDeTabuleiros& ALista, int32_t ALado, int32_t AQuantos,
                   const TOpcoes& AOpcoes) {
    if (!ALista.empty()) return;
    throw ESomadoError(Format("nenhum puzzle %dx%d foi gerado (pedidos: %d; %d tentativas de %lld "
                              "ms por puzzle); não há lote a gravar",
                              ALado, ALado, AQuantos, CTentativasPorPuzzleLote,
                              static_cast<long long>(AOpcoes.Orcamento)));
}

double SegundosDeProcessador() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// A mistake on the command line: the usage, and status 2.
[[noreturn]] void Falhar(const std::string& AMensagem) {
    std::fprintf(stderr, "tempo_lote: %s\n%s", AMensagem.c_str(), CUso);
    std::exit(2);
}

// The documents are drawn, not shown: where there is no display to connect to (and none was
// chosen), Qt's offscreen platform does, rather than the application aborting at its start.
void EscolherPlataformaSemEcra(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

} // namespace

int main(int argc, char** argv) {
    // Before the application, which would need a display for nothing.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(CUso, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    EscolherPlataformaSemEcra(argc, argv);
    // Takes Qt's own options (-platform…) out of argv.
    QGuiApplication aplicacao(argc, argv);
    SubstituirFontesEmFalta();
    QStringList posicionais;
    TOpcoes opcoes;
    int32_t quantos = 40;
    for (int i = 1; i < argc; ++i) {
        const char* opcao = argv[i];
        if (std::strncmp(opcao, "--", 2) != 0) {
            posicionais << QFile::decodeName(opcao);
            continue;
        }
        if (i + 1 >= argc) Falhar(std::string("falta o valor de ") + opcao);
        char* fim = nullptr;
        const char* valor = argv[++i];
        errno = 0;
        // A seed takes the whole unsigned range.
        if (std::strcmp(opcao, "--seed") == 0) {
            const unsigned long long semente = std::strtoull(valor, &fim, 10);
            if (!*valor || *valor == '-' || *fim || errno == ERANGE)
                Falhar(std::string("valor inválido para --seed: ") + valor);
            opcoes.Semente = semente;
            continue;
        }
        const long long numero = std::strtoll(valor, &fim, 10);
        if (!*valor || *fim || errno == ERANGE || numero < 0)
            Falhar(std::string("valor inválido para ") + opcao + ": " + valor);
        if (std::strcmp(opcao, "--threads") == 0 && numero >= 1 && numero <= 1024)
            opcoes.Threads = static_cast<int32_t>(numero);
        else if (std::strcmp(opcao, "--count") == 0 && numero >= 1 && numero <= 200)
            quantos = static_cast<int32_t>(numero);
        else if (std::strcmp(opcao, "--budget") == 0)
            opcoes.Orcamento = numero;
        else
            Falhar(std::string("opção ou valor inválido: ") + opcao + " " + valor);
    }
    if (posicionais.size() > 2)
        Falhar("demasiados argumentos: " + posicionais.mid(2).join(u' ').toStdString());
    const int lado = posicionais.size() > 1 ? posicionais[1].toInt() : 9;
    TTamanhoTabuleiro tamanho = TTamanhoTabuleiro::tt9;
    for (const auto t : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9, TTamanhoTabuleiro::tt12,
                         TTamanhoTabuleiro::tt15})
        if (LadoDoTabuleiro(t) == lado) tamanho = t;
    if (LadoDoTabuleiro(tamanho) != lado) Falhar("lado inválido (6, 9, 12 ou 15)");

    try {
        // The folder and its three files are tried before the first puzzle: a run that cannot
        // write fails at once, not after the generation.
        const QDir pasta =
            CriarPastaDeDestino(posicionais.isEmpty() ? QDir::tempPath() : posicionais[0]);
        for (const char* nome : CDocumentos)
            VerificarDestino(pasta.filePath(QString::fromLatin1(nome)));
        SemearAleatorio();

        QElapsedTimer relogio;
        relogio.start();
        const double processadorAntes = SegundosDeProcessador();
        const TListaDeTabuleiros lista = Gerar(tamanho, quantos, opcoes);
        const qint64 geracao = relogio.restart();
        const double processador = SegundosDeProcessador() - processadorAntes;
        ExigirPuzzles(lista, lado, quantos, opcoes);
        auto documento = CriarDocumentoPdf();
        DesenharLote(*documento, lista, lado, QString(), QStringLiteral("Progressivo"));
        const QString caminho = pasta.filePath(QStringLiteral("lote.pdf"));
        documento->Gravar(caminho);
        const qint64 escrita = relogio.elapsed();
        std::printf(
            "%dx%d progressivo, %zu puzzles, %d threads: geração %.2f s (processador %.2f s), "
            "páginas e ficheiro %.2f s, total %.2f s; %d páginas, %.0f KiB\n",
            lado, lado, lista.size(), opcoes.Threads > 0 ? opcoes.Threads : ThreadsDaMaquina(),
            geracao / 1000.0, processador, escrita / 1000.0, (geracao + escrita) / 1000.0,
            documento->Paginas(), QFileInfo(caminho).size() / 1024.0);

        // The other two documents a person prints: one puzzle, and a small 6 × 6 book.
        ExportarPuzzlePdf(*lista.front(), pasta.filePath(QStringLiteral("puzzle.pdf")));
        const TListaDeTabuleiros pequeno = Gerar(TTamanhoTabuleiro::tt6, 5, opcoes);
        ExigirPuzzles(pequeno, 6, 5, opcoes);
        ExportarLotePdf(pequeno, 6, QStringLiteral("Férias de Verão"),
                        QStringLiteral("Progressivo"), pasta.filePath(QStringLiteral("lote6.pdf")));
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tempo_lote: %s\n", e.what());
        return 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "tempo_lote: não foi possível escrever o relatório\n");
        return 1;
    }
    return 0;
}
