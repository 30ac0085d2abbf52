#include "game/UnitSomadoJogo.h"
#include "pdf/UnitSomadoPdf.h"
#include "ui/Arranque.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitAjuda.h"
#include "ui/UnitConfiguracao.h"
#include "ui/UnitMain.h"
#include "ui/UnitSobre.h"

#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolTip>

// Qt for Windows shows Windows' own file dialog, which a test cannot answer from inside the
// program; tests/windows/fumo-wine.sh types into it from outside instead.
#ifdef _WIN32
#define SOMADO_PRECISA_DO_DIALOGO_DO_QT()                                                          \
    GTEST_SKIP() << "Windows shows its own file dialog, which this test cannot answer from "       \
                    "inside the program (the wine smoke test drives it from outside)"
#else
#define SOMADO_PRECISA_DO_DIALOGO_DO_QT() static_cast<void>(0)
#endif

namespace {

std::unique_ptr<TSomadoBoard> SempreOFixo(TTamanhoTabuleiro, TNivelDificuldade ANivel, int64_t,
                                          TAleatorio&, const std::atomic<bool>&) {
    auto board = CriarPuzzleFixo();
    board->SetDifficulty(ANivel);
    return board;
}

// Answers the next modal box with the button of that caption, noting the box's text and
// buttons; an empty caption closes the box without a button.
struct TCaixaVista {
    QString Texto;
    QStringList Botoes;
    QString Predefinido;
};

// Lets the window's event loop run until the game's long work (a new puzzle, a batch) has
// ended; false when it did not end within the time.
bool EsperarLivre(TFormMain& AJanela, int AMaximoMs = 30000) {
    return QTest::qWaitFor([&] { return AJanela.Jogo().Ocupacao() == TOcupacao::Livre; },
                           AMaximoMs);
}

void ResponderAoProximoModal(const QString& ALegenda, TCaixaVista* ARegisto = nullptr) {
    QTimer::singleShot(0, [ALegenda, ARegisto] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa) {
            ResponderAoProximoModal(ALegenda, ARegisto);
            return;
        }
        if (ARegisto) {
            ARegisto->Texto = caixa->text();
            for (QAbstractButton* botao : caixa->buttons())
                ARegisto->Botoes << botao->text();
            ARegisto->Predefinido = caixa->defaultButton() ? caixa->defaultButton()->text() : "";
        }
        for (QAbstractButton* botao : caixa->buttons())
            if (!ALegenda.isEmpty() && botao->text() == ALegenda) {
                botao->click();
                return;
            }
        caixa->reject();
    });
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
    // The current cell the game holds, which the view's own index follows.
    std::pair<int, int> actual() {
        const TCursor cursor = janela->Jogo().Cursor();
        EXPECT_EQ(grelha()->currentIndex(), grelha()->model()->index(cursor.Row, cursor.Col));
        return {cursor.Row, cursor.Col};
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
    janela->Jogo().SeleccionarCelula(2, 3);
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
    // Arrow keys jump over black and clue cells, and stay where no white cell is left.
    janela->Jogo().SeleccionarCelula(1, 1);
    tecla(Qt::Key_Right);
    EXPECT_EQ(actual(), std::pair(1, 3)) << "over the clue (1, 2)";
    tecla(Qt::Key_Up);
    EXPECT_EQ(actual(), std::pair(1, 3)) << "the frame above";
    tecla(Qt::Key_Down);
    EXPECT_EQ(actual(), std::pair(2, 3));
    janela->Jogo().SeleccionarCelula(7, 7);
    tecla(Qt::Key_Up);
    EXPECT_EQ(actual(), std::pair(3, 7)) << "over three black cells";
}

TEST_F(Janela, EraseKeysEmptyWhiteCells) {
    for (const Qt::Key apagar : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_F2}) {
        janela->Jogo().SeleccionarCelula(2, 3);
        texto("8");
        janela->Jogo().SeleccionarCelula(2, 3);
        tecla(apagar);
        EXPECT_EQ(celula(2, 3).Value, 0);
        EXPECT_EQ(actual(), std::pair(2, 3)) << "erasing does not move the selection";
    }
}

TEST_F(Janela, InputIsIgnoredWhileTheSolutionIsShown) {
    janela->Jogo().SeleccionarCelula(2, 3);
    texto("8");
    QTest::mouseClick(janela->BitBtnVerSolucao, Qt::LeftButton);
    EXPECT_EQ(janela->BitBtnVerSolucao->text(), "Esconder Solução");
    janela->Jogo().SeleccionarCelula(2, 3);
    texto("4");
    tecla(Qt::Key_Delete);
    EXPECT_EQ(celula(2, 3).Value, 8);
    QTest::mouseClick(janela->BitBtnVerSolucao, Qt::LeftButton);
    EXPECT_EQ(janela->BitBtnVerSolucao->text(), "Ver Solução");
    EXPECT_EQ(celula(2, 3).Value, 8);
}

TEST_F(Janela, ButtonsRunTheirCommands) {
    janela->Jogo().SeleccionarCelula(2, 3);
    texto("9");
    QTest::mouseClick(janela->BitBtnVerificar, Qt::LeftButton);
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Correctas: 0. Erradas: 1."));
    QTest::mouseClick(janela->BitBtnLimpar, Qt::LeftButton);
    EXPECT_EQ(celula(2, 3).Value, 0);
    QTest::mouseClick(janela->BitBtnDica, Qt::LeftButton);
    EXPECT_EQ(celula(1, 1).Value, 9) << "the hint fills the selected first empty cell";
    ResponderAoProximoModal("Não");
    QTest::mouseClick(janela->BitBtnGerar, Qt::LeftButton);
    ASSERT_TRUE(EsperarLivre(*janela));
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Puzzle gerado: 9x9, Fácil."));
    EXPECT_TRUE(janela->BitBtnGerar->isEnabled());
    EXPECT_EQ(celula(1, 1).Value, 0);
}

