// The history of the player's changes to the board's digits, for undo and redo.
#pragma once

#include <cstdint>
#include <vector>

// One cell's digit before and after a change.
struct TMudancaDigito {
    int32_t Row = 0;
    int32_t Col = 0;
    int32_t Antes = 0;
    int32_t Depois = 0;
};

// One cell's pencil marks before and after a change (bit d for candidate d).
struct TMudancaNotas {
    int32_t Row = 0;
    int32_t Col = 0;
    uint16_t Antes = 0;
    uint16_t Depois = 0;
};

// One step of the history: a typed digit, an erasure, a hint or a mark change one cell;
// "Limpar" changes every filled cell at once.
struct TPassoHistorico {
    std::vector<TMudancaDigito> Mudancas;
    // Marks changed by the same step: a toggled mark, the marks a placed digit rules out in
    // its runs, or every mark "Limpar" clears.
    std::vector<TMudancaNotas> Notas;
    bool TodoOTabuleiro = false;
};

class THistoricoJogadas {
public:
    void Limpar();
    // A new change; it ends any redo. An empty step is no change.
    void Registar(TPassoHistorico APasso);
    // The step to undo (or redo), moved to the other side; false when there is none.
    bool Desfazer(TPassoHistorico& APasso);
    bool Refazer(TPassoHistorico& APasso);
    bool PodeDesfazer() const { return !FDesfazer.empty(); }
    bool PodeRefazer() const { return !FRefazer.empty(); }

private:
    std::vector<TPassoHistorico> FDesfazer;
    std::vector<TPassoHistorico> FRefazer;
};
