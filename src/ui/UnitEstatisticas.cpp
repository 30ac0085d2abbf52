#include "ui/UnitEstatisticas.h"

#include "game/Estatisticas.h"
#include "game/Relogio.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

QFont FonteSegoe(int APixeis) {
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPixelSize(APixeis);
    return fonte;
}

constexpr int CLinhasDeTitulo = 2;
constexpr int CColunasPorNivel = 3;
const char* const CNomesNiveis[] = {"Fácil", "Médio", "Difícil", "Muito Difícil"};
const char* const CNomesColunas[] = {"Resolvidos", "Melhor", "Mediana"};

// Every cell gets both its text colour and its background, so the table reads the same under
// a light or a dark system palette: the style sheet's table colours would otherwise meet the
// palette's text colour. The colours are Sky's.
const QColor CFundoTitulo(0xc9, 0xe2, 0xf3);
const QColor CTextoTitulo(0x0f, 0x35, 0x52);
const QColor CTextoDados(0x10, 0x28, 0x3a);
// Every other level shaded, so the eye keeps to one level's three columns.
const QColor CFundoDados[] = {QColor(0xff, 0xff, 0xff), QColor(0xea, 0xf4, 0xfb)};

QTableWidgetItem* NovaCelula(QTableWidget* ATabela, int ALinha, int AColuna, bool ATitulo,
                             int ANivel = 0) {
    auto* celula = new QTableWidgetItem;
    // Read only and never selected: there is nothing to do with a cell.
    celula->setFlags(Qt::ItemIsEnabled);
    celula->setTextAlignment(Qt::AlignCenter);
    celula->setForeground(ATitulo ? CTextoTitulo : CTextoDados);
    celula->setBackground(ATitulo ? CFundoTitulo : CFundoDados[ANivel % 2]);
    QFont fonte = ATabela->font();
    fonte.setBold(ATitulo);
    celula->setFont(fonte);
    ATabela->setItem(ALinha, AColuna, celula);
    return celula;
}

QString TextoDoTempo(int32_t AResolvidos, int64_t AMilissegundos) {
    return AResolvidos > 0 ? TRelogio::Texto(AMilissegundos) : QStringLiteral("—");
}

} // namespace

