// The rule aids beside the board: what a clue's sums can be made of (the clue cells' tooltip),
// the current cell's runs with the combinations still open (the runs area), and the digits
// that break a rule (the conflicts drawn on the board). They read the rules, never the solution.
#pragma once

#include "model/UnitSomado.h"

#include <QString>

#include <cstdint>

// The digit combinations that make ASoma in a run of ACasas cells, from the generator's table:
// "10 em 3 casas: 1+2+7, 1+3+6, 1+4+5, 2+3+5".
QString CombinacoesDaSoma(int32_t ASoma, int32_t ACasas);
// The tooltip of a clue cell: a line for its across sum ("→ …"), then one for its down sum
// ("↓ …"); empty for any other cell.
QString CombinacoesDaPista(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);

// A digit that repeats in one of its runs, or that completes a run whose total is not the
// clue's sum.
bool DigitoEmConflito(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);
// The across and down run of a white cell, one line each ("→ 16 em 2 casas: 7+9"), with only
// the combinations that hold every digit already placed in that run; empty for other cells.
QString CorridasDaCelula(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);
