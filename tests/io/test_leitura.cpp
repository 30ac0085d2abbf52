#include "ApoioSmd.h"
#include "io/GravacaoSegura.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <utility>
#include <vector>

namespace {

using TFonteDeLinhas = std::function<QStringList()>;

// The example with its header line replaced.
TFonteDeLinhas ExemploComCabecalho(const char* ACabecalho) {
    return [ACabecalho] { return ComLinha(LinhasDoExemplo(), 0, QString::fromLatin1(ACabecalho)); };
}

// The example with one row of one section replaced.
TFonteDeLinhas ExemploComFila(TSeccao ASeccao, int32_t ARow, const char* AFila) {
    return [=] {
        return ComLinha(LinhasDoExemplo(), LinhaDaFila(9, ASeccao, ARow),
                        QString::fromLatin1(AFila));
    };
}

TFonteDeLinhas ExemploComTitulo(TSeccao ASeccao, const char* ATitulo) {
    return [=] {
        return ComLinha(LinhasDoExemplo(), LinhaDoTitulo(9, ASeccao), QString::fromLatin1(ATitulo));
    };
}

struct TCasoFalha {
    const char* Nome;
    TFonteDeLinhas Linhas;
    std::string Mensagem;
};

const std::string CTruncado = "Ficheiro .smd truncado — faltam linhas.";

std::string FaltaChave(const char* AChave) {
    return Format("Cabeçalho .smd inválido — falta \"%s=\".", AChave);
}
std::string ValorVazio(const char* AChave) {
    return Format("Cabeçalho .smd inválido — valor de \"%s\" vazio.", AChave);
}
std::string ForaDoTamanho(int32_t ATamanho) {
    return Format("Tamanho de tabuleiro fora do intervalo [6..25]: %d", ATamanho);
}
std::string EstruturaErrada(const char* AEsperada, const char* AEncontrada) {
    return Format("Ficheiro .smd com a estrutura errada — esperava \"%s\", encontrei \"%s\".",
                  AEsperada, AEncontrada);
}
std::string ContagemErrada(int32_t ARow, const char* ASeccao, int32_t N) {
    return Format("Ficheiro .smd inválido — a linha %d de \"%s\" não tem %d valores.", ARow,
                  ASeccao, N);
}
std::string NaoInteiro(const char* ATexto) {
    return Format("'%s' não é um número inteiro válido.", ATexto);
}
std::string Injogavel(int32_t ARow, const char* ASeccao, int32_t ACol, const char* AMotivo) {
    return Format("Ficheiro .smd inválido — na linha %d de \"%s\", coluna %d, %s.", ARow, ASeccao,
                  ACol, AMotivo);
}
std::string TipoDesconhecido(const char* ALetra) {
    return Format("Carácter de tipo de célula desconhecido: \"%s\".", ALetra);
}

std::vector<TCasoFalha> CasosDeFalha() {
    return {
        // Header
        {"MissingScoreKey", ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=0]"),
         FaltaChave("score")},
        {"MissingSizeKey", ExemploComCabecalho("[SOMADO dificuldade=0 score=0]"),
         FaltaChave("tamanho")},
        {"KeysAreCaseSensitive", ExemploComCabecalho("[SOMADO Tamanho=9 dificuldade=0 score=0]"),
         FaltaChave("tamanho")},
        {"KeyMustBeFollowedByEquals",
         ExemploComCabecalho("[SOMADO tamanho =9 dificuldade=0 score=0]"), FaltaChave("tamanho")},
        {"LevelFour", ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=4 score=0]"),
         "Cabeçalho .smd inválido — dificuldade=4 fora do intervalo."},
        {"NegativeLevelHasNoDigits",
         ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=-1 score=0]"),
         ValorVazio("dificuldade")},
        {"BlankAfterEquals", ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=0 score= 5]"),
         ValorVazio("score")},
        {"EqualsAtLineEnd", ExemploComCabecalho("[SOMADO dificuldade=0 score=0 tamanho="),
         ValorVazio("tamanho")},
        {"SizeFive", ExemploComCabecalho("[SOMADO tamanho=5 dificuldade=0 score=0]"),
         ForaDoTamanho(5)},
        {"SizeTwentySix", ExemploComCabecalho("[SOMADO tamanho=26 dificuldade=0 score=0]"),
         ForaDoTamanho(26)},
        // The size is refused before the level is looked at ...
        {"SizeCheckedBeforeLevel", ExemploComCabecalho("[SOMADO tamanho=5 dificuldade=7 score=0]"),
         ForaDoTamanho(5)},
        // ... but all three keys are read before either is checked.
        {"AllKeysReadBeforeChecks", ExemploComCabecalho("[SOMADO tamanho=5 dificuldade=7]"),
         FaltaChave("score")},
        {"SizeTooBigFor32Bits",
         ExemploComCabecalho("[SOMADO tamanho=99999999999 dificuldade=0 score=0]"),
         NaoInteiro("99999999999")},
        {"ScoreJustPast32Bits",
         ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=0 score=2147483648]"),
         NaoInteiro("2147483648")},
        // Missing lines
        {"NoLinesAtAll", [] { return QStringList{}; }, CTruncado},
        {"EndsAfterHeader", [] { return PrimeirasLinhas(LinhasDoExemplo(), 1); }, CTruncado},
        {"EndsAfterSectionTitle", [] { return PrimeirasLinhas(LinhasDoExemplo(), 2); }, CTruncado},
        {"LastSolutionRowMissing", [] { return PrimeirasLinhas(LinhasDoExemplo(), 50); },
         CTruncado},
        // Structure
        {"LowerCaseSectionTitle", ExemploComTitulo(sTipo, "tipo"), EstruturaErrada("TIPO", "tipo")},
        {"TitleWithTrailingBlank", ExemploComTitulo(sValue, "VALUE "),
         EstruturaErrada("VALUE", "VALUE ")},
        {"SectionsSwapped", ExemploComTitulo(sRightSum, "DOWNSUM"),
         EstruturaErrada("RIGHTSUM", "DOWNSUM")},
        {"ExtraRowInSection",
         [] {
             QStringList linhas = LinhasDoExemplo();
             linhas.insert(LinhaDoTitulo(9, sDownSum), QStringLiteral("1 2 3 4 5 6 7 8 9"));
             return linhas;
         },
         EstruturaErrada("DOWNSUM", "1 2 3 4 5 6 7 8 9")},
        // Value counts
        {"EightValues", ExemploComFila(sRightSum, 3, "0 0 39 0 0 0 0 0"),
         ContagemErrada(3, "RIGHTSUM", 9)},
        {"TenValues", ExemploComFila(sSolution, 8, "0 0 0 0 0 8 9 0 8 0"),
         ContagemErrada(8, "SOLUTION", 9)},
        {"DoubledBlankMakesTenValues", ExemploComFila(sValue, 0, "0  0 0 0 0 0 0 0 0"),
         ContagemErrada(0, "VALUE", 9)},
        {"EmptyRowHasNoValues", ExemploComFila(sDownSum, 5, ""), ContagemErrada(5, "DOWNSUM", 9)},
        {"TabIsNoSeparator", ExemploComFila(sTipo, 2, "P\tE E E E E E E E"),
         ContagemErrada(2, "TIPO", 9)},
        {"CountIsTheBoardSize",
         [] {
             const QStringList linhas = LinhasGeradas(7, CabecalhoNormal(7, 1, 3));
             return ComLinha(linhas, LinhaDaFila(7, sValue, 6),
                             QStringLiteral("1 2 3 4 5 6 7 8 9"));
         },
         ContagemErrada(6, "VALUE", 7)},
        // Values
        {"EightValuesAndTrailingBlank", ExemploComFila(sRightSum, 3, "0 0 39 0 0 0 0 0 "),
         NaoInteiro("")},
        {"DoubledBlankAmongEightValues", ExemploComFila(sDownSum, 0, "0 16  29 42 0 0 0 0"),
         NaoInteiro("")},
        {"LeadingBlankInKindRow", ExemploComFila(sTipo, 0, " P B P P B B B B"),
         TipoDesconhecido("")},
        {"LowerCaseKind", ExemploComFila(sTipo, 0, "b P B P P B B B B"), TipoDesconhecido("b")},
        {"TwoLetterKind", ExemploComFila(sTipo, 8, "B B B B P E EE B E"), TipoDesconhecido("EE")},
        {"LetterInNumber", ExemploComFila(sDownSum, 0, "0 1x 0 29 42 0 0 0 0"), NaoInteiro("1x")},
        {"DecimalPoint", ExemploComFila(sSolution, 1, "0 9 0 1 3.5 0 0 0 0"), NaoInteiro("3.5")},
        {"LoneMinus", ExemploComFila(sValue, 4, "0 0 0 - 0 0 0 0 0"), NaoInteiro("-")},
        {"NumberTooBigFor32Bits", ExemploComFila(sSolution, 2, "0 7 5 2 4 1 3 8 2147483648"),
         NaoInteiro("2147483648")},
        // Values no game can hold: each named by its section, row and column.
        {"SumAbove45", ExemploComFila(sRightSum, 2, "46 0 0 0 0 0 0 0 0"),
         Injogavel(2, "RIGHTSUM", 0, "a soma 46 está fora do intervalo de 0 a 45")},
        {"NegativeSum", ExemploComFila(sRightSum, 6, "-38 0 0 0 0 0 0 0 0"),
         Injogavel(6, "RIGHTSUM", 0, "a soma -38 está fora do intervalo de 0 a 45")},
        {"SmallestInteger", ExemploComFila(sDownSum, 0, "0 -2147483648 0 29 42 0 0 0 0"),
         Injogavel(0, "DOWNSUM", 1, "a soma -2147483648 está fora do intervalo de 0 a 45")},
        {"LargestInteger", ExemploComFila(sDownSum, 1, "0 0 0 0 0 29 42 17 2147483647"),
         Injogavel(1, "DOWNSUM", 8, "a soma 2147483647 está fora do intervalo de 0 a 45")},
        {"DigitAbove9", ExemploComFila(sValue, 2, "0 42 0 0 0 0 0 0 0"),
         Injogavel(2, "VALUE", 1, "o algarismo 42 está fora do intervalo de 0 a 9")},
        {"NegativeDigit", ExemploComFila(sValue, 2, "0 0 0 0 0 0 0 0 -1"),
         Injogavel(2, "VALUE", 8, "o algarismo -1 está fora do intervalo de 0 a 9")},
        {"DigitInABlackCell", ExemploComFila(sValue, 0, "3 0 0 0 0 0 0 0 0"),
         Injogavel(0, "VALUE", 0, "a casa não é branca e não pode levar o valor 3")},
        {"DigitInAClueCell", ExemploComFila(sValue, 1, "0 0 7 0 0 0 0 0 0"),
         Injogavel(1, "VALUE", 2, "a casa não é branca e não pode levar o valor 7")},
        {"WhiteCellWithoutSolution", ExemploComFila(sSolution, 1, "0 0 0 1 3 0 0 0 0"),
         Injogavel(1, "SOLUTION", 1,
                   "a solução 0 de uma casa branca está fora do intervalo de 1 a 9")},
        {"SolutionAbove9", ExemploComFila(sSolution, 8, "0 0 0 0 0 8 9 0 10"),
         Injogavel(8, "SOLUTION", 8,
                   "a solução 10 de uma casa branca está fora do intervalo de 1 a 9")},
        {"SolutionInABlackCell", ExemploComFila(sSolution, 4, "0 0 0 4 6 3 5 0 1"),
         Injogavel(4, "SOLUTION", 8, "a casa não é branca e não pode levar o valor 1")},
    };
}

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TCasoFalha& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioLerPuzzleFalha : public ::testing::TestWithParam<TCasoFalha> {};

} // namespace

