// Long work for the game: the puzzles of a request (one new puzzle, or a book) generated on
// worker threads, with its news handed to the window's thread, so that nobody waits for it
// and no event loop runs inside a command.
#pragma once

#include "game/Lote.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <vector>

class TTrabalho {
public:
    // Runs a function on the window's thread later; callable from any thread.
    using TNoCicloPrincipal = std::function<void(std::function<void()>)>;

    // The workers start at once. AAoMudar runs on the window's thread after the work changed
    // (a burst of changes brings one call) and at least once after it has ended; never after
    // this object is gone.
    TTrabalho(const TGeradorDePuzzles& AGerador, TPedidoLote APedido,
              TNoCicloPrincipal ANoCicloPrincipal, std::function<void()> AAoMudar);
    // Stops the workers and waits for them.
    ~TTrabalho();
    TTrabalho(const TTrabalho&) = delete;
    TTrabalho& operator=(const TTrabalho&) = delete;

    // Asks the workers to stop: no new puzzle or attempt starts, and the ones running give up.
    void Parar() { FGeracao->Parar(); }
    bool Terminado() const { return FGeracao->Terminada(); }
    TProgressoLote Progresso() const { return FGeracao->Progresso(); }
    // Once it has ended: one board per puzzle in order, none where it failed or was stopped.
    // An error a worker met is raised here.
    std::vector<std::unique_ptr<TSomadoBoard>> Resultados() { return FGeracao->Resultados(); }
    qint64 DecorridoMs() const { return FCronometro.elapsed(); }

private:
    // Shared with the news on their way: whether one is already waiting, and whether the work
    // they tell of is still there.
    struct TAvisos {
        std::atomic<bool> Pendente{false};
        bool Vivo = true; // the window's thread alone reads and writes it
        std::function<void()> AoMudar;
    };
    void Avisar();

    TNoCicloPrincipal FNoCicloPrincipal;
    std::shared_ptr<TAvisos> FAvisos;
    QElapsedTimer FCronometro;
    // Last, so that its workers stop before anything they reach goes.
    std::unique_ptr<TGeracaoLote> FGeracao;
};
