// Every window of the program reads the same under a light and a dark system palette: where a
// window paints its own ground it also paints its own text, so no light text lands on the
// program's light panels (as a desktop's dark style once did in "Configurar").
#include "Contraste.h"

#include "ui/Arranque.h"
#include "ui/UnitAjuda.h"
#include "ui/UnitConfiguracao.h"
#include "ui/UnitImpressao.h"
#include "ui/UnitMain.h"
#include "ui/UnitSobre.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A text the window shows, and the part of the window it is painted in.
struct TTextoVisivel {
    QString Nome;
    QRect Regiao;
};

QString NomeDe(const QWidget* AWidget, const QString& ATexto) {
    const QString nome = AWidget->objectName().isEmpty()
                             ? QString::fromLatin1(AWidget->metaObject()->className())
                             : AWidget->objectName();
    return QStringLiteral("%1 \"%2\"").arg(nome, ATexto.left(30));
}

// Labels, buttons (push, radio, check), group titles and text boxes that are shown, enabled
// and hold text; a disabled control is meant to read faintly.
std::vector<TTextoVisivel> TextosVisiveis(QWidget& AJanela) {
    std::vector<TTextoVisivel> textos;
    const auto juntar = [&](QWidget* AWidget, const QString& ATexto, QRect ARegiao) {
        if (ATexto.trimmed().isEmpty() || ARegiao.width() < 4 || ARegiao.height() < 4) return;
        ARegiao.moveTopLeft(AWidget->mapTo(&AJanela, ARegiao.topLeft()));
        textos.push_back({NomeDe(AWidget, ATexto), ARegiao});
    };
    for (QWidget* widget : AJanela.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&AJanela) || !widget->isEnabled()) continue;
        if (auto* rotulo = qobject_cast<QLabel*>(widget))
            juntar(rotulo, rotulo->text(), rotulo->contentsRect());
        else if (auto* botao = qobject_cast<QAbstractButton*>(widget))
            juntar(botao, botao->text(), botao->rect().adjusted(3, 3, -3, -3));
        else if (auto* grupo = qobject_cast<QGroupBox*>(widget))
            juntar(grupo, grupo->title(),
                   QRect(0, 0, grupo->width(), grupo->fontMetrics().height() + 2));
        else if (auto* caixa = qobject_cast<QPlainTextEdit*>(widget))
            juntar(caixa->viewport(), caixa->toPlainText(), caixa->viewport()->rect());
        else if (auto* rico = qobject_cast<QTextEdit*>(widget))
            juntar(rico->viewport(), rico->toPlainText(), rico->viewport()->rect());
    }
    return textos;
}

void ExpectLegivel(QWidget& AJanela, const char* AQual) {
    AJanela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&AJanela)) << AQual;
    const QImage imagem = AJanela.grab().toImage();
    const qreal escala = imagem.devicePixelRatio();
    const std::vector<TTextoVisivel> textos = TextosVisiveis(AJanela);
    EXPECT_FALSE(textos.empty()) << AQual;
    for (const TTextoVisivel& texto : textos) {
        const QRectF r = texto.Regiao;
        const TLeitura leitura =
            Ler(imagem, QRectF(r.topLeft() * escala, r.size() * escala).toAlignedRect());
        EXPECT_GE(leitura.Contraste, CContrasteMinimo)
            << AQual << ": " << texto.Nome.toStdString() << " on " << std::hex << leitura.Fundo;
    }
    AJanela.hide();
}

// Every window, built as the program builds it; the question box as the main window asks.
void ExpectTodasLegiveis() {
    const std::unique_ptr<TFormMain> principal = CriarJanelaPrincipal();
    ExpectLegivel(*principal, "janela principal");
    TFormConfiguracao configurar(principal.get());
    ExpectLegivel(configurar, "Configurar");
    TFormAjuda ajuda(principal.get());
    ExpectLegivel(ajuda, "Ajuda");
    TFormSobre sobre(principal.get());
    ExpectLegivel(sobre, "Sobre");
    TFormImpressao imprimir(*principal->Jogo().Board(), principal.get());
    ExpectLegivel(imprimir, "Imprimir");
    QMessageBox pergunta(QMessageBox::Question, QStringLiteral("SOMADO"),
                         QStringLiteral("Há jogadas por gravar. Guardar antes de sair?"),
                         QMessageBox::NoButton, principal.get());
    pergunta.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    pergunta.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    pergunta.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    ExpectLegivel(pergunta, "pergunta");
}

TEST(Paleta, EveryWindowReadsUnderTheLightSystemPalette) {
    ExpectTodasLegiveis();
}

TEST(Paleta, EveryWindowReadsUnderADarkSystemPalette) {
    const TPaletaEscura paleta;
    ASSERT_LT(Luminancia(QApplication::palette().color(QPalette::Window)), 0.1);
    ExpectTodasLegiveis();
}

} // namespace
