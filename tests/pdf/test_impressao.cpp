// The puzzle's pages on a printer's paper: the single-puzzle page code drawn through QPrinter
// (here to a PDF file, as a print job is), on A4 and Letter with a printer's margins, read back
// with poppler's tools.
#include "Poppler.h"

#include "generator/UnitSomadoGenerator.h"
#include "pdf/PaginasPdf.h"
#include "pdf/UnitSomadoPdf.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

namespace {

using C = TConteudoImpressao;

// A word on a page and its box, in points from the page's top-left corner.
struct TPalavra {
    QString Texto;
    QRectF Caixa;
};

struct TPagina {
    QSizeF Tamanho;
    std::vector<TPalavra> Palavras;
};

std::vector<TPagina> Paginas(const QString& AFicheiro) {
    const QString html = Executar("pdftotext", {"-bbox", AFicheiro, "-"});
    std::vector<TPagina> paginas;
    static const QRegularExpression pagina(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const QRegularExpression palavra(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (const QString& bloco : html.split("</page>")) {
        const auto m = pagina.match(bloco);
        if (!m.hasMatch()) continue;
        TPagina p;
        p.Tamanho = {m.captured(1).toDouble(), m.captured(2).toDouble()};
        for (auto i = palavra.globalMatch(bloco); i.hasNext();) {
            const auto w = i.next();
            const QPointF a(w.captured(1).toDouble(), w.captured(2).toDouble());
            const QPointF b(w.captured(3).toDouble(), w.captured(4).toDouble());
            p.Palavras.push_back({w.captured(5), QRectF(a, b)});
        }
        paginas.push_back(std::move(p));
    }
    return paginas;
}

// The page rendered at 72 dpi, one pixel a point.
QImage Imagem(const QString& AFicheiro, int APagina, const QString& APasta) {
    const QString prefixo = APasta + QStringLiteral("/r%1").arg(APagina);
    Executar("pdftoppm", {"-r", "72", "-png", "-singlefile", "-f", QString::number(APagina), "-l",
                          QString::number(APagina), AFicheiro, prefixo});
    return QImage(prefixo + ".png");
}

// The box of every pixel that is not white.
QRect Tinta(const QImage& AImagem) {
    QRect caixa;
    for (int y = 0; y < AImagem.height(); ++y)
        for (int x = 0; x < AImagem.width(); ++x)
            if (qGray(AImagem.pixel(x, y)) < 250) caixa |= QRect(x, y, 1, 1);
    return caixa;
}

const TSomadoBoard& Puzzle() {
    static std::unique_ptr<TSomadoBoard> board;
    while (!board)
        board = GerarPuzzle(TTamanhoTabuleiro::tt9, TNivelDificuldade::ndFacil, 0);
    return *board;
}

// The puzzle with a few of the player's digits, one of them marked wrong by a check.
TSomadoBoard PuzzleComJogadas() {
    TSomadoBoard board = Puzzle();
    int jogadas = 0;
    for (int32_t r = 1; r < board.Size() && jogadas < 3; ++r)
        for (int32_t c = 1; c < board.Size() && jogadas < 3; ++c) {
            TSomadoCell celula = board.GetCell(r, c);
            if (celula.CellType != TCellType::ctEmpty) continue;
            celula.Value = celula.Solution;
            if (jogadas == 2) {
                celula.Value = celula.Solution % 9 + 1;
                celula.DisplayState = TCellDisplayState::cdsWrong;
            }
            board.SetCell(r, c, celula);
            ++jogadas;
        }
    return board;
}

// The numbers a page should show inside its board: every clue's sums, and the white cells'
// digits as the page shows them (the player's, or the solution).
QStringList NumerosDoTabuleiro(const TSomadoBoard& ABoard, bool ASolucao) {
    QStringList numeros;
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c) {
            const TSomadoCell celula = ABoard.GetCell(r, c);
            if (celula.CellType == TCellType::ctClue) {
                if (celula.RightSum) numeros << QString::number(celula.RightSum);
                if (celula.DownSum) numeros << QString::number(celula.DownSum);
            } else if (celula.CellType == TCellType::ctEmpty) {
                const int32_t v = ASolucao ? celula.Solution : celula.Value;
                if (v) numeros << QString::number(v);
            }
        }
    numeros.sort();
    return numeros;
}

// The words between the subtitle and the footer: the board's numbers.
QStringList NumerosNaPagina(const TPagina& APagina) {
    double topo = 0, fundo = APagina.Tamanho.height();
    for (const TPalavra& p : APagina.Palavras) {
        if (p.Texto == "Fácil" || p.Texto == "Solução") topo = std::max(topo, p.Caixa.bottom());
        if (p.Texto == "Quorvel") fundo = std::min(fundo, p.Caixa.top());
    }
    QStringList numeros;
    for (const TPalavra& p : APagina.Palavras)
        if (p.Caixa.top() > topo && p.Caixa.bottom() < fundo) numeros << p.Texto;
    numeros.sort();
    return numeros;
}

class Impressao : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pasta.isValid()); }
    QTemporaryDir pasta;
};

} // namespace

