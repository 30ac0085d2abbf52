#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

void PrintTo(const QString& ATexto, std::ostream* ASaida) {
    *ASaida << '"' << ATexto.toStdString() << '"';
}

void PrintTo(const TSomadoCell& ACell, std::ostream* ASaida) {
    *ASaida << "{tipo " << static_cast<int>(ACell.CellType) << ", right " << ACell.RightSum
            << ", down " << ACell.DownSum << ", value " << ACell.Value << ", solution "
            << ACell.Solution << ", given " << ACell.IsGiven << ", display "
            << static_cast<int>(ACell.DisplayState) << '}';
}

QByteArray BytesDoExemplo() {
    static const char CTexto[] = "[SOMADO tamanho=9 dificuldade=0 score=0]\r\n"
                                 "TIPO\r\n"
                                 "B P B P P B B B B\r\n"
                                 "B E P E E P P P P\r\n"
                                 "P E E E E E E E E\r\n"
                                 "B B P E E E E E E\r\n"
                                 "B B P E E E E B B\r\n"
                                 "B P P E E E E B B\r\n"
                                 "P E E E E E E B P\r\n"
                                 "P E E E E E E E E\r\n"
                                 "B B B B P E E B E\r\n"
                                 "RIGHTSUM\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 4 0 0 0 0 0 0\r\n"
                                 "39 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 39 0 0 0 0 0 0\r\n"
                                 "0 0 18 0 0 0 0 0 0\r\n"
                                 "0 0 30 0 0 0 0 0 0\r\n"
                                 "38 0 0 0 0 0 0 0 0\r\n"
                                 "39 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 17 0 0 0 0\r\n"
                                 "DOWNSUM\r\n"
                                 "0 16 0 29 42 0 0 0 0\r\n"
                                 "0 0 0 0 0 29 42 17 16\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 4 17 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 17\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "VALUE\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "SOLUTION\r\n"
                                 "0 0 0 0 0 0 0 0 0\r\n"
                                 "0 9 0 1 3 0 0 0 0\r\n"
                                 "0 7 5 2 4 1 3 8 9\r\n"
                                 "0 0 0 5 8 4 6 9 7\r\n"
                                 "0 0 0 4 6 3 5 0 0\r\n"
                                 "0 0 0 8 9 6 7 0 0\r\n"
                                 "0 3 9 6 7 5 8 0 0\r\n"
                                 "0 1 8 3 5 2 4 7 9\r\n"
                                 "0 0 0 0 0 8 9 0 8\r\n"
                                 "[/SOMADO]\r\n";
    return QByteArray(CTexto, sizeof(CTexto) - 1);
}

QStringList LinhasDoExemplo() {
    QStringList linhas = QString::fromLatin1(BytesDoExemplo()).split(QStringLiteral("\r\n"));
    linhas.removeLast(); // the piece after the last line end
    return linhas;
}

TSomadoBoard TabuleiroDoExemplo() {
    static constexpr std::array<const char*, 9> CTipos{
        "BPBPPBBBB", "BEPEEPPPP", "PEEEEEEEE", "BBPEEEEEE", "BBPEEEEBB",
        "BPPEEEEBB", "PEEEEEEBP", "PEEEEEEEE", "BBBBPEEBE",
    };
    struct TPista {
        int32_t Row, Col, Right, Down;
    };
    static constexpr std::array<TPista, 17> CPistas{{
        {0, 1, 0, 16},
        {0, 3, 0, 29},
        {0, 4, 0, 42},
        {1, 2, 4, 0},
        {1, 5, 0, 29},
        {1, 6, 0, 42},
        {1, 7, 0, 17},
        {1, 8, 0, 16},
        {2, 0, 39, 0},
        {3, 2, 39, 0},
        {4, 2, 18, 0},
        {5, 1, 0, 4},
        {5, 2, 30, 17},
        {6, 0, 38, 0},
        {6, 8, 0, 17},
        {7, 0, 39, 0},
        {8, 4, 17, 0},
    }};
    static constexpr std::array<const char*, 9> CSolucao{
        "000000000", "090130000", "075241389", "000584697", "000463500",
        "000896700", "039675800", "018352479", "000008908",
    };

    TSomadoBoard board(9);
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 9; ++c) {
            TSomadoCell cell;
            switch (CTipos[r][c]) {
            case 'P':
                cell.CellType = TCellType::ctClue;
                break;
            case 'E':
                cell.CellType = TCellType::ctEmpty;
                break;
            default:
                cell.CellType = TCellType::ctBlack;
            }
            cell.Solution = CSolucao[r][c] - '0';
            board.SetCell(r, c, cell);
        }
    for (const TPista& pista : CPistas) {
        TSomadoCell cell = board.GetCell(pista.Row, pista.Col);
        cell.RightSum = pista.Right;
        cell.DownSum = pista.Down;
        board.SetCell(pista.Row, pista.Col, cell);
    }
    return board;
}

