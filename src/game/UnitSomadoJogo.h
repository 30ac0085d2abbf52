// The game behind the main window: the current board, the state of play, the snapshot of
// saved digits, the settings for new puzzles and batches, and the flows of the window's
// commands. It knows the window only through IJanelaJogo, so every flow runs in tests.
#pragma once

#include "model/UnitSomado.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum class TModoDificuldadeLote : uint8_t { mdlFixa, mdlProgressivo };

QString NomeNivel(TNivelDificuldade ANivel);
int64_t TempoLimiteGeracao(TTamanhoTabuleiro ATamanho);

// The 9 × 9 puzzle shown when the first generation at start-up gives no board.
std::unique_ptr<TSomadoBoard> CriarPuzzleFixo();

// What the game needs of the window.
class IJanelaJogo {
public:
    virtual ~IJanelaJogo() = default;

    // The information box, the program's one status channel.
    virtual void LimparInformacao() = 0;
    virtual void AdicionarInformacao(const QString& ALinha) = 0;

    virtual void DefinirLegendaVerSolucao(const QString& ALegenda) = 0;
    virtual void DefinirLegendaTamanho(const QString& ALegenda) = 0;

    // The board grid.
    virtual void ConfigurarGrelha() = 0;
    virtual void AjustarTamanhoGrelha() = 0;
    virtual void RepintarGrelha() = 0;
    virtual void FocarGrelha() = 0;
    virtual void CelulaActual(int32_t& ARow, int32_t& ACol) const = 0;
    // Makes (ARow, ACol) the current cell whatever the cell holds.
    virtual void SeleccionarCelula(int32_t ARow, int32_t ACol) = 0;

    // Around a generation: hourglass cursor, generate button disabled, pending events
    // processed once so that the messages show; then everything back.
    virtual void ComecarEspera() = 0;
    virtual void TerminarEspera() = 0;
};

using TGeradorDePuzzles = std::function<std::unique_ptr<TSomadoBoard>(
    TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ATempoLimiteMs)>;

class TJogo {
public:
    // AGerador is GerarPuzzle in the program; tests hand in their own.
    TJogo(IJanelaJogo& AJanela, TGeradorDePuzzles AGerador);

    // The start-up sequence: the first puzzle (or the fixed one), its snapshot and the grid.
    void Iniciar();

    const TSomadoBoard* Board() const { return FBoard.get(); }
    TGameState GameState() const { return FGameState; }
    bool MostraSolucao() const { return FGameState == TGameState::gsSolutionShown; }

    // ---- New boards
    bool GerarNovoPuzzle();
    void CarregarPuzzleFixo();
    void AplicarTamanhoSemPuzzle(TTamanhoTabuleiro ATamanho);
    // The common tail of every way a new board arrives.
    void InstalarBoard(std::unique_ptr<TSomadoBoard> ABoard);

    // ---- Unsaved moves
    void GuardarValoresBase();
    bool HaJogadasPorGravar() const;

    // ---- Player actions
    void VerSolucao();
    void Verificar();
    void Limpar();
    void Dica();
    bool EscolherCelulaVaziaAoAcaso(int32_t& ARow, int32_t& ACol) const;

    // ---- Grid input
    // May the player move the selection to (ARow, ACol)? Only onto white cells.
    bool PodeSeleccionar(int32_t ARow, int32_t ACol) const;
    // A typed character; true when it was consumed (every character on the board is).
    bool EscreverCaracter(QChar ACaracter);
    // Backspace, Delete and F2 empty the current white cell; the key goes on to the grid.
    void ApagarCelulaActual();
    void AvancarParaProximaVazia(int32_t ARow, int32_t ACol);

    // ---- Settings for new puzzles and batches
    TTamanhoTabuleiro FTamanhoConfigurado = TTamanhoTabuleiro::tt9;
    TNivelDificuldade FNivelConfigurado = TNivelDificuldade::ndFacil;
    TTamanhoTabuleiro FTamanhoLote = TTamanhoTabuleiro::tt9;
    TModoDificuldadeLote FModoLote = TModoDificuldadeLote::mdlProgressivo;
    TNivelDificuldade FDificuldadeLote = TNivelDificuldade::ndFacil;
    int32_t FQuantidadeLote = 40;
    QString FTituloLote;

    void AtualizarLabelTamanho();

private:
    bool NoTabuleiro(int32_t ARow, int32_t ACol) const;
    void EscreverValor(int32_t ARow, int32_t ACol, int32_t AValor);

    IJanelaJogo& FJanela;
    TGeradorDePuzzles FGerador;
    std::unique_ptr<TSomadoBoard> FBoard;
    TGameState FGameState = TGameState::gsEmpty;
    std::vector<std::vector<int32_t>> FValoresBase;
};
