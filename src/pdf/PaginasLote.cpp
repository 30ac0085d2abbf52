// The pages of a batch document, and their fixed order.
#include "pdf/PaginasPdf.h"

#include "render/UnitSomadoDesenho.h"
#include "render/UnitSomadoRegras.h"

#include <algorithm>
#include <array>

namespace {

const QColor CPreto(0, 0, 0);

constexpr int32_t CLarguraTexto = 658;      // 174 mm
constexpr int32_t CEsquerdaRegras = 68;     // 18 mm
constexpr int32_t CTopoRegras = 68;         // 18 mm
constexpr int32_t CPassoLinha = 21;         // 1.45 × 11 pt
constexpr int32_t CAbaixoTituloPagina = 45; // 12 mm
constexpr int32_t CAcimaSeccao = 15;        // 4 mm
constexpr int32_t CAbaixoSeccao = 26;       // 7 mm
constexpr int32_t CCelulaExemplo = 68;      // 18 mm
constexpr int32_t CEspacoRotulo = 23;       // 6 mm
constexpr int32_t CFolgaLargura = 23;       // 6 mm
constexpr int32_t CFolgaAltura = 45;        // 12 mm
constexpr int32_t CTopoLinhaDupla = 8;      // 2 mm
constexpr int32_t CCabecalhoDupla = 53;     // 14 mm
constexpr int32_t CSubidaSeccao = 15;       // 4 mm
constexpr int32_t CBarraAbaixo = 53;        // 14 mm
constexpr int32_t CLarguraBarra = 113;      // 30 mm
// The batch title on the cover: bold, from 34 pt down in steps of 2 until it fits, never
// below 16 pt.
constexpr int32_t CTituloCapaInicial = 34;
constexpr int32_t CTituloCapaMinimo = 16;
constexpr int32_t CTituloCapaPasso = 2;

// Capitals of the letters a-z only.
QString MaiusculasAsciiSo(const QString& ATexto) {
    QString resultado = ATexto;
    for (QChar& ch : resultado)
        if (ch >= u'a' && ch <= u'z') ch = QChar(ch.unicode() - u'a' + u'A');
    return resultado;
}

} // namespace

void EscreverAjustado(TDocumentoPdf& AD, double AYMm, const QString& ATexto, int32_t AInicial,
                      int32_t AMinimo, int32_t APasso, bool ANegrito) {
    int32_t tamanho = AInicial;
    DefinirFontePdf(AD, tamanho, ANegrito, CPreto);
    while (tamanho > AMinimo && AD.TextWidth(ATexto) > CLarguraTexto) {
        tamanho -= APasso;
        DefinirFontePdf(AD, tamanho, ANegrito, CPreto);
    }
    EscreverCentrado(AD, MmParaUnidades(AYMm), ATexto);
}

void DesenharCapa(TDocumentoPdf& AD, const QString& ATitulo, const QString& ARotulo,
                  int32_t APuzzles, int32_t ALado) {
    AD.AdicionarPagina();
    EscreverAjustado(AD, 42, MaiusculasAsciiSo(QStringLiteral("Quorvel")), 24, 24, 1, true);
    EscreverAjustado(AD, 92, QStringLiteral("SOMADO"), 80, 24, 4, true);
    const QString titulo = SemEspacosNasPontas(ATitulo);
    if (!titulo.isEmpty())
        EscreverAjustado(AD, 150, titulo, CTituloCapaInicial, CTituloCapaMinimo, CTituloCapaPasso,
                         true);
    EscreverAjustado(AD, 202, QStringLiteral("%1 puzzles").arg(APuzzles), 16, 16, 1, false);
    EscreverAjustado(AD, 212, QStringLiteral("%1 %2 %1").arg(ALado).arg(QChar(0x00D7)), 16, 16, 1,
                     false);
    if (!ARotulo.isEmpty()) EscreverAjustado(AD, 222, ARotulo, 16, 16, 1, false);
}

