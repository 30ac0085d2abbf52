// The next step of reasoning on a board in play, for the hint that explains one: what the sums
// and the digits already placed tell about one more cell, by the reasoning the board's level is
// made of. The game words it; this finds it and the facts it rests on, so that each fact can be
// shown to the player and checked on its own.
#pragma once

#include "generator/UnitSomadoGenerator.h"
#include "model/UnitSomado.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// A run a step names: its place and clue (read from the cells, since boards read from files
// carry no run lists), the digits already placed in it, the combinations of the table for its
// clue that hold all of them, and the digits those leave for its empty cells.
struct TCorridaDoPasso {
    TCorridaDaCelula Corrida;
    TConjuntoDigitos Colocados = 0;
    std::vector<TConjuntoDigitos> Combinacoes;
    TConjuntoDigitos Admite = 0;
};

// What a step takes as known about an empty cell of the run it reasons on: the digits the cell
// can still hold, and where that comes from: the cell's crossing run (its index in the step's
// Corridas, the digits both runs admit), or, with -1, marks the player already removed (those
// the reasoning of the level rules out too).
struct THipoteseDoPasso {
    int32_t Row = 0;
    int32_t Col = 0;
    TConjuntoDigitos Conjunto = 0;
    int32_t Corrida = -1;
};

// A cell's candidates before and after a step that rules some out.
struct TRetiradaDoPasso {
    int32_t Row = 0;
    int32_t Col = 0;
    TConjuntoDigitos Antes = 0;
    TConjuntoDigitos Depois = 0;
};

enum class TRaciocinio : uint8_t {
    Nenhum,
    // The runs of a cell, each on its own with its digits, leave it one digit.
    Cruzamento,
    // The marks the player removed, where the reasoning agrees, leave a cell one digit.
    Notas,
    // Which combinations of one run still fit its cells (Fácil and Médio have only this).
    Combinacoes,
    // Where each digit of one run can still go (Difícil and Muito Difícil, after the above).
    Posicoes,
};

enum class TSemPasso : uint8_t {
    Resolvido,
    SemCasas,
    // The digits placed break the sums: some digit is wrong.
    Contradicao,
    // The level's reasoning gets no further (a board graded for a lower level, read from a file).
    Bloqueado,
};

inline constexpr int32_t CMaxPreenchimentosListados = 4;

struct TPassoDeducao {
    TRaciocinio Raciocinio = TRaciocinio::Nenhum;
    TSemPasso SemPasso = TSemPasso::Bloqueado;
    // The cell the step fixes, with Digito; a step that only rules digits out leaves Digito 0.
    int32_t Row = -1;
    int32_t Col = -1;
    int32_t Digito = 0;
    // Cruzamento: the cell's runs the step needs (one when that run alone leaves one digit).
    // Combinacoes, Posicoes: the run reasoned on, then the crossing run of each hypothesis that
    // has one, in the hypotheses' order. Notas: none.
    std::vector<TCorridaDoPasso> Corridas;
    // Combinacoes, Posicoes: only the cells whose digits the conclusion needs, along the run.
    // Notas: the cell, with the one digit left.
    std::vector<THipoteseDoPasso> Hipoteses;
    // The combinations of the first run that fit its placed digits and the hypotheses, by the
    // step's rule (the other empty cells may hold any digit the run admits).
    std::vector<TConjuntoDigitos> CombinacoesQueServem;
    // Posicoes: the ways to fill the run that fit, digits along it (placed ones included), when
    // there are at most CMaxPreenchimentosListados; NPreenchimentos counts them up to one more.
    std::vector<std::array<int8_t, CMaxComprimento>> Preenchimentos;
    int32_t NPreenchimentos = 0;
    // Posicoes fixing a cell: its digit is in every combination that serves and no other empty
    // cell of the run can hold it.
    bool DigitoNumaSoCasa = false;
    // A step that rules digits out: each cell of the run that loses some, along the run.
    std::vector<TRetiradaDoPasso> Retiradas;
};

// The easiest step from the clues and the digits on the board, by the rules of its level:
// first a cell fixed (by its two runs, by marks already removed, by one run's combinations,
// then by positions), else digits ruled out (by combinations, then by positions). ANotas, one
// word per cell row by row (empty for none), only tells which true conclusions the player has
// already drawn; digits the level's reasoning cannot rule out are never taken from it.
TPassoDeducao ProximoPasso(const TSomadoBoard& ABoard, std::span<const uint16_t> ANotas);

// For every cell row by row: an empty white cell gets the digits each of its runs admits given
// the digits placed in it; other cells 0.
std::vector<TConjuntoDigitos> CandidatosPelasCorridas(const TSomadoBoard& ABoard);
