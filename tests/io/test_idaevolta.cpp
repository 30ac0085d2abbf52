// Whatever the writer saves, the reader must give back; what the format does not carry (runs,
// check marks, given flags) must come back in its starting state.
#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace {

struct TCasoIdaEVolta {
    const char* Nome;
    int32_t Tamanho;
    TNivelDificuldade Nivel;
    int32_t Score;
    uint32_t Semente;
};

// Any value a playable cell may hold, check marks and given flags included, and runs that the
// file does not keep.
TSomadoBoard TabuleiroAoAcaso(const TCasoIdaEVolta& ACaso) {
    std::mt19937 gerador(ACaso.Semente);
    const auto entre = [&gerador](int32_t AMinimo, int32_t AMaximo) {
        return std::uniform_int_distribution<int32_t>(AMinimo, AMaximo)(gerador);
    };
    TSomadoBoard board(ACaso.Tamanho);
    for (int32_t r = 0; r < ACaso.Tamanho; ++r)
        for (int32_t c = 0; c < ACaso.Tamanho; ++c) {
            TSomadoCell cell;
            cell.CellType = static_cast<TCellType>(entre(0, 2));
            cell.RightSum = entre(0, 45);
            cell.DownSum = entre(0, 45);
            const bool branca = cell.CellType == TCellType::ctEmpty;
            cell.Value = branca ? entre(0, 9) : 0;
            cell.Solution = branca ? entre(1, 9) : 0;
            cell.IsGiven = entre(0, 1) == 1;
            cell.DisplayState = static_cast<TCellDisplayState>(entre(0, 3));
            board.SetCell(r, c, cell);
        }
    board.SetGroups({{1, 1, 2, 3, true}}, {{1, 1, 2, 4, false}});
    board.SetDifficulty(ACaso.Nivel);
    board.SetDifficultyScore(ACaso.Score);
    return board;
}

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TCasoIdaEVolta& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioIdaEVolta : public ::testing::TestWithParam<TCasoIdaEVolta> {};

} // namespace

TEST_P(ioIdaEVolta, ReadingTheWrittenTextGivesTheBoardBack) {
    const TSomadoBoard original = TabuleiroAoAcaso(GetParam());
    TSomadoBoard esperado = original;
    for (int32_t r = 0; r < esperado.Size(); ++r)
        for (int32_t c = 0; c < esperado.Size(); ++c) {
            TSomadoCell cell = esperado.GetCell(r, c);
            cell.IsGiven = false;
            cell.DisplayState = TCellDisplayState::cdsNormal;
            esperado.SetCell(r, c, cell);
        }

    const auto lido = LerPuzzle(LinhasDoTexto(TextoDoPuzzle(original)));
    EsperarMesmoTabuleiro(esperado, *lido);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, ioIdaEVolta,
    ::testing::Values(TCasoIdaEVolta{"Smallest", 6, TNivelDificuldade::ndFacil, 0, 1},
                      TCasoIdaEVolta{"Classic", 9, TNivelDificuldade::ndMedio, 137, 2},
                      TCasoIdaEVolta{"Sixteen", 16, TNivelDificuldade::ndDificil, 80000, 3},
                      TCasoIdaEVolta{"Largest", 25, TNivelDificuldade::ndMuitoDificil, INT32_MAX,
                                     4}),
    [](const ::testing::TestParamInfo<TCasoIdaEVolta>& AInfo) { return AInfo.param.Nome; });
