#include "ui/UnitSobre.h"

#include <QLabel>
#include <QPushButton>

namespace {

QFont FonteSegoe(int APixeis) {
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPixelSize(APixeis);
    return fonte;
}

// Sized to its text after the font is set, so the substitute font's wider glyphs are not cut.
QLabel* CriarLegenda(const QString& ANome, const QString& ATexto, int APixeis, QPoint APosicao,
                     QWidget* APai) {
    auto* legenda = new QLabel(ATexto, APai);
    legenda->setObjectName(ANome);
    legenda->setFont(FonteSegoe(APixeis));
    legenda->move(APosicao);
    legenda->adjustSize();
    return legenda;
}

} // namespace

TFormSobre::TFormSobre(QWidget* AParent) : QDialog(AParent) {
    setObjectName(QStringLiteral("FormSobre"));
    setWindowTitle(QStringLiteral("SOMADO | Sobre"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(FonteSegoe(12));
    setFixedSize(366, 187);

    LabelSobre =
        CriarLegenda(QStringLiteral("LabelSobre"), QStringLiteral("SOMADO"), 40, {111, 8}, this);
    Label1 = CriarLegenda(QStringLiteral("Label1"), QStringLiteral("Desenvolvido por Quorvel"), 20,
                          {47, 68}, this);
    // Which copy the player runs, for a report or an upgrade.
    LabelVersao = CriarLegenda(QStringLiteral("LabelVersao"),
                               QStringLiteral("Versão %1").arg(QStringLiteral(SOMADO_VERSAO)), 12,
                               {0, 108}, this);
    LabelVersao->move((width() - LabelVersao->width()) / 2, LabelVersao->y());

    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->setGeometry(150, 144, 75, 25);
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::accept);
}