TEST_P(ioLerPuzzleFalha, RefusesWithTheExactMessage) {
    const QStringList linhas = GetParam().Linhas();
    EXPECT_EQ(MensagemDoErro([&] { LerPuzzle(linhas); }), GetParam().Mensagem);
}

INSTANTIATE_TEST_SUITE_P(Files, ioLerPuzzleFalha, ::testing::ValuesIn(CasosDeFalha()),
                         [](const ::testing::TestParamInfo<TCasoFalha>& AInfo) {
                             return AInfo.param.Nome;
                         });

namespace {

struct TCasoAceite {
    const char* Nome;
    TFonteDeLinhas Linhas;
    std::function<TSomadoBoard()> Esperado;
};

TSomadoBoard ExemploCom(TNivelDificuldade ANivel, int32_t AScore) {
    TSomadoBoard board = TabuleiroDoExemplo();
    board.SetDifficulty(ANivel);
    board.SetDifficultyScore(AScore);
    return board;
}

std::vector<TCasoAceite> CasosAceites() {
    const auto exemplo = [] { return ExemploCom(TNivelDificuldade::ndFacil, 0); };
    return {
        {"KeysInAnyOrderAmongOtherWords",
         [] {
             return LinhasGeradas(7, QStringLiteral("[X tamanho=7 score=12 dificuldade=2 extra]"));
         },
         [] { return TabuleiroGerado(7, TNivelDificuldade::ndDificil, 12); }},
        {"SmallestSize", [] { return LinhasGeradas(6, CabecalhoNormal(6, 1, 0)); },
         [] { return TabuleiroGerado(6, TNivelDificuldade::ndMedio, 0); }},
        {"LargestSize", [] { return LinhasGeradas(25, CabecalhoNormal(25, 3, 2147483647)); },
         [] { return TabuleiroGerado(25, TNivelDificuldade::ndMuitoDificil, INT32_MAX); }},
        {"ValueEndsAtFirstNonDigit",
         ExemploComCabecalho("[SOMADO tamanho=9dificuldade=1 score=77x]"),
         [] { return ExemploCom(TNivelDificuldade::ndMedio, 77); }},
        {"FirstOccurrenceOfAKeyCounts",
         ExemploComCabecalho("[SOMADO tamanho=9 dificuldade=3 score=5 score=6 tamanho=12]"),
         [] { return ExemploCom(TNivelDificuldade::ndMuitoDificil, 5); }},
        {"LeadingZeros", ExemploComCabecalho("[SOMADO tamanho=009 dificuldade=02 score=0040]"),
         [] { return ExemploCom(TNivelDificuldade::ndDificil, 40); }},
        {"NoTrailer", [] { return PrimeirasLinhas(LinhasDoExemplo(), 51); }, exemplo},
        {"OtherTrailer", [] { return ComLinha(LinhasDoExemplo(), 51, QStringLiteral("[/FIM]")); },
         exemplo},
        {"LinesAfterTrailer",
         [] {
             return LinhasDoExemplo()
                    << QStringLiteral("TIPO") << QString() << QStringLiteral("tamanho=6 lixo");
         },
         exemplo},
    };
}

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TCasoAceite& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioLerPuzzleAceita : public ::testing::TestWithParam<TCasoAceite> {};

} // namespace

