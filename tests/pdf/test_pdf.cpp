// The documents as a reader sees them, through poppler's command-line tools.
#include "Poppler.h"

#include "generator/UnitSomadoGenerator.h"
#include "pdf/PaginasPdf.h"
#include "pdf/UnitSomadoPdf.h"
#include "render/UnitSomadoRegras.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

namespace {

QString Info(const QString& AFicheiro) {
    return Executar("pdfinfo", {AFicheiro});
}

QString TextoDaPagina(const QString& AFicheiro, int APagina) {
    return Executar("pdftotext", {"-layout", "-f", QString::number(APagina), "-l",
                                  QString::number(APagina), AFicheiro, "-"});
}

int NumeroDePaginas(const QString& AFicheiro) {
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(Info(AFicheiro));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The page rendered at 96 dpi, so that one pixel is one page unit.
QImage Imagem(const QString& AFicheiro, int APagina, const QString& APasta) {
    const QString prefixo = QDir(APasta).filePath(QStringLiteral("p%1").arg(APagina));
    Executar("pdftoppm", {"-r", "96", "-png", "-singlefile", "-f", QString::number(APagina), "-l",
                          QString::number(APagina), AFicheiro, prefixo});
    return QImage(prefixo + ".png");
}

bool Escuro(const QImage& AImagem, int x, int y) {
    return qGray(AImagem.pixel(x, y)) < 60;
}

// A few real puzzles, generated once and copied as often as a test needs.
const TSomadoBoard& Puzzle(TTamanhoTabuleiro ATamanho) {
    static std::map<TTamanhoTabuleiro, std::unique_ptr<TSomadoBoard>> guardados;
    auto& board = guardados[ATamanho];
    while (!board)
        board = GerarPuzzle(ATamanho, TNivelDificuldade::ndFacil, 0);
    return *board;
}

TListaDeTabuleiros Lista(TTamanhoTabuleiro ATamanho, int AQuantos) {
    TListaDeTabuleiros lista;
    for (int i = 0; i < AQuantos; ++i)
        lista.push_back(std::make_unique<TSomadoBoard>(Puzzle(ATamanho)));
    return lista;
}

class Pdf : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pasta.isValid()); }
    QString Caminho(const char* ANome) const { return pasta.filePath(ANome); }
    QTemporaryDir pasta;
};

} // namespace

TEST(MmParaUnidades, PageLengths) {
    const std::pair<double, int32_t> casos[] = {
        {210, 794}, {297, 1123}, {15, 57},    {25, 94},
        {20, 76},   {14, 53},    {283, 1070}, {18, 68},
        {174, 658}, {12, 45},    {4, 15},     {7, 26},
        {6, 23},    {2, 8},      {30, 113},   {5.6268055555555545, 21}};
    for (const auto& [mm, unidades] : casos)
        EXPECT_EQ(MmParaUnidades(mm), unidades) << mm;
}

TEST_F(Pdf, SinglePuzzleDocument) {
    SOMADO_PRECISA_DE_POPPLER();
    TSomadoBoard board = Puzzle(TTamanhoTabuleiro::tt9);
    auto d = CriarDocumentoPdf();
    DesenharPaginaPuzzle(*d, board, false, 0, true, 1);
    DesenharPaginaPuzzle(*d, board, true, 0, true, 2);
    d->Gravar(Caminho("um.pdf"));

    const QString info = Info(Caminho("um.pdf"));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Title:\s+SOMADO\n)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Author:\s+Quorvel\n)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+2\n)")));
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();

    // Every font is embedded.
    const QStringList fontes = Executar("pdffonts", {Caminho("um.pdf")}).split('\n').mid(2);
    int comFonte = 0;
    for (const QString& linha : fontes) {
        if (linha.trimmed().isEmpty()) continue;
        ++comFonte;
        EXPECT_TRUE(
            linha.contains(QRegularExpression(R"(\byes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)")))
            << "not embedded: " << linha.toStdString();
    }
    EXPECT_GE(comFonte, 2) << "Arial for the texts, Segoe UI for the numbers";

    const QString p1 = TextoDaPagina(Caminho("um.pdf"), 1);
    const QString p2 = TextoDaPagina(Caminho("um.pdf"), 2);
    EXPECT_TRUE(p1.contains("SOMADO"));
    EXPECT_TRUE(p1.contains("9 x 9 / Fácil"));
    EXPECT_TRUE(p1.contains(QRegularExpression(R"(SOMADO \| Quorvel\s+1\s*$)")))
        << p1.toStdString();
    EXPECT_TRUE(p2.contains("9 x 9 — Solução"));
    EXPECT_TRUE(p2.contains(QRegularExpression(R"(SOMADO \| Quorvel\s+2\s*$)")));
    EXPECT_FALSE(p1.contains('#'));
    EXPECT_FALSE(p2.contains('#'));
}