TFormEstatisticas::TFormEstatisticas(QWidget* AParent) : QDialog(AParent) {
    setObjectName(QStringLiteral("FormEstatisticas"));
    setWindowTitle(QStringLiteral("SOMADO | Estatísticas"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(FonteSegoe(12));

    const int linhas = CLinhasDeTitulo + static_cast<int>(CLadosDasEstatisticas.size());
    const int colunas = 1 + CNiveisDasEstatisticas * CColunasPorNivel;
    GridEstatisticas = new QTableWidget(linhas, colunas, this);
    GridEstatisticas->setObjectName(QStringLiteral("GridEstatisticas"));
    GridEstatisticas->setFont(FonteSegoe(12));
    // The program's style gives tables the board's blue and no frame; this one is a sheet of
    // figures, white and framed, its text colour set with its background.
    GridEstatisticas->setStyleSheet(
        QStringLiteral("QTableWidget { color: #10283a; background: #ffffff; "
                       "gridline-color: #9cc4e2; border: 1px solid #9cc4e2; }"));
    GridEstatisticas->horizontalHeader()->hide();
    GridEstatisticas->verticalHeader()->hide();
    GridEstatisticas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridEstatisticas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridEstatisticas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridEstatisticas->setSelectionMode(QAbstractItemView::NoSelection);
    GridEstatisticas->setFocusPolicy(Qt::NoFocus);
    GridEstatisticas->setWordWrap(false);

    NovaCelula(GridEstatisticas, 0, 0, true)->setText(QStringLiteral("Tamanho"));
    GridEstatisticas->setSpan(0, 0, CLinhasDeTitulo, 1);
    for (int nivel = 0; nivel < CNiveisDasEstatisticas; ++nivel) {
        const int primeira = 1 + nivel * CColunasPorNivel;
        NovaCelula(GridEstatisticas, 0, primeira, true)
            ->setText(QString::fromUtf8(CNomesNiveis[nivel]));
        GridEstatisticas->setSpan(0, primeira, 1, CColunasPorNivel);
        for (int c = 0; c < CColunasPorNivel; ++c)
            NovaCelula(GridEstatisticas, 1, primeira + c, true)
                ->setText(QString::fromUtf8(CNomesColunas[c]));
        GridEstatisticas->item(1, primeira + 2)
            ->setToolTip(QStringLiteral("Mediana dos últimos %1 tempos").arg(CTemposGuardados));
    }
    for (size_t i = 0; i < CLadosDasEstatisticas.size(); ++i) {
        const int linha = CLinhasDeTitulo + static_cast<int>(i);
        NovaCelula(GridEstatisticas, linha, 0, true)
            ->setText(QStringLiteral("%1 x %1").arg(CLadosDasEstatisticas[i]));
        for (int nivel = 0; nivel < CNiveisDasEstatisticas; ++nivel)
            for (int c = 0; c < CColunasPorNivel; ++c)
                NovaCelula(GridEstatisticas, linha, 1 + nivel * CColunasPorNivel + c, false, nivel);
    }

    LabelNota = new QLabel(
        QStringLiteral("Só contam os tabuleiros resolvidos sem \"Dica\" e sem \"Ver Solução\"."),
        this);
    LabelNota->setObjectName(QStringLiteral("LabelNota"));

    BitBtnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    BitBtnFechar->setObjectName(QStringLiteral("BitBtnFechar"));
    BitBtnFechar->setFixedSize(75, 25);
    BitBtnFechar->setDefault(true);
    connect(BitBtnFechar, &QPushButton::clicked, this, &QDialog::accept);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(LabelNota, 1);
    botoes->addWidget(BitBtnFechar);
    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(12, 12, 12, 12);
    coluna->setSpacing(12);
    coluna->addWidget(GridEstatisticas);
    coluna->addLayout(botoes);
    // The window is as large as the table and no larger; it cannot be resized.
    coluna->setSizeConstraint(QLayout::SetFixedSize);

    Mostrar(TEstatisticas());
}

void TFormEstatisticas::Mostrar(const TEstatisticas& AEstatisticas) {
    for (size_t i = 0; i < CLadosDasEstatisticas.size(); ++i) {
        const int linha = CLinhasDeTitulo + static_cast<int>(i);
        for (int nivel = 0; nivel < CNiveisDasEstatisticas; ++nivel) {
            const TEstatisticas::TResumo resumo = AEstatisticas.Resumo(
                CLadosDasEstatisticas[i], static_cast<TNivelDificuldade>(nivel));
            const int primeira = 1 + nivel * CColunasPorNivel;
            const QString textos[CColunasPorNivel] = {
                QString::number(resumo.Resolvidos),
                TextoDoTempo(resumo.Resolvidos, resumo.MelhorMs),
                TextoDoTempo(resumo.Resolvidos, resumo.MedianaMs)};
            // The sizes and levels played stand out in bold. A lighter colour for the others
            // would do it too, but the thin dash would then no longer read.
            QFont fonte = GridEstatisticas->font();
            fonte.setBold(resumo.Resolvidos > 0);
            for (int c = 0; c < CColunasPorNivel; ++c) {
                QTableWidgetItem* celula = GridEstatisticas->item(linha, primeira + c);
                celula->setText(textos[c]);
                celula->setFont(fonte);
            }
        }
    }
    AjustarTamanho();
}

// Columns and rows fitted to what they hold, in whatever font stands in for Segoe UI, and
// the table exactly as large as its cells: it never scrolls.
void TFormEstatisticas::AjustarTamanho() {
    QTableWidget* tabela = GridEstatisticas;
    // The frame's width comes from the style sheet, known once the table is polished.
    tabela->ensurePolished();
    const int margem = 16;
    const auto largura = [&](const QTableWidgetItem* ACelula) {
        return QFontMetrics(ACelula->font()).horizontalAdvance(ACelula->text()) + margem;
    };
    std::vector<int> larguras(static_cast<size_t>(tabela->columnCount()), 0);
    int alturaLinha = 0;
    for (int r = 0; r < tabela->rowCount(); ++r)
        for (int c = 0; c < tabela->columnCount(); ++c) {
            const QTableWidgetItem* celula = tabela->item(r, c);
            if (!celula) continue;
            alturaLinha = std::max(alturaLinha, QFontMetrics(celula->font()).height() + 10);
            if (tabela->columnSpan(r, c) == 1)
                larguras[static_cast<size_t>(c)] =
                    std::max(larguras[static_cast<size_t>(c)], largura(celula));
        }
    // A level's name wider than its three columns widens them alike.
    for (int nivel = 0; nivel < CNiveisDasEstatisticas; ++nivel) {
        const int primeira = 1 + nivel * CColunasPorNivel;
        int soma = 0;
        for (int c = 0; c < CColunasPorNivel; ++c)
            soma += larguras[static_cast<size_t>(primeira + c)];
        const int falta = largura(tabela->item(0, primeira)) - soma;
        for (int c = 0; falta > 0 && c < CColunasPorNivel; ++c)
            larguras[static_cast<size_t>(primeira + c)] +=
                (falta + CColunasPorNivel - 1) / CColunasPorNivel;
    }
    int total = 0;
    for (int c = 0; c < tabela->columnCount(); ++c) {
        tabela->setColumnWidth(c, larguras[static_cast<size_t>(c)]);
        total += larguras[static_cast<size_t>(c)];
    }
    for (int r = 0; r < tabela->rowCount(); ++r)
        tabela->setRowHeight(r, alturaLinha);
    // The grid line after the last row and column would double the frame's: one pixel less
    // leaves it under the frame.
    const int moldura = 2 * tabela->frameWidth() - 1;
    tabela->setFixedSize(total + moldura, alturaLinha * tabela->rowCount() + moldura);
}