TEST(TabuleiroParaImprimir, BlankCopyKeepsTheCluesOnly) {
    const TSomadoBoard jogado = PuzzleComJogadas();
    const TSomadoBoard branco = TabuleiroParaImprimir(jogado, C::EmBranco);
    for (int32_t r = 0; r < jogado.Size(); ++r)
        for (int32_t c = 0; c < jogado.Size(); ++c) {
            const TSomadoCell antes = jogado.GetCell(r, c), depois = branco.GetCell(r, c);
            EXPECT_EQ(depois.Value, 0);
            EXPECT_EQ(depois.DisplayState, TCellDisplayState::cdsNormal);
            EXPECT_EQ(depois.CellType, antes.CellType);
            EXPECT_EQ(depois.RightSum, antes.RightSum);
            EXPECT_EQ(depois.DownSum, antes.DownSum);
            EXPECT_EQ(depois.Solution, antes.Solution);
        }
    for (const C conteudo : {C::ComoEsta, C::ComSolucao}) {
        const TSomadoBoard igual = TabuleiroParaImprimir(jogado, conteudo);
        for (int32_t r = 0; r < jogado.Size(); ++r)
            for (int32_t c = 0; c < jogado.Size(); ++c)
                EXPECT_EQ(igual.GetCell(r, c), jogado.GetCell(r, c));
    }
}

// Page units to the paper: the true size where the printable area holds the inked part, else
// scaled down until it does, centred both ways.
TEST(TransformacaoParaPapel, TrueSizeWhenItFitsElseScaledDownCentred) {
    const double a = CAreaImpressaMargem;
    const QRectF tinta(a, a, CLarguraPagina - 2 * a, CAlturaPagina - 2 * a);
    const struct {
        const char* nome;
        int32_t largura, altura;
        double dpi;
        bool tamanhoReal;
    } casos[] = {
        {"A4 at 96 dpi, no margins", 794, 1123, 96, true},
        {"A4 at 1200 dpi, 6 mm margins", 9355, 13464, 1200, true},
        {"Letter at 1200 dpi, 6.35 mm margins", 9600, 12600, 1200, false},
        {"A4 at 300 dpi, 25 mm margins", 1890, 2917, 300, false},
        {"A wide, short area", 5000, 1000, 600, false},
    };
    for (const auto& caso : casos) {
        const QTransform t = TransformacaoParaPapel(caso.largura, caso.altura, caso.dpi);
        const QRectF noPapel = t.mapRect(tinta);
        const double k = t.m11();
        EXPECT_DOUBLE_EQ(t.m22(), k) << caso.nome << ": the page keeps its proportions";
        EXPECT_EQ(k == caso.dpi / 96, caso.tamanhoReal) << caso.nome;
        EXPECT_LE(k, caso.dpi / 96) << caso.nome << ": never enlarged";
        EXPECT_GE(noPapel.left(), -1e-6) << caso.nome;
        EXPECT_GE(noPapel.top(), -1e-6) << caso.nome;
        EXPECT_LE(noPapel.right(), caso.largura + 1e-6) << caso.nome;
        EXPECT_LE(noPapel.bottom(), caso.altura + 1e-6) << caso.nome;
        EXPECT_NEAR(noPapel.left(), caso.largura - noPapel.right(), 1e-6) << caso.nome;
        EXPECT_NEAR(noPapel.top(), caso.altura - noPapel.bottom(), 1e-6) << caso.nome;
        // Scaled down: one side of the area is filled.
        if (!caso.tamanhoReal) {
            EXPECT_TRUE(std::abs(noPapel.width() - caso.largura) < 1e-6 ||
                        std::abs(noPapel.height() - caso.altura) < 1e-6)
                << caso.nome;
        }
    }
}