// Where the board and its frame land on the page.
TEST_F(Pdf, BoardGeometryOnAPuzzlePage) {
    SOMADO_PRECISA_DE_POPPLER();
    const struct {
        TTamanhoTabuleiro tamanho;
        int s, x0;
    } casos[] = {{TTamanhoTabuleiro::tt9, 75, 59}, {TTamanhoTabuleiro::tt20, 34, 57}};
    for (const auto& caso : casos) {
        TSomadoBoard board(LadoDoTabuleiro(caso.tamanho)); // all black: the frame shows best
        if (caso.tamanho == TTamanhoTabuleiro::tt9) board = Puzzle(caso.tamanho);
        auto d = CriarDocumentoPdf();
        DesenharPaginaPuzzle(*d, board, false, 0, true, 1);
        d->Gravar(Caminho("g.pdf"));
        const QImage pagina = Imagem(Caminho("g.pdf"), 1, pasta.path());
        ASSERT_EQ(pagina.size(), QSize(794, 1123));
        const int n = board.Size(), lado = n * caso.s, y0 = 151;
        // The 5-unit frame straddles the board's edge; outside it the page is white.
        for (const int y : {y0 + 10, y0 + lado / 2, y0 + lado - 10}) {
            EXPECT_TRUE(Escuro(pagina, caso.x0 - 1, y)) << n;
            EXPECT_TRUE(Escuro(pagina, caso.x0 + lado + 1, y)) << n;
            EXPECT_FALSE(Escuro(pagina, caso.x0 - 5, y)) << n;
            EXPECT_FALSE(Escuro(pagina, caso.x0 + lado + 5, y)) << n;
        }
        EXPECT_TRUE(Escuro(pagina, caso.x0 + lado / 2, y0 - 1));
        EXPECT_FALSE(Escuro(pagina, caso.x0 + lado / 2, y0 - 5));
        EXPECT_TRUE(Escuro(pagina, caso.x0 + lado / 2, y0 + lado + 1));
    }
}

TEST_F(Pdf, BatchOfFortyNineByNine) {
    SOMADO_PRECISA_DE_POPPLER();
    auto d = CriarDocumentoPdf();
    DesenharLote(*d, Lista(TTamanhoTabuleiro::tt9, 40), 9, "  Férias  ", "Progressivo");
    d->Gravar(Caminho("lote.pdf"));
    const QString f = Caminho("lote.pdf");
    ASSERT_EQ(NumeroDePaginas(f), 52);

    const QString capa = TextoDaPagina(f, 1);
    for (const char* linha : {"QUORVEL", "SOMADO", "Férias", "40 puzzles", "Progressivo"})
        EXPECT_TRUE(capa.contains(QString::fromUtf8(linha))) << linha;
    // pdftotext closes up the narrow spaces around the multiplication sign.
    EXPECT_TRUE(capa.contains(QRegularExpression(QStringLiteral("9\\s*\u00D7\\s*9"))));
    EXPECT_FALSE(capa.contains("Quorvel")) << "the cover has no footer";

    const QString regras = TextoDaPagina(f, 2);
    EXPECT_TRUE(regras.contains("Como jogar Somado"));
    EXPECT_TRUE(regras.contains("Níveis de dificuldade"));
    EXPECT_TRUE(regras.contains(QRegularExpression(R"(SOMADO \| Quorvel\s+2\s*$)")));

    EXPECT_EQ(TextoDaPagina(f, 3).trimmed(), "Puzzles");
    EXPECT_TRUE(TextoDaPagina(f, 4).contains("#1"));
    EXPECT_TRUE(TextoDaPagina(f, 4).contains(QRegularExpression(R"(Quorvel\s+4\s*$)")));
    EXPECT_TRUE(TextoDaPagina(f, 43).contains("#40"));
    EXPECT_FALSE(TextoDaPagina(f, 44).contains("Quorvel")) << "the example page has no footer";
    EXPECT_EQ(TextoDaPagina(f, 45).trimmed(), "Soluções");
    const QString primeira = TextoDaPagina(f, 46);
    for (int i = 1; i <= 6; ++i)
        EXPECT_TRUE(primeira.contains(QStringLiteral("Puzzle %1").arg(i)));
    const QString ultima = TextoDaPagina(f, 52);
    EXPECT_TRUE(ultima.contains("Puzzle 40"));
    EXPECT_FALSE(ultima.contains("Puzzle 41"));
    EXPECT_TRUE(ultima.contains(QRegularExpression(R"(Quorvel\s+52\s*$)")));
}