TEST(Arranque, TheSkyStyleIsShippedWithTheProgram) {
    auto* aplicacao = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(aplicacao, nullptr);
    EXPECT_FALSE(AplicarEstilo(*aplicacao, QStringLiteral("NaoExiste")));
    EXPECT_TRUE(AplicarEstilo(*aplicacao, QStringLiteral("Sky")));
    EXPECT_FALSE(aplicacao->styleSheet().isEmpty());
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

TEST_F(Janela, TheFocusedCellCarriesAVisibleFocusFrame) {
    // The system's highlight, opaque, whatever the style sheet does to the view's palette.
    const QColor realce = CorMolduraFoco();
    EXPECT_EQ(realce.alpha(), 255);
    QColor sistema = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    sistema.setAlpha(255);
    EXPECT_EQ(realce, sistema);

    janela->activateWindow();
    grelha()->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(grelha()->hasFocus());
    // A white cell of the fixed puzzle, then the corner of the all-black boards of every other
    // size, where the current cell rests when there is no white cell to take it.
    struct TCaso {
        TTamanhoTabuleiro tamanho;
        int r, c;
    };
    std::vector<TCaso> casos{{TTamanhoTabuleiro::tt9, 2, 3}};
    for (const auto t : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt12, TTamanhoTabuleiro::tt15,
                         TTamanhoTabuleiro::tt16, TTamanhoTabuleiro::tt20, TTamanhoTabuleiro::tt25})
        casos.push_back({t, 0, 0});
    for (const TCaso& caso : casos) {
        if (caso.tamanho != TTamanhoTabuleiro::tt9)
            janela->Jogo().AplicarTamanhoSemPuzzle(caso.tamanho);
        if (caso.tamanho == TTamanhoTabuleiro::tt9) {
            ASSERT_TRUE(janela->Jogo().SeleccionarCelula(caso.r, caso.c));
        }
        ASSERT_EQ(actual(), std::pair(caso.r, caso.c));
        QApplication::processEvents();
        const QRect celula = grelha()->visualRect(grelha()->model()->index(caso.r, caso.c));
        const QRect vizinha = grelha()->visualRect(grelha()->model()->index(caso.r, caso.c + 1));
        const QImage imagem = grelha()->grab().toImage();
        const auto onde = [&] {
            return std::to_string(LadoDoTabuleiro(caso.tamanho)) + ": " + std::to_string(caso.r) +
                   "," + std::to_string(caso.c);
        };
        // The 3-unit frame covers the second to fourth pixel inside the cell's edge...
        EXPECT_EQ(imagem.pixelColor(celula.left() + 2, celula.center().y()), realce) << onde();
        EXPECT_EQ(imagem.pixelColor(celula.center().x(), celula.top() + 2), realce) << onde();
        EXPECT_EQ(imagem.pixelColor(celula.right() - 1, celula.center().y()), realce) << onde();
        // ...and the next cell, not current, has none of it.
        EXPECT_NE(imagem.pixelColor(vizinha.left() + 2, vizinha.center().y()), realce) << onde();
    }
}

TEST_F(Janela, QuestionsHaveSimNaoCancelarWithSimAsDefault) {
    texto("5");
    TCaixaVista resposta;
    ResponderAoProximoModal("Cancelar", &resposta);
    QTest::mouseClick(janela->BitBtnGerar, Qt::LeftButton);
    EXPECT_EQ(resposta.Texto, "Há jogadas por gravar. Guardar antes de gerar um puzzle novo?");
    EXPECT_EQ(resposta.Botoes.size(), 3);
    for (const char* legenda : {"Sim", "Não", "Cancelar"})
        EXPECT_TRUE(resposta.Botoes.contains(QString::fromUtf8(legenda))) << legenda;
    EXPECT_EQ(resposta.Predefinido, "Sim");
    EXPECT_EQ(celula(1, 1).Value, 5) << "Cancelar keeps the board";
}

TEST_F(Janela, ClosingWithUnsavedMovesAsksEveryTime) {
    texto("5");
    struct {
        const char* legenda;
        bool fecha;
    } casos[] = {{"Cancelar", false}, {"", false}, {"Não", true}};
    for (const auto& caso : casos) {
        janela->show();
        ResponderAoProximoModal(QString::fromUtf8(caso.legenda));
        EXPECT_EQ(janela->close(), caso.fecha) << caso.legenda;
        EXPECT_EQ(janela->isVisible(), !caso.fecha) << caso.legenda;
    }
    // Without unsaved moves the window closes without a question.
    janela->Jogo().Limpar();
    janela->show();
    EXPECT_TRUE(janela->close());
}

namespace {

// What a file dialog showed while it was open.
struct TDialogoVisto {
    QString Nome;
    QStringList Filtros;
    QString Sufixo;
    bool NaoPerguntaSubstituir = false;
    QFileDialog::AcceptMode Modo = QFileDialog::AcceptOpen;
    QFileDialog::FileMode ModoFicheiros = QFileDialog::AnyFile;
    QString Pasta;
    QStringList Rotulos;
};

// Notes the next file dialog and cancels it.
void CancelarProximoDialogo(TDialogoVisto& AVisto) {
    QTimer::singleShot(0, [&AVisto] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogo) {
            CancelarProximoDialogo(AVisto);
            return;
        }
        AVisto.Nome = dialogo->objectName();
        AVisto.Filtros = dialogo->nameFilters();
        AVisto.Sufixo = dialogo->defaultSuffix();
        AVisto.NaoPerguntaSubstituir = dialogo->testOption(QFileDialog::DontConfirmOverwrite);
        AVisto.Modo = dialogo->acceptMode();
        AVisto.ModoFicheiros = dialogo->fileMode();
        AVisto.Pasta = dialogo->directory().absolutePath();
        for (const auto rotulo : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
                                  QFileDialog::Accept, QFileDialog::Reject})
            AVisto.Rotulos << dialogo->labelText(rotulo);
        dialogo->reject();
    });
}

} // namespace

