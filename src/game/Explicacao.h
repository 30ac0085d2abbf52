// "Explicar um passo": the easiest next deduction on the board in play, in words for the
// information box, with the runs to highlight; and the candidates the runs leave in every empty
// cell, for "Preencher notas". Neither writes a digit nor changes the board.
#pragma once

#include "game/Historico.h"
#include "generator/PassoDeducao.h"
#include "model/UnitSomado.h"

#include <QStringList>

#include <cstdint>
#include <vector>

struct TPassoExplicado {
    enum class TTipo : uint8_t { Nenhum, Conflito, DigitoErrado, FixaCelula, RetiraCandidatos };
    TTipo Tipo = TTipo::Nenhum;
    // The explanation, a short sentence or clause a line.
    QStringList Linhas;
    // The runs the explanation names, in the order it names them.
    std::vector<TCorridaDaCelula> Corridas;
    // FixaCelula: the cell it concludes; Conflito: the cell whose digit breaks a rule;
    // RetiraCandidatos: the first cell that loses candidates. -1 otherwise.
    int32_t Row = -1;
    int32_t Col = -1;
    // FixaCelula: the digit it concludes.
    int32_t Digito = 0;
    // RetiraCandidatos: the marks it rules out, as one step of the history. A cell with marks
    // loses those the step rules out (Depois = Antes without them); a cell without marks gets
    // the candidates the step leaves it, so that following the step keeps what it proved.
    std::vector<TMudancaNotas> NotasRetiradas;
    // FixaCelula and RetiraCandidatos: the facts the explanation states, one by one.
    TPassoDeducao Deducao;
};

// The board's first broken rule (in reading order), else a word that some digit is wrong
// (without saying where), else the easiest step by the reasoning of the board's level; Nenhum
// with a message when the board is solved or its level's reasoning gets no further. ANotas is
// the player's marks, one word per cell row by row (bit d for candidate d); any other size
// counts as no marks.
TPassoExplicado ExplicarPasso(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas);

// For every empty white cell whose marks differ from them, the change to the digits its runs
// still allow given the digits placed in each: one step of the history.
std::vector<TMudancaNotas> CandidatosDasCorridas(const TSomadoBoard& ABoard,
                                                 const std::vector<uint16_t>& ANotas);
