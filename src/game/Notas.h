// The player's pencil marks: for every cell, bit d set when d is a candidate there. Marks live
// only in white cells and belong to one board: another board starts with none.
#pragma once

#include "game/Historico.h"
#include "model/UnitSomado.h"

#include <cstdint>
#include <vector>

class TNotas {
public:
    // No marks, for a board of side ALado.
    void Repor(int32_t ALado);
    // The marks as kept with a saved game; cells that are not white lose theirs. A list that
    // is not one entry per cell of ABoard leaves no marks.
    void Instalar(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas);

    uint16_t Da(int32_t ARow, int32_t ACol) const;
    void Definir(int32_t ARow, int32_t ACol, uint16_t ANotas);
    const std::vector<uint16_t>& Todas() const { return FNotas; }
    bool Alguma() const;

    // The changes that clear every mark, or one cell's, as a step of the history.
    std::vector<TMudancaNotas> ApagarTodas() const;
    std::vector<TMudancaNotas> ApagarDe(int32_t ARow, int32_t ACol) const;
    // A digit placed in (ARow, ACol) is no longer a candidate in the other cells of its runs.
    std::vector<TMudancaNotas> RetiradasPor(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol,
                                            int32_t ADigito) const;
    void Aplicar(const std::vector<TMudancaNotas>& AMudancas, bool AAntes);

private:
    bool Dentro(int32_t ARow, int32_t ACol) const;

    int32_t FLado = 0;
    std::vector<uint16_t> FNotas;
};
