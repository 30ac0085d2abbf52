#include "game/AjudasRegras.h"

#include "generator/UnitSomadoGenerator.h"

#include <QStringList>

#include <algorithm>

namespace {

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
    // The cell after a clue starts its run.
    const int32_t aDireita = CorridaPor(ABoard, ARow, ACol + 1, true).Comprimento;
    if (pista.RightSum > 0 && aDireita > 0)
        linhas << QStringLiteral("→ ") + CombinacoesDaSoma(pista.RightSum, aDireita);
    const int32_t abaixo = CorridaPor(ABoard, ARow + 1, ACol, false).Comprimento;
    if (pista.DownSum > 0 && abaixo > 0)
        linhas << QStringLiteral("↓ ") + CombinacoesDaSoma(pista.DownSum, abaixo);
    return linhas.join(u'\n');
}

namespace {

bool CorridaEmConflito(const TSomadoBoard& ABoard, const TCorridaDaCelula& ACorrida,
                       int32_t AValor) {
    int32_t iguais = 0, total = 0;
    bool cheia = true;
    for (int32_t k = 0; k < ACorrida.Comprimento; ++k) {
        const int32_t v = ABoard.GetCell(ACorrida.RowDe(k), ACorrida.ColDe(k)).Value;
        if (v == 0) cheia = false;
        if (v == AValor) ++iguais;
        total += v;
    }
    return iguais > 1 || (cheia && ACorrida.Soma > 0 && total != ACorrida.Soma);
}

QString CombinacoesDaCorrida(const TSomadoBoard& ABoard, const TCorridaDaCelula& ACorrida) {
    const int32_t casas = ACorrida.Comprimento;
    uint32_t colocados = 0;
    // A digit placed twice fits no combination.
    bool repetido = false;
    for (int32_t k = 0; k < casas; ++k)
        if (const int32_t v = ABoard.GetCell(ACorrida.RowDe(k), ACorrida.ColDe(k)).Value;
            v >= 1 && v <= 9) {
            repetido = repetido || (colocados & (1u << v));
            colocados |= 1u << v;
        }
    QStringList combinacoes;
    if (ACorrida.Soma > 0 && !repetido)
        for (const auto conjunto : Combinacoes(casas, ACorrida.Soma))
            if ((static_cast<uint32_t>(conjunto) & colocados) == colocados)
                combinacoes << DigitosDoConjunto(static_cast<uint32_t>(conjunto));
    std::sort(combinacoes.begin(), combinacoes.end());
    const QString texto = QStringLiteral("%1 em %2 casas: ").arg(ACorrida.Soma).arg(casas);
    return texto + (combinacoes.isEmpty() ? QStringLiteral("nenhuma combinação")
                                          : combinacoes.join(QStringLiteral(", ")));
}

} // namespace

bool DigitoEmConflito(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    if (!CelulaBranca(ABoard, ARow, ACol)) return false;
    const int32_t valor = ABoard.GetCell(ARow, ACol).Value;
    if (valor == 0) return false;
    return CorridaEmConflito(ABoard, CorridaPor(ABoard, ARow, ACol, true), valor) ||
           CorridaEmConflito(ABoard, CorridaPor(ABoard, ARow, ACol, false), valor);
}

QString CorridasDaCelula(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    if (!CelulaBranca(ABoard, ARow, ACol)) return {};
    QStringList linhas;
    const TCorridaDaCelula horizontal = CorridaPor(ABoard, ARow, ACol, true);
    if (horizontal.Soma > 0)
        linhas << QStringLiteral("→ ") + CombinacoesDaCorrida(ABoard, horizontal);
    const TCorridaDaCelula vertical = CorridaPor(ABoard, ARow, ACol, false);
    if (vertical.Soma > 0) linhas << QStringLiteral("↓ ") + CombinacoesDaCorrida(ABoard, vertical);
    return linhas.join(u'\n');
}