TSomadoCell CelulaGerada(int32_t N, int32_t ARow, int32_t ACol) {
    TSomadoCell cell;
    switch ((ARow * 7 + ACol * 3) % 5) {
    case 0:
        cell.CellType = TCellType::ctBlack;
        break;
    case 1:
        cell.CellType = TCellType::ctClue;
        cell.RightSum = (ARow * 31 + ACol * 17) % 46;
        cell.DownSum = (ARow * 13 + ACol * 29) % 46;
        break;
    default:
        cell.CellType = TCellType::ctEmpty;
        cell.Value = (ARow * ACol) % 10;
        cell.Solution = (ARow + 2 * ACol) % 9 + 1;
    }
    // The ends of every playable range.
    if (ARow == 0 && ACol == N - 1) {
        cell.RightSum = 45;
        cell.DownSum = 0;
    }
    return cell;
}

TSomadoBoard TabuleiroGerado(int32_t N, TNivelDificuldade ANivel, int32_t AScore) {
    TSomadoBoard board(N);
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            board.SetCell(r, c, CelulaGerada(N, r, c));
    board.SetDifficulty(ANivel);
    board.SetDifficultyScore(AScore);
    return board;
}

QStringList LinhasGeradas(int32_t N, const QString& ACabecalho) {
    using TTextoDaCelula = std::function<std::string(const TSomadoCell&)>;
    const std::array<std::pair<const char*, TTextoDaCelula>, 5> CSeccoes{{
        {"TIPO",
         [](const TSomadoCell& cell) {
             static constexpr std::array<const char*, 3> CLetras{"B", "P", "E"};
             return std::string(CLetras[static_cast<size_t>(cell.CellType)]);
         }},
        {"RIGHTSUM", [](const TSomadoCell& cell) { return std::to_string(cell.RightSum); }},
        {"DOWNSUM", [](const TSomadoCell& cell) { return std::to_string(cell.DownSum); }},
        {"VALUE", [](const TSomadoCell& cell) { return std::to_string(cell.Value); }},
        {"SOLUTION", [](const TSomadoCell& cell) { return std::to_string(cell.Solution); }},
    }};
    QStringList linhas{ACabecalho};
    for (const auto& [nome, texto] : CSeccoes) {
        linhas << QString::fromLatin1(nome);
        for (int32_t r = 0; r < N; ++r) {
            std::string fila;
            for (int32_t c = 0; c < N; ++c) {
                if (c > 0) fila += ' ';
                fila += texto(CelulaGerada(N, r, c));
            }
            linhas << QString::fromStdString(fila);
        }
    }
    linhas << QStringLiteral("[/SOMADO]");
    return linhas;
}

QString CabecalhoNormal(int32_t N, int32_t ANivel, int32_t AScore) {
    return QStringLiteral("[SOMADO tamanho=%1 dificuldade=%2 score=%3]")
        .arg(N)
        .arg(ANivel)
        .arg(AScore);
}

qsizetype LinhaDoTitulo(int32_t N, TSeccao ASeccao) {
    return 1 + ASeccao * (N + 1);
}

qsizetype LinhaDaFila(int32_t N, TSeccao ASeccao, int32_t ARow) {
    return LinhaDoTitulo(N, ASeccao) + 1 + ARow;
}

QStringList ComLinha(QStringList ALinhas, qsizetype AIndice, const QString& ANova) {
    ALinhas[AIndice] = ANova;
    return ALinhas;
}

QStringList PrimeirasLinhas(const QStringList& ALinhas, qsizetype AQuantas) {
    return ALinhas.mid(0, AQuantas);
}

QByteArray JuntarLinhas(const QStringList& ALinhas, const char* AFimDeLinha) {
    QByteArray texto;
    for (const QString& linha : ALinhas)
        texto += linha.toLatin1() + AFimDeLinha;
    return texto;
}

void EsperarMesmoTabuleiro(const TSomadoBoard& AEsperado, const TSomadoBoard& AObtido) {
    ASSERT_EQ(AObtido.Size(), AEsperado.Size());
    EXPECT_EQ(AObtido.Difficulty(), AEsperado.Difficulty());
    EXPECT_EQ(AObtido.DifficultyScore(), AEsperado.DifficultyScore());
    EXPECT_TRUE(AObtido.HorizontalGroups().empty());
    EXPECT_TRUE(AObtido.VerticalGroups().empty());
    for (int32_t r = 0; r < AEsperado.Size(); ++r)
        for (int32_t c = 0; c < AEsperado.Size(); ++c)
            EXPECT_EQ(AObtido.GetCell(r, c), AEsperado.GetCell(r, c))
                << "cell (" << r << ", " << c << ")";
}

std::string MensagemDoErro(const std::function<void()>& AAcao) {
    try {
        AAcao();
    } catch (const ESomadoError& e) {
        return e.what();
    }
    return "(sem erro)";
}
