#include "ui/UnitConfiguracao.h"

#include "pdf/UnitSomadoPdf.h"
#include "render/UnitSomadoRegras.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr std::array<TTamanhoTabuleiro, 4> CTamanhosDosItens{
    TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9, TTamanhoTabuleiro::tt12,
    TTamanhoTabuleiro::tt15};

const QStringList CItensTamanho{"6 x 6", "9 x 9", "12 x 12", "15 x 15"};
const QStringList CItensNivel{"Fácil", "Médio", "Difícil", "Muito Difícil"};

int MinimoQuantidade(bool AProgressivo) {
    return AProgressivo ? 4 : 1;
}

} // namespace

TTamanhoTabuleiro TamanhoDoIndice(int AIndice) {
    return CTamanhosDosItens[static_cast<size_t>(AIndice)];
}

int IndiceDoTamanho(TTamanhoTabuleiro ATamanho) {
    for (size_t i = 0; i < CTamanhosDosItens.size(); ++i)
        if (CTamanhosDosItens[i] == ATamanho) return static_cast<int>(i);
    throw ESomadoError(Format("Tamanho de tabuleiro sem correspondência no RadioGroup: %d",
                              static_cast<int>(ATamanho)));
}

QValidator::State TValidadorTitulo::validate(QString& ATexto, int&) const {
    // Longer titles are refused as they are typed or pasted, rather than cut on paper.
    return TituloCabeNaCapa(ATexto) ? QValidator::Acceptable : QValidator::Invalid;
}

int TSpinEditQuantidade::ValorLido() const {
    bool numero = false;
    const int valor = text().trimmed().toInt(&numero);
    return numero ? std::clamp(valor, minimum(), maximum()) : minimum();
}

QValidator::State TSpinEditQuantidade::validate(QString& ATexto, int&) const {
    // Anything made of digits may stand while typing; leaving the field puts it in range.
    for (const QChar ch : ATexto)
        if (!ch.isDigit() && !ch.isSpace()) return QValidator::Invalid;
    bool numero = false;
    const int valor = ATexto.trimmed().toInt(&numero);
    return numero && valor >= minimum() && valor <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
}

void TSpinEditQuantidade::fixup(QString& ATexto) const {
    bool numero = false;
    const int valor = ATexto.trimmed().toInt(&numero);
    ATexto = QString::number(numero ? std::clamp(valor, minimum(), maximum()) : minimum());
}

void TSpinEditQuantidade::focusOutEvent(QFocusEvent* AEvento) {
    setValue(ValorLido());
    QSpinBox::focusOutEvent(AEvento);
}

TRadioGroup::TRadioGroup(const QString& ALegenda, const QStringList& AItens, QWidget* AParent)
    : QGroupBox(ALegenda, AParent), FBotoes(new QButtonGroup(this)) {
    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(8, 4, 8, 4);
    coluna->setSpacing(0);
    for (int i = 0; i < AItens.size(); ++i) {
        auto* botao = new QRadioButton(AItens[i], this);
        FBotoes->addButton(botao, i);
        coluna->addWidget(botao);
    }
}

int TRadioGroup::ItemIndex() const {
    return FBotoes->checkedId();
}

void TRadioGroup::DefinirItemIndex(int AIndice) {
    if (QAbstractButton* botao = FBotoes->button(AIndice)) botao->setChecked(true);
}

