#include "ApoioDesenho.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const QColor CCinza{80, 80, 80};
const QColor CBranco{255, 255, 255};

std::string Texto(const QColor& ACor) {
    return QStringLiteral("(%1,%2,%3,%4)")
        .arg(ACor.red())
        .arg(ACor.green())
        .arg(ACor.blue())
        .arg(ACor.alpha())
        .toStdString();
}

std::string Posicao(int AX, int AY) {
    return QStringLiteral("(%1,%2)").arg(AX).arg(AY).toStdString();
}

// Text drawn the way the board is meant to look, built here from the font sizes and insets
// worked out by hand, so a rendering can be compared with it pixel for pixel.
struct TTextoReferencia {
    QFont Fonte;
    int Largura = 0;
    int Altura = 0;
    int Ascendente = 0;
};

TTextoReferencia MedirReferencia(const QPainter& ACanvas, const QString& ATexto, int ATamanho) {
    TTextoReferencia medida;
    medida.Fonte = QFont(QStringLiteral("Segoe UI"));
    medida.Fonte.setBold(true);
    medida.Fonte.setPixelSize(ATamanho);
    const QFontMetrics metricas(medida.Fonte, ACanvas.device());
    medida.Largura = metricas.horizontalAdvance(ATexto);
    medida.Altura = metricas.height();
    medida.Ascendente = metricas.ascent();
    return medida;
}

void EscreverReferencia(QPainter& ACanvas, const TTextoReferencia& AMedida, const QString& ATexto,
                        const QColor& ACor, int AEsquerda, int ATopo) {
    ACanvas.setFont(AMedida.Fonte);
    ACanvas.setPen(ACor);
    ACanvas.drawText(AEsquerda, ATopo + AMedida.Ascendente, ATexto);
}

TEST(DesenharCelulaFundo, CadaPixelDaCelulaPorTipoEBorda) {
    struct TCaso {
        const char* Caso;
        TSomadoCell Celula;
        TRectCelula Rect;
        bool Borda;
        QColor Interior;
        bool Diagonal;
    };
    const TCaso casos[] = {
        {"preta", CelulaPreta(), {7, 5, 37, 35}, false, CCinza, false},
        {"preta com borda", CelulaPreta(), {7, 5, 37, 35}, true, CCinza, false},
        {"pista sem somas", CelulaPista(0, 0), {7, 5, 37, 35}, false, CCinza, true},
        {"pista sem somas com borda", CelulaPista(0, 0), {7, 5, 37, 35}, true, CCinza, true},
        {"pista grande com borda", CelulaPista(0, 0), {3, 4, 48, 49}, true, CCinza, true},
        {"branca por jogar", CelulaBranca(0, 6), {7, 5, 37, 35}, false, CBranco, false},
        {"branca por jogar com borda", CelulaBranca(0, 6), {7, 5, 37, 35}, true, CBranco, false},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        const TRectCelula& r = caso.Rect;
        const QImage imagem = DesenharSo(r, caso.Celula, false, caso.Borda);

        EXPECT_EQ(ContarTocadosFora(imagem, ParaQRect(r)), 0);
        int errados = 0;
        std::string primeiro;
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                const bool naDiagonal = caso.Diagonal && x - r.Left == y - r.Top;
                const bool noAnel = caso.Borda && (x == r.Left || x == r.Right - 1 || y == r.Top ||
                                                   y == r.Bottom - 1);
                const QColor esperada = naDiagonal ? CBranco : noAnel ? CPreto : caso.Interior;
                const QColor obtida = Cor(imagem, x, y);
                if (obtida != esperada && errados++ == 0)
                    primeiro =
                        Posicao(x, y) + " is " + Texto(obtida) + ", expected " + Texto(esperada);
            }
        }
        EXPECT_EQ(errados, 0) << "first: " << primeiro;
    }
}