TEST_F(Pdf, SixBySixBatchPairsPuzzlesOnAPage) {
    SOMADO_PRECISA_DE_POPPLER();
    auto d = CriarDocumentoPdf();
    DesenharLote(*d, Lista(TTamanhoTabuleiro::tt6, 5), 6, "", "Fácil");
    d->Gravar(Caminho("seis.pdf"));
    const QString f = Caminho("seis.pdf");
    // Cover, rules, "Puzzles", 1-2, 3-4, 5, "Soluções", one page of solutions.
    ASSERT_EQ(NumeroDePaginas(f), 8);
    EXPECT_TRUE(TextoDaPagina(f, 4).contains("#1"));
    EXPECT_TRUE(TextoDaPagina(f, 4).contains("#2"));
    EXPECT_TRUE(TextoDaPagina(f, 5).contains("#4"));
    EXPECT_TRUE(TextoDaPagina(f, 6).contains("#5"));
    EXPECT_FALSE(TextoDaPagina(f, 6).contains("#6"));
    EXPECT_EQ(TextoDaPagina(f, 7).trimmed(), "Soluções");
    EXPECT_TRUE(TextoDaPagina(f, 8).contains("Puzzle 5"));
    EXPECT_FALSE(TextoDaPagina(f, 1).contains("Férias"));
    EXPECT_TRUE(TextoDaPagina(f, 1).contains("5 puzzles"));
}

TEST_F(Pdf, ExamplePageCellsAndSums) {
    SOMADO_PRECISA_DE_POPPLER();
    auto d = CriarDocumentoPdf();
    DesenharPaginaExemplo(*d);
    d->Gravar(Caminho("ex.pdf"));
    const QString texto = TextoDaPagina(Caminho("ex.pdf"), 1);
    QStringList numeros = texto.split(QRegularExpression(R"(\s+)"), Qt::SkipEmptyParts);
    std::sort(numeros.begin(), numeros.end());
    QStringList esperados{"3", "4", "2", "1", "9",  "2",  "5",  "9",  "2",
                          "7", "5", "7", "7", "16", "12", "16", "16", "9"};
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(numeros, esperados);
    const QImage pagina = Imagem(Caminho("ex.pdf"), 1, pasta.path());
    // Cell (0,0) is black, (1,1) white; the frame starts at (225, 389).
    EXPECT_EQ(qGray(pagina.pixel(227 + 34, 391 + 10)), qGray(qRgb(80, 80, 80)));
    EXPECT_EQ(pagina.pixel(227 + 68 + 10, 391 + 68 + 10), qRgb(255, 255, 255));
    EXPECT_TRUE(Escuro(pagina, 226, 500));
    EXPECT_FALSE(Escuro(pagina, 223, 500));
    // Five cells each way and no more: the frame ends at (569, 733).
    EXPECT_TRUE(Escuro(pagina, 567, 500));
    EXPECT_FALSE(Escuro(pagina, 572, 500));
    EXPECT_FALSE(Escuro(pagina, 400, 736));
}