bool TituloCabeNaCapa(const QString& ATitulo) {
    // Measured on a page of a real document, as the cover measures it.
    TDocumentoPdf documento;
    documento.AdicionarPagina();
    DefinirFontePdf(documento, CTituloCapaMinimo, true, CPreto);
    return documento.TextWidth(SemEspacosNasPontas(ATitulo)) <= CLarguraTexto;
}

QStringList QuebrarLinhas(const TDocumentoPdf& AD, const QString& ATexto, int32_t ALargura) {
    QStringList linhas;
    QString linha;
    for (const QString& palavra : ATexto.split(u' ')) {
        if (linha.isEmpty()) {
            linha = palavra;
        } else if (AD.TextWidth(linha + u' ' + palavra) > ALargura) {
            linhas << linha;
            linha = palavra;
        } else {
            linha += u' ' + palavra;
        }
    }
    if (!linha.isEmpty()) linhas << linha;
    return linhas;
}

int32_t DesenharBlocos(TDocumentoPdf& AD, const std::vector<TBlocoRegras>& ABlocos, int32_t AY,
                       bool& APrimeiroTitulo) {
    int32_t y = AY;
    for (const TBlocoRegras& bloco : ABlocos) {
        switch (bloco.Tipo) {
        case TTipoBloco::tbTitulo:
            if (APrimeiroTitulo) {
                DefinirFontePdf(AD, 20, true, CPreto);
                EscreverCentrado(AD, y, bloco.Texto);
                y += CAbaixoTituloPagina;
                APrimeiroTitulo = false;
            } else {
                y += CAcimaSeccao;
                DefinirFontePdf(AD, 13, true, CPreto);
                AD.TextOut(CEsquerdaRegras, y, bloco.Texto);
                y += CAbaixoSeccao;
            }
            break;
        case TTipoBloco::tbParagrafo:
            DefinirFontePdf(AD, 11, false, CPreto);
            for (const QString& linha : QuebrarLinhas(AD, bloco.Texto, CLarguraTexto)) {
                AD.TextOut(CEsquerdaRegras, y, linha);
                y += CPassoLinha;
            }
            break;
        case TTipoBloco::tbItem: {
            DefinirFontePdf(AD, 11, false, CPreto);
            // A hanging indent: the marker up to the first space, the rest beside it.
            const qsizetype espaco = bloco.Texto.indexOf(u' ');
            const QString marcador = espaco < 0 ? QString() : bloco.Texto.left(espaco + 1);
            const QString resto = espaco < 0 ? bloco.Texto : bloco.Texto.mid(espaco + 1);
            AD.TextOut(CEsquerdaRegras, y, marcador);
            const int32_t recuo = AD.TextWidth(marcador);
            for (const QString& linha : QuebrarLinhas(AD, resto, CLarguraTexto - recuo)) {
                AD.TextOut(CEsquerdaRegras + recuo, y, linha);
                y += CPassoLinha;
            }
            break;
        }
        case TTipoBloco::tbEspaco:
            y += CPassoLinha / 2;
            break;
        }
    }
    return y;
}

void DesenharPaginaRegras(TDocumentoPdf& AD, int32_t APagina) {
    AD.AdicionarPagina();
    bool primeiroTitulo = true;
    int32_t y = CTopoRegras;
    y = DesenharBlocos(AD, BlocosComoJogar(), y, primeiroTitulo);
    y = DesenharBlocos(AD, BlocosDicas(), y, primeiroTitulo);
    DesenharBlocos(AD, BlocosNiveis(), y, primeiroTitulo);
    DesenharRodape(AD, APagina);
}

void DesenharPaginaSeccao(TDocumentoPdf& AD, const QString& ATexto) {
    AD.AdicionarPagina();
    DefinirFontePdf(AD, 36, true, CPreto);
    EscreverCentrado(AD, CAlturaPagina / 2 - AD.TextHeight(ATexto) / 2 - CSubidaSeccao, ATexto);
    const int32_t x = CLarguraPagina / 2 - CMargem;
    const int32_t y = CAlturaPagina / 2 + CBarraAbaixo;
    AD.Canvas().fillRect(QRect(x, y, CLarguraBarra, 2), CPreto);
}

