// What a clue cell's sums can be made of: the tooltip of the board's clue cells.
#include "game/UnitSomadoJogo.h"

#include "generator/UnitSomadoVarianteA.h"

#include <QStringList>

#include <algorithm>

namespace {

// White cells from (ARow, ACol) onwards in one direction: the length of the run that starts
// there. Boards read from files carry no run lists, so the cells tell.
int32_t CasasBrancasSeguidas(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol,
                             int32_t ADeltaRow, int32_t ADeltaCol) {
    int32_t casas = 0;
    for (int32_t r = ARow, c = ACol; r < ABoard.Size() && c < ABoard.Size() &&
                                     ABoard.GetCell(r, c).CellType == TCellType::ctEmpty;
         r += ADeltaRow, c += ADeltaCol)
        ++casas;
    return casas;
}

QString DigitosDoConjunto(uint32_t AConjunto) {
    QStringList digitos;
    for (int32_t d = 1; d <= 9; ++d)
        if (AConjunto & (1u << d)) digitos << QString::number(d);
    return digitos.join(u'+');
}

} // namespace

QString CombinacoesDaSoma(int32_t ASoma, int32_t ACasas) {
    QStringList combinacoes;
    for (const auto conjunto : Combinacoes(ACasas, ASoma))
        combinacoes << DigitosDoConjunto(static_cast<uint32_t>(conjunto));
    // Every combination lists its digits in ascending order, so text order is digit order.
    std::sort(combinacoes.begin(), combinacoes.end());
    const QString texto = QStringLiteral("%1 em %2 casas: ").arg(ASoma).arg(ACasas);
    return texto + (combinacoes.isEmpty() ? QStringLiteral("nenhuma combinação")
                                          : combinacoes.join(QStringLiteral(", ")));
}

QString CombinacoesDaPista(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    if (ARow < 0 || ACol < 0 || ARow >= ABoard.Size() || ACol >= ABoard.Size()) return {};
    const TSomadoCell pista = ABoard.GetCell(ARow, ACol);
    if (pista.CellType != TCellType::ctClue) return {};
    QStringList linhas;
    const int32_t aDireita = CasasBrancasSeguidas(ABoard, ARow, ACol + 1, 0, 1);
    if (pista.RightSum > 0 && aDireita > 0)
        linhas << QStringLiteral("→ ") + CombinacoesDaSoma(pista.RightSum, aDireita);
    const int32_t abaixo = CasasBrancasSeguidas(ABoard, ARow + 1, ACol, 1, 0);
    if (pista.DownSum > 0 && abaixo > 0)
        linhas << QStringLiteral("↓ ") + CombinacoesDaSoma(pista.DownSum, abaixo);
    return linhas.join(u'\n');
}
