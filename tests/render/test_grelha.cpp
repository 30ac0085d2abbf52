#include "ApoioDesenho.h"

#include <QRect>
#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Half-open boxes, as [left, right) x [top, bottom).
QRect Faixa(int AEsquerda, int ATopo, int ADireita, int AFundo) {
    return QRect(AEsquerda, ATopo, ADireita - AEsquerda, AFundo - ATopo);
}

QImage DesenharSoGrelha(int ALado, int AX0, int AY0, int ATamanho, int ANumero, int AFina,
                        int AGrossa) {
    return Pintar(ALado, ALado, [&](QPainter& canvas) {
        DesenharGrelha(canvas, AX0, AY0, ATamanho, ANumero, AFina, AGrossa);
    });
}

TEST(DesenharGrelha, PixeisPretosSaoExatamenteAsLinhasEAMoldura) {
    struct TCaso {
        const char* Caso;
        int Lado;
        int X0, Y0, Tamanho, Numero, Fina, Grossa;
        std::vector<QRect> Pretas;
    };
    std::vector<TCaso> casos;

    // Five 68-unit cells at (227, 391), lines 2 wide and a 4-wide frame: lines start one unit
    // before each boundary and the frame runs from (225, 389) to (569, 733).
    TCaso cinco{"cinco celulas de 68", 800, 227, 391, 68, 5, 2, 4, {}};
    for (int i = 0; i <= 5; ++i) {
        cinco.Pretas.push_back(Faixa(226 + 68 * i, 391, 228 + 68 * i, 731));
        cinco.Pretas.push_back(Faixa(227, 390 + 68 * i, 567, 392 + 68 * i));
    }
    cinco.Pretas.push_back(Faixa(225, 389, 569, 393));
    cinco.Pretas.push_back(Faixa(225, 729, 569, 733));
    cinco.Pretas.push_back(Faixa(225, 389, 229, 733));
    cinco.Pretas.push_back(Faixa(565, 389, 569, 733));
    casos.push_back(cinco);

    // Odd widths: a 3-wide line starts one unit before its boundary, a 5-wide frame two.
    TCaso impar{"larguras impares", 120, 20, 20, 30, 2, 3, 5, {}};
    for (int i = 0; i <= 2; ++i) {
        impar.Pretas.push_back(Faixa(19 + 30 * i, 20, 22 + 30 * i, 80));
        impar.Pretas.push_back(Faixa(20, 19 + 30 * i, 80, 22 + 30 * i));
    }
    impar.Pretas.push_back(Faixa(18, 18, 83, 23));
    impar.Pretas.push_back(Faixa(18, 78, 83, 83));
    impar.Pretas.push_back(Faixa(18, 18, 23, 83));
    impar.Pretas.push_back(Faixa(78, 18, 83, 83));
    casos.push_back(impar);

    // Hairlines on the boundaries themselves, and a frame reaching one unit outside.
    TCaso fina{"linhas de uma unidade", 100, 10, 10, 20, 3, 1, 3, {}};
    for (int i = 0; i <= 3; ++i) {
        fina.Pretas.push_back(Faixa(10 + 20 * i, 10, 11 + 20 * i, 70));
        fina.Pretas.push_back(Faixa(10, 10 + 20 * i, 70, 11 + 20 * i));
    }
    fina.Pretas.push_back(Faixa(9, 9, 72, 12));
    fina.Pretas.push_back(Faixa(9, 69, 72, 72));
    fina.Pretas.push_back(Faixa(9, 9, 12, 72));
    fina.Pretas.push_back(Faixa(69, 9, 72, 72));
    casos.push_back(fina);

    // A frame thinner than the lines leaves the outer lines sticking out past it.
    TCaso saliente{"moldura mais fina que as linhas", 100, 20, 20, 30, 2, 4, 1, {}};
    for (int i = 0; i <= 2; ++i) {
        saliente.Pretas.push_back(Faixa(18 + 30 * i, 20, 22 + 30 * i, 80));
        saliente.Pretas.push_back(Faixa(20, 18 + 30 * i, 80, 22 + 30 * i));
    }
    saliente.Pretas.push_back(Faixa(20, 20, 81, 21));
    saliente.Pretas.push_back(Faixa(20, 80, 81, 81));
    saliente.Pretas.push_back(Faixa(20, 20, 21, 81));
    saliente.Pretas.push_back(Faixa(80, 20, 81, 81));
    casos.push_back(saliente);

    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Caso);
        const QImage imagem = DesenharSoGrelha(caso.Lado, caso.X0, caso.Y0, caso.Tamanho,
                                               caso.Numero, caso.Fina, caso.Grossa);
        int errados = 0;
        std::string primeiro;
        for (int y = 0; y < imagem.height(); ++y) {
            for (int x = 0; x < imagem.width(); ++x) {
                bool preto = false;
                for (const QRect& faixa : caso.Pretas)
                    preto = preto || faixa.contains(x, y);
                const QColor esperada = preto ? CPreto : CSentinela;
                if (Cor(imagem, x, y) != esperada && errados++ == 0)
                    primeiro = QStringLiteral("(%1,%2)").arg(x).arg(y).toStdString();
            }
        }
        EXPECT_EQ(errados, 0) << "first wrong pixel at " << primeiro;
    }
}

