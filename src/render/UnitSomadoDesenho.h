// Board drawing: one cell into its rectangle, and the grid lines and frame of a whole board.
// The same code paints the screen grid and the PDF pages, on any QPainter.
#pragma once

#include "model/UnitSomado.h"

#include <QColor>
#include <QStringList>

class QPainter;

// The fonts the windows and the pages ask for by name ("Segoe UI", "Consolas") are mapped
// onto installed look-alikes, only where the named font itself is missing. Needs a
// QGuiApplication.
void SubstituirFontesEmFalta();
// Makes ASubstitutos stand in for the font family ANome unless that family is installed.
void SubstituirFonteEmFalta(const QString& ANome, const QStringList& ASubstitutos);

// A cell's box in canvas units; Right and Bottom are exclusive.
struct TRectCelula {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

inline const QColor CCorBloqueada{80, 80, 80};
inline const QColor CCorBranca{255, 255, 255};
inline const QColor CCorContorno{0, 0, 0};
inline const QColor CCorDigitoErrado{200, 0, 0};
inline const QColor CCorDigitoRevelado{0, 55, 120};

// The colour of a white cell's digit for its display state.
QColor CorDoDigito(TCellDisplayState AEstado);

// Dark enough to read at a glance at the smallest cells, yet lighter than a digit.
inline const QColor CCorNota{45, 45, 45};
inline const QColor CCorConflito{200, 110, 0};
inline const QColor CCorFundoConflito{255, 228, 196};

// Backgrounds that point at white cells, each its own hue, none the conflict's orange or the
// wrong digit's red: the current cell's runs (a pale blue), the runs an explained step uses
// (a pale yellow) and the cell it concludes (a deeper yellow), and every cell, briefly, when
// the board is finished (a pale green).
inline const QColor CCorFundoCorrida{222, 236, 251};
inline const QColor CCorFundoPasso{255, 243, 186};
inline const QColor CCorFundoPassoCelula{255, 214, 102};
inline const QColor CCorFundoFim{208, 240, 208};

enum class TRealceCelula : uint8_t { Nenhum, Corrida, Passo, PassoCelula, Fim };

// What only the screen shows of a white cell: the player's pencil marks (bit d for candidate
// d, drawn only while the cell holds no digit), whether its digit breaks a rule, and a
// highlight. Printed pages pass none of it. AOculto hides the digit and the marks (a paused
// game).
struct TExtrasCelula {
    uint16_t Notas = 0;
    bool Conflito = false;
    TRealceCelula Realce = TRealceCelula::Nenhum;
    bool Oculto = false;
};

// The background of a white cell: the conflict's first, then the highlight's, else white.
QColor FundoDaCelula(bool AConflito, TRealceCelula ARealce);

void DesenharCelula(QPainter& ACanvas, const TRectCelula& ARect, const TSomadoCell& ACelula,
                    bool AMostrarSolucao, bool ABorda, const TExtrasCelula& AExtras = {});
void DesenharGrelha(QPainter& ACanvas, int32_t AX0, int32_t AY0, int32_t ATamanhoCelula,
                    int32_t ANumeroCelulas, int32_t ALarguraFina, int32_t ALarguraGrossa);
