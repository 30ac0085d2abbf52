// Board model: cells, runs, the shared enumerations and the check of the player's digits.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

enum class TCellType : uint8_t { ctBlack, ctClue, ctEmpty };
enum class TCellDisplayState : uint8_t { cdsNormal, cdsCorrect, cdsWrong, cdsRevealed };
enum class TGameState : uint8_t { gsEmpty, gsPlaying, gsSolved, gsSolutionShown };
// Not in ascending order of size: tt6 and tt16 were added after tt25, and the ordinals
// are relied on by dialogs and tables.
enum class TTamanhoTabuleiro : uint8_t { tt9, tt12, tt15, tt20, tt25, tt6, tt16 };
enum class TNivelDificuldade : uint8_t { ndFacil, ndMedio, ndDificil, ndMuitoDificil };

inline constexpr int32_t CLadoMinimo = 6;
inline constexpr int32_t CLadoMaximo = 25;

struct TSomadoCell {
    TCellType CellType = TCellType::ctBlack;
    int32_t RightSum = 0;
    int32_t DownSum = 0;
    int32_t Value = 0;
    int32_t Solution = 0;
    bool IsGiven = false;
    TCellDisplayState DisplayState = TCellDisplayState::cdsNormal;

    friend bool operator==(const TSomadoCell&, const TSomadoCell&) = default;
};

struct TSomadoGroup {
    int32_t StartRow = 0;
    int32_t StartCol = 0;
    int32_t Length = 0;
    int32_t Sum = 0;
    bool IsHorizontal = false;

    friend bool operator==(const TSomadoGroup&, const TSomadoGroup&) = default;
};

using TSomadoGroupArray = std::vector<TSomadoGroup>;

class ESomadoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lets GCC and Clang check the arguments against the format; mingw's C++ library formats
// like glibc (gnu_printf), not like the Windows runtime.
#if defined(__MINGW32__)
#define SOMADO_FORMATO_PRINTF(F, A) __attribute__((format(gnu_printf, F, A)))
#elif defined(__GNUC__)
#define SOMADO_FORMATO_PRINTF(F, A) __attribute__((format(printf, F, A)))
#else
#define SOMADO_FORMATO_PRINTF(F, A)
#endif

// printf-style formatting for the program's messages.
std::string Format(const char* AFormato, ...) SOMADO_FORMATO_PRINTF(1, 2);

class TSomadoBoard {
public:
    explicit TSomadoBoard(int32_t ASize);
    virtual ~TSomadoBoard() = default;

    TSomadoBoard(const TSomadoBoard&) = default;
    TSomadoBoard& operator=(const TSomadoBoard&) = default;

    void Clear();

    int32_t Size() const { return FSize; }
    // Indices are not checked: callers keep 0 <= row, col < Size().
    TSomadoCell GetCell(int32_t ARow, int32_t ACol) const { return FCells[ARow * FSize + ACol]; }
    void SetCell(int32_t ARow, int32_t ACol, const TSomadoCell& AValue) {
        FCells[ARow * FSize + ACol] = AValue;
    }

    const TSomadoGroupArray& HorizontalGroups() const { return FHorizontalGroups; }
    const TSomadoGroupArray& VerticalGroups() const { return FVerticalGroups; }
    void SetGroups(const TSomadoGroupArray& AHorizontal, const TSomadoGroupArray& AVertical);

    TNivelDificuldade Difficulty() const { return FDifficulty; }
    void SetDifficulty(TNivelDificuldade AValue) { FDifficulty = AValue; }
    int32_t DifficultyScore() const { return FDifficultyScore; }
    void SetDifficultyScore(int32_t AValue) { FDifficultyScore = AValue; }

    // Sets the run's Sum only; the clue cell is the caller's to update.
    void AtualizarSomaGrupo(bool AHorizontal, int32_t AIndice, int32_t ANovaSoma);
    void LimparJogadas();
    bool VerificarJogadas(int32_t& ACorretas, int32_t& AErradas, int32_t& APorPreencher);

private:
    int32_t FSize;
    std::vector<TSomadoCell> FCells; // FSize × FSize, row-major
    TSomadoGroupArray FHorizontalGroups;
    TSomadoGroupArray FVerticalGroups;
    TNivelDificuldade FDifficulty = TNivelDificuldade::ndFacil;
    int32_t FDifficultyScore = 0;
};

int32_t LadoDoTabuleiro(TTamanhoTabuleiro ATamanho);

// The run through a white cell in one direction, found from the cells themselves (boards read
// from files carry no run lists): its first cell, its length and the sum its clue gives (0 when
// no clue gives one). Length 0 when (ARow, ACol) is not a white cell of the board.
struct TCorridaDaCelula {
    int32_t Row = 0;
    int32_t Col = 0;
    int32_t Comprimento = 0;
    int32_t Soma = 0;
    bool Horizontal = true;

    // The k-th cell of the run, 0 <= k < Comprimento.
    int32_t RowDe(int32_t k) const { return Horizontal ? Row : Row + k; }
    int32_t ColDe(int32_t k) const { return Horizontal ? Col + k : Col; }
};
TCorridaDaCelula CorridaPor(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol,
                            bool AHorizontal);
// A white cell of the board (false off the board).
bool CelulaBranca(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol);

// The level's name as the player sees it (UTF-8); any value past the last is "Muito Difícil".
const char* NomeNivel(TNivelDificuldade ANivel);

// Nearest integer, halves to the even neighbour (the program's one rounding rule).
int64_t Arredondar(double AValor);
