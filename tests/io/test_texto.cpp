// Decoding and line splitting: files that went through another editor must still open.
#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

QByteArray Bytes(std::string_view ATexto) {
    return QByteArray(ATexto.data(), static_cast<qsizetype>(ATexto.size()));
}

// UTF-16 with its byte-order mark, encoded here by hand so the test does not lean on the
// decoder it checks.
QByteArray Utf16ComMarca(std::u16string_view ATexto, bool AGrandeEndian) {
    QByteArray bytes;
    const auto juntar = [&bytes, AGrandeEndian](char16_t AUnidade) {
        const char alto = static_cast<char>(AUnidade >> 8);
        const char baixo = static_cast<char>(AUnidade & 0xFF);
        bytes += AGrandeEndian ? alto : baixo;
        bytes += AGrandeEndian ? baixo : alto;
    };
    juntar(u'\uFEFF');
    for (const char16_t unidade : ATexto)
        juntar(unidade);
    return bytes;
}

std::u16string Utf16DoLatin1(const QByteArray& ABytes) {
    std::u16string texto;
    for (const char byte : ABytes)
        texto += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return texto;
}

struct TCasoTexto {
    const char* Nome;
    QByteArray Bytes;
    QStringList Linhas;
};

std::vector<TCasoTexto> CasosDeTexto() {
    const QString acao = QString::fromUtf16(u"a\u00E7\u00E3o"); // "ação"
    return {
        // Line ends
        {"CrLf", Bytes("a\r\nb\r\n"), {"a", "b"}},
        {"LfOnly", Bytes("a\nb\n"), {"a", "b"}},
        {"CrOnly", Bytes("a\rb\r"), {"a", "b"}},
        {"MixedEnds", Bytes("a\rb\nc\r\nd\r\n"), {"a", "b", "c", "d"}},
        {"LastLineWithoutEnd", Bytes("a\r\nb"), {"a", "b"}},
        {"EmptyLineInside", Bytes("a\r\n\r\nb\r\n"), {"a", "", "b"}},
        {"LfThenCrIsTwoEnds", Bytes("a\n\rb"), {"a", "", "b"}},
        {"CrThenCrLfIsTwoEnds", Bytes("a\r\r\nb"), {"a", "", "b"}},
        {"EmptyLastLineKept", Bytes("a\r\n\r\n"), {"a", ""}},
        {"OnlyALineEnd", Bytes("\r\n"), {""}},
        {"NoBytes", QByteArray(), {}},
        {"BlanksKept", Bytes(" a \t\r\n"), {" a \t"}},
        // Encodings
        {"Utf8WithMark",
         Bytes("\xEF\xBB\xBF"
               "a\xC3\xA7\xC3\xA3o\r\nb"),
         {acao, "b"}},
        {"Utf8MarkAlone", Bytes("\xEF\xBB\xBF"), {}},
        {"Utf8WithoutMark", Bytes("a\xC3\xA7\xC3\xA3o\nb"), {acao, "b"}},
        {"Latin1", Bytes("a\xE7\xE3o\nb"), {acao, "b"}},
        {"Utf8CutShortIsLatin1", Bytes("b\na\xC3"), {"b", QString::fromUtf16(u"a\u00C3")}},
        {"Utf16LittleEndian", Utf16ComMarca(u"a\u00E7\u00E3o\r\nb", false), {acao, "b"}},
        {"Utf16BigEndian", Utf16ComMarca(u"a\u00E7\u00E3o\rb\r", true), {acao, "b"}},
        // What follows a mark is all content: a second mark stays, and a character cut short
        // at the end shows as a replacement character instead of silently vanishing.
        {"SecondMarkIsContent",
         Bytes("\xEF\xBB\xBF"
               "\xEF\xBB\xBF"
               "a"),
         {QChar(0xFEFF) + QStringLiteral("a")}},
        {"Utf8MarkThenCutShort",
         Bytes("\xEF\xBB\xBF"
               "b\na\xC3"),
         {"b", QString::fromUtf16(u"a\uFFFD")}},
        {"Utf16OddLastByte",
         Utf16ComMarca(u"b\na", false) + Bytes("c"),
         {"b", QString::fromUtf16(u"a\uFFFD")}},
        {"Utf16BeyondLatin1",
         Utf16ComMarca(u"\u20AC\n\u4E2D", false),
         {QString::fromUtf16(u"\u20AC"), QString::fromUtf16(u"\u4E2D")}},
    };
}

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TCasoTexto& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioLinhasDoTexto : public ::testing::TestWithParam<TCasoTexto> {};

} // namespace

TEST_P(ioLinhasDoTexto, DecodesAndSplitsIntoLines) {
    EXPECT_EQ(LinhasDoTexto(GetParam().Bytes), GetParam().Linhas);
}

INSTANTIATE_TEST_SUITE_P(Texts, ioLinhasDoTexto, ::testing::ValuesIn(CasosDeTexto()),
                         [](const ::testing::TestParamInfo<TCasoTexto>& AInfo) {
                             return AInfo.param.Nome;
                         });

namespace {

struct TCasoVariante {
    const char* Nome;
    std::function<QByteArray(const QByteArray&)> Transformar;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TCasoVariante& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioExemploNoutraForma : public ::testing::TestWithParam<TCasoVariante> {};

} // namespace

TEST_P(ioExemploNoutraForma, ReadsToTheSameBoard) {
    const QByteArray bytes = GetParam().Transformar(BytesDoExemplo());
    ASSERT_NE(bytes, BytesDoExemplo());
    EsperarMesmoTabuleiro(TabuleiroDoExemplo(), *LerPuzzle(LinhasDoTexto(bytes)));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ioExemploNoutraForma,
    ::testing::Values(
        TCasoVariante{"Utf8Mark", [](const QByteArray& b) { return Bytes("\xEF\xBB\xBF") + b; }},
        TCasoVariante{"Utf16LittleEndian",
                      [](const QByteArray& b) { return Utf16ComMarca(Utf16DoLatin1(b), false); }},
        TCasoVariante{"Utf16BigEndian",
                      [](const QByteArray& b) { return Utf16ComMarca(Utf16DoLatin1(b), true); }},
        TCasoVariante{"LfOnly",
                      [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\n"); }},
        TCasoVariante{"CrOnly",
                      [](const QByteArray& b) { return QByteArray(b).replace("\r\n", "\r"); }},
        TCasoVariante{"NoFinalLineEnd", [](const QByteArray& b) { return b.chopped(2); }}),
    [](const ::testing::TestParamInfo<TCasoVariante>& AInfo) { return AInfo.param.Nome; });