TEST(DesenharCelulaFundo, DiagonalDaPistaFicaDentroDeQualquerCelula) {
    const TRectCelula rects[] = {
        {7, 5, 47, 30}, {7, 5, 32, 45}, {3, 3, 4, 4}, {3, 3, 5, 5}, {10, 10, 55, 55},
    };
    for (const TRectCelula& r : rects) {
        for (const bool borda : {false, true}) {
            SCOPED_TRACE(Posicao(r.Left, r.Top) + "-" + Posicao(r.Right, r.Bottom) +
                         (borda ? " with border" : ""));
            const QImage imagem = DesenharSo(r, CelulaPista(0, 0), false, borda);
            EXPECT_EQ(ContarTocadosFora(imagem, ParaQRect(r)), 0);
            EXPECT_EQ(Cor(imagem, r.Left, r.Top), CBranco);
            EXPECT_EQ(Cor(imagem, r.Right - 1, r.Bottom - 1), CBranco);
            // Aliased: a slanted line leaves no blends of white and grey behind.
            const QRect misturas = CaixaDe(imagem, ParaQRect(r), [](int, int, const QColor& c) {
                return c != CCinza && c != CBranco && c != CPreto;
            });
            EXPECT_TRUE(misturas.isNull());
        }
    }
}

TEST(DesenharPista, CadaSomaEscreveNoSeuTriangulo) {
    struct TCaso {
        const char* Caso;
        int32_t Direita;
        int32_t Baixo;
        bool TextoEmCima;
        bool TextoEmBaixo;
    };
    const TCaso casos[] = {
        {"sem somas", 0, 0, false, false},
        {"so a horizontal", 17, 0, true, false},
        {"so a vertical", 0, 23, false, true},
        {"ambas", 45, 6, true, true},
    };
    const TRectCelula r{4, 4, 49, 49};
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        const QImage imagem = DesenharSo(r, CelulaPista(caso.Direita, caso.Baixo));
        EXPECT_EQ(ContarTocadosFora(imagem, ParaQRect(r)), 0);

        int emCima = 0;
        int emBaixo = 0;
        int maisClaro = 0;
        bool soCinzentos = true;
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                const int dx = x - r.Left;
                const int dy = y - r.Top;
                const QColor cor = Cor(imagem, x, y);
                // The diagonal is white too; only what lies clear of it counts as text.
                if (cor == CCinza || std::abs(dx - dy) <= 1) continue;
                (dx > dy ? emCima : emBaixo)++;
                // White text smoothed over grey gives greys between the two, nothing else.
                soCinzentos = soCinzentos && cor.red() == cor.green() && cor.green() == cor.blue();
                maisClaro = std::max(maisClaro, cor.red());
            }
        }
        EXPECT_EQ(emCima > 0, caso.TextoEmCima) << emCima << " text pixels above the diagonal";
        EXPECT_EQ(emBaixo > 0, caso.TextoEmBaixo) << emBaixo << " text pixels below it";
        EXPECT_TRUE(soCinzentos);
        if (caso.TextoEmCima || caso.TextoEmBaixo) {
            EXPECT_EQ(maisClaro, 255);
        }
    }
}

// Sizes worked out by hand from the cell height: digit half of it, clue numbers three tenths,
// clue inset one tenth, each rounded half to even (22.5 -> 22, 13.5 -> 14, 12.5 -> 12, ...).
struct TTamanhos {
    int Altura;
    int Digito;
    int Pista;
    int Margem;
};
const TTamanhos CTamanhos[] = {
    {45, 22, 14, 4},
    {25, 12, 8, 2},
    {35, 18, 10, 4},
    {68, 34, 20, 7},
};

TEST(DesenharCelulaTexto, DigitoIgualAoDaFonteDoTamanhoCerto) {
    for (const TTamanhos& t : CTamanhos) {
        SCOPED_TRACE("cell of " + std::to_string(t.Altura));
        const TRectCelula r{2, 3, 2 + t.Altura, 3 + t.Altura};
        const QImage imagem = DesenharSo(r, CelulaBranca(4, 0));

        const auto referencia = [&](int ATamanho) {
            return Pintar(imagem.width(), imagem.height(), [&](QPainter& canvas) {
                DesenharCelula(canvas, r, CelulaBranca(0, 0), false, false);
                const TTextoReferencia m = MedirReferencia(canvas, QStringLiteral("4"), ATamanho);
                EscreverReferencia(canvas, m, QStringLiteral("4"), CPreto,
                                   r.Left + (t.Altura - m.Largura) / 2,
                                   r.Top + (t.Altura - m.Altura) / 2);
            });
        };
        EXPECT_TRUE(imagem == referencia(t.Digito));
        // The comparison must be able to tell a size apart from its neighbour.
        EXPECT_FALSE(imagem == referencia(t.Digito + 1));
    }
}

