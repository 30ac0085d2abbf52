// What a clue cell's sums can be made of: the tooltip of the board's clue cells.
#include "game/UnitSomadoJogo.h"

#include "generator/UnitSomadoGenerator.h"

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

namespace {

// The run through (ARow, ACol) in one direction: its clue's sum (0 when no clue gives one)
// and its cells.
struct TCorrida {
    int32_t Soma = 0;
    std::vector<std::pair<int32_t, int32_t>> Celulas;
};

bool Branca(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    return ARow >= 0 && ACol >= 0 && ARow < ABoard.Size() && ACol < ABoard.Size() &&
           ABoard.GetCell(ARow, ACol).CellType == TCellType::ctEmpty;
}

TCorrida CorridaPor(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, bool AHorizontal) {
    TCorrida corrida;
    if (!Branca(ABoard, ARow, ACol)) return corrida;
    const int32_t dr = AHorizontal ? 0 : 1, dc = AHorizontal ? 1 : 0;
    int32_t r = ARow, c = ACol;
    while (Branca(ABoard, r - dr, c - dc)) {
        r -= dr;
        c -= dc;
    }
    if (r - dr >= 0 && c - dc >= 0) {
        const TSomadoCell pista = ABoard.GetCell(r - dr, c - dc);
        if (pista.CellType == TCellType::ctClue)
            corrida.Soma = AHorizontal ? pista.RightSum : pista.DownSum;
    }
    for (; Branca(ABoard, r, c); r += dr, c += dc)
        corrida.Celulas.emplace_back(r, c);
    return corrida;
}

bool CorridaEmConflito(const TSomadoBoard& ABoard, const TCorrida& ACorrida, int32_t AValor) {
    int32_t iguais = 0, total = 0;
    bool cheia = true;
    for (const auto& [r, c] : ACorrida.Celulas) {
        const int32_t v = ABoard.GetCell(r, c).Value;
        if (v == 0) cheia = false;
        if (v == AValor) ++iguais;
        total += v;
    }
    return iguais > 1 || (cheia && ACorrida.Soma > 0 && total != ACorrida.Soma);
}

QString CombinacoesDaCorrida(const TSomadoBoard& ABoard, const TCorrida& ACorrida) {
    const auto casas = static_cast<int32_t>(ACorrida.Celulas.size());
    uint32_t colocados = 0;
    // A digit placed twice fits no combination.
    bool repetido = false;
    for (const auto& [r, c] : ACorrida.Celulas)
        if (const int32_t v = ABoard.GetCell(r, c).Value; v >= 1 && v <= 9) {
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
    if (!Branca(ABoard, ARow, ACol)) return false;
    const int32_t valor = ABoard.GetCell(ARow, ACol).Value;
    if (valor == 0) return false;
    return CorridaEmConflito(ABoard, CorridaPor(ABoard, ARow, ACol, true), valor) ||
           CorridaEmConflito(ABoard, CorridaPor(ABoard, ARow, ACol, false), valor);
}

QString CorridasDaCelula(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    if (!Branca(ABoard, ARow, ACol)) return {};
    QStringList linhas;
    const TCorrida horizontal = CorridaPor(ABoard, ARow, ACol, true);
    if (horizontal.Soma > 0)
        linhas << QStringLiteral("→ ") + CombinacoesDaCorrida(ABoard, horizontal);
    const TCorrida vertical = CorridaPor(ABoard, ARow, ACol, false);
    if (vertical.Soma > 0) linhas << QStringLiteral("↓ ") + CombinacoesDaCorrida(ABoard, vertical);
    return linhas.join(u'\n');
}
