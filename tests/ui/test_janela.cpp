#include "game/UnitSomadoJogo.h"
#include "ui/Arranque.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitMain.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

std::unique_ptr<TSomadoBoard> SempreOFixo(TTamanhoTabuleiro, TNivelDificuldade ANivel, int64_t) {
    auto board = CriarPuzzleFixo();
    board->SetDifficulty(ANivel);
    return board;
}

class Janela : public ::testing::Test {
protected:
    void SetUp() override {
        janela = std::make_unique<TFormMain>(SempreOFixo);
        janela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
        grelha()->setFocus();
        QApplication::processEvents();
    }
    TGrelhaTabuleiro* grelha() { return janela->StringGrid1; }
    std::pair<int, int> actual() {
        return {grelha()->currentIndex().row(), grelha()->currentIndex().column()};
    }
    TSomadoCell celula(int r, int c) { return janela->Jogo().Board()->GetCell(r, c); }
    QPoint centro(int r, int c) {
        return grelha()->visualRect(grelha()->model()->index(r, c)).center();
    }
    void tecla(Qt::Key ATecla) { QTest::keyClick(grelha(), ATecla); }
    void texto(const char* ATexto) { QTest::keyClicks(grelha(), ATexto); }

    std::unique_ptr<TFormMain> janela;
};

} // namespace

TEST_F(Janela, CaptionClientAreaAndPanels) {
    EXPECT_EQ(janela->windowTitle(), "SOMADO | by Quorvel");
    EXPECT_EQ(janela->size(), QSize(955, 735));
    EXPECT_EQ(janela->PanelLateral->geometry(), QRect(735, 0, 220, 735));
    EXPECT_EQ(janela->PanelGrelha->size(), QSize(735, 735));
    EXPECT_TRUE(janela->MemoInformacao->isReadOnly());
    EXPECT_EQ(janela->MemoInformacao->geometry(), QRect(0, 735 - 126, 220, 126));
    EXPECT_EQ(QFontInfo(janela->MemoInformacao->font()).family(), "DejaVu Sans Mono");
    EXPECT_EQ(janela->MemoInformacao->toPlainText(), "Puzzle gerado: 9x9, Fácil.");
    EXPECT_EQ(janela->LabelTamanhoConfigurado->text(), "Tamanho seleccionado: 9x9");
    EXPECT_EQ(janela->LabelTamanhoConfigurado->pos(), QPoint(32, 541));
}

TEST_F(Janela, ButtonsAtTheirPlacesWithTheirCaptions) {
    const struct {
        QPushButton* botao;
        const char* legenda;
        int topo;
    } botoes[] = {
        {janela->BitBtnGerar, "Gerar Puzzle", 26},
        {janela->BitBtnVerSolucao, "Ver Solução", 57},
        {janela->BitBtnVerificar, "Verificar", 88},
        {janela->BitBtnDica, "Dica", 119},
        {janela->BitBtnLimpar, "Limpar", 150},
        {janela->BitBtnGuardar, "Guardar", 213},
        {janela->BitBtnAbrir, "Abrir", 244},
        {janela->BitBtnExportarPuzzle, "Exportar Puzzle", 275},
        {janela->BitBtnExportarLote, "Exportar Lote", 306},
        {janela->BitBtnConfigurar, "Configurar", 337},
        {janela->BitBtnAjuda, "Ajuda", 397},
        {janela->BitBtnSobre, "Sobre", 429},
        {janela->BitBtnSair, "Sair", 460},
    };
    for (const auto& b : botoes) {
        EXPECT_EQ(b.botao->text(), QString::fromUtf8(b.legenda));
        EXPECT_EQ(b.botao->geometry(), QRect(64, b.topo, 100, 25)) << b.legenda;
        // The caption fits its button.
        EXPECT_LE(b.botao->fontMetrics().horizontalAdvance(b.botao->text()), 100 - 8) << b.legenda;
    }
}

TEST_F(Janela, GridFitsItsPanel) {
    // 9 × 9 in a 735 × 735 panel: 64-unit cells, centred.
    EXPECT_EQ(grelha()->geometry(), QRect(79, 79, 576, 576));
    EXPECT_EQ(grelha()->horizontalHeader()->defaultSectionSize(), 64);
    EXPECT_EQ(grelha()->verticalHeader()->defaultSectionSize(), 64);
    // The first empty white cell is selected when the window shows.
    EXPECT_EQ(actual(), std::pair(1, 1));

    janela->Jogo().AplicarTamanhoSemPuzzle(TTamanhoTabuleiro::tt15);
    EXPECT_EQ(grelha()->geometry(), QRect(0, 0, 735, 735));
    EXPECT_EQ(grelha()->horizontalHeader()->defaultSectionSize(), 49);

    // Never above 64 nor below 28, even when the grid no longer fits.
    janela->resize(1600, 1400);
    QApplication::processEvents();
    EXPECT_EQ(grelha()->horizontalHeader()->defaultSectionSize(), 64);
    janela->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(grelha()->horizontalHeader()->defaultSectionSize(), 28);
    EXPECT_LT(grelha()->x(), 0) << "a grid larger than its panel is cut off on both sides";
}