std::unique_ptr<TSomadoBoard> TabuleiroExemplo() {
    static constexpr std::array<const char*, 5> CLinhas{"#PP##", "P34P#", "P219P", "#P259",
                                                        "##P27"};
    static constexpr std::array<std::pair<int32_t, int32_t>, 8> CSomas{
        {{0, 5}, {0, 7}, {7, 0}, {0, 16}, {12, 0}, {0, 16}, {16, 0}, {9, 0}}};
    auto board = std::make_unique<TSomadoBoard>(CLadoMinimo);
    size_t pista = 0;
    for (int32_t r = 0; r < 5; ++r)
        for (int32_t c = 0; c < 5; ++c) {
            TSomadoCell cell;
            const char ch = CLinhas[r][c];
            if (ch == 'P') {
                cell.CellType = TCellType::ctClue;
                cell.RightSum = CSomas[pista].first;
                cell.DownSum = CSomas[pista].second;
                ++pista;
            } else if (ch != '#') {
                cell.CellType = TCellType::ctEmpty;
                cell.Solution = ch - '0';
            }
            board->SetCell(r, c, cell);
        }
    return board;
}

void DesenharPaginaExemplo(TDocumentoPdf& AD) {
    AD.AdicionarPagina();
    const auto exemplo = TabuleiroExemplo();
    const int32_t s = CCelulaExemplo;
    const int32_t x0 = (CLarguraPagina - 5 * s) / 2;
    const int32_t y0 = (CAlturaPagina - 5 * s) / 2;
    // The example is 5 × 5, smaller than any board, so it lives in the corner of a 6 × 6 one.
    for (int32_t r = 0; r < 5; ++r)
        for (int32_t c = 0; c < 5; ++c)
            DesenharCelula(AD.Canvas(),
                           {x0 + c * s, y0 + r * s, x0 + (c + 1) * s, y0 + (r + 1) * s},
                           exemplo->GetCell(r, c), true, false);
    DesenharGrelha(AD.Canvas(), x0, y0, s, 5, 2, 4);
}

void DesenharPaginaDupla(TDocumentoPdf& AD, const TSomadoBoard& AA, const TSomadoBoard& AB,
                         int32_t ANumeroA, int32_t ANumeroB, int32_t APagina) {
    AD.AdicionarPagina();
    const int32_t metade = (CAlturaPagina - CMargem - CFaixaInferior) / 2;
    const std::array<std::pair<const TSomadoBoard*, int32_t>, 2> metades{
        {{&AA, ANumeroA}, {&AB, ANumeroB}}};
    for (size_t i = 0; i < metades.size(); ++i) {
        const TSomadoBoard& board = *metades[i].first;
        const int32_t y = CMargem + static_cast<int32_t>(i) * metade;
        const int32_t n = board.Size();
        DefinirFontePdf(AD, 12, false, CPreto);
        EscreverCentrado(AD, y + CTopoLinhaDupla,
                         QStringLiteral("%1 x %1 / %2")
                             .arg(n)
                             .arg(QString::fromUtf8(NomeNivel(board.Difficulty()))));
        DefinirFontePdf(AD, 14, true, CPreto);
        const QString numero = QStringLiteral("#%1").arg(metades[i].second);
        AD.TextOut(CLarguraPagina - CMargem - AD.TextWidth(numero), y, numero);
        DefinirFontePdf(AD, 14, false, CPreto);
        const int32_t lado = std::min(CLarguraPagina - 2 * CMargem, metade - CCabecalhoDupla);
        const int32_t s = lado / n;
        DesenharTabuleiroPdf(AD, board, (CLarguraPagina - n * s) / 2, y + CCabecalhoDupla, s, false,
                             4);
    }
    DesenharRodape(AD, APagina);
}

