// The fixed 9 × 9 puzzle, for when the first generation at start-up gives no board.
#include "game/UnitSomadoJogo.h"

#include <array>
#include <string_view>

namespace {

// One token per cell: "-" black, a digit a white cell with that solution, "R<n>" and/or
// "D<n>" a clue cell with those sums.
constexpr std::array<std::array<std::string_view, 9>, 9> CCelulas{{
    {"-", "D16", "-", "D29", "D42", "-", "-", "-", "-"},
    {"-", "9", "R4", "1", "3", "D29", "D42", "D17", "D16"},
    {"R39", "7", "5", "2", "4", "1", "3", "8", "9"},
    {"-", "-", "R39", "5", "8", "4", "6", "9", "7"},
    {"-", "-", "R18", "4", "6", "3", "5", "-", "-"},
    {"-", "D4", "R30D17", "8", "9", "6", "7", "-", "-"},
    {"R38", "3", "9", "6", "7", "5", "8", "-", "D17"},
    {"R39", "1", "8", "3", "5", "2", "4", "7", "9"},
    {"-", "-", "-", "-", "R17", "8", "9", "-", "8"},
}};

// (StartRow, StartCol, Length, Sum)
constexpr std::array<std::array<int32_t, 4>, 8> CAcross{{
    {1, 3, 2, 4},
    {2, 1, 8, 39},
    {3, 3, 6, 39},
    {4, 3, 4, 18},
    {5, 3, 4, 30},
    {6, 1, 6, 38},
    {7, 1, 8, 39},
    {8, 5, 2, 17},
}};
constexpr std::array<std::array<int32_t, 4>, 10> CDown{{
    {1, 1, 2, 16},
    {1, 3, 7, 29},
    {1, 4, 7, 42},
    {2, 5, 7, 29},
    {2, 6, 7, 42},
    {2, 7, 2, 17},
    {2, 8, 2, 16},
    {6, 1, 2, 4},
    {6, 2, 2, 17},
    {7, 8, 2, 17},
}};

// The number after the letter in a token such as "R30D17", or 0 without the letter.
int32_t NumeroDepois(std::string_view AToken, char ALetra) {
    const size_t posicao = AToken.find(ALetra);
    if (posicao == std::string_view::npos) return 0;
    int32_t numero = 0;
    for (size_t i = posicao + 1; i < AToken.size() && AToken[i] >= '0' && AToken[i] <= '9'; ++i)
        numero = numero * 10 + (AToken[i] - '0');
    return numero;
}

void DefinirCelula(TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, TCellType ATipo,
                   int32_t ARightSum, int32_t ADownSum, int32_t ASolution) {
    TSomadoCell cell = ABoard.GetCell(ARow, ACol);
    cell.CellType = ATipo;
    cell.RightSum = ARightSum;
    cell.DownSum = ADownSum;
    cell.Solution = ASolution;
    cell.Value = 0;
    cell.DisplayState = TCellDisplayState::cdsNormal;
    ABoard.SetCell(ARow, ACol, cell);
}

template <size_t N>
void AdicionarGrupos(TSomadoGroupArray& AGrupos, const std::array<std::array<int32_t, 4>, N>& ARuns,
                     bool AHorizontal) {
    for (const auto& run : ARuns)
        AGrupos.push_back({run[0], run[1], run[2], run[3], AHorizontal});
}

} // namespace

std::unique_ptr<TSomadoBoard> CriarPuzzleFixo() {
    auto board = std::make_unique<TSomadoBoard>(9);
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 9; ++c) {
            const std::string_view token = CCelulas[r][c];
            if (token == "-")
                DefinirCelula(*board, r, c, TCellType::ctBlack, 0, 0, 0);
            else if (token[0] == 'R' || token[0] == 'D')
                DefinirCelula(*board, r, c, TCellType::ctClue, NumeroDepois(token, 'R'),
                              NumeroDepois(token, 'D'), 0);
            else
                DefinirCelula(*board, r, c, TCellType::ctEmpty, 0, 0, token[0] - '0');
        }
    TSomadoGroupArray across, down;
    AdicionarGrupos(across, CAcross, true);
    AdicionarGrupos(down, CDown, false);
    board->SetGroups(across, down);
    return board;
}
