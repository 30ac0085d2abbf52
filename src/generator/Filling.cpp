// Random solution digits with no repeat in any run, and the run sums that follow from them.
#include "generator/GeradorInterno.h"

namespace {

using TGrelhaInteira = std::array<std::array<int32_t, CLadoMaximo>, CLadoMaximo>;

// Working data of one PreencherSolucao call.
class TPreenchimento {
public:
    TPreenchimento(const TSomadoBoard& ABoard, TAleatorio& AAleatorio)
        : FBoard(ABoard), FAleatorio(AAleatorio) {
        const int32_t N = ABoard.Size();
        for (auto& linha : FIndiceH)
            linha.fill(-1);
        for (auto& linha : FIndiceV)
            linha.fill(-1);
        MarcarIndices(ABoard.HorizontalGroups(), FIndiceH);
        MarcarIndices(ABoard.VerticalGroups(), FIndiceV);
        for (int32_t r = 0; r < N; ++r)
            for (int32_t c = 0; c < N; ++c)
                if (ABoard.GetCell(r, c).CellType == TCellType::ctEmpty) FCelulas.push_back({r, c});
        FAtribuida.assign(FCelulas.size(), false);
        FUsadosH.assign(ABoard.HorizontalGroups().size(), 0);
        FUsadosV.assign(ABoard.VerticalGroups().size(), 0);
    }

    bool Resolver() {
        Procurar();
        return FResolvido;
    }
    const TGrelhaInteira& Resultado() const { return FResultado; }

private:
    static void MarcarIndices(const TSomadoGroupArray& ARuns, TGrelhaInteira& AIndice) {
        for (size_t i = 0; i < ARuns.size(); ++i)
            ParaCadaCelulaDoRun(
                ARuns[i], [&](int32_t r, int32_t c) { AIndice[r][c] = static_cast<int32_t>(i); });
    }

    TConjuntoDigitos Usados(int32_t h, int32_t v) const {
        return static_cast<TConjuntoDigitos>((h >= 0 ? FUsadosH[h] : 0) |
                                             (v >= 0 ? FUsadosV[v] : 0));
    }
    int32_t ComprimentoH(int32_t h) const {
        return h >= 0 ? FBoard.HorizontalGroups()[h].Length : 0;
    }
    int32_t ComprimentoV(int32_t v) const { return v >= 0 ? FBoard.VerticalGroups()[v].Length : 0; }

    int32_t ContarDigitosLivres(const TCelulaVazia& ACelula) const {
        const TConjuntoDigitos usados =
            Usados(FIndiceH[ACelula.Row][ACelula.Col], FIndiceV[ACelula.Row][ACelula.Col]);
        return 9 - ContarBits(static_cast<TConjuntoDigitos>(usados & CDominioCompleto));
    }

    // The most constrained unassigned cell: fewest free digits, then longest run, then the
    // first in row-major order. -1 when every cell is assigned.
    int32_t EscolherCelula() const {
        int32_t melhor = -1, melhorLivres = 10, melhorMaisLongo = -1;
        for (size_t i = 0; i < FCelulas.size(); ++i) {
            if (FAtribuida[i]) continue;
            const TCelulaVazia& celula = FCelulas[i];
            const int32_t livres = ContarDigitosLivres(celula);
            const int32_t maisLongo = std::max(ComprimentoH(FIndiceH[celula.Row][celula.Col]),
                                               ComprimentoV(FIndiceV[celula.Row][celula.Col]));
            if (livres < melhorLivres || (livres == melhorLivres && maisLongo > melhorMaisLongo)) {
                melhor = static_cast<int32_t>(i);
                melhorLivres = livres;
                melhorMaisLongo = maisLongo;
            }
        }
        return melhor;
    }

    int32_t MaisCurto(int32_t h, int32_t v) const {
        if (h >= 0 && v >= 0) return std::min(ComprimentoH(h), ComprimentoV(v));
        return h >= 0 ? ComprimentoH(h) : ComprimentoV(v);
    }

