#include "render/UnitSomadoRegras.h"

#include <QLocale>

// Function-local statics: the PDF code may read these while other statics are still being
// built, so they must not depend on the order of static initialisation.

const std::vector<TBlocoRegras>& BlocosComoJogar() {
    static const std::vector<TBlocoRegras> blocos{
        {TTipoBloco::tbTitulo, QStringLiteral("Como jogar Somado")},
        {TTipoBloco::tbEspaco, {}},
        {TTipoBloco::tbParagrafo,
         QStringLiteral("Cada célula branca recebe um número de 1 a 9. A soma dos números de cada "
                        "sequência (horizontal ou vertical) tem de bater certo com a pista na "
                        "célula cinzenta correspondente: em cima da sequência vertical, à esquerda "
                        "da horizontal. Nenhum número se repete dentro da mesma sequência.")},
        {TTipoBloco::tbEspaco, {}},
    };
    return blocos;
}

const std::vector<TBlocoRegras>& BlocosDicas() {
    static const std::vector<TBlocoRegras> blocos{
        {TTipoBloco::tbTitulo, QStringLiteral("Dicas")},
        {TTipoBloco::tbEspaco, {}},
        {TTipoBloco::tbItem,
         QStringLiteral("- Uma sequência de 2 células com soma 3 só pode ser 1+2; com soma 17, só "
                        "pode ser 8+9. Comece por estas, são as mais restritas.")},
        {TTipoBloco::tbItem,
         QStringLiteral("- Uma célula onde se cruzam uma sequência horizontal e uma vertical já "
                        "muito restritas costuma ser a mais fácil de decidir primeiro.")},
        {TTipoBloco::tbItem,
         QStringLiteral("- Numa sequência de N células, os números nunca se repetem: se já sabe "
                        "N-1 deles, o último é sempre o que falta para a soma total.")},
        {TTipoBloco::tbItem,
         QStringLiteral("- Vá anotando, a lápis, as hipóteses que sobram numa célula à medida que "
                        "outras se vão fechando à volta dela.")},
        {TTipoBloco::tbEspaco, {}},
    };
    return blocos;
}

const std::vector<TBlocoRegras>& BlocosNiveis() {
    static const std::vector<TBlocoRegras> blocos{
        {TTipoBloco::tbTitulo, QStringLiteral("Níveis de dificuldade")},
        {TTipoBloco::tbEspaco, {}},
        {TTipoBloco::tbItem,
         QStringLiteral("- Fácil e Médio: resolvem-se só a ver que combinações de números cabem "
                        "em cada soma e em cada célula. No Fácil há mais somas com uma única "
                        "combinação possível.")},
        {TTipoBloco::tbItem,
         QStringLiteral("- Difícil e Muito Difícil: exigem também pensar onde pode ir cada número "
                        "dentro de uma sequência (por exemplo, o 9 de uma soma só cabe na única "
                        "célula que o aceita). No Muito Difícil, as combinações sozinhas quase "
                        "não chegam para começar.")},
        {TTipoBloco::tbItem, QStringLiteral("- Todos os puzzles têm uma única solução, e chega-se "
                                            "a ela sem adivinhar.")},
        {TTipoBloco::tbEspaco, {}},
    };
    return blocos;
}

const std::vector<TBotaoAjuda>& BotoesAjuda() {
    static const std::vector<TBotaoAjuda> botoes{
        {QStringLiteral("Gerar Puzzle"),
         QStringLiteral("cria um puzzle novo, do tamanho e nível escolhidos em Configurar.")},
        {QStringLiteral("Ver Solução"),
         QStringLiteral("mostra ou esconde a solução (não apaga o que já escreveu).")},
        {QStringLiteral("Verificar"),
         QStringLiteral("assinala quais das suas jogadas estão certas.")},
        {QStringLiteral("Limpar"),
         QStringLiteral("apaga as suas jogadas, mantendo o mesmo puzzle.")},
        {QStringLiteral("Dica"),
         QStringLiteral("escreve o valor certo numa célula por preencher — na seleccionada, se "
                        "servir, senão escolhe uma vazia ao acaso.")},
        {QStringLiteral("Guardar"),
         QStringLiteral("grava o puzzle actual (com o que já escreveu) num ficheiro .smd.")},
        {QStringLiteral("Abrir"),
         QStringLiteral("retoma um puzzle gravado anteriormente num ficheiro .smd.")},
        {QStringLiteral("Exportar Puzzle"),
         QStringLiteral("cria um PDF deste puzzle, pronto a imprimir.")},
        {QStringLiteral("Exportar Lote"),
         QStringLiteral("cria um PDF com vários puzzles de uma vez, e as respectivas soluções "
                        "no fim.")},
        {QStringLiteral("Configurar"),
         QStringLiteral("escolhe o tamanho do tabuleiro, o nível de dificuldade e as opções de "
                        "exportação em lote; mudar o tamanho ou o nível gera logo um puzzle "
                        "novo.")},
    };
    return botoes;
}

QString TituloEmMaiusculas(const QString& ATexto) {
    // Not the system locale: the texts are Portuguese wherever the program runs.
    return QLocale(QLocale::Portuguese).toUpper(ATexto);
}

namespace {

bool EspacoOuControlo(QChar ACaracter) {
    return ACaracter.isSpace() || ACaracter.category() == QChar::Other_Control;
}

} // namespace

QString SemEspacosNasPontas(const QString& ATexto) {
    qsizetype inicio = 0, fim = ATexto.size();
    while (inicio < fim && EspacoOuControlo(ATexto[inicio]))
        ++inicio;
    while (fim > inicio && EspacoOuControlo(ATexto[fim - 1]))
        --fim;
    return ATexto.sliced(inicio, fim - inicio);
}
