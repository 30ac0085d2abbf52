// How the main window fits a screen smaller than the one it was drawn for: the side panel
// gives up height where it has room to spare, and the window opens no larger than the screen.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

// A control of the side panel as a vertical band: where it was drawn and the least height it
// still works at.
struct TFaixa {
    int Topo = 0;
    int Altura = 0;
    int AlturaMinima = 0;
};

// The information box under the bands, and the gap that separates them.
struct TMedidasMemo {
    int Altura = 0;
    int AlturaMinima = 0;
    int Folga = 0;
    int FolgaMinima = 0;
};

struct TDisposicaoLateral {
    // The bands in the order given, with their tops and heights for the panel's height.
    std::vector<TFaixa> Faixas;
    int TopoMemo = 0;
    int AlturaMemo = 0;
};

// The least gap kept above each band, so buttons never touch.
inline constexpr int CFolgaMinimaEntreFaixas = 2;

// Heights at which the drawn layout holds, and below which the panel cannot go.
// ADesenho lists the bands from top to bottom, without overlaps.
int AlturaNaturalLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo);
int AlturaMinimaLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo);

// At the natural height or more every band keeps its drawn place and the box its drawn
// height, at the bottom. Shorter, the box gives up height first, down to its least; then the
// gaps and the bands that can shrink give up the rest in proportion to what each can spare.
// Below the least height everything is at its least and the box runs past the bottom.
TDisposicaoLateral DisporLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo,
                                 int AAltura);

// Where the window opens: its drawn client size where that fits the available area with the
// frame around it, or else as much as fits (never less than AMinimo), centred; a window
// larger than the area starts at its top left, so the title bar stays within reach.
struct TLugarJanela {
    QPoint Moldura; // top left of the frame
    QSize Cliente;
};
TLugarJanela LugarInicial(QSize ADesenho, QSize AMinimo, const QRect& ADisponivel,
                          const QMargins& AMoldura);