TEST_P(ioLerPuzzleAceita, OpensWithTheHeaderValuesAndEveryCell) {
    const auto lido = LerPuzzle(GetParam().Linhas());
    EsperarMesmoTabuleiro(GetParam().Esperado(), *lido);
}

INSTANTIATE_TEST_SUITE_P(Files, ioLerPuzzleAceita, ::testing::ValuesIn(CasosAceites()),
                         [](const ::testing::TestParamInfo<TCasoAceite>& AInfo) {
                             return AInfo.param.Nome;
                         });

TEST(ioLerPuzzle, ReadsTheExampleIntoTheBoardBuiltCellByCell) {
    EsperarMesmoTabuleiro(TabuleiroDoExemplo(), *LerPuzzle(LinhasDoExemplo()));
}

// A plus sign the writer never writes is still a number the reader takes.
TEST(ioLerPuzzle, TakesAPlusSign) {
    QStringList linhas = LinhasDoExemplo();
    linhas[LinhaDaFila(9, sDownSum, 0)] = QStringLiteral("0 +16 0 29 42 0 0 0 0");
    EsperarMesmoTabuleiro(TabuleiroDoExemplo(), *LerPuzzle(linhas));
}

// Whatever the program itself writes opens again: the empty all-black board of a size change
// included, and a board with every digit and the solution shown.
TEST(ioLerPuzzle, EveryBoardTheProgramWritesOpensAgain) {
    for (const int32_t lado : {6, 9, 12, 15, 16, 20, 25}) {
        SCOPED_TRACE(lado);
        const TSomadoBoard vazio(lado);
        EsperarMesmoTabuleiro(vazio, *LerPuzzle(LinhasDoTexto(TextoDoPuzzle(vazio))));
    }
    TSomadoBoard cheio = TabuleiroDoExemplo();
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 9; ++c) {
            TSomadoCell cell = cheio.GetCell(r, c);
            if (cell.CellType == TCellType::ctEmpty) cell.Value = 9 - cell.Solution;
            cheio.SetCell(r, c, cell);
        }
    EsperarMesmoTabuleiro(cheio, *LerPuzzle(LinhasDoTexto(TextoDoPuzzle(cheio))));
}