TEST(DesenharCelulaTexto, SomasIguaisAsDaFonteDoTamanhoEMargemCertos) {
    for (const TTamanhos& t : CTamanhos) {
        SCOPED_TRACE("cell of " + std::to_string(t.Altura));
        const TRectCelula r{2, 3, 2 + t.Altura, 3 + t.Altura};
        const QImage imagem = DesenharSo(r, CelulaPista(17, 38));

        const auto referencia = [&](int ATamanho, int AMargem) {
            return Pintar(imagem.width(), imagem.height(), [&](QPainter& canvas) {
                DesenharCelula(canvas, r, CelulaPista(0, 0), false, false);
                const TTextoReferencia h = MedirReferencia(canvas, QStringLiteral("17"), ATamanho);
                EscreverReferencia(canvas, h, QStringLiteral("17"), CBranco,
                                   r.Right - h.Largura - AMargem, r.Top + AMargem);
                const TTextoReferencia v = MedirReferencia(canvas, QStringLiteral("38"), ATamanho);
                EscreverReferencia(canvas, v, QStringLiteral("38"), CBranco, r.Left + AMargem,
                                   r.Bottom - v.Altura - AMargem);
            });
        };
        EXPECT_TRUE(imagem == referencia(t.Pista, t.Margem));
        EXPECT_FALSE(imagem == referencia(t.Pista + 1, t.Margem));
        EXPECT_FALSE(imagem == referencia(t.Pista, t.Margem + 1));
    }
}

TEST(DesenharCelulaTexto, DigitoCentradoNaHorizontal) {
    for (const int altura : {45, 68}) {
        for (int digito = 1; digito <= 9; ++digito) {
            SCOPED_TRACE("digit " + std::to_string(digito) + " in a cell of " +
                         std::to_string(altura));
            const TRectCelula r{5, 5, 5 + altura, 5 + altura};
            const QImage imagem = DesenharSo(r, CelulaBranca(digito, 0));
            const QRect tinta = CaixaDe(imagem, ParaQRect(r),
                                        [](int, int, const QColor& c) { return c != CBranco; });
            ASSERT_FALSE(tinta.isNull());
            // Twice the centres, to stay in whole pixels: ink spans [left, right + 1).
            const int centroTinta = tinta.left() + tinta.right() + 1;
            const int centroCelula = r.Left + r.Right;
            EXPECT_LE(std::abs(centroTinta - centroCelula), 4)
                << "ink from x=" << tinta.left() << " to x=" << tinta.right();
        }
    }
}

TEST(DesenharCelulaTexto, CorDoDigitoSegueOEstado) {
    struct TCaso {
        const char* Caso;
        TCellDisplayState Estado;
        QColor Cor;
    };
    const TCaso casos[] = {
        {"normal", TCellDisplayState::cdsNormal, QColor(0, 0, 0)},
        {"certo", TCellDisplayState::cdsCorrect, QColor(0, 0, 0)},
        {"errado", TCellDisplayState::cdsWrong, QColor(200, 0, 0)},
        {"revelado", TCellDisplayState::cdsRevealed, QColor(0, 55, 120)},
    };
    const TRectCelula r{3, 3, 48, 48};
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        EXPECT_EQ(CorDoDigito(caso.Estado), caso.Cor);

        const QImage imagem = DesenharSo(r, CelulaBranca(8, 0, caso.Estado));
        // Smoothed edges mix the colour with white; the stroke's core carries the colour itself.
        QColor maisEscura = CBranco;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const QColor c = Cor(imagem, x, y);
                if (c.red() + c.green() + c.blue() <
                    maisEscura.red() + maisEscura.green() + maisEscura.blue())
                    maisEscura = c;
            }
        EXPECT_EQ(maisEscura, caso.Cor) << Texto(maisEscura);
    }
}

