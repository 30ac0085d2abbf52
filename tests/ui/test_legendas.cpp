// Every caption a control can show is whole: measured with the font the control really uses
// (the program's fonts and style sheet), it fits the control's contents rectangle, and the
// control lies inside its window.
#include "ui/UnitAjuda.h"
#include "ui/UnitConfiguracao.h"
#include "ui/UnitMain.h"
#include "ui/UnitSobre.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

std::unique_ptr<TSomadoBoard> SempreOFixoSemNivel(TTamanhoTabuleiro, TNivelDificuldade, int64_t,
                                                  TAleatorio&, const std::atomic<bool>&) {
    return CriarPuzzleFixo();
}

// The rectangle the style gives a button's caption.
QRect RectDoTexto(QAbstractButton& ABotao, const QString& ALegenda) {
    QStyleOptionButton opcao;
    opcao.initFrom(&ABotao);
    opcao.text = ALegenda;
    const bool radio = qobject_cast<QRadioButton*>(&ABotao) != nullptr;
    return ABotao.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &opcao, &ABotao);
}

std::string Nome(const QWidget& AControlo, const QString& ALegenda) {
    return (AControlo.objectName() + " \"" + ALegenda + "\"").toStdString();
}

void VerificarLegenda(QWidget& AControlo, const QString& ALegenda) {
    const QFontMetrics metricas = AControlo.fontMetrics();
    QRect rect;
    if (auto* botao = qobject_cast<QAbstractButton*>(&AControlo))
        rect = RectDoTexto(*botao, ALegenda);
    else
        rect = AControlo.contentsRect();
    EXPECT_LE(metricas.horizontalAdvance(ALegenda), rect.width()) << Nome(AControlo, ALegenda);
    EXPECT_LE(metricas.height(), rect.height()) << Nome(AControlo, ALegenda);
}

// Every control with a caption in the window, with every caption it can show.
void VerificarJanela(QWidget& AJanela,
                     const std::function<QStringList(QWidget&)>& AOutrasLegendas = {}) {
    AJanela.ensurePolished();
    int vistos = 0;
    for (QWidget* controlo : AJanela.findChildren<QWidget*>()) {
        QString legenda;
        if (auto* botao = qobject_cast<QAbstractButton*>(controlo))
            legenda = botao->text();
        else if (auto* rotulo = qobject_cast<QLabel*>(controlo))
            legenda = rotulo->text();
        else if (auto* grupo = qobject_cast<QGroupBox*>(controlo)) {
            // The title sits in the frame's top edge, beside a small indent on either side.
            const int largura = grupo->fontMetrics().horizontalAdvance(grupo->title());
            EXPECT_LE(largura + 16, grupo->width()) << Nome(*grupo, grupo->title());
            continue;
        }
        if (legenda.isEmpty() || controlo->objectName().startsWith("qt_")) continue;
        ++vistos;
        QStringList legendas{legenda};
        if (AOutrasLegendas) legendas += AOutrasLegendas(*controlo);
        for (const QString& l : legendas) {
            if (auto* rotulo = qobject_cast<QLabel*>(controlo)) {
                rotulo->setText(l);
                rotulo->adjustSize();
            }
            VerificarLegenda(*controlo, l);
            // Inside the window, not cut by its edges.
            const QRect naJanela(controlo->mapTo(&AJanela, QPoint(0, 0)), controlo->size());
            EXPECT_TRUE(AJanela.rect().contains(naJanela)) << Nome(*controlo, l);
        }
        if (auto* rotulo = qobject_cast<QLabel*>(controlo)) rotulo->setText(legenda);
    }
    EXPECT_GT(vistos, 0) << AJanela.objectName().toStdString();
}

} // namespace

TEST(Legendas, MainWindowEveryCaptionItCanShow) {
    TFormMain janela(SempreOFixoSemNivel);
    janela.show();
#ifdef _WIN32
    // The buttons were laid out for Segoe UI; a Windows without it (wine's stand-in is the
    // wider Tahoma) says nothing about the widths a player sees.
    const QString familia = QFontInfo(janela.BitBtnVerSolucao->font()).family();
    if (familia != QStringLiteral("Segoe UI"))
        GTEST_SKIP()
            << "the captions are measured in Segoe UI, and this Windows draws the buttons in "
            << familia.toStdString();
#endif
    VerificarJanela(janela, [&janela](QWidget& AControlo) -> QStringList {
        if (&AControlo == janela.BitBtnVerSolucao) return {"Esconder Solução"};
        if (&AControlo == janela.LabelTamanhoConfigurado) {
            QStringList tamanhos;
            for (const int lado : {6, 9, 12, 15, 16, 20, 25})
                tamanhos << QStringLiteral("Tamanho seleccionado: %1x%1").arg(lado);
            return tamanhos;
        }
        return {};
    });
}

TEST(Legendas, ConfigurationHelpAndAbout) {
    TFormConfiguracao configuracao;
    TFormAjuda ajuda;
    TFormSobre sobre;
    for (QWidget* janela : std::initializer_list<QWidget*>{&configuracao, &ajuda, &sobre}) {
        janela->show();
        VerificarJanela(*janela);
    }
}
