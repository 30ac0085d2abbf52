// The player's moves as functions of the play state: each one changes TEstadoJogo, records
// what undo needs, and returns what changed (TMudanca flags) for the window's one
// notification. They know nothing of windows, files or long work; the game refuses them while
// busy before it calls them.
#pragma once

#include "game/Estado.h"

#include <QStringList>

#include <cstdint>

namespace Jogadas {

// ---- The information box and the finish

// Replaces the information box.
uint32_t Informar(TEstadoJogo& AEstado, const QStringList& ALinhas);
// Every white cell holds its solution (and there is at least one).
bool TabuleiroCompletoECorrecto(const TSomadoBoard& ABoard);
// Starts or stops the clock as the state asks: it runs while a board is being played, not
// finished, and the window not minimised.
void AcertarRelogio(TEstadoJogo& AEstado);
// After a digit changed: the finish, or a note that the last report is out of date.
uint32_t DepoisDeMudarDigitos(TEstadoJogo& AEstado);

// ---- The current cell

bool PodeSeleccionar(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol);
// Puts the current cell on (ARow, ACol), whatever the cell holds.
uint32_t ColocarCursor(TEstadoJogo& AEstado, int32_t ARow, int32_t ACol);
// Where an arrow key takes the current cell from (ARow, ACol): the next white cell in the
// direction (ADeltaRow, ADeltaCol), over any blocked cells between. False at the edge, or
// when no white cell is left that way.
bool BrancaNaDireccao(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, int32_t ADeltaRow,
                      int32_t ADeltaCol, int32_t& ARowDestino, int32_t& AColDestino);
// Arrows, Tab and Shift+Tab; nothing changes when no white cell is that way.
uint32_t MoverCursor(TEstadoJogo& AEstado, TMovimento AMovimento);
// The first empty white cell; on a board without one, the first white cell, so the keyboard
// always starts where it can move.
uint32_t IrParaPrimeiraVazia(TEstadoJogo& AEstado);
// The next empty white cell after (ARow, ACol) in reading order, if there is one.
uint32_t AvancarParaProximaVazia(TEstadoJogo& AEstado, int32_t ARow, int32_t ACol);

// ---- Digits and marks in the current cell (nothing while the solution shows)

// Writes ADigito (1..9) and moves on to the next empty white cell.
uint32_t EscreverDigito(TEstadoJogo& AEstado, int32_t ADigito);
uint32_t ApagarCelula(TEstadoJogo& AEstado);
// An empty white cell, the solution hidden.
bool PodeMarcar(const TEstadoJogo& AEstado);
uint32_t AlternarNota(TEstadoJogo& AEstado, int32_t ADigito);
// The current cell's marks, or, with ATodas, every mark of the board; one step of undo.
uint32_t ApagarNotas(TEstadoJogo& AEstado, bool ATodas);

// ---- The player's actions on the whole board

uint32_t VerSolucao(TEstadoJogo& AEstado);
uint32_t Verificar(TEstadoJogo& AEstado);
uint32_t Limpar(TEstadoJogo& AEstado);
// The solution's digit in the current cell when it is empty, else in an empty cell drawn at
// random; nothing when no cell is empty.
uint32_t Dica(TEstadoJogo& AEstado);

// ---- Pause: the clock stands and the board is hidden; only a board in play pauses.
uint32_t AlternarPausa(TEstadoJogo& AEstado);

// ---- What the board points at
TDestaque DestaqueDe(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol);

// ---- Undo and redo (not while the solution shows)

bool PodeDesfazer(const TEstadoJogo& AEstado);
bool PodeRefazer(const TEstadoJogo& AEstado);
uint32_t Desfazer(TEstadoJogo& AEstado);
uint32_t Refazer(TEstadoJogo& AEstado);

} // namespace Jogadas