TEST_F(Janela, FileDialogsFilterTheirTypeAndSpeakPortuguese) {
    SOMADO_PRECISA_DO_DIALOGO_DO_QT();
    const struct {
        const char* nome;
        std::function<bool(TFormMain&, QString&)> abrir;
        const char* filtro;
        QFileDialog::AcceptMode modo;
    } casos[] = {
        {"OpenDialog1", [](TFormMain& j, QString& c) { return j.EscolherFicheiroParaAbrir(c); },
         "Somado (*.smd)", QFileDialog::AcceptOpen},
        {"SaveDialog1", [](TFormMain& j, QString& c) { return j.EscolherFicheiroParaGuardar(c); },
         "Somado (*.smd)", QFileDialog::AcceptSave},
        {"SaveDialogPdf", [](TFormMain& j, QString& c) { return j.EscolherFicheiroPdf(c); },
         "PDF (*.pdf)", QFileDialog::AcceptSave},
        {"SaveDialogLotePdf",
         [](TFormMain& j, QString& c) { return j.EscolherFicheiroLotePdf("lote.pdf", c); },
         "PDF (*.pdf)", QFileDialog::AcceptSave},
    };
    for (const auto& caso : casos) {
        TDialogoVisto visto;
        CancelarProximoDialogo(visto);
        QString caminho;
        EXPECT_FALSE(caso.abrir(*janela, caminho)) << caso.nome;
        EXPECT_EQ(visto.Nome, caso.nome);
        EXPECT_EQ(visto.Filtros, QStringList{caso.filtro}) << caso.nome;
        EXPECT_EQ(visto.Sufixo, QString(caso.filtro).mid(QString(caso.filtro).indexOf('.') + 1, 3));
        EXPECT_TRUE(visto.NaoPerguntaSubstituir) << caso.nome;
        EXPECT_EQ(visto.Modo, caso.modo) << caso.nome;
        EXPECT_EQ(visto.ModoFicheiros, caso.modo == QFileDialog::AcceptOpen
                                           ? QFileDialog::ExistingFile
                                           : QFileDialog::AnyFile);
        // Every dialog first opens in the user's documents, the batch one included: never in
        // the working folder, which is the install folder when started from the Start menu.
        const QString documentos =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        EXPECT_EQ(visto.Pasta, QFileInfo(documentos).isDir() ? documentos : QDir::homePath())
            << caso.nome;
        const QString aceitar = caso.modo == QFileDialog::AcceptOpen ? "Abrir" : "Guardar";
        EXPECT_EQ(visto.Rotulos, (QStringList{"Procurar em:", "Nome do ficheiro:",
                                              "Ficheiros do tipo:", aceitar, "Cancelar"}))
            << caso.nome;
        // The dialog is gone with its choice: nothing of it is left on screen.
        EXPECT_EQ(janela->findChild<QFileDialog*>(), nullptr) << caso.nome;
    }
}

TEST(Arranque, QtsOwnTextsArePortuguese) {
    // Debian's translation of Qt's standard texts, European where it has them.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), "&Abrir");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
}

namespace {

class Configuracao : public ::testing::Test {
protected:
    void SetUp() override {
        dialogo.DefinirConfiguracaoPuzzle(TTamanhoTabuleiro::tt9, TNivelDificuldade::ndFacil);
        dialogo.DefinirConfiguracaoLote(TTamanhoTabuleiro::tt9,
                                        TModoDificuldadeLote::mdlProgressivo,
                                        TNivelDificuldade::ndFacil, 40, "");
    }
    QString ItemEscolhido(TRadioGroup* AGrupo) { return AGrupo->Botoes()->checkedButton()->text(); }
    void EscolherNivelLote(int AItem) { AGrupoLote()->Botoes()->button(AItem)->click(); }
    TRadioGroup* AGrupoLote() { return dialogo.RadioGroupDificuldadeLote; }
    void EscreverQuantidade(const QString& ATexto) {
        dialogo.SpinEditQuantidade->Editor()->setText(ATexto);
    }
    int32_t QuantidadeLida() {
        TTamanhoTabuleiro t;
        TModoDificuldadeLote m;
        TNivelDificuldade d;
        int32_t q = 0;
        QString titulo;
        dialogo.CarregarConfiguracaoLote(t, m, d, q, titulo);
        return q;
    }

    TFormConfiguracao dialogo;
};

} // namespace

TEST_F(Configuracao, DialogLayoutAndCaptions) {
    EXPECT_EQ(dialogo.windowTitle(), "SOMADO | Configurar");
    EXPECT_EQ(dialogo.size(), QSize(459, 421));
    EXPECT_EQ(dialogo.GroupBoxExportarLote->geometry(), QRect(8, 8, 210, 401));
    EXPECT_EQ(dialogo.GroupBoxNovoPuzzle->geometry(), QRect(235, 8, 210, 295));
    EXPECT_EQ(dialogo.RadioGroupTamanhoLote->geometry(), QRect(11, 24, 187, 120));
    EXPECT_EQ(dialogo.RadioGroupDificuldadeLote->geometry(), QRect(10, 152, 187, 151));
    EXPECT_EQ(dialogo.SpinEditQuantidade->geometry(), QRect(82, 306, 54, 24));
    EXPECT_EQ(dialogo.EditTitulo->geometry(), QRect(10, 357, 188, 23));
    EXPECT_EQ(dialogo.RadioGroupTamanho->geometry(), QRect(16, 24, 180, 120));
    EXPECT_EQ(dialogo.RadioGroupNivel->geometry(), QRect(16, 159, 180, 121));
    EXPECT_EQ(dialogo.BitBtnCancelar->geometry(), QRect(234, 369, 100, 40));
    EXPECT_EQ(dialogo.BitBtnOK->geometry(), QRect(345, 369, 100, 40));
    EXPECT_EQ(dialogo.GroupBoxExportarLote->title(), "Exportar Lote");
    EXPECT_EQ(dialogo.GroupBoxNovoPuzzle->title(), "Novo Puzzle");
    EXPECT_EQ(dialogo.Label1->text(), "Quantidade:");
    EXPECT_EQ(dialogo.LabelTitulo->text(), "Título do lote");
    QStringList itens;
    for (QAbstractButton* b : AGrupoLote()->Botoes()->buttons())
        itens << b->text();
    EXPECT_EQ(itens, (QStringList{"Fácil", "Médio", "Difícil", "Muito Difícil", "Progressivo"}));
    itens.clear();
    for (QAbstractButton* b : dialogo.RadioGroupTamanho->Botoes()->buttons())
        itens << b->text();
    EXPECT_EQ(itens, (QStringList{"6 x 6", "9 x 9", "12 x 12", "15 x 15"}));
    // Every radio item is fully visible inside its group.
    for (TRadioGroup* grupo : {dialogo.RadioGroupTamanhoLote, dialogo.RadioGroupDificuldadeLote,
                               dialogo.RadioGroupTamanho, dialogo.RadioGroupNivel}) {
        grupo->layout()->activate();
        for (QAbstractButton* b : grupo->Botoes()->buttons())
            EXPECT_TRUE(grupo->contentsRect().contains(b->geometry())) << b->text().toStdString();
    }
}

TEST_F(Configuracao, FirstUseShowsTheStartUpValues) {
    EXPECT_EQ(ItemEscolhido(dialogo.RadioGroupTamanho), "9 x 9");
    EXPECT_EQ(ItemEscolhido(dialogo.RadioGroupNivel), "Fácil");
    EXPECT_EQ(ItemEscolhido(dialogo.RadioGroupTamanhoLote), "9 x 9");
    EXPECT_EQ(ItemEscolhido(AGrupoLote()), "Progressivo");
    EXPECT_EQ(dialogo.SpinEditQuantidade->value(), 40);
    EXPECT_EQ(dialogo.SpinEditQuantidade->minimum(), 4);
    EXPECT_TRUE(dialogo.EditTitulo->text().isEmpty());
}

