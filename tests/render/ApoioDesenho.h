// Helpers for the drawing tests: images pre-filled with a colour the program never uses, so any
// pixel painted outside the intended area shows up, and small pixel queries over them.
#pragma once

#include "render/UnitSomadoDesenho.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <utility>

inline const QColor CSentinela{255, 0, 255};
inline const QColor CPreto{0, 0, 0};

inline QImage ImagemSentinela(int ALargura, int AAltura) {
    QImage imagem(ALargura, AAltura, QImage::Format_ARGB32);
    imagem.fill(CSentinela);
    return imagem;
}

template <typename TDesenho> QImage Pintar(int ALargura, int AAltura, TDesenho&& ADesenho) {
    QImage imagem = ImagemSentinela(ALargura, AAltura);
    {
        QPainter canvas(&imagem);
        std::forward<TDesenho>(ADesenho)(canvas);
    }
    return imagem;
}

inline QRect ParaQRect(const TRectCelula& ARect) {
    return QRect(ARect.Left, ARect.Top, ARect.Right - ARect.Left, ARect.Bottom - ARect.Top);
}

inline QColor Cor(const QImage& AImagem, int AX, int AY) {
    return AImagem.pixelColor(AX, AY);
}

// Pixels outside ARect that no longer hold the sentinel colour.
inline int ContarTocadosFora(const QImage& AImagem, const QRect& ARect) {
    int tocados = 0;
    for (int y = 0; y < AImagem.height(); ++y)
        for (int x = 0; x < AImagem.width(); ++x)
            if (!ARect.contains(x, y) && Cor(AImagem, x, y) != CSentinela) ++tocados;
    return tocados;
}

// Bounding box of the pixels of AArea for which AEscolher is true; null when there are none.
inline QRect CaixaDe(const QImage& AImagem, const QRect& AArea,
                     const std::function<bool(int, int, const QColor&)>& AEscolher) {
    QRect caixa;
    for (int y = AArea.top(); y <= AArea.bottom(); ++y)
        for (int x = AArea.left(); x <= AArea.right(); ++x)
            if (AEscolher(x, y, Cor(AImagem, x, y))) caixa |= QRect(x, y, 1, 1);
    return caixa;
}

inline TSomadoCell CelulaPreta() {
    return TSomadoCell{};
}

inline TSomadoCell CelulaPista(int32_t ADireita, int32_t ABaixo) {
    TSomadoCell celula;
    celula.CellType = TCellType::ctClue;
    celula.RightSum = ADireita;
    celula.DownSum = ABaixo;
    return celula;
}

inline TSomadoCell CelulaBranca(int32_t AValor, int32_t ASolucao,
                                TCellDisplayState AEstado = TCellDisplayState::cdsNormal) {
    TSomadoCell celula;
    celula.CellType = TCellType::ctEmpty;
    celula.Value = AValor;
    celula.Solution = ASolucao;
    celula.DisplayState = AEstado;
    return celula;
}

// One cell drawn alone on a sentinel image a few pixels larger than the cell on every side.
inline QImage DesenharSo(const TRectCelula& ARect, const TSomadoCell& ACelula,
                         bool AMostrarSolucao = false, bool ABorda = false) {
    return Pintar(ARect.Right + 6, ARect.Bottom + 6, [&](QPainter& canvas) {
        DesenharCelula(canvas, ARect, ACelula, AMostrarSolucao, ABorda);
    });
}