TEST(ioLerValorCabecalho, TakesTheDigitsRightAfterTheFirstKeyWithEquals) {
    struct TCaso {
        const char* Linha;
        const char* Chave;
        int32_t Valor;
    };
    static constexpr std::array<TCaso, 8> CCasos{{
        {"[SOMADO tamanho=9 dificuldade=0 score=0]", "tamanho", 9},
        {"[SOMADO tamanho=9 dificuldade=3 score=0]", "dificuldade", 3},
        {"[SOMADO tamanho=9 dificuldade=0 score=1234]", "score", 1234},
        {"score=5 score=6", "score", 5},
        {"xscore=8", "score", 8},
        {"score=12abc", "score", 12},
        {"score=0007", "score", 7},
        {"score=2147483647]", "score", INT32_MAX},
    }};
    for (const TCaso& caso : CCasos)
        EXPECT_EQ(
            LerValorCabecalho(QString::fromLatin1(caso.Linha), QString::fromLatin1(caso.Chave)),
            caso.Valor)
            << caso.Linha << " / " << caso.Chave;
}

TEST(ioLerValorCabecalho, RefusesMissingKeysEmptyValuesAndOverflow) {
    struct TCaso {
        const char* Linha;
        const char* Chave;
        std::string Mensagem;
    };
    const std::array<TCaso, 7> casos{{
        {"[SOMADO tamanho=9]", "score", FaltaChave("score")},
        {"[SOMADO SCORE=9]", "score", FaltaChave("score")},
        {"[SOMADO score =9]", "score", FaltaChave("score")},
        {"[SOMADO score=]", "score", ValorVazio("score")},
        {"[SOMADO score=+3]", "score", ValorVazio("score")},
        {"score=", "score", ValorVazio("score")},
        {"score=4294967296", "score", NaoInteiro("4294967296")},
    }};
    for (const TCaso& caso : casos)
        EXPECT_EQ(MensagemDoErro([&] {
                      LerValorCabecalho(QString::fromLatin1(caso.Linha),
                                        QString::fromLatin1(caso.Chave));
                  }),
                  caso.Mensagem)
            << caso.Linha;
}