TEST(DesenharCelulaTexto, MostrarSolucaoTrocaOValorPelaSolucao) {
    const TRectCelula r{3, 3, 48, 48};
    // The cases below tell digits apart by their images, which needs 1 and 8 to differ.
    ASSERT_FALSE(DesenharSo(r, CelulaBranca(1, 0)) == DesenharSo(r, CelulaBranca(8, 0)));

    struct TCaso {
        const char* Caso;
        int32_t Valor;
        int32_t Solucao;
        bool Mostrar;
        int32_t Visivel;
    };
    const TCaso casos[] = {
        {"jogada", 1, 8, false, 1},
        {"solucao por cima da jogada", 1, 8, true, 8},
        {"solucao em celula por jogar", 0, 8, true, 8},
        {"solucao por conhecer", 3, 0, true, 0},
        {"nada jogado", 0, 8, false, 0},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        const auto estado = TCellDisplayState::cdsRevealed;
        const QImage imagem =
            DesenharSo(r, CelulaBranca(caso.Valor, caso.Solucao, estado), caso.Mostrar);
        EXPECT_TRUE(imagem == DesenharSo(r, CelulaBranca(caso.Visivel, 0, estado)));
    }
}

TEST(DesenharCelulaTexto, ValorZeroDeixaQuadradoBrancoEmQualquerEstado) {
    const TCellDisplayState estados[] = {
        TCellDisplayState::cdsNormal,
        TCellDisplayState::cdsCorrect,
        TCellDisplayState::cdsWrong,
        TCellDisplayState::cdsRevealed,
    };
    const TRectCelula r{3, 3, 48, 48};
    for (const TCellDisplayState estado : estados) {
        for (const bool borda : {false, true}) {
            SCOPED_TRACE("state " + std::to_string(static_cast<int>(estado)) +
                         (borda ? " with border" : ""));
            const QImage imagem = DesenharSo(r, CelulaBranca(0, 9, estado), false, borda);
            const QRect interior = borda ? ParaQRect(r).adjusted(1, 1, -1, -1) : ParaQRect(r);
            const QRect diferentes =
                CaixaDe(imagem, interior, [](int, int, const QColor& c) { return c != CBranco; });
            EXPECT_TRUE(diferentes.isNull())
                << "non-white pixels within " << diferentes.x() << "," << diferentes.y() << " "
                << diferentes.width() << "x" << diferentes.height();
        }
    }
}

// A row of 45-unit cells: black, clue with both sums, a wrong digit and a revealed solution
// with a border, covering every drawing path; then a flat clue whose slanted diagonal would
// come out smoothed if the caller's antialiasing were let through.
QImage DesenharFila(const std::function<void(QPainter&)>& APreparar) {
    return Pintar(236, 51, [&](QPainter& canvas) {
        APreparar(canvas);
        DesenharCelula(canvas, {0, 0, 45, 45}, CelulaPreta(), false, false);
        DesenharCelula(canvas, {45, 0, 90, 45}, CelulaPista(17, 38), false, false);
        DesenharCelula(canvas, {90, 0, 135, 45}, CelulaBranca(5, 0, TCellDisplayState::cdsWrong),
                       false, false);
        DesenharCelula(canvas, {135, 0, 180, 45},
                       CelulaBranca(0, 7, TCellDisplayState::cdsRevealed), true, true);
        DesenharCelula(canvas, {180, 0, 230, 30}, CelulaPista(0, 0), false, false);
    });
}

TEST(DesenharCelulaPintor, EstadoDeixadoPeloChamadorNaoMudaOsPixeis) {
    const QImage base = DesenharFila([](QPainter&) {});
    struct TCaso {
        const char* Caso;
        std::function<void(QPainter&)> Preparar;
    };
    const TCaso casos[] = {
        {"suavizacao ligada", [](QPainter& c) { c.setRenderHint(QPainter::Antialiasing, true); }},
        {"fundo opaco verde",
         [](QPainter& c) {
             c.setBackgroundMode(Qt::OpaqueMode);
             c.setBackground(QBrush(Qt::green));
         }},
        {"caneta grossa vermelha",
         [](QPainter& c) { c.setPen(QPen(QBrush(Qt::red), 5, Qt::SolidLine, Qt::SquareCap)); }},
        {"pincel tracejado", [](QPainter& c) { c.setBrush(QBrush(Qt::blue, Qt::Dense4Pattern)); }},
        {"outra fonte",
         [](QPainter& c) {
             QFont fonte(QStringLiteral("DejaVu Serif"));
             fonte.setItalic(true);
             fonte.setPixelSize(3);
             c.setFont(fonte);
         }},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        EXPECT_TRUE(DesenharFila(caso.Preparar) == base);
    }
}