TEST_F(Configuracao, QuantityMinimumFollowsProgressivo) {
    EscolherNivelLote(0); // Fácil
    EXPECT_EQ(dialogo.SpinEditQuantidade->minimum(), 1);
    EXPECT_EQ(dialogo.SpinEditQuantidade->value(), 40) << "a lower minimum keeps the quantity";
    EscreverQuantidade("2");
    EXPECT_EQ(QuantidadeLida(), 2);
    EscolherNivelLote(4); // Progressivo
    EXPECT_EQ(dialogo.SpinEditQuantidade->minimum(), 4);
    EXPECT_EQ(QuantidadeLida(), 4);
}

TEST_F(Configuracao, TypedQuantitiesAreBroughtIntoRange) {
    const struct {
        const char* texto;
        int32_t lido;
    } casos[] = {{"500", 200}, {"", 4}, {"7", 7}, {"0", 4}, {"  12 ", 12}};
    for (const auto& caso : casos) {
        EscreverQuantidade(caso.texto);
        EXPECT_EQ(QuantidadeLida(), caso.lido) << caso.texto;
    }
    // Letters cannot even be typed.
    dialogo.SpinEditQuantidade->Editor()->clear();
    dialogo.SpinEditQuantidade->setFocus();
    QTest::keyClicks(dialogo.SpinEditQuantidade->Editor(), "x9");
    EXPECT_EQ(dialogo.SpinEditQuantidade->Editor()->text(), "9");
}

TEST_F(Configuracao, SettingsComeBackAsChosen) {
    dialogo.DefinirConfiguracaoLote(TTamanhoTabuleiro::tt15, TModoDificuldadeLote::mdlFixa,
                                    TNivelDificuldade::ndDificil, 300, "  \tLivro de Verão \x01");
    TTamanhoTabuleiro tamanho;
    TModoDificuldadeLote modo;
    TNivelDificuldade nivel;
    int32_t quantidade = 0;
    QString titulo;
    dialogo.CarregarConfiguracaoLote(tamanho, modo, nivel, quantidade, titulo);
    EXPECT_EQ(tamanho, TTamanhoTabuleiro::tt15);
    EXPECT_EQ(modo, TModoDificuldadeLote::mdlFixa);
    EXPECT_EQ(nivel, TNivelDificuldade::ndDificil);
    EXPECT_EQ(quantidade, 200);
    EXPECT_EQ(titulo, "Livro de Verão");

    dialogo.EditTitulo->setText("   ");
    dialogo.CarregarConfiguracaoLote(tamanho, modo, nivel, quantidade, titulo);
    EXPECT_TRUE(titulo.isEmpty());

    dialogo.DefinirConfiguracaoPuzzle(TTamanhoTabuleiro::tt6, TNivelDificuldade::ndMuitoDificil);
    dialogo.CarregarConfiguracaoPuzzle(tamanho, nivel);
    EXPECT_EQ(tamanho, TTamanhoTabuleiro::tt6);
    EXPECT_EQ(nivel, TNivelDificuldade::ndMuitoDificil);
}

TEST(IndiceDoTamanho, OnlyTheFourOfferedSizes) {
    using T = TTamanhoTabuleiro;
    const std::pair<T, int> itens[] = {{T::tt6, 0}, {T::tt9, 1}, {T::tt12, 2}, {T::tt15, 3}};
    for (const auto& [tamanho, item] : itens) {
        EXPECT_EQ(IndiceDoTamanho(tamanho), item);
        EXPECT_EQ(TamanhoDoIndice(item), tamanho);
    }
    for (const T t : {T::tt16, T::tt20, T::tt25}) {
        try {
            IndiceDoTamanho(t);
            ADD_FAILURE() << "no error for " << static_cast<int>(t);
        } catch (const ESomadoError& e) {
            EXPECT_EQ(std::string(e.what()),
                      Format("Tamanho de tabuleiro sem correspondência no RadioGroup: %d",
                             static_cast<int>(t)));
        }
    }
}

TEST_F(Janela, ConfigurationFromTheWindow) {
    // Change the level of new puzzles and the batch quantity, then OK.
    QTimer::singleShot(0, [this] {
        TFormConfiguracao* d = janela->FormConfiguracao;
        d->RadioGroupNivel->Botoes()->button(1)->click();
        d->SpinEditQuantidade->Editor()->setText("12");
        d->BitBtnOK->click();
    });
    QTest::mouseClick(janela->BitBtnConfigurar, Qt::LeftButton);
    ASSERT_TRUE(EsperarLivre(*janela));
    EXPECT_EQ(janela->Jogo().FConfiguracao.Nivel, TNivelDificuldade::ndMedio);
    EXPECT_EQ(janela->Jogo().FConfiguracao.QuantidadeLote, 12);
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Puzzle gerado: 9x9, Médio."));

    // The close box is Cancel: nothing changes.
    QTimer::singleShot(0, [this] {
        janela->FormConfiguracao->RadioGroupNivel->Botoes()->button(3)->click();
        janela->FormConfiguracao->close();
    });
    QTest::mouseClick(janela->BitBtnConfigurar, Qt::LeftButton);
    EXPECT_EQ(janela->Jogo().FConfiguracao.Nivel, TNivelDificuldade::ndMedio);
}

TEST_F(Janela, HelpAndAboutOpenModally) {
    for (const auto& [botao, dialogo] :
         {std::pair<QPushButton*, QDialog*>{janela->BitBtnAjuda, janela->FormAjuda},
          std::pair<QPushButton*, QDialog*>{janela->BitBtnSobre, janela->FormSobre}}) {
        QDialog* aberto = nullptr;
        QTimer::singleShot(0, [&aberto] {
            aberto = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (aberto) aberto->accept();
        });
        QTest::mouseClick(botao, Qt::LeftButton);
        EXPECT_EQ(aberto, dialogo) << botao->text().toStdString();
    }
}