TEST(ioTextoParaInteiro, AcceptsASignAndDecimalDigitsWithin32Bits) {
    static constexpr std::array<std::pair<const char*, int32_t>, 9> CCasos{{
        {"0", 0},
        {"7", 7},
        {"45", 45},
        {"-3", -3},
        {"+12", 12},
        {"-0", 0},
        {"0042", 42},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
    }};
    for (const auto& [texto, valor] : CCasos)
        EXPECT_EQ(TextoParaInteiro(QString::fromLatin1(texto)), valor) << texto;
}

TEST(ioTextoParaInteiro, RefusesAnythingElseQuotingTheText) {
    static const std::array<QString, 14> CCasos{
        QString(),
        QStringLiteral("-"),
        QStringLiteral("+"),
        QStringLiteral(" 1"),
        QStringLiteral("1 "),
        QStringLiteral("x"),
        QStringLiteral("1x"),
        QStringLiteral("1.5"),
        QStringLiteral("--1"),
        QStringLiteral("2147483648"),
        QStringLiteral("-2147483649"),
        QStringLiteral("99999999999999999999"),
        QString::fromUtf16(u"\u0663"), // ARABIC-INDIC DIGIT THREE
        QString::fromUtf16(u"\uFF11"), // FULLWIDTH DIGIT ONE
    };
    for (const QString& texto : CCasos)
        EXPECT_EQ(MensagemDoErro([&] { TextoParaInteiro(texto); }),
                  NaoInteiro(texto.toStdString().c_str()))
            << texto.toStdString();
}