TFormConfiguracao::TFormConfiguracao(QWidget* AParent) : QDialog(AParent) {
    setObjectName(QStringLiteral("FormConfiguracao"));
    setWindowTitle(QStringLiteral("SOMADO | Configurar"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(459, 421);

    GroupBoxExportarLote = new QGroupBox(QStringLiteral("Exportar Lote"), this);
    GroupBoxExportarLote->setGeometry(8, 8, 210, 401);
    RadioGroupTamanhoLote = new TRadioGroup(QStringLiteral("Tamanho do Tabuleiro"), CItensTamanho,
                                            GroupBoxExportarLote);
    RadioGroupTamanhoLote->setGeometry(11, 24, 187, 120);
    RadioGroupDificuldadeLote = new TRadioGroup(
        QStringLiteral("Nível de Dificuldade"),
        CItensNivel + QStringList{QStringLiteral("Progressivo")}, GroupBoxExportarLote);
    RadioGroupDificuldadeLote->setGeometry(10, 152, 187, 151);
    Label1 = new QLabel(QStringLiteral("Quantidade:"), GroupBoxExportarLote);
    Label1->move(10, 311);
    SpinEditQuantidade = new TSpinEditQuantidade(GroupBoxExportarLote);
    SpinEditQuantidade->setGeometry(82, 306, 54, 24);
    SpinEditQuantidade->setRange(1, CQuantidadeMaxima);
    SpinEditQuantidade->setSingleStep(1);
    LabelTitulo = new QLabel(QStringLiteral("Título do lote"), GroupBoxExportarLote);
    LabelTitulo->move(10, 339);
    EditTitulo = new QLineEdit(GroupBoxExportarLote);
    EditTitulo->setGeometry(10, 357, 188, 23);
    EditTitulo->setValidator(new TValidadorTitulo(EditTitulo));
    EditTitulo->setToolTip(QStringLiteral("O título é impresso numa só linha da capa."));

    GroupBoxNovoPuzzle = new QGroupBox(QStringLiteral("Novo Puzzle"), this);
    GroupBoxNovoPuzzle->setGeometry(235, 8, 210, 295);
    RadioGroupTamanho =
        new TRadioGroup(QStringLiteral("Tamanho do Tabuleiro"), CItensTamanho, GroupBoxNovoPuzzle);
    RadioGroupTamanho->setGeometry(16, 24, 180, 120);
    RadioGroupNivel =
        new TRadioGroup(QStringLiteral("Nível de Dificuldade"), CItensNivel, GroupBoxNovoPuzzle);
    RadioGroupNivel->setGeometry(16, 159, 180, 121);

    BitBtnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    BitBtnCancelar->setGeometry(234, 369, 100, 40);
    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setGeometry(345, 369, 100, 40);
    BitBtnOK->setDefault(true);
    connect(BitBtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(RadioGroupDificuldadeLote->Botoes(), &QButtonGroup::idClicked, this,
            [this] { AtualizarMinimoQuantidade(); });
}

void TFormConfiguracao::DefinirConfiguracaoPuzzle(TTamanhoTabuleiro ATamanho,
                                                  TNivelDificuldade ANivel) {
    RadioGroupTamanho->DefinirItemIndex(IndiceDoTamanho(ATamanho));
    RadioGroupNivel->DefinirItemIndex(static_cast<int>(ANivel));
}

void TFormConfiguracao::CarregarConfiguracaoPuzzle(TTamanhoTabuleiro& ATamanho,
                                                   TNivelDificuldade& ANivel) const {
    ATamanho = TamanhoDoIndice(RadioGroupTamanho->ItemIndex());
    ANivel = static_cast<TNivelDificuldade>(RadioGroupNivel->ItemIndex());
}

void TFormConfiguracao::DefinirConfiguracaoLote(TTamanhoTabuleiro ATamanho,
                                                TModoDificuldadeLote AModo,
                                                TNivelDificuldade ADificuldade, int32_t AQuantidade,
                                                const QString& ATitulo) {
    EditTitulo->setText(ATitulo);
    RadioGroupTamanhoLote->DefinirItemIndex(IndiceDoTamanho(ATamanho));
    RadioGroupDificuldadeLote->DefinirItemIndex(AModo == TModoDificuldadeLote::mdlProgressivo
                                                    ? CItemProgressivo
                                                    : static_cast<int>(ADificuldade));
    RadioGroupDificuldadeLote->setVisible(true);
    AtualizarMinimoQuantidade();
    SpinEditQuantidade->setValue(
        std::clamp(AQuantidade, SpinEditQuantidade->minimum(), CQuantidadeMaxima));
    AtualizarMinimoQuantidade();
}

void TFormConfiguracao::CarregarConfiguracaoLote(TTamanhoTabuleiro& ATamanho,
                                                 TModoDificuldadeLote& AModo,
                                                 TNivelDificuldade& ADificuldade,
                                                 int32_t& AQuantidade, QString& ATitulo) const {
    ATitulo = SemEspacosNasPontas(EditTitulo->text());
    ATamanho = TamanhoDoIndice(RadioGroupTamanhoLote->ItemIndex());
    if (RadioGroupDificuldadeLote->ItemIndex() == CItemProgressivo) {
        AModo = TModoDificuldadeLote::mdlProgressivo;
        ADificuldade = TNivelDificuldade::ndFacil;
    } else {
        AModo = TModoDificuldadeLote::mdlFixa;
        ADificuldade = static_cast<TNivelDificuldade>(RadioGroupDificuldadeLote->ItemIndex());
    }
    AQuantidade = SpinEditQuantidade->ValorLido();
}

void TFormConfiguracao::AtualizarMinimoQuantidade() {
    const int minimo = MinimoQuantidade(RadioGroupDificuldadeLote->ItemIndex() == CItemProgressivo);
    const int valor = SpinEditQuantidade->ValorLido();
    // Raising the minimum raises a smaller value; lowering it never lowers the value.
    SpinEditQuantidade->setMinimum(minimo);
    SpinEditQuantidade->setValue(std::max(valor, minimo));
}