// Through QPrinter, as a print job: A4 and Letter, with a printer's margins; the three choices.
// Every clue and cell of the board inside the printable area, the blank copy without digits, the
// solution page only when chosen.
TEST_F(Impressao, PuzzlePagesOnA4AndLetter) {
    SOMADO_PRECISA_DE_POPPLER();
    const TSomadoBoard board = PuzzleComJogadas();
    const struct {
        const char* nome;
        QPageSize::PageSizeId papel;
        double margemMm;
        QSizeF pontos;
    } papeis[] = {
        {"A4", QPageSize::A4, 6.35, {595.276, 841.89}},
        {"Letter", QPageSize::Letter, 6.35, {612, 792}},
        {"A4 with wide margins", QPageSize::A4, 20, {595.276, 841.89}},
    };
    const struct {
        C conteudo;
        int paginas;
        bool digitos;
    } conteudos[] = {{C::ComoEsta, 1, true}, {C::EmBranco, 1, false}, {C::ComSolucao, 2, true}};
    int n = 0;
    for (const auto& papel : papeis)
        for (const auto& conteudo : conteudos) {
            const QString nome = QStringLiteral("%1 / choice %2")
                                     .arg(QString::fromUtf8(papel.nome))
                                     .arg(static_cast<int>(conteudo.conteudo));
            SCOPED_TRACE(nome.toStdString());
            const QString ficheiro = pasta.filePath(QStringLiteral("p%1.pdf").arg(++n));
            QPrinter impressora(QPrinter::HighResolution);
            impressora.setOutputFormat(QPrinter::PdfFormat);
            impressora.setOutputFileName(ficheiro);
            impressora.setPageSize(QPageSize(papel.papel));
            const double m = papel.margemMm;
            impressora.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
            EXPECT_EQ(ImprimirPuzzle(impressora, board, conteudo.conteudo), conteudo.paginas);

            const std::vector<TPagina> paginas = Paginas(ficheiro);
            ASSERT_EQ(static_cast<int>(paginas.size()), conteudo.paginas);
            const double margem = m / 25.4 * 72;
            for (size_t i = 0; i < paginas.size(); ++i) {
                const TPagina& pagina = paginas[i];
                EXPECT_NEAR(pagina.Tamanho.width(), papel.pontos.width(), 0.5);
                EXPECT_NEAR(pagina.Tamanho.height(), papel.pontos.height(), 0.5);
                const QRectF imprimivel = QRectF(QPointF(0, 0), pagina.Tamanho)
                                              .adjusted(margem, margem, -margem, -margem);
                for (const TPalavra& p : pagina.Palavras)
                    EXPECT_TRUE(imprimivel.contains(p.Caixa))
                        << p.Texto.toStdString() << " outside the printable area";
                // Every cell too: all the ink, the board's thick frame included, is inside.
                const QImage imagem = Imagem(ficheiro, static_cast<int>(i) + 1, pasta.path());
                const QRect tinta = Tinta(imagem);
                EXPECT_TRUE(imprimivel.adjusted(-1, -1, 1, 1).contains(QRectF(tinta)))
                    << "ink from (" << tinta.left() << ", " << tinta.top() << ") to ("
                    << tinta.right() << ", " << tinta.bottom() << ")";
                // The board at a size to solve on: nine 75-unit cells are 168 mm on A4.
                EXPECT_GT(tinta.width(), 150 / 25.4 * 72);

                const bool solucao = i == 1;
                const QString texto = [&] {
                    QStringList t;
                    for (const TPalavra& p : pagina.Palavras)
                        t << p.Texto;
                    return t.join(' ');
                }();
                EXPECT_TRUE(texto.contains(solucao ? "9 x 9 — Solução" : "9 x 9 / Fácil"))
                    << texto.toStdString();
                // The footer's page number on the footer's line.
                const auto rodape =
                    std::find_if(pagina.Palavras.begin(), pagina.Palavras.end(),
                                 [](const TPalavra& p) { return p.Texto == "Quorvel"; });
                ASSERT_NE(rodape, pagina.Palavras.end()) << texto.toStdString();
                EXPECT_TRUE(std::any_of(pagina.Palavras.begin(), pagina.Palavras.end(),
                                        [&](const TPalavra& p) {
                                            return p.Texto == QString::number(i + 1) &&
                                                   std::abs(p.Caixa.top() - rodape->Caixa.top()) <
                                                       1;
                                        }))
                    << "no page number " << i + 1;
                const TSomadoBoard mostrado =
                    conteudo.digitos ? board : TabuleiroParaImprimir(board, C::EmBranco);
                EXPECT_EQ(NumerosNaPagina(pagina), NumerosDoTabuleiro(mostrado, solucao));
            }
        }
}

// The blank copy differs from the puzzle as it stands exactly by the player's digits.
TEST_F(Impressao, BlankCopyHasTheCluesAndNoDigit) {
    SOMADO_PRECISA_DE_POPPLER();
    const TSomadoBoard board = PuzzleComJogadas();
    const QString ficheiro = pasta.filePath("branco.pdf");
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(ficheiro);
    ImprimirPuzzle(impressora, board, C::EmBranco);
    const std::vector<TPagina> paginas = Paginas(ficheiro);
    ASSERT_EQ(paginas.size(), 1u);
    QStringList clues = NumerosDoTabuleiro(TabuleiroParaImprimir(board, C::EmBranco), false);
    EXPECT_EQ(NumerosNaPagina(paginas[0]), clues);
    QStringList comDigitos = NumerosDoTabuleiro(board, false);
    EXPECT_EQ(comDigitos.size(), clues.size() + 3) << "the three digits of the player";
}

// A printer that cannot start the job (here: its output cannot be opened) raises the Portuguese
// message, and nothing is left behind.
TEST_F(Impressao, ADeviceThatCannotStartIsReported) {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(pasta.filePath("falta/p.pdf"));
    try {
        ImprimirPuzzle(impressora, Puzzle(), C::ComSolucao);
        ADD_FAILURE() << "no error";
    } catch (const ESomadoError& e) {
        EXPECT_STREQ(e.what(),
                     "Não foi possível começar a imprimir: a impressora não aceitou o trabalho.");
    }
    EXPECT_TRUE(QDir(pasta.path()).isEmpty());
}