std::pair<int32_t, int32_t> SolucoesPorPagina(int32_t ALado) {
    switch (ALado) {
    case 6:
        return {3, 4};
    case 9:
        return {2, 3};
    case 12:
        return {2, 2};
    default:
        return {1, 2};
    }
}

void DesenharPaginaSolucoes(TDocumentoPdf& AD, const TListaDeTabuleiros& ALista, int32_t APrimeiro,
                            int32_t AColunas, int32_t ALinhas, int32_t APagina) {
    AD.AdicionarPagina();
    DesenharRodape(AD, APagina);
    DefinirFontePdf(AD, 10, false, CPreto);
    const int32_t cw = (CLarguraPagina - 2 * CMargem) / AColunas;
    const int32_t ch = (CAlturaPagina - CMargem - CFaixaInferior) / ALinhas;
    for (int32_t r = 0; r < ALinhas; ++r)
        for (int32_t c = 0; c < AColunas; ++c) {
            const int32_t g = APrimeiro + r * AColunas + c;
            if (g >= static_cast<int32_t>(ALista.size())) continue;
            const TSomadoBoard& board = *ALista[static_cast<size_t>(g)];
            const int32_t x = CMargem + c * cw, y = CMargem + r * ch;
            DefinirFontePdf(AD, 10, false, CPreto);
            const QString rotulo = QStringLiteral("Puzzle %1").arg(g + 1);
            AD.TextOut(x + (cw - AD.TextWidth(rotulo)) / 2, y, rotulo);
            const int32_t lado = std::min(cw - CFolgaLargura, ch - CFolgaAltura);
            const int32_t s = lado / board.Size();
            DesenharTabuleiroPdf(AD, board, x + (cw - board.Size() * s) / 2, y + CEspacoRotulo, s,
                                 true, 4);
        }
}

void GarantirPaginaImpar(TDocumentoPdf& AD, int32_t& AContadorPaginas) {
    if ((AContadorPaginas + 1) % 2 != 0) return;
    DesenharPaginaExemplo(AD);
    ++AContadorPaginas;
}

void DesenharLote(TDocumentoPdf& AD, const TListaDeTabuleiros& ALista, int32_t ALado,
                  const QString& ATitulo, const QString& ARotulo) {
    const auto quantos = static_cast<int32_t>(ALista.size());
    int32_t pagina = 1;
    DesenharCapa(AD, ATitulo, ARotulo, quantos, ALado);
    DesenharPaginaRegras(AD, ++pagina);
    GarantirPaginaImpar(AD, pagina);
    ++pagina;
    DesenharPaginaSeccao(AD, QStringLiteral("Puzzles"));
    if (ALado == 6) {
        int32_t i = 0;
        for (; i + 1 < quantos; i += 2)
            DesenharPaginaDupla(AD, *ALista[i], *ALista[i + 1], i + 1, i + 2, ++pagina);
        if (i < quantos) DesenharPaginaPuzzle(AD, *ALista[i], false, i + 1, false, ++pagina);
    } else {
        for (int32_t i = 0; i < quantos; ++i)
            DesenharPaginaPuzzle(AD, *ALista[i], false, i + 1, false, ++pagina);
    }
    GarantirPaginaImpar(AD, pagina);
    ++pagina;
    DesenharPaginaSeccao(AD, QStringLiteral("Soluções"));
    const auto [colunas, linhas] = SolucoesPorPagina(ALado);
    for (int32_t primeiro = 0; primeiro < quantos; primeiro += colunas * linhas)
        DesenharPaginaSolucoes(AD, ALista, primeiro, colunas, linhas, ++pagina);
}

void ExportarLotePdf(const TListaDeTabuleiros& ALista, int32_t ALado, const QString& ATitulo,
                     const QString& ARotulo, const QString& ACaminho) {
    const auto documento = CriarDocumentoPdf();
    DesenharLote(*documento, ALista, ALado, ATitulo, ARotulo);
    documento->Gravar(ACaminho);
}