TEST(DesenharCelulaPintor, DeixaPincelSolidoESuavizacaoDoChamador) {
    const TSomadoCell celulas[] = {
        CelulaPreta(),
        CelulaPista(17, 38),
        CelulaBranca(5, 0),
    };
    for (const TSomadoCell& celula : celulas) {
        for (const bool suavizar : {false, true}) {
            SCOPED_TRACE("type " + std::to_string(static_cast<int>(celula.CellType)) +
                         (suavizar ? " antialiased" : ""));
            QImage imagem = ImagemSentinela(50, 50);
            QPainter canvas(&imagem);
            canvas.setBrush(Qt::NoBrush);
            canvas.setRenderHint(QPainter::Antialiasing, suavizar);
            DesenharCelula(canvas, {0, 0, 45, 45}, celula, false, true);
            EXPECT_EQ(canvas.brush().style(), Qt::SolidPattern);
            EXPECT_EQ(canvas.testRenderHint(QPainter::Antialiasing), suavizar);
        }
    }
}

} // namespace

namespace {

TSomadoCell CelulaBrancaVazia() {
    TSomadoCell celula;
    celula.CellType = TCellType::ctEmpty;
    celula.Solution = 4;
    return celula;
}

} // namespace

// Marks read at a glance even in the smallest cells the grid gives a 25 × 25 board (28 units),
// and never spill into their neighbours' thirds.
TEST(DesenharNotas, LegiveisNasCasasMaisPequenas) {
    for (const int lado : {28, 29, 40, 64}) {
        const TRectCelula rect{0, 0, lado, lado};
        const QImage imagem = Pintar(lado, lado, [&](QPainter& canvas) {
            DesenharCelula(canvas, rect, CelulaBrancaVazia(), false, false, {0x3FE, false});
        });
        for (int d = 1; d <= 9; ++d) {
            const int coluna = (d - 1) % 3, linha = (d - 1) / 3;
            const QRect terco(lado * coluna / 3, lado * linha / 3, lado / 3, lado / 3);
            const QRect tinta = CaixaDe(
                imagem, terco, [](int, int, const QColor& c) { return c.lightness() < 160; });
            ASSERT_FALSE(tinta.isNull()) << lado << ": mark " << d;
            EXPECT_GE(tinta.height(), 8) << lado << ": mark " << d << " is too small to read";
            int maisEscura = 255;
            for (int y = tinta.top(); y <= tinta.bottom(); ++y)
                for (int x = tinta.left(); x <= tinta.right(); ++x)
                    maisEscura = std::min(maisEscura, Cor(imagem, x, y).lightness());
            EXPECT_LE(maisEscura, 80) << lado << ": mark " << d << " is too pale";
        }
    }
}

// Each highlight has a background of its own, none of them the conflict's or plain white; a
// conflict wins over any highlight, and a hidden cell shows neither digit nor marks.
TEST(DesenharCelulaFundo, RealcesEOcultacao) {
    const TRectCelula rect{0, 0, 40, 40};
    const auto fundo = [&](const TExtrasCelula& AExtras, int AValor) {
        TSomadoCell celula = CelulaBrancaVazia();
        celula.Value = AValor;
        const QImage imagem = Pintar(40, 40, [&](QPainter& canvas) {
            DesenharCelula(canvas, rect, celula, false, false, AExtras);
        });
        return Cor(imagem, 2, 2);
    };
    using R = TRealceCelula;
    std::vector<QColor> vistas{fundo({}, 0), fundo({0, true}, 5)};
    for (const R realce : {R::Corrida, R::Passo, R::PassoCelula, R::Fim}) {
        const QColor cor = fundo({0, false, realce}, 0);
        EXPECT_EQ(cor, FundoDaCelula(false, realce));
        for (const QColor& outra : vistas)
            EXPECT_NE(cor, outra) << static_cast<int>(realce);
        vistas.push_back(cor);
        EXPECT_EQ(fundo({0, true, realce}, 5), CCorFundoConflito) << "the conflict wins";
    }
    TSomadoCell celula = CelulaBrancaVazia();
    celula.Value = 7;
    const QImage oculta = Pintar(40, 40, [&](QPainter& canvas) {
        DesenharCelula(canvas, rect, celula, false, false, {0x3FE, false, R::Nenhum, true});
    });
    EXPECT_TRUE(CaixaDe(oculta, QRect(1, 1, 38, 38),
                        [](int, int, const QColor& c) { return c.lightness() < 200; })
                    .isNull())
        << "a paused board hides digits and marks";
}
