// A progressive batch of 40, as "Exportar Lote" makes it (9 × 9 with the default settings):
// prints the generation time, the drawing and writing time and the file's size.
//   tempo_lote PASTA [LADO]    (writes PASTA/lote.pdf, PASTA/puzzle.pdf and PASTA/lote6.pdf;
//                               LADO is 6, 9, 12 or 15, 9 by default)
#include "game/UnitSomadoJogo.h"
#include "generator/UnitSomadoGenerator.h"
#include "pdf/UnitSomadoPdf.h"
#include "render/UnitSomadoDesenho.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

TListaDeTabuleiros Gerar(TTamanhoTabuleiro ATamanho, int32_t AQuantos) {
    TListaDeTabuleiros lista;
    for (int32_t k = 0; k < AQuantos; ++k)
        for (int tentativa = 0; tentativa < CTentativasPorPuzzleLote; ++tentativa)
            if (auto board =
                    GerarPuzzle(ATamanho, NivelProgressivo(k, AQuantos), CTempoLimiteLoteMs)) {
                lista.push_back(std::move(board));
                break;
            }
    return lista;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication aplicacao(argc, argv);
    SubstituirFontesEmFalta();
    const QDir pasta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
    const int lado = argc > 2 ? std::atoi(argv[2]) : 9;
    TTamanhoTabuleiro tamanho = TTamanhoTabuleiro::tt9;
    for (const auto t : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9, TTamanhoTabuleiro::tt12,
                         TTamanhoTabuleiro::tt15})
        if (LadoDoTabuleiro(t) == lado) tamanho = t;
    if (LadoDoTabuleiro(tamanho) != lado) {
        std::fprintf(stderr, "tempo_lote: lado inválido (6, 9, 12 ou 15)\n");
        return 2;
    }
    SemearAleatorio();

    QElapsedTimer relogio;
    relogio.start();
    const TListaDeTabuleiros lista = Gerar(tamanho, 40);
    const qint64 geracao = relogio.restart();
    auto documento = CriarDocumentoPdf();
    DesenharLote(*documento, lista, lado, QString(), QStringLiteral("Progressivo"));
    const QString caminho = pasta.filePath(QStringLiteral("lote.pdf"));
    documento->Gravar(caminho);
    const qint64 escrita = relogio.elapsed();
    std::printf("%dx%d progressivo, %zu puzzles: geração %.2f s, páginas e ficheiro %.2f s, "
                "total %.2f s; %d páginas, %.0f KiB\n",
                lado, lado, lista.size(), geracao / 1000.0, escrita / 1000.0,
                (geracao + escrita) / 1000.0, documento->Paginas(),
                QFileInfo(caminho).size() / 1024.0);

    // The other two documents a person prints: one puzzle, and a small 6 × 6 book.
    auto um = CriarDocumentoPdf();
    DesenharPaginaPuzzle(*um, *lista.front(), false, 0, true, 1);
    DesenharPaginaPuzzle(*um, *lista.front(), true, 0, true, 2);
    um->Gravar(pasta.filePath(QStringLiteral("puzzle.pdf")));
    auto seis = CriarDocumentoPdf();
    DesenharLote(*seis, Gerar(TTamanhoTabuleiro::tt6, 5), 6, QStringLiteral("Férias de Verão"),
                 QStringLiteral("Progressivo"));
    seis->Gravar(pasta.filePath(QStringLiteral("lote6.pdf")));
    return 0;
}
