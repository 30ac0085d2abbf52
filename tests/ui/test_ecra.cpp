// The main window on screens smaller than the one it was drawn for: 150 % and 200 % scaling
// of a 1920 × 1080 laptop leave 1280 × 720 and 960 × 540 logical pixels, less the task bar.
#include "ui/Arranque.h"
#include "ui/Disposicao.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>

namespace {

// The side panel as drawn: the clock, thirteen buttons, the runs area and the size label.
std::vector<TFaixa> PainelDesenhado() {
    std::vector<TFaixa> faixas{{3, 20, 20}};
    for (const int topo : {26, 57, 88, 119, 150, 213, 244, 275, 306, 337, 397, 429, 460})
        faixas.push_back({topo, 25, 22});
    faixas.push_back({488, 50, 28});
    faixas.push_back({541, 17, 17});
    return faixas;
}
const TMedidasMemo CMemo{126, 64, 8, 2};

// What must hold at every height: bands in order, apart, no smaller than their least, the
// box below them all and at the bottom.
void VerificarDisposicao(const TDisposicaoLateral& ADisposicao, int AAltura) {
    const std::vector<TFaixa> desenho = PainelDesenhado();
    int fundo = 0;
    for (size_t i = 0; i < desenho.size(); ++i) {
        const TFaixa& faixa = ADisposicao.Faixas[i];
        EXPECT_GE(faixa.Topo - fundo, std::min(2, desenho[i].Topo)) << AAltura << " band " << i;
        EXPECT_GE(faixa.Altura, desenho[i].AlturaMinima) << AAltura << " band " << i;
        EXPECT_LE(faixa.Altura, desenho[i].Altura) << AAltura << " band " << i;
        fundo = faixa.Topo + faixa.Altura;
    }
    EXPECT_GE(ADisposicao.TopoMemo - fundo, 2) << AAltura;
    EXPECT_GE(ADisposicao.AlturaMemo, CMemo.AlturaMinima) << AAltura;
    EXPECT_EQ(ADisposicao.TopoMemo + ADisposicao.AlturaMemo, AAltura) << AAltura;
}

} // namespace

TEST(DisposicaoLateral, AtItsDrawnHeightOrMoreNothingMoves) {
    const auto desenho = PainelDesenhado();
    EXPECT_EQ(AlturaNaturalLateral(desenho, CMemo), 541 + 17 + 8 + 126);
    for (const int altura : {692, 735, 1400}) {
        const auto disposicao = DisporLateral(desenho, CMemo, altura);
        for (size_t i = 0; i < desenho.size(); ++i) {
            EXPECT_EQ(disposicao.Faixas[i].Topo, desenho[i].Topo) << altura;
            EXPECT_EQ(disposicao.Faixas[i].Altura, desenho[i].Altura) << altura;
        }
        EXPECT_EQ(disposicao.AlturaMemo, 126);
        EXPECT_EQ(disposicao.TopoMemo, altura - 126);
    }
}

TEST(DisposicaoLateral, TheBoxGivesUpHeightFirstThenTheGaps) {
    const auto desenho = PainelDesenhado();
    // Down to 62 short the controls stay where they were drawn.
    for (const int altura : {691, 660, 692 - 62}) {
        const auto disposicao = DisporLateral(desenho, CMemo, altura);
        EXPECT_EQ(disposicao.Faixas.back().Topo, 541) << altura;
        EXPECT_EQ(disposicao.AlturaMemo, altura - 566) << altura;
    }
    const int minima = AlturaMinimaLateral(desenho, CMemo);
    EXPECT_EQ(minima, 2 + 20 + 13 * (2 + 22) + 2 + 28 + 2 + 17 + 2 + 64);
    int fundoAnterior = 0;
    for (int altura = minima; altura <= 700; ++altura) {
        const auto disposicao = DisporLateral(desenho, CMemo, altura);
        VerificarDisposicao(disposicao, altura);
        // A taller panel never pulls a control up.
        EXPECT_GE(disposicao.Faixas.back().Topo, fundoAnterior) << altura;
        fundoAnterior = disposicao.Faixas.back().Topo;
    }
    const auto justa = DisporLateral(desenho, CMemo, minima);
    for (size_t i = 0; i < desenho.size(); ++i)
        EXPECT_EQ(justa.Faixas[i].Altura, desenho[i].AlturaMinima) << i;
}

TEST(LugarInicial, DrawnSizeWhereItFitsElseTheLargestThatDoes) {
    const QSize desenho(955, 735), minimo(472, 449);
    const QMargins windows(8, 31, 8, 8);
    const struct {
        const char* caso;
        QRect disponivel;
        QMargins moldura;
        QSize cliente;
        QPoint canto;
    } casos[] = {
        {"1920 x 1080 at 100 %", {0, 0, 1920, 1040}, windows, {955, 735}, {474, 133}},
        {"at 150 %", {0, 0, 1280, 672}, windows, {955, 633}, {154, 0}},
        {"at 200 %", {0, 0, 960, 492}, windows, {944, 453}, {0, 0}},
        {"panel on top, no frame", {0, 30, 1280, 690}, {}, {955, 690}, {162, 30}},
        {"second screen", {1920, 0, 1280, 720}, {1, 20, 1, 4}, {955, 696}, {1920 + 161, 0}},
        {"smaller than the least", {0, 0, 400, 300}, windows, {472, 449}, {0, 0}},
    };
    for (const auto& c : casos) {
        const TLugarJanela lugar = LugarInicial(desenho, minimo, c.disponivel, c.moldura);
        EXPECT_EQ(lugar.Cliente, c.cliente) << c.caso;
        EXPECT_EQ(lugar.Moldura, c.canto) << c.caso;
    }
}

