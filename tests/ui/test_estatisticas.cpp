// The statistics window: its headings, the cells it fills from a known record, everything
// inside the window, and every text readable on what is painted behind it, under the system's
// light palette and under a dark one.
#include "Contraste.h"

#include "game/Estatisticas.h"
#include "ui/UnitEstatisticas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <map>
#include <ostream>
#include <vector>

namespace {

const QStringList CNiveis{"Fácil", "Médio", "Difícil", "Muito Difícil"};
const QStringList CColunas{"Resolvidos", "Melhor", "Mediana"};

// The cell of a size, level and figure, found through the headings as a reader finds it:
// the size in the first column, the level in the first heading row over three columns, the
// figure's name in the second. Null when the headings do not lead to one.
QTableWidgetItem* Celula(const TFormEstatisticas& AJanela, int32_t ALado, const QString& ANivel,
                         const QString& AColuna) {
    const QTableWidget* tabela = AJanela.GridEstatisticas;
    int linha = -1, coluna = -1;
    for (int r = 0; r < tabela->rowCount(); ++r)
        if (tabela->item(r, 0) && tabela->item(r, 0)->text() == QString("%1 x %1").arg(ALado))
            linha = r;
    for (int c = 1; c < tabela->columnCount(); ++c) {
        const QTableWidgetItem* nivel = tabela->item(0, c);
        if (!nivel || nivel->text() != ANivel) continue;
        for (int k = c; k < c + tabela->columnSpan(0, c); ++k)
            if (tabela->item(1, k) && tabela->item(1, k)->text() == AColuna) coluna = k;
    }
    return linha >= 0 && coluna >= 0 ? tabela->item(linha, coluna) : nullptr;
}

QString TextoDe(const TFormEstatisticas& AJanela, int32_t ALado, const QString& ANivel,
                const QString& AColuna) {
    const QTableWidgetItem* celula = Celula(AJanela, ALado, ANivel, AColuna);
    return celula ? celula->text() : QStringLiteral("<sem célula>");
}

void Mostrar(QDialog& AJanela) {
    AJanela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&AJanela));
}

TEST(EstatisticasJanela, HeadingsNameTheLevelsFiguresAndSizes) {
    TFormEstatisticas janela;
    EXPECT_EQ(janela.windowTitle(), "SOMADO | Estatísticas");
    EXPECT_EQ(janela.font().family(), "Segoe UI");
    EXPECT_EQ(janela.font().pixelSize(), 12);
    const QTableWidget* tabela = janela.GridEstatisticas;
    ASSERT_EQ(tabela->columnCount(), 1 + 4 * 3);
    ASSERT_EQ(tabela->rowCount(), 2 + static_cast<int>(CLadosDasEstatisticas.size()));

    EXPECT_EQ(tabela->item(0, 0)->text(), "Tamanho");
    EXPECT_EQ(tabela->rowSpan(0, 0), 2);
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(CNiveis[n].toStdString());
        const int primeira = 1 + 3 * n;
        EXPECT_EQ(tabela->item(0, primeira)->text(), CNiveis[n]);
        EXPECT_EQ(tabela->columnSpan(0, primeira), 3);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(tabela->item(1, primeira + c)->text(), CColunas[c]);
    }
    QStringList lados;
    for (int r = 2; r < tabela->rowCount(); ++r)
        lados << tabela->item(r, 0)->text();
    EXPECT_EQ(lados, (QStringList{"6 x 6", "9 x 9", "12 x 12", "15 x 15", "16 x 16", "20 x 20",
                                  "25 x 25"}));

    const QString nota = janela.LabelNota->text();
    EXPECT_TRUE(nota.contains("\"Dica\"") && nota.contains("\"Ver Solução\""))
        << nota.toStdString();

    // Nothing in the table to edit, select or tab into: the keys go to "Fechar".
    for (int r = 0; r < tabela->rowCount(); ++r)
        for (int c = 0; c < tabela->columnCount(); ++c)
            if (tabela->item(r, c)) {
                EXPECT_EQ(tabela->item(r, c)->flags(), Qt::ItemIsEnabled) << r << ", " << c;
            }
    EXPECT_EQ(tabela->focusPolicy(), Qt::NoFocus);
}

