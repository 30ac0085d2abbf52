#include "game/Impressao.h"

#include "game/UnitSomadoJogo.h"

QString LinhaDaImpressao(const TResultadoImpressao& AResultado) {
    QString texto;
    switch (AResultado.Conteudo) {
    case TConteudoImpressao::ComoEsta:
        texto = QStringLiteral("Puzzle impresso em \"%1\".");
        break;
    case TConteudoImpressao::EmBranco:
        texto = QStringLiteral("Cópia em branco impressa em \"%1\".");
        break;
    case TConteudoImpressao::ComSolucao:
        texto = QStringLiteral("Puzzle e solução impressos em \"%1\".");
        break;
    }
    return texto.arg(AResultado.Destino);
}

void TJogo::Imprimir() {
    Proteger([this] {
        if (!FEstado.Board || Recusado(TComando::Imprimir)) return;
        // A copy: the dialog's loop runs while it is open, and the pages must show this board.
        const TSomadoBoard board = *FEstado.Board;
        const TResultadoImpressao resultado = FJanela.Imprimir(board);
        switch (resultado.Estado) {
        case TEstadoImpressao::Cancelada:
            return;
        case TEstadoImpressao::Impressa:
            Informar({LinhaDaImpressao(resultado)});
            return;
        case TEstadoImpressao::Falhou:
            // The board and the report stay as they were; the player learns why at once.
            FJanela.ReportarErro(QStringLiteral("Não foi possível imprimir.\n") + resultado.Erro);
            return;
        }
    });
}
