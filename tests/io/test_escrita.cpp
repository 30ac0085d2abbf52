#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <utility>

TEST(ioTextoDoPuzzle, WritesTheExampleByteForByte) {
    // Compared as std::string so a failure shows where the bytes part, CR LF included.
    EXPECT_EQ(TextoDoPuzzle(TabuleiroDoExemplo()).toStdString(), BytesDoExemplo().toStdString());
}

TEST(ioTextoDoPuzzle, ReadingTheExampleAndWritingItBackGivesTheSameBytes) {
    const auto board = LerPuzzle(LinhasDoExemplo());
    EXPECT_EQ(TextoDoPuzzle(*board).toStdString(), BytesDoExemplo().toStdString());
}

TEST(ioTextoDoPuzzle, EveryLineEndsInCrLfAndAllBytesAreAscii) {
    const QByteArray texto = TextoDoPuzzle(TabuleiroGerado(11, TNivelDificuldade::ndMedio, 250));
    const QStringList linhas = LinhasDoPuzzle(TabuleiroGerado(11, TNivelDificuldade::ndMedio, 250));
    EXPECT_EQ(texto, JuntarLinhas(linhas, "\r\n"));
    EXPECT_EQ(texto.count("\r\n"), 5 * 11 + 7);
    EXPECT_EQ(texto.count('\r'), texto.count('\n'));
    for (const char byte : texto)
        EXPECT_TRUE(byte > 0 && byte < 0x7F) << static_cast<int>(byte);
}

TEST(ioLinhasDoPuzzle, MatchesTheTextWrittenByHandForEverySize) {
    for (int32_t n = CLadoMinimo; n <= CLadoMaximo; ++n) {
        SCOPED_TRACE(n);
        const int32_t nivel = n % 4;
        const int32_t score = n == CLadoMaximo ? INT32_MAX : n * 37;
        const QStringList linhas =
            LinhasDoPuzzle(TabuleiroGerado(n, static_cast<TNivelDificuldade>(nivel), score));
        EXPECT_EQ(linhas.size(), 5 * n + 7);
        EXPECT_EQ(linhas, LinhasGeradas(n, CabecalhoNormal(n, nivel, score)));
    }
}

// A single non-zero value must land in its own section, row and column and nowhere else, and
// be spelled the way the reader expects.
TEST(ioLinhasDoPuzzle, WritesEachNumberInItsOwnSectionRowAndColumn) {
    struct TCampo {
        TSeccao Seccao;
        int32_t TSomadoCell::*Membro;
    };
    static constexpr std::array<TCampo, 4> CCampos{{
        {sRightSum, &TSomadoCell::RightSum},
        {sDownSum, &TSomadoCell::DownSum},
        {sValue, &TSomadoCell::Value},
        {sSolution, &TSomadoCell::Solution},
    }};
    static constexpr std::array<std::pair<int32_t, const char*>, 6> CValores{{
        {7, "7"},
        {45, "45"},
        {-3, "-3"},
        {1000, "1000"},
        {INT32_MAX, "2147483647"},
        {INT32_MIN, "-2147483648"},
    }};
    constexpr int32_t N = 7, CLinha = 2, CColuna = 5;
    for (const TCampo& campo : CCampos)
        for (const auto& [valor, texto] : CValores) {
            SCOPED_TRACE(texto);
            SCOPED_TRACE(campo.Seccao);
            TSomadoBoard board(N);
            TSomadoCell cell;
            cell.*campo.Membro = valor;
            board.SetCell(CLinha, CColuna, cell);
            const QStringList linhas = LinhasDoPuzzle(board);
            for (TSeccao seccao : {sRightSum, sDownSum, sValue, sSolution})
                for (int32_t r = 0; r < N; ++r) {
                    QStringList esperados(N, QStringLiteral("0"));
                    if (seccao == campo.Seccao && r == CLinha)
                        esperados[CColuna] = QString::fromLatin1(texto);
                    EXPECT_EQ(linhas[LinhaDaFila(N, seccao, r)], esperados.join(u' '))
                        << "section " << seccao << " row " << r;
                }
        }
}

TEST(ioLinhasDoPuzzle, HeaderCarriesSizeLevelOrdinalAndScore) {
    struct TCaso {
        int32_t Tamanho;
        TNivelDificuldade Nivel;
        int32_t Score;
        const char* Cabecalho;
    };
    static constexpr std::array<TCaso, 4> CCasos{{
        {6, TNivelDificuldade::ndFacil, 0, "[SOMADO tamanho=6 dificuldade=0 score=0]"},
        {12, TNivelDificuldade::ndMedio, 5, "[SOMADO tamanho=12 dificuldade=1 score=5]"},
        {20, TNivelDificuldade::ndDificil, 4321, "[SOMADO tamanho=20 dificuldade=2 score=4321]"},
        {25, TNivelDificuldade::ndMuitoDificil, 99, "[SOMADO tamanho=25 dificuldade=3 score=99]"},
    }};
    for (const TCaso& caso : CCasos) {
        TSomadoBoard board(caso.Tamanho);
        board.SetDifficulty(caso.Nivel);
        board.SetDifficultyScore(caso.Score);
        const QStringList linhas = LinhasDoPuzzle(board);
        EXPECT_EQ(linhas.first(), QString::fromLatin1(caso.Cabecalho));
        EXPECT_EQ(linhas.last(), QStringLiteral("[/SOMADO]"));
    }
}

TEST(ioLetraDoTipo, OneLetterPerKindAndQuestionMarkForAnythingElse) {
    static constexpr std::array<std::pair<TCellType, const char*>, 5> CCasos{{
        {TCellType::ctBlack, "B"},
        {TCellType::ctClue, "P"},
        {TCellType::ctEmpty, "E"},
        {static_cast<TCellType>(3), "?"},
        {static_cast<TCellType>(255), "?"},
    }};
    for (const auto& [tipo, letra] : CCasos)
        EXPECT_EQ(LetraDoTipo(tipo), letra) << static_cast<int>(tipo);
}

TEST(ioLinhasDoPuzzle, DamagedKindIsWrittenAsQuestionMarkAndNotReadBack) {
    TSomadoBoard board(6);
    TSomadoCell cell;
    cell.CellType = static_cast<TCellType>(9);
    board.SetCell(3, 4, cell);
    const QStringList linhas = LinhasDoPuzzle(board);
    EXPECT_EQ(linhas[LinhaDaFila(6, sTipo, 3)], QStringLiteral("B B B B ? B"));
    EXPECT_EQ(MensagemDoErro([&] { LerPuzzle(linhas); }),
              "Carácter de tipo de célula desconhecido: \"?\".");
}
