#include "game/Notas.h"

#include "io/UnitSomadoFicheiro.h"

void TNotas::Repor(int32_t ALado) {
    FLado = ALado;
    FNotas.assign(static_cast<size_t>(ALado * ALado), 0);
}

void TNotas::Instalar(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas) {
    const int32_t n = ABoard.Size();
    Repor(n);
    if (ANotas.size() != FNotas.size()) return;
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            if (CelulaBranca(ABoard, r, c)) Definir(r, c, ANotas[static_cast<size_t>(r * n + c)]);
}

bool TNotas::Dentro(int32_t ARow, int32_t ACol) const {
    return ARow >= 0 && ACol >= 0 && ARow < FLado && ACol < FLado;
}

uint16_t TNotas::Da(int32_t ARow, int32_t ACol) const {
    return Dentro(ARow, ACol) ? FNotas[static_cast<size_t>(ARow * FLado + ACol)] : uint16_t{0};
}

void TNotas::Definir(int32_t ARow, int32_t ACol, uint16_t ANotas) {
    if (Dentro(ARow, ACol))
        FNotas[static_cast<size_t>(ARow * FLado + ACol)] = ANotas & CTodasAsNotas;
}

bool TNotas::Alguma() const {
    for (const uint16_t notas : FNotas)
        if (notas != 0) return true;
    return false;
}

std::vector<TMudancaNotas> TNotas::ApagarTodas() const {
    std::vector<TMudancaNotas> mudancas;
    for (int32_t r = 0; r < FLado; ++r)
        for (int32_t c = 0; c < FLado; ++c)
            if (const uint16_t notas = Da(r, c); notas != 0) mudancas.push_back({r, c, notas, 0});
    return mudancas;
}

std::vector<TMudancaNotas> TNotas::ApagarDe(int32_t ARow, int32_t ACol) const {
    if (const uint16_t notas = Da(ARow, ACol); notas != 0) return {{ARow, ACol, notas, 0}};
    return {};
}

std::vector<TMudancaNotas> TNotas::RetiradasPor(const TSomadoBoard& ABoard, int32_t ARow,
                                                int32_t ACol, int32_t ADigito) const {
    std::vector<TMudancaNotas> retiradas;
    const auto bit = static_cast<uint16_t>(1u << ADigito);
    for (const bool horizontal : {true, false}) {
        const TCorridaDaCelula corrida = CorridaPor(ABoard, ARow, ACol, horizontal);
        for (int32_t k = 0; k < corrida.Comprimento; ++k) {
            const int32_t r = corrida.RowDe(k), c = corrida.ColDe(k);
            if (r == ARow && c == ACol) continue;
            if (const uint16_t notas = Da(r, c); notas & bit)
                retiradas.push_back({r, c, notas, static_cast<uint16_t>(notas & ~bit)});
        }
    }
    return retiradas;
}

void TNotas::Aplicar(const std::vector<TMudancaNotas>& AMudancas, bool AAntes) {
    for (const TMudancaNotas& m : AMudancas)
        Definir(m.Row, m.Col, AAntes ? m.Antes : m.Depois);
}
