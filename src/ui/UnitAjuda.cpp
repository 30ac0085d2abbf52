#include "ui/UnitAjuda.h"

#include "render/UnitSomadoRegras.h"

#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace {

QFont FonteSegoe(int APixeis) {
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPixelSize(APixeis);
    return fonte;
}

// Writes at the end of the help text, each piece in bold or regular weight. Only the weight
// is set, so the family and size come from the text box.
class TEscritorAjuda {
public:
    explicit TEscritorAjuda(QTextDocument* ADocumento) : FCursor(ADocumento) {}

    void Acrescentar(const QString& ATexto, bool ANegrito) {
        FCursor.insertText(ATexto, Formato(ANegrito));
    }

    // A line break in the document is a new paragraph, so every line is its own block and the
    // plain text shows the breaks as "\n"; the last line also ends with one, leaving an empty
    // paragraph at the end.
    void Linha(const QString& ATexto, bool ANegrito) {
        Acrescentar(ATexto, ANegrito);
        FCursor.insertBlock(QTextBlockFormat(), Formato(false));
    }

private:
    static QTextCharFormat Formato(bool ANegrito) {
        QTextCharFormat formato;
        formato.setFontWeight(ANegrito ? QFont::Bold : QFont::Normal);
        return formato;
    }

    QTextCursor FCursor;
};

} // namespace

TFormAjuda::TFormAjuda(QWidget* AParent) : QDialog(AParent) {
    setObjectName(QStringLiteral("FormAjuda"));
    setWindowTitle(QStringLiteral("SOMADO | Ajuda"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(FonteSegoe(12));
    setFixedSize(753, 459);

    RichEditRegras = new QTextEdit(this);
    RichEditRegras->setObjectName(QStringLiteral("RichEditRegras"));
    RichEditRegras->setGeometry(8, 16, 730, 377);
    RichEditRegras->setFont(FonteSegoe(12));
    RichEditRegras->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditRegras->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEditRegras->setLineWrapMode(QTextEdit::WidgetWidth);
    // The player reads and may copy the rules, never edit them.
    RichEditRegras->setReadOnly(true);
    RichEditRegras->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);

    RichEditTeclas = new QTextEdit(this);
    RichEditTeclas->setObjectName(QStringLiteral("RichEditTeclas"));
    RichEditTeclas->setGeometry(RichEditRegras->geometry());
    RichEditTeclas->setFont(FonteSegoe(12));
    RichEditTeclas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditTeclas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEditTeclas->setReadOnly(true);
    RichEditTeclas->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
    RichEditTeclas->hide();

    BitBtnTeclas = new QPushButton(this);
    BitBtnTeclas->setObjectName(QStringLiteral("BitBtnTeclas"));
    BitBtnTeclas->setGeometry(8, 416, 150, 25);
    connect(BitBtnTeclas, &QPushButton::clicked, this,
            [this] { MostrarTeclas(!RichEditTeclas->isVisible()); });

    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->setGeometry(663, 416, 75, 25);
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::accept);

    PreencherAjuda();
    PreencherTeclas();
    MostrarTeclas(false);
}

void TFormAjuda::MostrarTeclas(bool ATeclas) {
    RichEditTeclas->setVisible(ATeclas);
    RichEditRegras->setVisible(!ATeclas);
    BitBtnTeclas->setText(ATeclas ? QStringLiteral("Regras do jogo")
                                  : QStringLiteral("Teclas e ajudas"));
}

void TFormAjuda::showEvent(QShowEvent* AEvento) {
    // Every opening starts on the rules.
    MostrarTeclas(false);
    QDialog::showEvent(AEvento);
}

