// A progressive batch, as "Exportar Lote" makes it (40 puzzles 9 × 9 with the default
// settings): prints the generation time (wall and processor), the drawing and writing time and
// the file's size.
//   tempo_lote PASTA [LADO] [--count K] [--threads T] [--seed S] [--budget MS]
//     writes PASTA/lote.pdf, PASTA/puzzle.pdf and PASTA/lote6.pdf; LADO is 6, 9, 12 or 15
//     (9 by default), K 1 to 200 (40), T the worker threads (one per core), S the batch's seed
//     (from the clock), MS each attempt's budget (60000; 0 for none).
#include "game/UnitSomadoJogo.h"
#include "generator/UnitSomadoGenerator.h"
#include "pdf/PaginasPdf.h"
#include "pdf/UnitSomadoPdf.h"
#include "render/UnitSomadoDesenho.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace {

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

double SegundosDeProcessador() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

[[noreturn]] void Falhar(const char* AMensagem) {
    std::fprintf(stderr, "tempo_lote: %s\n", AMensagem);
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication aplicacao(argc, argv);
    SubstituirFontesEmFalta();
    QStringList posicionais;
    TOpcoes opcoes;
    int32_t quantos = 40;
    for (int i = 1; i < argc; ++i) {
        const char* opcao = argv[i];
        if (std::strncmp(opcao, "--", 2) != 0) {
            posicionais << QString::fromLocal8Bit(opcao);
            continue;
        }
        if (i + 1 >= argc) Falhar("falta o valor de uma opção");
        char* fim = nullptr;
        const char* valor = argv[++i];
        const long long numero = std::strtoll(valor, &fim, 10);
        if (*fim || numero < 0) Falhar("valor inválido");
        if (std::strcmp(opcao, "--threads") == 0 && numero >= 1 && numero <= 1024)
            opcoes.Threads = static_cast<int32_t>(numero);
        else if (std::strcmp(opcao, "--count") == 0 && numero >= 1 && numero <= 200)
            quantos = static_cast<int32_t>(numero);
        else if (std::strcmp(opcao, "--seed") == 0)
            opcoes.Semente = std::strtoull(valor, nullptr, 10);
        else if (std::strcmp(opcao, "--budget") == 0)
            opcoes.Orcamento = numero;
        else
            Falhar("opção ou valor inválido");
    }
    const QDir pasta(posicionais.size() > 0 ? posicionais[0] : QDir::tempPath());
    const int lado = posicionais.size() > 1 ? posicionais[1].toInt() : 9;
    TTamanhoTabuleiro tamanho = TTamanhoTabuleiro::tt9;
    for (const auto t : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9, TTamanhoTabuleiro::tt12,
                         TTamanhoTabuleiro::tt15})
        if (LadoDoTabuleiro(t) == lado) tamanho = t;
    if (LadoDoTabuleiro(tamanho) != lado) Falhar("lado inválido (6, 9, 12 ou 15)");
    SemearAleatorio();

    QElapsedTimer relogio;
    relogio.start();
    const double processadorAntes = SegundosDeProcessador();
    const TListaDeTabuleiros lista = Gerar(tamanho, quantos, opcoes);
    const qint64 geracao = relogio.restart();
    const double processador = SegundosDeProcessador() - processadorAntes;
    auto documento = CriarDocumentoPdf();
    DesenharLote(*documento, lista, lado, QString(), QStringLiteral("Progressivo"));
    const QString caminho = pasta.filePath(QStringLiteral("lote.pdf"));
    documento->Gravar(caminho);
    const qint64 escrita = relogio.elapsed();
    std::printf("%dx%d progressivo, %zu puzzles, %d threads: geração %.2f s (processador %.2f s), "
                "páginas e ficheiro %.2f s, total %.2f s; %d páginas, %.0f KiB\n",
                lado, lado, lista.size(), opcoes.Threads > 0 ? opcoes.Threads : ThreadsDaMaquina(),
                geracao / 1000.0, processador, escrita / 1000.0, (geracao + escrita) / 1000.0,
                documento->Paginas(), QFileInfo(caminho).size() / 1024.0);

    // The other two documents a person prints: one puzzle, and a small 6 × 6 book.
    ExportarPuzzlePdf(*lista.front(), pasta.filePath(QStringLiteral("puzzle.pdf")));
    ExportarLotePdf(Gerar(TTamanhoTabuleiro::tt6, 5, opcoes), 6, QStringLiteral("Férias de Verão"),
                    QStringLiteral("Progressivo"), pasta.filePath(QStringLiteral("lote6.pdf")));
    return 0;
}