namespace {

// Cancels every modal window that opens until the returned guard goes out of scope.
class TFechaModais {
public:
    TFechaModais() {
        FTemporizador.setInterval(10);
        QObject::connect(&FTemporizador, &QTimer::timeout, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        FTemporizador.start();
    }

private:
    QTimer FTemporizador;
};

} // namespace

TEST_F(Janela, TheKeyboardStaysOnTheBoardAfterEveryCommand) {
    TFechaModais fechaModais;
    const struct {
        QPushButton* TFormMain::*botao;
        bool escreve;
    } casos[] = {
        {&TFormMain::BitBtnVerificar, true},    {&TFormMain::BitBtnDica, true},
        {&TFormMain::BitBtnLimpar, true},       {&TFormMain::BitBtnGuardar, true},
        {&TFormMain::BitBtnAbrir, true},        {&TFormMain::BitBtnExportarPuzzle, true},
        {&TFormMain::BitBtnExportarLote, true}, {&TFormMain::BitBtnConfigurar, true},
        {&TFormMain::BitBtnAjuda, true},        {&TFormMain::BitBtnSobre, true},
        {&TFormMain::BitBtnSair, true},         {&TFormMain::BitBtnGerar, true},
        {&TFormMain::BitBtnVerSolucao, false}, // digits are refused while it is shown
    };
    for (const auto& caso : casos) {
        QPushButton* botao = (*janela).*caso.botao;
        // An unsaved digit, so that the commands that ask first do ask (and are cancelled).
        janela->Jogo().SeleccionarCelula(2, 3);
        QTest::keyClicks(QApplication::focusWidget(), "4");
        QTest::mouseClick(botao, Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_TRUE(EsperarLivre(*janela)) << botao->text().toStdString();
        // The offscreen platform does not give the window back its activation when a dialog
        // closes, as a window manager does; within the window the keyboard is the grid's.
        EXPECT_EQ(janela->focusWidget(), grelha()) << botao->text().toStdString();
        janela->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), grelha()) << botao->text().toStdString();
        EXPECT_EQ(botao->focusPolicy(), Qt::TabFocus) << "still reachable with Tab";
        janela->Jogo().SeleccionarCelula(2, 3);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        EXPECT_EQ(celula(2, 3).Value == 7, caso.escreve) << botao->text().toStdString();
        // Space on the board does not press the button again.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_TRUE(janela->isVisible());
    }
}

TEST_F(Janela, ASmallWindowKeepsEverySidePanelControlInSight) {
    janela->resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(janela->width(), 220 + 9 * 28);
    const QRect memo = janela->MemoInformacao->geometry();
    for (QWidget* controlo :
         janela->PanelLateral->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (controlo == janela->MemoInformacao) continue;
        EXPECT_TRUE(janela->PanelLateral->rect().contains(controlo->geometry()))
            << controlo->objectName().toStdString();
        EXPECT_LT(controlo->geometry().bottom(), memo.top())
            << controlo->objectName().toStdString();
    }
    EXPECT_TRUE(janela->PanelLateral->rect().contains(memo));
    // And the grid still takes digits.
    janela->Jogo().SeleccionarCelula(2, 3);
    texto("6");
    EXPECT_EQ(celula(2, 3).Value, 6);
}

TEST_F(Configuracao, TheBatchTitleIsLimitedToWhatFitsTheCover) {
    dialogo.show();
    dialogo.EditTitulo->clear();
    dialogo.EditTitulo->setFocus();
    // A short title goes in whole; a long one stops where the cover's line would end.
    QTest::keyClicks(dialogo.EditTitulo, "Livro de Inverno");
    EXPECT_EQ(dialogo.EditTitulo->text(), "Livro de Inverno");
    dialogo.EditTitulo->clear();
    const QString longo(120, QChar(u'W'));
    QTest::keyClicks(dialogo.EditTitulo, longo);
    const QString aceite = dialogo.EditTitulo->text();
    EXPECT_GT(aceite.size(), 10);
    EXPECT_LT(aceite.size(), longo.size());
    EXPECT_TRUE(TituloCabeNaCapa(aceite));
    EXPECT_FALSE(TituloCabeNaCapa(aceite + u'W'));
    // Narrow letters fit more of them.
    dialogo.EditTitulo->clear();
    QTest::keyClicks(dialogo.EditTitulo, QString(120, QChar(u'i')));
    EXPECT_GT(dialogo.EditTitulo->text().size(), aceite.size());
}

