// "Imprimir" in the window: Ctrl+P and the grid's menu open the preview with its three choices,
// the preview shows the solution page only when it is chosen, and leaving changes nothing.
#include "game/UnitSomadoJogo.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitImpressao.h"
#include "ui/UnitMain.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TSomadoBoard> OFixo(TTamanhoTabuleiro, TNivelDificuldade ANivel, int64_t,
                                    TAleatorio&, const std::atomic<bool>&) {
    auto board = CriarPuzzleFixo();
    board->SetDifficulty(ANivel);
    return board;
}

// What the print window showed before it was left with "Cancelar".
struct TVisto {
    bool Aberto = false;
    QString Titulo;
    QStringList Escolhas;
    std::vector<int> Paginas;
};

// Looks at the print window that is about to open, tries each choice, then cancels it.
void OlharECancelar(TVisto& AVisto) {
    QTimer::singleShot(20, [&AVisto] {
        auto* dialogo = dynamic_cast<TFormImpressao*>(QApplication::activeModalWidget());
        if (!dialogo) {
            OlharECancelar(AVisto);
            return;
        }
        AVisto.Aberto = true;
        AVisto.Titulo = dialogo->windowTitle();
        for (int i = 0; i < dialogo->ComboBoxConteudo->count(); ++i) {
            AVisto.Escolhas << dialogo->ComboBoxConteudo->itemText(i);
            dialogo->ComboBoxConteudo->setCurrentIndex(i);
            AVisto.Paginas.push_back(dialogo->PreviewImpressao->pageCount());
        }
        dialogo->BitBtnCancelar->click();
    });
}

class JanelaImprimir : public ::testing::Test {
protected:
    void SetUp() override {
        janela = std::make_unique<TFormMain>(OFixo);
        janela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
        janela->StringGrid1->setFocus();
        janela->Jogo().SeleccionarCelula(1, 1);
        janela->Jogo().EscreverCaracter(u'9');
        QApplication::processEvents();
    }
    std::unique_ptr<TFormMain> janela;
};

} // namespace

TEST_F(JanelaImprimir, CtrlPShowsThePreviewOfEachChoiceAndCancelChangesNothing) {
    const QString informacao = janela->MemoInformacao->toPlainText();
    TVisto visto;
    OlharECancelar(visto);
    QTest::keyClick(janela->StringGrid1, Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(visto.Aberto);
    EXPECT_EQ(visto.Titulo, "Imprimir — SOMADO");
    EXPECT_EQ(visto.Escolhas,
              (QStringList{"O puzzle como está", "Uma cópia em branco (só as pistas)",
                           "O puzzle e a página da solução"}));
    EXPECT_EQ(visto.Paginas, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(janela->MemoInformacao->toPlainText(), informacao);
    EXPECT_EQ(janela->Jogo().Board()->GetCell(1, 1).Value, 9);
    EXPECT_TRUE(janela->Jogo().HaJogadasPorGravar());
}

TEST_F(JanelaImprimir, TheGridsMenuOffersIt) {
    QString atalho;
    bool activa = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* accao : menu->actions())
            if (accao->text() == QStringLiteral("Imprimir…")) {
                atalho = accao->shortcut().toString();
                activa = accao->isEnabled();
                menu->close();
                TVisto* visto = new TVisto;
                OlharECancelar(*visto);
                accao->trigger();
                EXPECT_TRUE(visto->Aberto);
                delete visto;
                return;
            }
        menu->close();
    });
    const QPoint onde = janela->StringGrid1->viewport()->rect().center();
    QContextMenuEvent evento(QContextMenuEvent::Mouse, onde,
                             janela->StringGrid1->viewport()->mapToGlobal(onde));
    QApplication::sendEvent(janela->StringGrid1->viewport(), &evento);
    EXPECT_EQ(atalho, "Ctrl+P");
    EXPECT_TRUE(activa);
}