TEST(DesenharGrelha, PontasDasLinhasECantosDaMoldura) {
    const QImage imagem = DesenharSoGrelha(800, 227, 391, 68, 5, 2, 4);
    struct TSonda {
        const char* Caso;
        int X, Y;
        bool Preto;
    };
    const TSonda sondas[] = {
        {"segunda vertical, primeira coluna", 294, 425, true},
        {"segunda vertical, segunda coluna", 295, 425, true},
        {"antes da segunda vertical", 293, 425, false},
        {"depois da segunda vertical", 296, 425, false},
        {"segunda vertical, ultima linha", 294, 730, true},
        {"segunda horizontal, primeira linha", 400, 458, true},
        {"segunda horizontal, segunda linha", 400, 459, true},
        {"acima da segunda horizontal", 400, 457, false},
        {"abaixo da segunda horizontal", 400, 460, false},
        {"canto superior esquerdo da moldura", 225, 389, true},
        {"a esquerda do canto", 224, 389, false},
        {"acima do canto", 225, 388, false},
        {"canto inferior direito da moldura", 568, 732, true},
        {"a direita do canto", 569, 732, false},
        {"abaixo do canto", 568, 733, false},
        {"borda esquerda, dentro", 228, 425, true},
        {"borda esquerda, fora", 229, 425, false},
        {"borda direita, dentro", 565, 425, true},
        {"borda direita, fora", 564, 425, false},
        {"borda de cima, dentro", 400, 392, true},
        {"borda de cima, fora", 400, 393, false},
        {"borda de baixo, dentro", 400, 729, true},
        {"borda de baixo, fora", 400, 728, false},
    };
    for (const TSonda& sonda : sondas) {
        SCOPED_TRACE(sonda.Caso);
        EXPECT_EQ(Cor(imagem, sonda.X, sonda.Y), sonda.Preto ? CPreto : CSentinela);
    }
}

TEST(DesenharGrelha, PintorSuavizadoEPincelNoFim) {
    const QImage base = DesenharSoGrelha(120, 20, 20, 30, 2, 3, 5);
    QImage imagem = ImagemSentinela(120, 120);
    QPainter canvas(&imagem);
    canvas.setRenderHint(QPainter::Antialiasing, true);
    canvas.setBrush(Qt::NoBrush);
    DesenharGrelha(canvas, 20, 20, 30, 2, 3, 5);
    EXPECT_EQ(canvas.brush().style(), Qt::SolidPattern);
    EXPECT_EQ(canvas.brush().color(), CPreto);
    EXPECT_TRUE(canvas.testRenderHint(QPainter::Antialiasing));
    canvas.end();
    EXPECT_TRUE(imagem == base);
}

} // namespace