TEST_F(Pdf, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    auto d = CriarDocumentoPdf();
    DesenharPaginaSeccao(*d, "Puzzles");
    try {
        d->Gravar(Caminho("falta/lote.pdf"));
        ADD_FAILURE() << "no error";
    } catch (const ESomadoError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("\"lote.pdf\"")) << e.what();
    }
    EXPECT_TRUE(QDir(pasta.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(Pdf, LineBreakingAndHangingItems) {
    auto d = CriarDocumentoPdf();
    d->AdicionarPagina();
    DefinirFontePdf(*d, 11, false, Qt::black);
    const QString palavra = "palavra";
    const int largura = d->TextWidth("palavra palavra");
    EXPECT_EQ(QuebrarLinhas(*d, "palavra palavra palavra palavra palavra", largura),
              (QStringList{"palavra palavra", "palavra palavra", "palavra"}));
    // A word wider than the width stands alone, unbroken.
    EXPECT_EQ(QuebrarLinhas(*d, "a " + QString(40, 'x') + " b", 50),
              (QStringList{"a", QString(40, 'x'), "b"}));
    // Block layout: heading, paragraph of one line, spacer, item with hanging indent.
    bool primeiro = true;
    const std::vector<TBlocoRegras> blocos{{TTipoBloco::tbTitulo, "Título"},
                                           {TTipoBloco::tbTitulo, "Secção"},
                                           {TTipoBloco::tbParagrafo, "curto"},
                                           {TTipoBloco::tbEspaco, ""},
                                           {TTipoBloco::tbItem, "semespaco"}};
    EXPECT_EQ(DesenharBlocos(*d, blocos, 68, primeiro), 68 + 45 + 15 + 26 + 21 + 10 + 21);
    EXPECT_FALSE(primeiro);
}

TEST(SolucoesPorPagina, ColumnsAndRowsBySize) {
    EXPECT_EQ(SolucoesPorPagina(6), std::pair(3, 4));
    EXPECT_EQ(SolucoesPorPagina(9), std::pair(2, 3));
    EXPECT_EQ(SolucoesPorPagina(12), std::pair(2, 2));
    for (const int n : {15, 16, 20, 25})
        EXPECT_EQ(SolucoesPorPagina(n), std::pair(1, 2));
}

TEST_F(Pdf, TheLongestTitleTheFieldAcceptsStaysOnTheCover) {
    SOMADO_PRECISA_DE_POPPLER();
    // Wide letters: as many as the cover's check lets through.
    QString titulo;
    while (TituloCabeNaCapa(titulo + u'W'))
        titulo += u'W';
    ASSERT_GT(titulo.size(), 10);
    const struct {
        QString titulo;
        bool cabe;
    } casos[] = {{titulo, true}, {titulo + "WWWW", false}};
    for (const auto& caso : casos) {
        auto d = CriarDocumentoPdf();
        DesenharCapa(*d, caso.titulo, "Progressivo", 40, 9);
        d->Gravar(Caminho("capa.pdf"));
        const QImage capa = Imagem(Caminho("capa.pdf"), 1, pasta.path());
        ASSERT_FALSE(capa.isNull());
        // The title's band: ink from its first to its last letter, inside the text width.
        int esquerda = capa.width(), direita = -1;
        for (int y = MmParaUnidades(150); y < MmParaUnidades(150) + 40; ++y)
            for (int x = 0; x < capa.width(); ++x)
                if (Escuro(capa, x, y)) {
                    esquerda = std::min(esquerda, x);
                    direita = std::max(direita, x);
                }
        ASSERT_GE(direita, 0) << "no title on the cover";
        const int margem = (CLarguraPagina - MmParaUnidades(174)) / 2;
        EXPECT_EQ(esquerda >= margem - 2 && direita <= CLarguraPagina - margem + 2, caso.cabe)
            << caso.titulo.size() << " letters: ink from " << esquerda << " to " << direita;
    }
}