TEST(ioTipoDaLetra, ReadsTheThreeCapitalLetters) {
    for (const TCellType tipo : {TCellType::ctBlack, TCellType::ctClue, TCellType::ctEmpty})
        EXPECT_EQ(TipoDaLetra(QString::fromStdString(LetraDoTipo(tipo))), tipo);
}

TEST(ioTipoDaLetra, RefusesAnythingElseQuotingTheText) {
    static constexpr std::array<const char*, 9> CCasos{"b",  "p",  "e", "", "BB",
                                                       " B", "B ", "X", "?"};
    for (const char* texto : CCasos)
        EXPECT_EQ(MensagemDoErro([&] { TipoDaLetra(QString::fromLatin1(texto)); }),
                  TipoDesconhecido(texto))
            << texto;
}

TEST(ioTextoCitado, ShowsControlCharactersAndCutsLongText) {
    struct TCaso {
        const char* Nome;
        QString Texto;
        QString Citado;
    };
    const QString quarenta(40, u'x');
    const std::array<TCaso, 10> casos{{
        {"Plain", "VALUE ", "VALUE "},
        {"Nul", QString::fromUtf16(u"0\0", 2), QString::fromUtf16(u"0\u2400")},
        {"TabCrLf", "a\tb\r\n", QString::fromUtf16(u"a\u2409b\u240D\u240A")},
        {"Escape", "\x1b[31m", QString::fromUtf16(u"\u241B[31m")},
        {"Delete", "\x7f", QString::fromUtf16(u"\u2421")},
        {"ByteOrderMark", QChar(0xFEFF) + QStringLiteral("1"), "<U+FEFF>1"},
        {"LoneSurrogate", QString::fromUtf16(u"a") + QChar(0xD800), "a<U+D800>"},
        {"PairCountsAsOne", QString(39, u'x') + QString::fromUtf16(u"\U0001F600y"),
         QString(39, u'x') + QString::fromUtf16(u"\U0001F600\u2026")},
        {"ExactlyForty", quarenta, quarenta},
        {"FortyOne", quarenta + "y", quarenta + QChar(0x2026)},
    }};
    for (const TCaso& caso : casos)
        EXPECT_EQ(TextoCitado(caso.Texto), caso.Citado) << caso.Nome;
}

// A NUL used to end the message early: "0\0" was quoted as '0'.
TEST(ioTextoCitado, MessagesQuoteNulVisiblyAndLongLinesShort) {
    EXPECT_EQ(MensagemDoErro([] { TextoParaInteiro(QString::fromUtf16(u"0\0", 2)); }),
              "'0\u2400' não é um número inteiro válido.");
    EXPECT_EQ(MensagemDoErro([] { TipoDaLetra(QString::fromUtf16(u"B\0E", 3)); }),
              "Carácter de tipo de célula desconhecido: \"B\u2400E\".");
    const QStringList linhas =
        ComLinha(LinhasDoExemplo(), LinhaDoTitulo(9, sTipo), QString(1000000, u'T'));
    EXPECT_EQ(MensagemDoErro([&] { LerPuzzle(linhas); }),
              "Ficheiro .smd com a estrutura errada — esperava \"TIPO\", encontrei \"" +
                  std::string(40, 'T') + "\u2026\".");
}