TEST_F(Janela, TypingWritesAndMovesToTheNextEmptyWhiteCell) {
    janela->SeleccionarCelula(2, 3);
    texto("5");
    EXPECT_EQ(celula(2, 3).Value, 5);
    EXPECT_EQ(actual(), std::pair(2, 4));
    texto("0a ");
    EXPECT_EQ(celula(2, 4).Value, 0);
    EXPECT_EQ(actual(), std::pair(2, 4));
}

TEST_F(Janela, BlackAndClueCellsCannotBeSelected) {
    QTest::mouseClick(grelha()->viewport(), Qt::LeftButton, {}, centro(2, 5));
    EXPECT_EQ(actual(), std::pair(2, 5)) << "a white cell takes the click";
    for (const auto& [r, c] : {std::pair(0, 0), std::pair(1, 2), std::pair(0, 1)}) {
        QTest::mouseClick(grelha()->viewport(), Qt::LeftButton, {}, centro(r, c));
        EXPECT_EQ(actual(), std::pair(2, 5)) << r << "," << c;
    }
    // Arrow keys stop before black and clue cells: (1,1) has the clue (1,2) on its right.
    janela->SeleccionarCelula(1, 1);
    tecla(Qt::Key_Right);
    EXPECT_EQ(actual(), std::pair(1, 1));
    tecla(Qt::Key_Down);
    EXPECT_EQ(actual(), std::pair(2, 1));
}

TEST_F(Janela, EraseKeysEmptyWhiteCells) {
    for (const Qt::Key apagar : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_F2}) {
        janela->SeleccionarCelula(2, 3);
        texto("8");
        janela->SeleccionarCelula(2, 3);
        tecla(apagar);
        EXPECT_EQ(celula(2, 3).Value, 0);
        EXPECT_EQ(actual(), std::pair(2, 3)) << "erasing does not move the selection";
    }
}

TEST_F(Janela, InputIsIgnoredWhileTheSolutionIsShown) {
    janela->SeleccionarCelula(2, 3);
    texto("8");
    QTest::mouseClick(janela->BitBtnVerSolucao, Qt::LeftButton);
    EXPECT_EQ(janela->BitBtnVerSolucao->text(), "Esconder Solução");
    janela->SeleccionarCelula(2, 3);
    texto("4");
    tecla(Qt::Key_Delete);
    EXPECT_EQ(celula(2, 3).Value, 8);
    QTest::mouseClick(janela->BitBtnVerSolucao, Qt::LeftButton);
    EXPECT_EQ(janela->BitBtnVerSolucao->text(), "Ver Solução");
    EXPECT_EQ(celula(2, 3).Value, 8);
}

TEST_F(Janela, ButtonsRunTheirCommands) {
    janela->SeleccionarCelula(2, 3);
    texto("9");
    QTest::mouseClick(janela->BitBtnVerificar, Qt::LeftButton);
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Correctas: 0. Erradas: 1."));
    QTest::mouseClick(janela->BitBtnLimpar, Qt::LeftButton);
    EXPECT_EQ(celula(2, 3).Value, 0);
    QTest::mouseClick(janela->BitBtnDica, Qt::LeftButton);
    EXPECT_EQ(celula(1, 1).Value, 9) << "the hint fills the selected first empty cell";
    QTest::mouseClick(janela->BitBtnGerar, Qt::LeftButton);
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Puzzle gerado: 9x9, Fácil."));
    EXPECT_TRUE(janela->BitBtnGerar->isEnabled());
    EXPECT_EQ(celula(1, 1).Value, 0);
}

TEST(Arranque, TheSkyStyleIsShippedWithTheProgram) {
    auto* aplicacao = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(aplicacao, nullptr);
    EXPECT_TRUE(AplicarEstilo(*aplicacao, QStringLiteral("Sky")));
    EXPECT_FALSE(aplicacao->styleSheet().isEmpty());
    EXPECT_FALSE(AplicarEstilo(*aplicacao, QStringLiteral("NaoExiste")));
    aplicacao->setStyleSheet({});
}

TEST(Arranque, AnErrorInAHandlerIsReportedAndTheProgramGoesOn) {
    class TLancador : public QObject {
    protected:
        bool event(QEvent*) override { throw ESomadoError("falhou aqui"); }
    } lancador;
    QString mostrada;
    QTimer::singleShot(0, [&mostrada] {
        if (QWidget* caixa = QApplication::activeModalWidget()) {
            mostrada = caixa->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            caixa->close();
        }
    });
    QEvent evento(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&lancador, &evento));
    EXPECT_EQ(mostrada, "falhou aqui");
}

TEST_F(Janela, TheFocusedCellCarriesTheFocusFrame) {
    janela->activateWindow();
    grelha()->setFocus();
    janela->SeleccionarCelula(2, 3);
    QApplication::processEvents();
    ASSERT_TRUE(grelha()->hasFocus());
    const QImage imagem = grelha()->grab().toImage();
    const QColor realce = grelha()->palette().color(QPalette::Highlight);
    const QRect celula = grelha()->visualRect(grelha()->model()->index(2, 3));
    // The 3-unit frame covers the second to fourth pixel inside the cell's edge...
    EXPECT_EQ(imagem.pixelColor(celula.left() + 2, celula.center().y()), realce);
    EXPECT_EQ(imagem.pixelColor(celula.center().x(), celula.top() + 2), realce);
    // ...and no other cell has it.
    const QRect outra = grelha()->visualRect(grelha()->model()->index(2, 4));
    EXPECT_NE(imagem.pixelColor(outra.left() + 2, outra.center().y()), realce);
}