namespace {

// Every control of the side panel inside the window and clear of the others.
void VerificarPainel(TFormMain& AJanela, const char* AQuando) {
    std::vector<QRect> controlos;
    const QRect janela = AJanela.rect();
    for (QWidget* filho :
         AJanela.PanelLateral->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // A control put away for want of room is not in sight.
        if (!filho->isVisibleTo(AJanela.PanelLateral)) continue;
        const QRect lugar(filho->mapTo(&AJanela, QPoint(0, 0)), filho->size());
        EXPECT_TRUE(janela.contains(lugar))
            << AQuando << ": " << filho->objectName().toStdString() << " at " << lugar.y() << ".."
            << lugar.bottom() << " in a window " << janela.height() << " high";
        for (const QRect& outro : controlos)
            EXPECT_FALSE(lugar.intersects(outro))
                << AQuando << ": " << filho->objectName().toStdString() << " overlaps";
        controlos.push_back(lugar);
    }
    EXPECT_GE(AJanela.MemoInformacao->height(), 64) << AQuando;
    // The runs' text is cut to the area it now has.
    const QLabel* corridas = AJanela.LabelCorridas;
    EXPECT_LE(corridas->fontMetrics()
                  .boundingRect(QRect(0, 0, corridas->width(), 100000), Qt::TextWordWrap,
                                corridas->text())
                  .height(),
              corridas->height())
        << AQuando;
}

} // namespace

// Run by tests/ui/escala.sh on an X server with a window manager at several scalings, and
// here on the test platform's screen.
TEST(Ecra, TheWindowOpensInsideTheScreenWithEveryControl) {
    const std::unique_ptr<TFormMain> janela = CriarJanelaPrincipal();
    janela->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
    const QRect disponivel = janela->screen()->availableGeometry();
    // The frame may come a moment after the window, and the window fits it then.
    const bool cabe =
        QTest::qWaitFor([&] { return disponivel.contains(janela->frameGeometry()); }, 5000);
    QTest::qWait(100);
    const QRect moldura = janela->frameGeometry();
    std::cout << "ecrã disponível " << disponivel.width() << "x" << disponivel.height() << "+"
              << disponivel.x() << "+" << disponivel.y() << ", moldura " << moldura.width() << "x"
              << moldura.height() << "+" << moldura.x() << "+" << moldura.y() << ", cliente "
              << janela->width() << "x" << janela->height() << ", escala "
              << janela->devicePixelRatio() << "\n";
    EXPECT_TRUE(cabe);
    EXPECT_TRUE(disponivel.contains(moldura));
    VerificarPainel(*janela, "at start");
    const QMargins margens(janela->geometry().left() - moldura.left(),
                           janela->geometry().top() - moldura.top(),
                           moldura.right() - janela->geometry().right(),
                           moldura.bottom() - janela->geometry().bottom());
    if (disponivel.height() >= 735 + margens.top() + margens.bottom() &&
        disponivel.width() >= 955 + margens.left() + margens.right()) {
        EXPECT_EQ(janela->size(), QSize(955, 735)) << "the drawn size where it fits";
        EXPECT_EQ(janela->BitBtnSair->geometry(), QRect(64, 460, 100, 25));
        EXPECT_EQ(janela->MemoInformacao->geometry(), QRect(0, 735 - 126, 220, 126));
    } else {
        // As large as the screen allows: the frame touches its top and bottom.
        EXPECT_GE(moldura.height(), disponivel.height() - 3);
    }
}

TEST(Ecra, AShorterWindowKeepsEveryControlAndTheBoardScales) {
    const std::unique_ptr<TFormMain> janela = CriarJanelaPrincipal();
    janela->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
    for (int altura = 735; altura >= 400; altura -= 15) {
        janela->resize(955, altura);
        QApplication::processEvents();
        const std::string quando = "window " + std::to_string(janela->height()) + " high";
        VerificarPainel(*janela, quando.c_str());
        // The 9 × 9 board stays whole down to its smallest cells.
        const QRect grelha = janela->StringGrid1->geometry();
        if (janela->height() >= 9 * 28) {
            EXPECT_TRUE(janela->PanelGrelha->rect().contains(grelha)) << quando;
        }
    }
    EXPECT_EQ(janela->height(), janela->PanelLateral->minimumHeight())
        << "the window stops shrinking where the panel would lose a control";
    EXPECT_LT(janela->height(), 692) << "and that is below the drawn layout";
}