namespace {

// The keys and aids page: a title, then "key: what it does" lines.
struct TLinhaTeclas {
    const char* Tecla;
    const char* Descricao;
};

const TLinhaTeclas CTeclas[] = {
    {"1 … 9", "escreve o algarismo na casa actual e passa à próxima casa vazia."},
    {"Delete, Backspace, F2", "apaga a casa actual."},
    {"Setas", "passam à casa branca seguinte nesse sentido, saltando as pretas e as pistas."},
    {"Tab, Shift+Tab", "passam à casa branca seguinte (anterior) pela ordem de leitura."},
    {"Ctrl+Tab", "sai do tabuleiro para os botões; Ctrl+Shift+Tab volta."},
    {"Ctrl+1 … Ctrl+9", "põe ou tira essa nota (candidato) na casa actual vazia."},
    {"Ctrl+Z, Ctrl+Y", "desfazem e refazem a última mudança de algarismos ou notas."},
    {"Ctrl+H", "explica o próximo passo: a dedução mais simples, com as corridas que usa e a "
               "casa que decide realçadas no tabuleiro; o algarismo não é escrito."},
    {"Ctrl+M", "preenche as notas de todas as casas vazias com os algarismos que as suas duas "
               "corridas ainda admitem."},
    {"Pausa, Ctrl+Shift+P", "pausa o jogo: o relógio pára e o tabuleiro fica escondido até "
                            "continuar."},
    {"Ctrl+P", "imprime o puzzle: numa pré-visualização escolhe-se o puzzle como está, uma "
               "cópia em branco (só as pistas) ou o puzzle com a solução; depois, o diálogo de "
               "impressão do sistema."},
    {"Ctrl+N, Ctrl+S, Ctrl+O, Ctrl+E, F1",
     "Gerar Puzzle, Guardar, Abrir, Exportar Puzzle e Ajuda."},
};

const TLinhaTeclas CAjudas[] = {
    {"Menu do tabuleiro", "o botão direito do rato sobre uma casa abre as notas, explicar um "
                          "passo, preencher notas, desfazer, refazer, apagar notas, a pausa, "
                          "mostrar conflitos e corridas, as estatísticas e imprimir."},
    {"Conflitos", "um algarismo que se repete na sua corrida, ou que completa uma corrida com "
                  "soma errada, aparece a laranja (desliga-se no menu)."},
    {"Corridas", "as duas corridas da casa actual ficam com um fundo azul claro (desliga-se no "
                 "menu); debaixo dos botões, as combinações que ainda as podem somar."},
    {"Pistas", "com o rato sobre uma pista aparecem as combinações de cada soma."},
    {"Relógio", "conta o tempo neste tabuleiro; pára com a janela minimizada, em pausa e no "
                "fim."},
    {"Estatísticas", "por tamanho e nível: tabuleiros resolvidos, melhor tempo e mediana. Só "
                     "contam os acabados sem Dica nem Ver Solução."},
};

} // namespace

void TFormAjuda::PreencherTeclas() {
    RichEditTeclas->clear();
    QTextDocument* documento = RichEditTeclas->document();
    documento->setUndoRedoEnabled(false);
    TEscritorAjuda escritor(documento);
    const auto seccao = [&escritor](const QString& ATitulo, const auto& ALinhas) {
        escritor.Linha(ATitulo, true);
        escritor.Linha(QString(), false);
        for (const TLinhaTeclas& linha : ALinhas) {
            escritor.Acrescentar(QString::fromUtf8(linha.Tecla), true);
            escritor.Linha(QStringLiteral(" : ") + QString::fromUtf8(linha.Descricao), false);
        }
        escritor.Linha(QString(), false);
    };
    seccao(QStringLiteral("TECLAS"), CTeclas);
    seccao(QStringLiteral("AJUDAS"), CAjudas);
    documento->setUndoRedoEnabled(true);
    documento->setModified(false);
    RichEditTeclas->setTextCursor(QTextCursor(documento));
}

void TFormAjuda::PreencherAjuda() {
    RichEditRegras->clear();
    QTextDocument* documento = RichEditRegras->document();
    // Filling is not something the reader should be able to undo with Ctrl+Z; switching undo
    // off also drops whatever was on the stack.
    documento->setUndoRedoEnabled(false);

    TEscritorAjuda escritor(documento);
    for (const auto* blocos : {&BlocosComoJogar(), &BlocosDicas(), &BlocosNiveis()})
        for (const TBlocoRegras& bloco : *blocos) {
            if (bloco.Tipo == TTipoBloco::tbTitulo)
                escritor.Linha(TituloEmMaiusculas(bloco.Texto), true);
            else
                escritor.Linha(bloco.Texto, false);
        }
    escritor.Linha(QStringLiteral("BOTÕES"), true);
    escritor.Linha(QString(), false);
    for (const TBotaoAjuda& botao : BotoesAjuda()) {
        escritor.Acrescentar(botao.Nome, true);
        escritor.Linha(QStringLiteral(" : ") + botao.Descricao, false);
    }

    documento->setUndoRedoEnabled(true);
    documento->setModified(false);
    // Opens at the beginning rather than at the end, where the writing left off.
    RichEditRegras->setTextCursor(QTextCursor(documento));
    RichEditRegras->ensureCursorVisible();
}