    void Procurar() {
        if (FResolvido || FEsgotado) return;
        const int32_t escolhida = EscolherCelula();
        if (escolhida < 0) {
            for (const TCelulaVazia& celula : FCelulas)
                FResultado[celula.Row][celula.Col] = FDigitos[celula.Row][celula.Col];
            FResolvido = true;
            return;
        }
        const TCelulaVazia celula = FCelulas[escolhida];
        const int32_t h = FIndiceH[celula.Row][celula.Col];
        const int32_t v = FIndiceV[celula.Row][celula.Col];
        const std::array<int32_t, 9> ordem = OrdemDigitos(MaisCurto(h, v), FAleatorio);
        FAtribuida[escolhida] = true;

        for (const int32_t d : ordem) {
            if (Usados(h, v) & Bit(d)) continue;
            if (++FColocacoes > CMaxColocacoes) {
                FEsgotado = true;
                break;
            }
            Colocar(celula, h, v, d);
            Procurar();
            Retirar(celula, h, v, d);
            if (FResolvido || FEsgotado) break;
        }
        FAtribuida[escolhida] = false;
    }

    void Colocar(const TCelulaVazia& ACelula, int32_t h, int32_t v, int32_t d) {
        FDigitos[ACelula.Row][ACelula.Col] = d;
        if (h >= 0) FUsadosH[h] |= Bit(d);
        if (v >= 0) FUsadosV[v] |= Bit(d);
    }
    void Retirar(const TCelulaVazia& ACelula, int32_t h, int32_t v, int32_t d) {
        if (h >= 0) FUsadosH[h] &= static_cast<TConjuntoDigitos>(~Bit(d));
        if (v >= 0) FUsadosV[v] &= static_cast<TConjuntoDigitos>(~Bit(d));
        FDigitos[ACelula.Row][ACelula.Col] = 0;
    }

    const TSomadoBoard& FBoard;
    TAleatorio& FAleatorio;
    TGrelhaInteira FIndiceH, FIndiceV;
    std::vector<TCelulaVazia> FCelulas;
    std::vector<bool> FAtribuida;
    std::vector<TConjuntoDigitos> FUsadosH, FUsadosV;
    TGrelhaInteira FDigitos{};
    TGrelhaInteira FResultado{};
    int64_t FColocacoes = 0;
    bool FResolvido = false;
    bool FEsgotado = false;
};

} // namespace

std::array<int32_t, 9> OrdemDigitos(int32_t AMaisCurto, TAleatorio& AAleatorio) {
    if (AMaisCurto > 4) {
        std::array<int32_t, 9> ordem{1, 2, 3, 4, 5, 6, 7, 8, 9};
        AAleatorio.Embaralhar(ordem);
        return ordem;
    }
    std::array<int32_t, 9> ordem{1, 2, 3, 7, 8, 9, 4, 5, 6};
    AAleatorio.Embaralhar(std::span(ordem).first(6));
    AAleatorio.Embaralhar(std::span(ordem).subspan(6));
    return ordem;
}

bool PreencherSolucao(TSomadoBoard& ABoard, TAleatorio& AAleatorio) {
    TPreenchimento preenchimento(ABoard, AAleatorio);
    if (!preenchimento.Resolver()) return false;
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            TSomadoCell cell = ABoard.GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            cell.Solution = preenchimento.Resultado()[r][c];
            ABoard.SetCell(r, c, cell);
        }
    return true;
}

void CalcularSomas(TSomadoBoard& ABoard) {
    for (const bool horizontal : {true, false}) {
        const TSomadoGroupArray& runs =
            horizontal ? ABoard.HorizontalGroups() : ABoard.VerticalGroups();
        const int32_t dr = horizontal ? 0 : 1, dc = horizontal ? 1 : 0;
        for (size_t i = 0; i < runs.size(); ++i) {
            const TSomadoGroup run = runs[i];
            int32_t soma = 0;
            ParaCadaCelulaDoRun(
                run, [&](int32_t r, int32_t c) { soma += ABoard.GetCell(r, c).Solution; });
            ABoard.AtualizarSomaGrupo(horizontal, static_cast<int32_t>(i), soma);
            TSomadoCell pista = ABoard.GetCell(run.StartRow - dr, run.StartCol - dc);
            (horizontal ? pista.RightSum : pista.DownSum) = soma;
            ABoard.SetCell(run.StartRow - dr, run.StartCol - dc, pista);
        }
    }
}