TEST(EstatisticasJanela, EnterOnFecharCloses) {
    TFormEstatisticas janela;
    Mostrar(janela);
    EXPECT_EQ(janela.BitBtnFechar->text(), "Fechar");
    EXPECT_TRUE(janela.BitBtnFechar->isDefault());
    EXPECT_TRUE(janela.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(janela.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    janela.setResult(QDialog::Rejected);
    QTest::keyClick(&janela, Qt::Key_Return);
    EXPECT_EQ(janela.result(), QDialog::Accepted);
    EXPECT_FALSE(janela.isVisible());
}

// A record with finishes in a few places: their cells show the count and the times as the
// clock shows them; every other cell shows none.
TEST(EstatisticasJanela, CellsShowTheRecord) {
    const struct {
        int32_t Lado;
        TNivelDificuldade Nivel;
        std::vector<int64_t> Tempos;
        QString Resolvidos, Melhor, Mediana;
    } casos[] = {
        {9, TNivelDificuldade::ndMedio, {65000, 61000, 190000}, "3", "1:01", "1:05"},
        {25, TNivelDificuldade::ndMuitoDificil, {3723000, 4000000}, "2", "1:02:03", "1:04:21"},
        {6, TNivelDificuldade::ndFacil, {59999}, "1", "0:59", "0:59"},
        {16, TNivelDificuldade::ndDificil, {600000, 540000}, "2", "9:00", "9:30"},
    };
    TEstatisticas estatisticas;
    for (const auto& caso : casos)
        for (const int64_t tempo : caso.Tempos)
            estatisticas.RegistarFim(caso.Lado, caso.Nivel, tempo);

    TFormEstatisticas janela;
    janela.Mostrar(estatisticas);
    int preenchidas = 0;
    for (const int32_t lado : CLadosDasEstatisticas)
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(::testing::Message() << lado << " " << CNiveis[n].toStdString());
            QStringList esperado{"0", "—", "—"};
            for (const auto& caso : casos)
                if (caso.Lado == lado && static_cast<int>(caso.Nivel) == n) {
                    esperado = QStringList{caso.Resolvidos, caso.Melhor, caso.Mediana};
                    ++preenchidas;
                }
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(TextoDe(janela, lado, CNiveis[n], CColunas[c]), esperado[c])
                    << CColunas[c].toStdString();
                // The sizes and levels played stand out.
                const QTableWidgetItem* celula = Celula(janela, lado, CNiveis[n], CColunas[c]);
                ASSERT_NE(celula, nullptr);
                EXPECT_EQ(celula->font().bold(), esperado[0] != "0") << CColunas[c].toStdString();
            }
        }
    EXPECT_EQ(preenchidas, static_cast<int>(std::size(casos)));

    // Shown again with another record, nothing of the first is left.
    janela.Mostrar(TEstatisticas());
    for (const auto& caso : casos) {
        const QString nivel = CNiveis[static_cast<int>(caso.Nivel)];
        EXPECT_FALSE(Celula(janela, caso.Lado, nivel, "Melhor")->font().bold());
        EXPECT_EQ(TextoDe(janela, caso.Lado, nivel, "Resolvidos"), "0");
        EXPECT_EQ(TextoDe(janela, caso.Lado, nivel, "Melhor"), "—");
        EXPECT_EQ(TextoDe(janela, caso.Lado, nivel, "Mediana"), "—");
    }
}

