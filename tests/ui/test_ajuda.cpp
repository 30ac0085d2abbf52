#include "game/UnitSomadoJogo.h"
#include "render/UnitSomadoRegras.h"
#include "ui/UnitAjuda.h"
#include "ui/UnitMain.h"
#include "ui/UnitSobre.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable failures for texts with accents.
static void PrintTo(const QString& ATexto, std::ostream* ASaida) {
    *ASaida << '"' << ATexto.toStdString() << '"';
}

static void PrintTo(TTipoBloco ATipo, std::ostream* ASaida) {
    static const char* const nomes[] = {"tbTitulo", "tbParagrafo", "tbItem", "tbEspaco"};
    *ASaida << nomes[static_cast<int>(ATipo)];
}

namespace {

// ---- The rules lists ---------------------------------------------------------------------

constexpr auto Ti = TTipoBloco::tbTitulo;
constexpr auto Pa = TTipoBloco::tbParagrafo;
constexpr auto It = TTipoBloco::tbItem;
constexpr auto Es = TTipoBloco::tbEspaco;

struct TListaRegras {
    const char* Nome;
    const std::vector<TBlocoRegras>& (*Blocos)();
    std::vector<TTipoBloco> Tipos;
};

const std::vector<TListaRegras> CListas{
    {"BlocosComoJogar", BlocosComoJogar, {Ti, Es, Pa, Es}},
    {"BlocosDicas", BlocosDicas, {Ti, Es, It, It, It, It, Es}},
    {"BlocosNiveis", BlocosNiveis, {Ti, Es, It, It, It, Es}},
};

TEST(RegrasBlocos, EachListHasItsKindsInOrder) {
    for (const TListaRegras& lista : CListas) {
        std::vector<TTipoBloco> tipos;
        for (const TBlocoRegras& bloco : lista.Blocos())
            tipos.push_back(bloco.Tipo);
        EXPECT_EQ(tipos, lista.Tipos) << lista.Nome;
    }
}

TEST(RegrasBlocos, TextsAgreeWithTheirKind) {
    for (const TListaRegras& lista : CListas)
        for (const TBlocoRegras& bloco : lista.Blocos()) {
            SCOPED_TRACE(lista.Nome + std::string(": ") + bloco.Texto.toStdString());
            switch (bloco.Tipo) {
            case TTipoBloco::tbEspaco:
                EXPECT_TRUE(bloco.Texto.isEmpty());
                break;
            case TTipoBloco::tbItem:
                EXPECT_TRUE(bloco.Texto.startsWith("- "));
                EXPECT_GT(bloco.Texto.trimmed().size(), 2);
                break;
            case TTipoBloco::tbTitulo:
            case TTipoBloco::tbParagrafo:
                EXPECT_FALSE(bloco.Texto.trimmed().isEmpty());
                EXPECT_FALSE(bloco.Texto.startsWith("-"));
                break;
            }
            // The text box and the PDF break lines themselves.
            EXPECT_FALSE(bloco.Texto.contains('\n') || bloco.Texto.contains('\r'));
        }
}

TEST(RegrasBlocos, HeadingsKeepTheirAccentsInCapitals) {
    const struct {
        QString Texto, Maiusculas;
    } casos[] = {
        {"Níveis de dificuldade", "NÍVEIS DE DIFICULDADE"},
        {"Botões", "BOTÕES"},
        {"Como jogar Somado", "COMO JOGAR SOMADO"},
        {"Fácil e Médio, à vontade", "FÁCIL E MÉDIO, À VONTADE"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(TituloEmMaiusculas(caso.Texto), caso.Maiusculas);
}

TEST(RegrasBotoes, NamesAreDistinctAndEveryOneIsDescribed) {
    QStringList nomes;
    for (const TBotaoAjuda& botao : BotoesAjuda()) {
        EXPECT_FALSE(botao.Descricao.trimmed().isEmpty()) << botao.Nome.toStdString();
        EXPECT_FALSE(nomes.contains(botao.Nome)) << botao.Nome.toStdString();
        nomes << botao.Nome;
    }
    EXPECT_EQ(nomes.size(), 10);
}

TEST(RegrasBotoes, SavingAndOpeningNameTheFileType) {
    for (const QString nome : {"Guardar", "Abrir"}) {
        const auto& botoes = BotoesAjuda();
        const auto botao = std::find_if(botoes.begin(), botoes.end(),
                                        [&](const TBotaoAjuda& b) { return b.Nome == nome; });
        ASSERT_NE(botao, botoes.end()) << nome.toStdString();
        EXPECT_TRUE(botao->Descricao.contains(".smd")) << nome.toStdString();
    }
}

std::unique_ptr<TSomadoBoard> PuzzleFixo(TTamanhoTabuleiro, TNivelDificuldade ANivel, int64_t,
                                         TAleatorio&, const std::atomic<bool>&) {
    auto board = CriarPuzzleFixo();
    board->SetDifficulty(ANivel);
    return board;
}

// The help is only useful if it names the buttons exactly as the main window labels them,
// and leaves none of the game's commands out.
TEST(RegrasBotoes, DescribeExactlyTheMainWindowCommands) {
    TFormMain janela(PuzzleFixo);
    QStringList comandos;
    for (const QPushButton* botao : janela.PanelLateral->findChildren<QPushButton*>())
        if (botao != janela.BitBtnAjuda && botao != janela.BitBtnSobre &&
            botao != janela.BitBtnSair)
            comandos << botao->text();
    QStringList descritos;
    for (const TBotaoAjuda& botao : BotoesAjuda())
        descritos << botao.Nome;
    comandos.sort();
    descritos.sort();
    EXPECT_EQ(descritos, comandos);
}

// ---- The help text -----------------------------------------------------------------------

struct TTrecho {
    QString Texto;
    bool Negrito;
    bool operator==(const TTrecho&) const = default;
};
using TLinha = std::vector<TTrecho>;

void PrintTo(const TTrecho& ATrecho, std::ostream* ASaida) {
    *ASaida << (ATrecho.Negrito ? "bold " : "regular ");
    ::PrintTo(ATrecho.Texto, ASaida);
}

// One entry per paragraph of the document (each line of the help is a paragraph), each a list
// of runs of the same weight; an empty paragraph gives an empty list.
std::vector<TLinha> LinhasComPeso(const QTextDocument* ADocumento) {
    std::vector<TLinha> linhas;
    for (QTextBlock bloco = ADocumento->begin(); bloco.isValid(); bloco = bloco.next()) {
        TLinha linha;
        for (auto it = bloco.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragmento = it.fragment();
            if (fragmento.text().isEmpty()) continue;
            const bool negrito = fragmento.charFormat().fontWeight() >= QFont::Bold;
            if (!linha.empty() && linha.back().Negrito == negrito)
                linha.back().Texto += fragmento.text();
            else
                linha.push_back({fragmento.text(), negrito});
        }
        linhas.push_back(linha);
    }
    return linhas;
}

// What the reader should see: the headings as written here, everything else taken from the
// lists, and an empty paragraph left by the break that ends the last line.
std::vector<TLinha> LinhasEsperadas() {
    const struct {
        const std::vector<TBlocoRegras>& Blocos;
        QString Titulo;
    } seccoes[] = {
        {BlocosComoJogar(), "COMO JOGAR SOMADO"},
        {BlocosDicas(), "DICAS"},
        {BlocosNiveis(), "NÍVEIS DE DIFICULDADE"},
    };
    std::vector<TLinha> linhas;
    for (const auto& seccao : seccoes)
        for (const TBlocoRegras& bloco : seccao.Blocos) {
            if (bloco.Tipo == TTipoBloco::tbTitulo)
                linhas.push_back({{seccao.Titulo, true}});
            else if (bloco.Texto.isEmpty())
                linhas.push_back({});
            else
                linhas.push_back({{bloco.Texto, false}});
        }
    linhas.push_back({{"BOTÕES", true}});
    linhas.push_back({});
    for (const TBotaoAjuda& botao : BotoesAjuda())
        linhas.push_back({{botao.Nome, true}, {" : " + botao.Descricao, false}});
    linhas.push_back({});
    return linhas;
}

QString TextoDaLinha(const TLinha& ALinha) {
    QString texto;
    for (const TTrecho& trecho : ALinha)
        texto += trecho.Texto;
    return texto;
}

class AjudaTexto : public ::testing::Test {
protected:
    QTextDocument* documento() { return dialogo.RichEditRegras->document(); }
    QString texto() { return documento()->toPlainText(); }
    void mostrar() {
        dialogo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialogo));
    }

    TFormAjuda dialogo;
};

TEST_F(AjudaTexto, LinesFollowTheRulesThenTheButtons) {
    const std::vector<TLinha> esperadas = LinhasEsperadas();
    ASSERT_EQ(esperadas.size(), 30u); // 29 lines and the empty paragraph after the last break

    // Paragraphs come out of the plain text separated by "\n".
    const QStringList linhas = texto().split('\n');
    ASSERT_EQ(linhas.size(), static_cast<qsizetype>(esperadas.size())) << texto().toStdString();
    for (size_t i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(linhas[static_cast<qsizetype>(i)], TextoDaLinha(esperadas[i]))
            << "line " << i + 1;

    EXPECT_TRUE(texto().startsWith("COMO JOGAR SOMADO\n"));
    EXPECT_EQ(linhas[11], "NÍVEIS DE DIFICULDADE");
    EXPECT_EQ(linhas[17], "BOTÕES");
    EXPECT_TRUE(texto().endsWith("Configurar : " + BotoesAjuda().back().Descricao + "\n"));
}

TEST_F(AjudaTexto, OnlyHeadingsAndButtonNamesAreBold) {
    const std::vector<TLinha> linhas = LinhasComPeso(documento());
    const std::vector<TLinha> esperadas = LinhasEsperadas();
    ASSERT_EQ(linhas.size(), esperadas.size());
    for (size_t i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(linhas[i], esperadas[i]) << "line " << i + 1;

    // Typing after the text must not carry the weight of the last button's name.
    QTextCursor fim(documento());
    fim.movePosition(QTextCursor::End);
    EXPECT_LT(fim.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(AjudaTexto, OpensAtTheTopWithNothingToUndo) {
    const QTextCursor cursor = dialogo.RichEditRegras->textCursor();
    EXPECT_EQ(cursor.position(), 0);
    EXPECT_FALSE(cursor.hasSelection());
    EXPECT_FALSE(documento()->isUndoAvailable());

    mostrar();
    QScrollBar* barra = dialogo.RichEditRegras->verticalScrollBar();
    ASSERT_GT(barra->maximum(), 0) << "the text should be longer than the box";
    EXPECT_EQ(barra->value(), 0);
}

TEST_F(AjudaTexto, BuiltOnceNotOnEachShow) {
    const QString original = texto();
    mostrar();
    dialogo.BitBtnOK->click();
    mostrar();
    EXPECT_EQ(texto(), original);

    // A change by the reader survives closing and reopening the window.
    QTextCursor cursor(documento());
    cursor.insertText("x");
    dialogo.hide();
    mostrar();
    EXPECT_EQ(texto(), "x" + original);

    // Rebuilding on purpose replaces the text instead of adding to it.
    dialogo.PreencherAjuda();
    EXPECT_EQ(texto(), original);
    EXPECT_EQ(dialogo.RichEditRegras->textCursor().position(), 0);
}

// ---- The windows -------------------------------------------------------------------------

struct TJanelaEsperada {
    const char* Nome;
    std::function<std::unique_ptr<QDialog>()> Criar;
    QString Legenda;
    QSize Tamanho;
    QRect GeometriaOK;
};

const std::vector<TJanelaEsperada> CJanelas{
    {"TFormAjuda",
     [] { return std::make_unique<TFormAjuda>(); },
     "SOMADO | Ajuda",
     {753, 459},
     {663, 416, 75, 25}},
    {"TFormSobre",
     [] { return std::make_unique<TFormSobre>(); },
     "SOMADO | Sobre",
     {366, 187},
     {150, 144, 75, 25}},
};

TEST(AjudaSobreJanelas, FixedSizeCloseOnlyAndOKAccepts) {
    for (const TJanelaEsperada& esperada : CJanelas) {
        SCOPED_TRACE(esperada.Nome);
        std::unique_ptr<QDialog> dialogo = esperada.Criar();
        EXPECT_EQ(dialogo->windowTitle(), esperada.Legenda);
        EXPECT_EQ(dialogo->size(), esperada.Tamanho);
        EXPECT_EQ(dialogo->minimumSize(), esperada.Tamanho);
        EXPECT_EQ(dialogo->maximumSize(), esperada.Tamanho);
        const Qt::WindowFlags marcas = dialogo->windowFlags();
        EXPECT_TRUE(marcas.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(marcas.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(marcas.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(dialogo->font().family(), "Segoe UI");
        EXPECT_EQ(dialogo->font().pixelSize(), 12);

        auto* ok = dialogo->findChild<QPushButton*>("BitBtnOK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_EQ(ok->geometry(), esperada.GeometriaOK);

        dialogo->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialogo.get()));
        dialogo->setResult(QDialog::Rejected);
        ok->click();
        EXPECT_EQ(dialogo->result(), QDialog::Accepted);
        EXPECT_FALSE(dialogo->isVisible());
    }
}

TEST(AjudaJanela, TextBoxIsReadOnlyButSelectableAndScrollsVertically) {
    TFormAjuda dialogo;
    QTextEdit* caixa = dialogo.RichEditRegras;
    EXPECT_EQ(dialogo.findChild<QTextEdit*>("RichEditRegras"), caixa);
    EXPECT_EQ(caixa->geometry(), QRect(8, 16, 730, 377));
    EXPECT_TRUE(caixa->isReadOnly());
    EXPECT_TRUE(caixa->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(caixa->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    const QString antes = caixa->toPlainText();
    QTest::keyClicks(caixa, "abc");
    QTest::keyClick(caixa, Qt::Key_Delete);
    EXPECT_EQ(caixa->toPlainText(), antes);
    EXPECT_EQ(caixa->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(caixa->font().family(), "Segoe UI");
    EXPECT_EQ(caixa->font().pixelSize(), 12);
}

TEST(SobreJanela, LabelsShowWholeInsideTheWindow) {
    TFormSobre dialogo;
    const struct {
        QLabel* Legenda;
        QString Texto;
        QPoint Posicao;
        int Pixeis;
    } casos[] = {
        {dialogo.LabelSobre, "SOMADO", {111, 8}, 40},
        {dialogo.Label1, "Desenvolvido por Quorvel", {47, 68}, 20},
        // Centred under the name, whatever the version's width.
        {dialogo.LabelVersao,
         "Versão " SOMADO_VERSAO_TESTE,
         {(dialogo.width() - dialogo.LabelVersao->width()) / 2, 108},
         12},
    };
    std::vector<QRect> ocupados{dialogo.BitBtnOK->geometry()};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Texto.toStdString());
        QLabel* legenda = caso.Legenda;
        EXPECT_EQ(legenda->text(), caso.Texto);
        EXPECT_EQ(legenda->pos(), caso.Posicao);
        EXPECT_EQ(legenda->font().family(), "Segoe UI");
        EXPECT_EQ(legenda->font().pixelSize(), caso.Pixeis);

        const QSize precisa = legenda->sizeHint();
        EXPECT_LE(legenda->x() + precisa.width(), dialogo.width());
        EXPECT_GE(legenda->width(), precisa.width());
        EXPECT_GE(legenda->height(), precisa.height());
        for (const QRect& outro : ocupados)
            EXPECT_FALSE(legenda->geometry().intersects(outro));
        ocupados.push_back(legenda->geometry());
    }
}

} // namespace
