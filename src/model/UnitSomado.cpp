#include "model/UnitSomado.h"

#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>

std::string Format(const char* AFormato, ...) {
    va_list args;
    va_start(args, AFormato);
    va_list copia;
    va_copy(copia, args);
    const int tamanho = std::vsnprintf(nullptr, 0, AFormato, copia);
    va_end(copia);
    std::string texto(tamanho > 0 ? static_cast<size_t>(tamanho) : 0, '\0');
    if (tamanho > 0) std::vsnprintf(texto.data(), texto.size() + 1, AFormato, args);
    va_end(args);
    return texto;
}

TSomadoBoard::TSomadoBoard(int32_t ASize) : FSize(ASize) {
    if (ASize < CLadoMinimo || ASize > CLadoMaximo)
        throw ESomadoError(Format("Tamanho de tabuleiro fora do intervalo [%d..%d]: %d",
                                  CLadoMinimo, CLadoMaximo, ASize));
    Clear();
}

void TSomadoBoard::Clear() {
    FCells.assign(static_cast<size_t>(FSize) * FSize, TSomadoCell{});
    FHorizontalGroups.clear();
    FVerticalGroups.clear();
    FDifficultyScore = 0;
}

void TSomadoBoard::SetGroups(const TSomadoGroupArray& AHorizontal,
                             const TSomadoGroupArray& AVertical) {
    FHorizontalGroups = AHorizontal;
    FVerticalGroups = AVertical;
}

void TSomadoBoard::AtualizarSomaGrupo(bool AHorizontal, int32_t AIndice, int32_t ANovaSoma) {
    (AHorizontal ? FHorizontalGroups : FVerticalGroups)[AIndice].Sum = ANovaSoma;
}

void TSomadoBoard::LimparJogadas() {
    for (TSomadoCell& cell : FCells) {
        if (cell.CellType != TCellType::ctEmpty) continue;
        cell.Value = 0;
        cell.DisplayState = TCellDisplayState::cdsNormal;
    }
}

bool TSomadoBoard::VerificarJogadas(int32_t& ACorretas, int32_t& AErradas, int32_t& APorPreencher) {
    ACorretas = 0;
    AErradas = 0;
    APorPreencher = 0;
    for (TSomadoCell& cell : FCells) {
        if (cell.CellType != TCellType::ctEmpty) continue;
        if (cell.Value == 0) {
            ++APorPreencher;
            cell.DisplayState = TCellDisplayState::cdsNormal;
        } else if (cell.Value == cell.Solution) {
            ++ACorretas;
            cell.DisplayState = TCellDisplayState::cdsCorrect;
        } else {
            ++AErradas;
            cell.DisplayState = TCellDisplayState::cdsWrong;
        }
    }
    return AErradas == 0 && APorPreencher == 0;
}

int32_t LadoDoTabuleiro(TTamanhoTabuleiro ATamanho) {
    static constexpr std::array<int32_t, 7> CLados{9, 12, 15, 20, 25, 6, 16};
    return CLados[static_cast<size_t>(ATamanho)];
}

const char* NomeNivel(TNivelDificuldade ANivel) {
    switch (ANivel) {
    case TNivelDificuldade::ndFacil:
        return "Fácil";
    case TNivelDificuldade::ndMedio:
        return "Médio";
    case TNivelDificuldade::ndDificil:
        return "Difícil";
    default:
        return "Muito Difícil";
    }
}

int64_t Arredondar(double AValor) {
    const double baixo = std::floor(AValor);
    const double resto = AValor - baixo;
    auto inteiro = static_cast<int64_t>(baixo);
    if (resto > 0.5 || (resto == 0.5 && (inteiro % 2 != 0))) ++inteiro;
    return inteiro;
}

bool CelulaBranca(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    return ARow >= 0 && ACol >= 0 && ARow < ABoard.Size() && ACol < ABoard.Size() &&
           ABoard.GetCell(ARow, ACol).CellType == TCellType::ctEmpty;
}

TCorridaDaCelula CorridaPor(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol,
                            bool AHorizontal) {
    TCorridaDaCelula corrida;
    corrida.Horizontal = AHorizontal;
    if (!CelulaBranca(ABoard, ARow, ACol)) return corrida;
    const int32_t dr = AHorizontal ? 0 : 1, dc = AHorizontal ? 1 : 0;
    int32_t r = ARow, c = ACol;
    while (CelulaBranca(ABoard, r - dr, c - dc)) {
        r -= dr;
        c -= dc;
    }
    corrida.Row = r;
    corrida.Col = c;
    if (r - dr >= 0 && c - dc >= 0) {
        const TSomadoCell pista = ABoard.GetCell(r - dr, c - dc);
        if (pista.CellType == TCellType::ctClue)
            corrida.Soma = AHorizontal ? pista.RightSum : pista.DownSum;
    }
    for (; CelulaBranca(ABoard, r, c); r += dr, c += dc)
        ++corrida.Comprimento;
    return corrida;
}
