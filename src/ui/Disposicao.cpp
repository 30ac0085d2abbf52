#include "ui/Disposicao.h"

#include <algorithm>

namespace {

// The gap above band i as drawn.
int FolgaAcima(const std::vector<TFaixa>& AFaixas, size_t i) {
    return i == 0 ? AFaixas[0].Topo
                  : AFaixas[i].Topo - (AFaixas[i - 1].Topo + AFaixas[i - 1].Altura);
}

int FolgaMinimaAcima(const std::vector<TFaixa>& AFaixas, size_t i) {
    return std::min(FolgaAcima(AFaixas, i), CFolgaMinimaEntreFaixas);
}

int FundoDesenhado(const std::vector<TFaixa>& AFaixas) {
    return AFaixas.empty() ? 0 : AFaixas.back().Topo + AFaixas.back().Altura;
}

// Takes AFalta from the lengths in ASobras (what each can give up), in proportion to each;
// the shares are rounded so that they add up to AFalta exactly.
std::vector<int> Repartir(const std::vector<int>& ASobras, int AFalta) {
    std::vector<int> partes(ASobras.size(), 0);
    long long total = 0;
    for (const int sobra : ASobras)
        total += sobra;
    if (total <= 0) return partes;
    const long long falta = std::min<long long>(AFalta, total);
    long long acumulado = 0, dado = 0;
    for (size_t i = 0; i < ASobras.size(); ++i) {
        acumulado += ASobras[i];
        const long long ate = acumulado * falta / total;
        partes[i] = static_cast<int>(ate - dado);
        dado = ate;
    }
    return partes;
}

} // namespace

int AlturaNaturalLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo) {
    return FundoDesenhado(ADesenho) + AMemo.Folga + AMemo.Altura;
}

int AlturaMinimaLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo) {
    int altura = 0;
    for (size_t i = 0; i < ADesenho.size(); ++i)
        altura += FolgaMinimaAcima(ADesenho, i) + ADesenho[i].AlturaMinima;
    return altura + std::min(AMemo.Folga, AMemo.FolgaMinima) +
           std::min(AMemo.Altura, AMemo.AlturaMinima);
}

TDisposicaoLateral DisporLateral(const std::vector<TFaixa>& ADesenho, const TMedidasMemo& AMemo,
                                 int AAltura) {
    TDisposicaoLateral disposicao;
    disposicao.Faixas = ADesenho;
    const int natural = AlturaNaturalLateral(ADesenho, AMemo);
    if (AAltura >= natural) {
        disposicao.AlturaMemo = AMemo.Altura;
        disposicao.TopoMemo = AAltura - AMemo.Altura;
        return disposicao;
    }
    int falta = natural - AAltura;
    const int doMemo = std::clamp(falta, 0, std::max(0, AMemo.Altura - AMemo.AlturaMinima));
    falta -= doMemo;

    // What each gap, each band and the gap above the box can give up, in that order.
    std::vector<int> sobras;
    for (size_t i = 0; i < ADesenho.size(); ++i) {
        sobras.push_back(FolgaAcima(ADesenho, i) - FolgaMinimaAcima(ADesenho, i));
        sobras.push_back(std::max(0, ADesenho[i].Altura - ADesenho[i].AlturaMinima));
    }
    sobras.push_back(std::max(0, AMemo.Folga - AMemo.FolgaMinima));
    const std::vector<int> cortes = Repartir(sobras, falta);

    int y = 0;
    for (size_t i = 0; i < ADesenho.size(); ++i) {
        y += FolgaAcima(ADesenho, i) - cortes[2 * i];
        disposicao.Faixas[i].Topo = y;
        disposicao.Faixas[i].Altura = ADesenho[i].Altura - cortes[2 * i + 1];
        y += disposicao.Faixas[i].Altura;
    }
    y += AMemo.Folga - cortes.back();
    disposicao.TopoMemo = y;
    disposicao.AlturaMemo = AMemo.Altura - doMemo;
    return disposicao;
}

TLugarJanela LugarInicial(QSize ADesenho, QSize AMinimo, const QRect& ADisponivel,
                          const QMargins& AMoldura) {
    const QSize espaco = ADisponivel.size().shrunkBy(AMoldura);
    const QSize cliente = ADesenho.boundedTo(espaco).expandedTo(AMinimo);
    const QSize moldura = cliente.grownBy(AMoldura);
    const QPoint canto(
        ADisponivel.left() + std::max(0, (ADisponivel.width() - moldura.width()) / 2),
        ADisponivel.top() + std::max(0, (ADisponivel.height() - moldura.height()) / 2));
    return {canto, cliente};
}
