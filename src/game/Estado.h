// The plain pieces of play state the game owns and the window only reads: what long work is
// running, the current cell, the commands and which of them the work refuses, and the flags
// with which the game tells the window what changed.
#pragma once

#include "game/Historico.h"
#include "game/Notas.h"
#include "game/Relogio.h"
#include "model/UnitSomado.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The long work the game may be doing; it runs on worker threads while the window stays live.
enum class TOcupacao : uint8_t { Livre, AGerar, EmLote };

// The window's commands, wherever they come from (a button, a shortcut, the grid's menu).
enum class TComando : uint8_t {
    Gerar,
    VerSolucao,
    Verificar,
    Dica,
    Limpar,
    Guardar,
    Abrir,
    ExportarPuzzle,
    ExportarLote,
    Configurar,
    Ajuda,
    Sobre,
    Sair,
    Desfazer,
    Refazer,
    // Digits, erasing and pencil marks on the board.
    Jogada,
    // The solving aids.
    ExplicarPasso,
    PreencherNotas,
    Pausa,
    Estatisticas,
    // The current puzzle on paper, through the system's print dialog.
    Imprimir,
};

// The one place that says which commands the long work refuses. A new puzzle refuses whatever
// would touch the board it is about to replace, or start other long work; a batch works on a
// copy of the settings, so play goes on and only the settings, the board's replacement and a
// second batch wait.
constexpr bool ComandoRecusado(TComando AComando, TOcupacao AOcupacao) {
    switch (AOcupacao) {
    case TOcupacao::Livre:
        return false;
    case TOcupacao::EmLote:
        return AComando == TComando::Gerar || AComando == TComando::Abrir ||
               AComando == TComando::Configurar || AComando == TComando::ExportarLote;
    case TOcupacao::AGerar:
        return AComando == TComando::Gerar || AComando == TComando::Abrir ||
               AComando == TComando::Configurar || AComando == TComando::ExportarLote ||
               AComando == TComando::VerSolucao || AComando == TComando::Verificar ||
               AComando == TComando::Dica || AComando == TComando::Limpar ||
               AComando == TComando::Desfazer || AComando == TComando::Refazer ||
               AComando == TComando::Jogada || AComando == TComando::ExplicarPasso ||
               AComando == TComando::PreencherNotas || AComando == TComando::Pausa;
    }
    return false;
}

// While the game is paused the board is hidden: whatever would show or change it waits.
constexpr bool ComandoParadoNaPausa(TComando AComando) {
    return AComando == TComando::VerSolucao || AComando == TComando::Verificar ||
           AComando == TComando::Dica || AComando == TComando::Limpar ||
           AComando == TComando::Desfazer || AComando == TComando::Refazer ||
           AComando == TComando::Jogada || AComando == TComando::ExplicarPasso ||
           AComando == TComando::PreencherNotas;
}

// The current cell: where digits and marks go. The grid draws it; the game moves it.
struct TCursor {
    int32_t Row = 0;
    int32_t Col = 0;
    friend bool operator==(const TCursor&, const TCursor&) = default;
};

// Where a key moves the current cell: the arrows to the next white cell that way, Tab and
// Shift+Tab to the next and previous white cell in reading order.
enum class TMovimento : uint8_t { Cima, Baixo, Esquerda, Direita, Seguinte, Anterior };

// How the board points at a white cell: one of the current cell's runs, a run the explained
// step uses, or the cell it concludes.
enum class TDestaque : uint8_t { Nenhum, Corrida, Passo, PassoCelula };

// What changed, for the window's one notification; it repaints only what the flags name.
enum TMudanca : uint32_t {
    mTabuleiro = 1u << 0,  // digits, marks, conflicts, the solution shown or hidden
    mCursor = 1u << 1,     // the current cell moved
    mGrelha = 1u << 2,     // another board: the grid takes its side and fits the panel again
    mLegendas = 1u << 3,   // the captions that follow the state
    mInformacao = 1u << 4, // the information box
    mOcupacao = 1u << 5,   // long work or the pause began or ended: which commands are refused
    mHistorico = 1u << 6,  // whether undo and redo can act
    mFoco = 1u << 7,       // the keyboard goes back to the board
    mTudo = 0xFFu,
    mFim = 1u << 8, // the board has just been finished: the window celebrates it
};

// The play state, as the window draws it.
struct TEstadoJogo {
    std::unique_ptr<TSomadoBoard> Board;
    TGameState GameState = TGameState::gsEmpty;
    TCursor Cursor;
    TNotas Notas;
    TRelogio Relogio;
    // Belongs to the current board: emptied whenever another board is installed.
    THistoricoJogadas Historico;
    TOcupacao Ocupacao = TOcupacao::Livre;
    // The information box, the program's one status channel: every report replaces it.
    QStringList Informacao;
    bool MostrarConflitos = true;
    // The window is minimised: the clock stands.
    bool Pausado = false;
    // The counts of "Verificar" are on show and still match the digits.
    bool VerificacaoActual = false;
    // The congratulation is on show and the digits have not changed since.
    bool FimActual = false;
    // Hints played on this board, and whether its solution has been shown: a finish with
    // either does not count in the statistics.
    int32_t Dicas = 0;
    bool SolucaoVista = false;
    // This board's finish is already counted.
    bool FimContado = false;
    // The player paused: the clock stands and the board is hidden.
    bool EmPausa = false;
    // The current cell's runs are tinted on the board.
    bool MostrarCorridas = true;
    // The explained step on show, until the board or the current cell changes: the runs it
    // uses and the cell it concludes (Row -1 when none).
    struct TPassoMostrado {
        std::vector<TCorridaDaCelula> Corridas;
        int32_t Row = -1;
        int32_t Col = -1;
    };
    std::optional<TPassoMostrado> Passo;

    bool MostraSolucao() const { return GameState == TGameState::gsSolutionShown; }
    bool Recusado(TComando AComando) const {
        return ComandoRecusado(AComando, Ocupacao) || (EmPausa && ComandoParadoNaPausa(AComando));
    }
};
