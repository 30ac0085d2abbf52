// Reading a painted window as a player reads it: WCAG's contrast between a text and what is
// painted behind it, and a dark system palette such as a player's desktop may have.
#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <map>

// WCAG's relative luminance and contrast ratio.
inline double Luminancia(const QColor& ACor) {
    const auto linear = [](int AValor) {
        const double v = AValor / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(ACor.red()) + 0.7152 * linear(ACor.green()) +
           0.0722 * linear(ACor.blue());
}

inline double Contraste(const QColor& A, const QColor& B) {
    const double a = Luminancia(A), b = Luminancia(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// WCAG's level AA for text of the windows' sizes.
inline constexpr double CContrasteMinimo = 4.5;

// What a region of the picture shows: its background (the commonest colour) and how far its
// most distinct pixel, the core of the text, stands from it.
struct TLeitura {
    QRgb Fundo = 0;
    double Contraste = 0;
};

inline TLeitura Ler(const QImage& AImagem, const QRect& ARegiao) {
    std::map<QRgb, int> contagem;
    const QRect regiao = ARegiao.intersected(AImagem.rect());
    for (int y = regiao.top(); y <= regiao.bottom(); ++y)
        for (int x = regiao.left(); x <= regiao.right(); ++x)
            ++contagem[AImagem.pixel(x, y) & 0xFFFFFF];
    TLeitura leitura;
    int maior = 0;
    for (const auto& [cor, vezes] : contagem)
        if (vezes > maior) {
            maior = vezes;
            leitura.Fundo = cor;
        }
    for (const auto& [cor, vezes] : contagem)
        leitura.Contraste =
            std::max(leitura.Contraste, Contraste(QColor(cor), QColor(leitura.Fundo)));
    return leitura;
}

// A dark system palette for as long as it lives, as a player's desktop may have.
class TPaletaEscura {
public:
    TPaletaEscura() : FAntes(QApplication::palette()) {
        QPalette escura;
        const QColor fundo(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), texto(0xf0, 0xf0, 0xf0);
        for (const QPalette::ColorGroup grupo :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            escura.setColor(grupo, QPalette::Window, fundo);
            escura.setColor(grupo, QPalette::WindowText, texto);
            escura.setColor(grupo, QPalette::Base, base);
            escura.setColor(grupo, QPalette::AlternateBase, fundo);
            escura.setColor(grupo, QPalette::Text, texto);
            escura.setColor(grupo, QPalette::Button, fundo);
            escura.setColor(grupo, QPalette::ButtonText, texto);
            escura.setColor(grupo, QPalette::ToolTipBase, base);
            escura.setColor(grupo, QPalette::ToolTipText, texto);
            escura.setColor(grupo, QPalette::BrightText, Qt::white);
        }
        QApplication::setPalette(escura);
    }
    ~TPaletaEscura() { QApplication::setPalette(FAntes); }
    TPaletaEscura(const TPaletaEscura&) = delete;
    TPaletaEscura& operator=(const TPaletaEscura&) = delete;

private:
    QPalette FAntes;
};