// The widest figures the record can hold: every text whole in its cell, the table whole in
// the window with nothing to scroll, and the note and button clear of it.
TEST(EstatisticasJanela, EveryTextIsWholeAndInsideTheWindow) {
    TEstatisticas estatisticas;
    for (const int32_t lado : CLadosDasEstatisticas)
        for (int n = 0; n < 4; ++n)
            for (int k = 0; k < 1000; ++k)
                estatisticas.RegistarFim(lado, static_cast<TNivelDificuldade>(n),
                                         CTempoMaximoEstatisticasMs - k);
    TFormEstatisticas janela;
    janela.Mostrar(estatisticas);
    Mostrar(janela);
    ASSERT_EQ(TextoDe(janela, 25, "Muito Difícil", "Melhor"), "999:59:59");

    const QTableWidget* tabela = janela.GridEstatisticas;
    for (int r = 0; r < tabela->rowCount(); ++r)
        for (int c = 0; c < tabela->columnCount(); ++c) {
            const QTableWidgetItem* celula = tabela->item(r, c);
            if (!celula) continue;
            SCOPED_TRACE(celula->text().toStdString());
            // What shows of the cell, inside the table's frame.
            const QRect rect =
                tabela->visualItemRect(celula).intersected(tabela->viewport()->rect());
            const int precisa = QFontMetrics(celula->font()).horizontalAdvance(celula->text());
            EXPECT_GE(rect.width(), precisa + 4);
            EXPECT_GE(rect.height(), QFontMetrics(celula->font()).height());
        }
    EXPECT_FALSE(tabela->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(tabela->verticalScrollBar()->isVisible());

    const QRect dentro = janela.rect();
    const QRect areaTabela = tabela->geometry();
    EXPECT_TRUE(dentro.contains(areaTabela));
    for (const QWidget* outro :
         {static_cast<QWidget*>(janela.LabelNota), static_cast<QWidget*>(janela.BitBtnFechar)}) {
        EXPECT_TRUE(dentro.contains(outro->geometry())) << outro->objectName().toStdString();
        EXPECT_FALSE(outro->geometry().intersects(areaTabela)) << outro->objectName().toStdString();
    }
    EXPECT_GE(janela.LabelNota->width(), janela.LabelNota->sizeHint().width());
    EXPECT_FALSE(janela.LabelNota->geometry().intersects(janela.BitBtnFechar->geometry()));
    // The player cannot make it smaller than what it shows.
    EXPECT_EQ(janela.minimumSize(), janela.maximumSize());
}

// ---- Reading the painted window ------------------------------------------------------------

// Every text of the window as painted: the cells, the note and the button's caption, with the
// region each is painted in (in the window's coordinates) and the colours it asks for (none
// where they are no plain colours).
struct TTextoPintado {
    QString Nome;
    QRect Regiao;
    QColor Texto, Fundo;
};

std::vector<TTextoPintado> TextosPintados(const TFormEstatisticas& AJanela) {
    std::vector<TTextoPintado> textos;
    const QTableWidget* tabela = AJanela.GridEstatisticas;
    for (int r = 0; r < tabela->rowCount(); ++r)
        for (int c = 0; c < tabela->columnCount(); ++c) {
            const QTableWidgetItem* celula = tabela->item(r, c);
            if (!celula) continue;
            QRect rect = tabela->visualItemRect(celula);
            rect.moveTopLeft(tabela->viewport()->mapTo(&AJanela, rect.topLeft()));
            // Clear of the grid lines.
            const QVariant texto = celula->data(Qt::ForegroundRole);
            const QVariant fundo = celula->data(Qt::BackgroundRole);
            textos.push_back({QString("cell %1, %2 \"%3\"").arg(r).arg(c).arg(celula->text()),
                              rect.adjusted(2, 2, -3, -3),
                              texto.isValid() ? texto.value<QBrush>().color() : QColor(),
                              fundo.isValid() ? fundo.value<QBrush>().color() : QColor()});
        }
    const QLabel* nota = AJanela.LabelNota;
    textos.push_back({"LabelNota", nota->geometry(), nota->palette().color(nota->foregroundRole()),
                      AJanela.palette().color(QPalette::Window)});
    // The button's ground is a gradient: only what is painted is read.
    textos.push_back({"BitBtnFechar", AJanela.BitBtnFechar->geometry().adjusted(4, 4, -4, -4),
                      QColor(), QColor()});
    return textos;
}

struct TQuadro {
    std::vector<TTextoPintado> Textos;
    std::vector<TLeitura> Leituras;
};

TQuadro Pintar(const TEstatisticas& AEstatisticas) {
    TFormEstatisticas janela;
    janela.Mostrar(AEstatisticas);
    janela.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&janela));
    const QImage imagem = janela.grab().toImage();
    const qreal escala = imagem.devicePixelRatio();
    TQuadro quadro;
    quadro.Textos = TextosPintados(janela);
    for (const TTextoPintado& texto : quadro.Textos) {
        const QRectF r = texto.Regiao;
        quadro.Leituras.push_back(
            Ler(imagem, QRectF(r.topLeft() * escala, r.size() * escala).toAlignedRect()));
    }
    return quadro;
}

TEST(EstatisticasJanela, EveryTextReadsUnderALightAndADarkSystemPalette) {
    TEstatisticas estatisticas;
    estatisticas.RegistarFim(9, TNivelDificuldade::ndMedio, 65000);
    estatisticas.RegistarFim(20, TNivelDificuldade::ndDificil, 4000000);

    const TQuadro clara = Pintar(estatisticas);
    TQuadro escura;
    {
        const TPaletaEscura paleta;
        ASSERT_LT(Luminancia(QApplication::palette().color(QPalette::Window)), 0.1);
        escura = Pintar(estatisticas);
    }
    ASSERT_EQ(clara.Textos.size(), escura.Textos.size());
    for (const TQuadro* quadro : {&clara, static_cast<const TQuadro*>(&escura)})
        for (size_t i = 0; i < quadro->Textos.size(); ++i) {
            const TTextoPintado& texto = quadro->Textos[i];
            SCOPED_TRACE((quadro == &clara ? "light: " : "dark: ") + texto.Nome.toStdString());
            // The colours asked for, and what was painted.
            // A cell that sets one of its colours sets both.
            if (texto.Fundo.isValid() || texto.Texto.isValid()) {
                EXPECT_TRUE(texto.Fundo.isValid() && texto.Texto.isValid());
                EXPECT_GE(Contraste(texto.Texto, texto.Fundo), CContrasteMinimo);
            }
#ifdef _WIN32
            // Windows' font engine draws the one-pixel stroke of a lone dash (an unplayed
            // size) blended into its neighbours, so no pixel of it reaches the text's own
            // colour; the colours asked for, checked above, still read.
            if (texto.Nome.endsWith(QStringLiteral("\"—\""))) continue;
#endif
            EXPECT_GE(quadro->Leituras[i].Contraste, CContrasteMinimo)
                << "background " << std::hex << quadro->Leituras[i].Fundo;
        }
    // The window does not change with the system's palette: every text on the same ground.
    for (size_t i = 0; i < clara.Textos.size(); ++i)
        EXPECT_EQ(clara.Leituras[i].Fundo, escura.Leituras[i].Fundo)
            << clara.Textos[i].Nome.toStdString();
}

} // namespace
