// A progressive 9 × 9 batch of 40, as "Exportar Lote" makes it with the default settings:
// prints the generation time, the drawing and writing time and the file's size.
//   tempo_lote PASTA    (writes PASTA/lote.pdf, PASTA/puzzle.pdf and PASTA/lote6.pdf)
#include "game/UnitSomadoJogo.h"
#include "generator/UnitSomadoGenerator.h"
#include "pdf/UnitSomadoPdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>

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
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), QStringLiteral("Open Sans"));
    const QDir pasta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
    SemearAleatorio();

    QElapsedTimer relogio;
    relogio.start();
    const TListaDeTabuleiros lista = Gerar(TTamanhoTabuleiro::tt9, 40);
    const qint64 geracao = relogio.restart();
    auto documento = CriarDocumentoPdf();
    DesenharLote(*documento, lista, 9, QString(), QStringLiteral("Progressivo"));
    const QString caminho = pasta.filePath(QStringLiteral("lote.pdf"));
    documento->Gravar(caminho);
    const qint64 escrita = relogio.elapsed();
    std::printf("9x9 progressivo, %zu puzzles: geração %.2f s, páginas e ficheiro %.2f s, "
                "total %.2f s; %d páginas, %.0f KiB\n",
                lista.size(), geracao / 1000.0, escrita / 1000.0, (geracao + escrita) / 1000.0,
                documento->Paginas(), QFileInfo(caminho).size() / 1024.0);

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