TEST_F(Janela, ShortcutsRunTheFlowsOfTheirButtons) {
    SOMADO_PRECISA_DO_DIALOGO_DO_QT();
    // With an unsaved digit, Ctrl+N asks exactly as "Gerar Puzzle" does.
    texto("5");
    TCaixaVista pergunta;
    ResponderAoProximoModal("Cancelar", &pergunta);
    QTest::keyClick(grelha(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(pergunta.Texto, "Há jogadas por gravar. Guardar antes de gerar um puzzle novo?");
    EXPECT_EQ(celula(1, 1).Value, 5);
    // Offscreen, a closed dialog does not hand the activation back as a window manager does.
    const auto reactivar = [this] {
        janela->activateWindow();
        QApplication::processEvents();
    };
    reactivar();

    const struct {
        Qt::Key tecla;
        const char* dialogo;
    } dialogos[] = {{Qt::Key_S, "SaveDialog1"}, {Qt::Key_E, "SaveDialogPdf"}};
    for (const auto& caso : dialogos) {
        TDialogoVisto visto;
        CancelarProximoDialogo(visto);
        QTest::keyClick(grelha(), caso.tecla, Qt::ControlModifier);
        EXPECT_EQ(visto.Nome, caso.dialogo);
        reactivar();
    }
    // Ctrl+O asks about the unsaved digit first; "Não" goes on to the open dialog.
    TDialogoVisto aberto;
    ResponderAoProximoModal("Não");
    CancelarProximoDialogo(aberto);
    QTest::keyClick(grelha(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(aberto.Nome, "OpenDialog1");
    reactivar();

    QDialog* ajuda = nullptr;
    QTimer::singleShot(0, [&ajuda] {
        ajuda = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (ajuda) ajuda->accept();
    });
    QTest::keyClick(grelha(), Qt::Key_F1);
    EXPECT_EQ(ajuda, janela->FormAjuda);

    const std::pair<QPushButton*, const char*> dicas[] = {
        {janela->BitBtnGerar, "Ctrl+N"}, {janela->BitBtnGuardar, "Ctrl+S"},
        {janela->BitBtnAbrir, "Ctrl+O"}, {janela->BitBtnExportarPuzzle, "Ctrl+E"},
        {janela->BitBtnAjuda, "F1"},
    };
    for (const auto& [botao, atalho] : dicas)
        EXPECT_EQ(botao->toolTip(), QStringLiteral("Atalho: %1").arg(atalho));
}

TEST_F(Janela, UndoAndRedoFromTheKeyboard) {
    janela->Jogo().SeleccionarCelula(2, 3);
    texto("5");
    QTest::keyClick(grelha(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(celula(2, 3).Value, 0);
    EXPECT_EQ(actual(), std::pair(2, 3)) << "undo selects the cell it changes";
    QTest::keyClick(grelha(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(celula(2, 3).Value, 5);
    QTest::keyClick(grelha(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(grelha(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(celula(2, 3).Value, 5);
}

TEST_F(Janela, HoveringAClueShowsTheCombinationsOfItsSums) {
    QHelpEvent sobrePista(QEvent::ToolTip, centro(1, 2),
                          grelha()->viewport()->mapToGlobal(centro(1, 2)));
    QApplication::sendEvent(grelha()->viewport(), &sobrePista);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("→ 4 em 2 casas: 1+3"));
    QHelpEvent sobreBranca(QEvent::ToolTip, centro(2, 3),
                           grelha()->viewport()->mapToGlobal(centro(2, 3)));
    QApplication::sendEvent(grelha()->viewport(), &sobreBranca);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

// An error inside a command is reported by the command's own handler, so the window is
// afterwards as after any other failure: normal cursor, button enabled, no progress line.
TEST(JanelaComErro, AnErrorInACommandIsReportedAndTheWindowRecovers) {
    int chamadas = 0;
    TFormMain janela([&chamadas](TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                 int64_t ALimite, TAleatorio& AAleatorio,
                                 const std::atomic<bool>& AParar) -> std::unique_ptr<TSomadoBoard> {
        if (++chamadas > 1) throw ESomadoError("gerador avariado");
        return SempreOFixo(ATamanho, ANivel, ALimite, AAleatorio, AParar);
    });
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    TCaixaVista caixa;
    ResponderAoProximoModal("", &caixa);
    QTest::mouseClick(janela.BitBtnGerar, Qt::LeftButton);
    ASSERT_TRUE(EsperarLivre(janela));
    EXPECT_TRUE(QTest::qWaitFor([&caixa] { return !caixa.Texto.isEmpty(); }, 5000));
    EXPECT_EQ(chamadas, 2);
    EXPECT_EQ(caixa.Texto, "gerador avariado");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(janela.BitBtnGerar->isEnabled());
    EXPECT_EQ(janela.MemoInformacao->toPlainText(),
              "Não foi possível gerar um puzzle com esta configuração.");
}

namespace {

// Answers the next file dialog with the path.
void EscolherNoProximoDialogo(const QString& ACaminho) {
    QTimer::singleShot(0, [ACaminho] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogo) {
            EscolherNoProximoDialogo(ACaminho);
            return;
        }
        dialogo->selectFile(ACaminho);
        static_cast<QDialog*>(dialogo)->accept();
    });
}

} // namespace

// Closing the window while a batch runs: the window stays until the workers have stopped
// inside their puzzles, writes nothing and says so, and then closes the usual way.
TEST(JanelaLote, ClosingDuringABatchStopsItAndThenCloses) {
    SOMADO_PRECISA_DO_DIALOGO_DO_QT();
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    TFormMain* alvo = nullptr;
    std::atomic<int> chamadas{0};
    bool fechoRecusado = false;
    TFormMain janela([&](TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ALimite,
                         TAleatorio& AAleatorio, const std::atomic<bool>& AParar) {
        const int chamada = ++chamadas;
        if (chamada == 2) {
            // The user closes the window; the request arrives with the next events.
            QMetaObject::invokeMethod(
                alvo,
                [&] {
                    fechoRecusado = !alvo->close();
                    EXPECT_TRUE(alvo->isVisible());
                    EXPECT_FALSE(alvo->BitBtnConfigurar->isEnabled());
                    EXPECT_FALSE(alvo->BitBtnGerar->isEnabled());
                },
                Qt::QueuedConnection);
        }
        // The batch's puzzles take until they are told to stop.
        while (chamada > 1 && !AParar.load())
            QThread::msleep(1);
        return SempreOFixo(ATamanho, ANivel, ALimite, AAleatorio, AParar);
    });
    alvo = &janela;
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    EscolherNoProximoDialogo(pasta.filePath("lote.pdf"));
    QTest::mouseClick(janela.BitBtnExportarLote, Qt::LeftButton);
    // The window's own loop goes on meanwhile: nothing waits inside the click.
    EXPECT_TRUE(QTest::qWaitFor([&janela] { return !janela.isVisible(); }, 60000));

    EXPECT_TRUE(fechoRecusado) << "refused while the batch ran";
    EXPECT_LE(chamadas, 1 + ThreadsDaMaquina()) << "one attempt per worker, then the stop";
    EXPECT_FALSE(janela.isVisible()) << "closed once the batch had stopped";
    EXPECT_EQ(janela.MemoInformacao->toPlainText(), "Exportação do lote interrompida.");
    EXPECT_TRUE(QDir(pasta.path()).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(janela.BitBtnExportarLote->isEnabled());
    EXPECT_TRUE(janela.BitBtnConfigurar->isEnabled());
}

TEST_F(Janela, CtrlDigitTogglesAMarkThatIsDrawnAndUndone) {
    janela->Jogo().SeleccionarCelula(2, 1);
    const QImage antes = grelha()->grab().toImage();
    QTest::keyClick(grelha(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 1u << 3);
    EXPECT_EQ(celula(2, 1).Value, 0);
    EXPECT_EQ(actual(), std::pair(2, 1)) << "a mark does not move on";
    const QImage depois = grelha()->grab().toImage();
    const QRect caixa = grelha()->visualRect(grelha()->model()->index(2, 1));
    EXPECT_NE(antes.copy(caixa), depois.copy(caixa)) << "the mark shows in its cell";
    QTest::keyClick(grelha(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 0);
}

TEST_F(Janela, RunsAreaFollowsTheCurrentCellAndClockShowsInFreeRoom) {
    janela->Jogo().SeleccionarCelula(4, 4);
    // The across run above the size label; the down run goes on below it when the area above
    // is full, so that nothing is cut while the panel has room.
    const QString acima = janela->LabelCorridas->text(), abaixo = janela->LabelCorridasMais->text();
    EXPECT_TRUE(acima.startsWith(QStringLiteral("→ 18 em 4 casas:")));
    EXPECT_TRUE((acima + u'\n' + abaixo).contains(QStringLiteral("↓ 42 em 7 casas:")));
    EXPECT_TRUE(abaixo.contains(QStringLiteral("↓ 42 em 7 casas: 3+4+5+6+7+8+9")))
        << "the down run whole below: " << abaixo.toStdString();
    // What each area shows fits it; a list cut short ends in "…" and the tooltip has it whole.
    for (const QLabel* area : {janela->LabelCorridas, janela->LabelCorridasMais}) {
        const QRect caixa(0, 0, area->width(), 100000);
        EXPECT_LE(area->fontMetrics().boundingRect(caixa, Qt::TextWordWrap, area->text()).height(),
                  area->height());
    }
    const QLabel* area = janela->LabelCorridas;
    EXPECT_TRUE(area->toolTip().startsWith(QStringLiteral("→ 18 em 4 casas:")));
    if (!area->toolTip().startsWith(area->text())) {
        EXPECT_TRUE(area->text().contains(QStringLiteral("…")));
        EXPECT_GT(area->toolTip().size(), area->text().size());
    }
    janela->Jogo().SeleccionarCelula(1, 3);
    EXPECT_TRUE(janela->LabelCorridas->text().startsWith(QStringLiteral("→ 4 em 2 casas: 1+3")));
    EXPECT_TRUE(janela->LabelRelogio->text().startsWith(QStringLiteral("Tempo: ")));
    // Neither covers a button, the size label or the information box.
    for (QLabel* nova : {janela->LabelCorridas, janela->LabelRelogio, janela->LabelCorridasMais})
        for (QWidget* outro :
             janela->PanelLateral->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (outro != nova && outro != janela->LabelCorridas && outro != janela->LabelRelogio &&
                outro != janela->LabelCorridasMais) {
                EXPECT_FALSE(nova->geometry().intersects(outro->geometry()))
                    << outro->objectName().toStdString();
            }
}

TEST_F(Janela, ClickingTheInformationBoxLeavesTheKeyboardOnTheBoard) {
    janela->Jogo().SeleccionarCelula(2, 3);
    QTest::mouseClick(janela->MemoInformacao->viewport(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(grelha()->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "5");
    EXPECT_EQ(celula(2, 3).Value, 5);
}

TEST_F(Janela, RightClickMenuTogglesMarksClearsThemAndSwitchesConflictsOff) {
    // Picks the item of that caption in the menu that is about to open, and notes the
    // captions it offered.
    QStringList vistos;
    const auto escolher = [&vistos](const QString& ALegenda) {
        QTimer::singleShot(50, [ALegenda, &vistos] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            vistos.clear();
            for (QAction* accao : menu->actions())
                if (!accao->isSeparator()) vistos << accao->text();
            for (QAction* accao : menu->actions())
                if (accao->text() == ALegenda) {
                    menu->close();
                    accao->trigger();
                    return;
                }
            menu->close();
        });
    };
    const auto menuEm = [this](int r, int c) {
        QContextMenuEvent evento(QContextMenuEvent::Mouse, centro(r, c),
                                 grelha()->viewport()->mapToGlobal(centro(r, c)));
        QApplication::sendEvent(grelha()->viewport(), &evento);
    };
    escolher(QStringLiteral("Nota 4"));
    menuEm(2, 1);
    EXPECT_EQ(actual(), std::pair(2, 1)) << "the right-clicked white cell becomes current";
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 1u << 4);
    for (const char* legenda :
         {"Nota 1", "Nota 9", "Desfazer", "Refazer", "Apagar notas desta casa",
          "Apagar todas as notas", "Mostrar conflitos"})
        EXPECT_TRUE(vistos.contains(QString::fromUtf8(legenda))) << legenda;
    // A cell's own clearing leaves the other cells' marks.
    escolher(QStringLiteral("Nota 6"));
    menuEm(3, 3);
    escolher(QStringLiteral("Apagar notas desta casa"));
    menuEm(3, 3);
    EXPECT_EQ(janela->Jogo().Notas(3, 3), 0);
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 1u << 4);
    escolher(QStringLiteral("Apagar todas as notas"));
    menuEm(3, 3);
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 0);
    escolher(QStringLiteral("Desfazer"));
    menuEm(3, 3);
    EXPECT_EQ(janela->Jogo().Notas(2, 1), 1u << 4);
    ASSERT_TRUE(janela->Jogo().MostrarConflitos());
    escolher(QStringLiteral("Mostrar conflitos"));
    menuEm(3, 3);
    EXPECT_FALSE(janela->Jogo().MostrarConflitos());
}

// Tab walks the board's white cells and the keyboard stays there: a Space after it presses
// no button. Ctrl+Tab leaves the board for the buttons, and a focused button shows it.
TEST_F(Janela, TabMovesTheCurrentCellAndCtrlTabLeavesTheBoard) {
    janela->activateWindow();
    grelha()->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(grelha()->hasFocus());
    ASSERT_EQ(actual(), std::pair(1, 1));
    tecla(Qt::Key_Tab);
    EXPECT_EQ(actual(), std::pair(1, 3)) << "over the clue (1, 2)";
    EXPECT_TRUE(grelha()->hasFocus());
    QTest::keyClick(grelha(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(actual(), std::pair(1, 1));
    tecla(Qt::Key_Tab);
    QTest::keyClick(grelha(), Qt::Key_Space);
    EXPECT_TRUE(janela->MemoInformacao->toPlainText().startsWith("Puzzle gerado: 9x9, Fácil."))
        << "Space after Tab generates nothing";
    texto("4");
    EXPECT_EQ(celula(1, 3).Value, 4) << "the digit lands where Tab went";

    const QImage antes = janela->BitBtnGerar->grab().toImage();
    QTest::keyClick(grelha(), Qt::Key_Tab, Qt::ControlModifier);
    QWidget* foco = QApplication::focusWidget();
    ASSERT_NE(foco, grelha());
    auto* botao = qobject_cast<QPushButton*>(foco);
    ASSERT_NE(botao, nullptr) << (foco ? foco->objectName().toStdString() : "none");
    // The focus frame is drawn: the focused button does not look as it did unfocused.
    if (botao == janela->BitBtnGerar) {
        EXPECT_NE(botao->grab().toImage(), antes);
    }
    const QColor borda = botao->grab().toImage().pixelColor(0, botao->height() / 2);
    EXPECT_LT(borda.lightness(), 120) << "a dark frame on the light button";
    QTest::keyClick(foco, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::processEvents();
}

TEST_F(Janela, EveryClickSelectsItsCellAQuickSecondOneToo) {
    texto("5"); // typing moves the current cell on
    ASSERT_EQ(actual(), std::pair(1, 3));
    QTest::mouseClick(grelha()->viewport(), Qt::LeftButton, {}, centro(2, 3));
    EXPECT_EQ(actual(), std::pair(2, 3));
    texto("1");
    ASSERT_EQ(actual(), std::pair(2, 4));
    // Right after typing, a quick second click arrives as a double click.
    QTest::mouseDClick(grelha()->viewport(), Qt::LeftButton, {}, centro(2, 3));
    EXPECT_EQ(actual(), std::pair(2, 3));
    // A drag from one cell to another selects nothing on its way.
    QTest::mousePress(grelha()->viewport(), Qt::LeftButton, {}, centro(3, 3));
    QTest::mouseMove(grelha()->viewport(), centro(3, 5));
    QTest::mouseRelease(grelha()->viewport(), Qt::LeftButton, {}, centro(3, 5));
    EXPECT_EQ(actual(), std::pair(3, 3));
}

TEST_F(Janela, TheMenuOfABlackOrClueCellOffersNoMarksAndLeavesTheCurrentCell) {
    QStringList vistos;
    std::map<QString, bool> activos;
    for (const auto& [r, c] : {std::pair(1, 2), std::pair(0, 0)}) {
        ASSERT_TRUE(janela->Jogo().SeleccionarCelula(2, 3));
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            vistos.clear();
            for (QAction* accao : menu->actions())
                if (!accao->isSeparator()) {
                    vistos << accao->text();
                    activos[accao->text()] = accao->isEnabled();
                }
            menu->close();
        });
        QContextMenuEvent evento(QContextMenuEvent::Mouse, centro(r, c),
                                 grelha()->viewport()->mapToGlobal(centro(r, c)));
        QApplication::sendEvent(grelha()->viewport(), &evento);
        EXPECT_EQ(actual(), std::pair(2, 3)) << r << "," << c;
        for (const QString& legenda : vistos)
            EXPECT_FALSE(legenda.startsWith("Nota")) << legenda.toStdString();
        EXPECT_FALSE(vistos.contains("Apagar notas desta casa"));
        EXPECT_TRUE(vistos.contains("Apagar todas as notas"));
        // Nothing was played, so neither undo nor redo can act.
        EXPECT_FALSE(activos["Desfazer"]);
        EXPECT_FALSE(activos["Refazer"]);
    }
}

// A new puzzle on its way: the commands it refuses are greyed out and their shortcuts do
// nothing, from the moment the click returns; everything comes back when it ends.
TEST(JanelaOcupada, RefusedCommandsAreDisabledForButtonsAndShortcuts) {
    std::atomic<bool> soltar{false};
    std::atomic<int> chamadas{0};
    TFormMain janela([&](TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ALimite,
                         TAleatorio& AAleatorio, const std::atomic<bool>& AParar) {
        if (++chamadas > 1)
            while (!soltar.load() && !AParar.load())
                QThread::msleep(1);
        return SempreOFixo(ATamanho, ANivel, ALimite, AAleatorio, AParar);
    });
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    janela.StringGrid1->setFocus();
    QTest::mouseClick(janela.BitBtnGerar, Qt::LeftButton);
    ASSERT_EQ(janela.Jogo().Ocupacao(), TOcupacao::AGerar);
    EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the hourglass";
    const struct {
        QPushButton* botao;
        bool activo;
    } botoes[] = {{janela.BitBtnGerar, false},        {janela.BitBtnVerSolucao, false},
                  {janela.BitBtnVerificar, false},    {janela.BitBtnDica, false},
                  {janela.BitBtnLimpar, false},       {janela.BitBtnGuardar, true},
                  {janela.BitBtnAbrir, false},        {janela.BitBtnExportarPuzzle, true},
                  {janela.BitBtnExportarLote, false}, {janela.BitBtnConfigurar, false},
                  {janela.BitBtnAjuda, true},         {janela.BitBtnSobre, true},
                  {janela.BitBtnSair, true}};
    for (const auto& b : botoes)
        EXPECT_EQ(b.botao->isEnabled(), b.activo) << b.botao->text().toStdString();
    // Ctrl+O at once opens no dialog, and digits typed at once go nowhere.
    QTest::keyClick(janela.StringGrid1, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClicks(janela.StringGrid1, "7");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(janela.Jogo().Board()->GetCell(1, 1).Value, 0);
    EXPECT_EQ(janela.MemoInformacao->toPlainText(),
              "A gerar puzzle 9x9...\nPode demorar alguns segundos — aguarde.");

    soltar = true;
    ASSERT_TRUE(EsperarLivre(janela));
    EXPECT_TRUE(janela.MemoInformacao->toPlainText().startsWith("Puzzle gerado: 9x9, Fácil."));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (const auto& b : botoes)
        EXPECT_TRUE(b.botao->isEnabled()) << b.botao->text().toStdString();
}

// The aids from the keyboard of the real window: Ctrl+H explains a step on the board it
// highlights, Ctrl+M fills the marks, and the pause hides the board until it ends.
TEST_F(Janela, TheSolvingAidsFromTheKeyboard) {
    janela->activateWindow();
    grelha()->setFocus();
    QApplication::processEvents();
    const QImage antes = grelha()->grab().toImage();
    QTest::keyClick(grelha(), Qt::Key_H, Qt::ControlModifier);
    const QString explicacao = janela->MemoInformacao->toPlainText();
    EXPECT_TRUE(explicacao.startsWith(QStringLiteral("Linha "))) << explicacao.toStdString();
    const auto celulasDoPasso = [this] {
        int n = 0;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                n += janela->Jogo().DestaqueDe(r, c) == TDestaque::PassoCelula;
        return n;
    };
    EXPECT_EQ(celulasDoPasso(), 1) << "the cell the step concludes";
    EXPECT_NE(grelha()->grab().toImage(), antes) << "the step shows on the board";

    QTest::keyClick(grelha(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_NE(janela->Jogo().Notas(1, 1), 0) << "marks from the sums";
    EXPECT_EQ(celulasDoPasso(), 0) << "a step shows only until the board changes";

    texto("9");
    QTest::keyClick(grelha(), Qt::Key_Pause);
    ASSERT_TRUE(janela->Jogo().EmPausa());
    EXPECT_FALSE(janela->BitBtnDica->isEnabled()) << "what would show the board waits";
    const QRect casa = grelha()->visualRect(grelha()->model()->index(1, 1));
    const QImage escondido = grelha()->grab().toImage().copy(casa.adjusted(4, 4, -4, -4));
    bool tudoBranco = true;
    for (int y = 0; y < escondido.height(); ++y)
        for (int x = 0; x < escondido.width(); ++x)
            tudoBranco = tudoBranco && escondido.pixelColor(x, y).lightness() > 200;
    EXPECT_TRUE(tudoBranco) << "the digit is hidden while paused";
    QTest::keyClick(grelha(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(janela->Jogo().EmPausa());
    EXPECT_EQ(celula(1, 1).Value, 9);
}
