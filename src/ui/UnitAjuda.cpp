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

    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->setGeometry(663, 416, 75, 25);
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::accept);

    PreencherAjuda();
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
