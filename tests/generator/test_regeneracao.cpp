// Puzzles made from fixed seeds and kept as files. Only the generator's speed may change, never
// what it makes: the same seed must give the same file, byte for byte. The generations run
// without a time budget, so no cut-off depends on the machine's speed.
//
// When a change to the generator is meant to change its puzzles, rewrite the files (and add
// those of new entries in the table below) instead of comparing, then review the diff:
//   SOMADO_REGENERAR_FIXTURES=1 build/tests/generator/test_regeneracao
#include "generator/UnitSomadoGenerator.h"
#include "io/UnitSomadoFicheiro.h"

#include <QFile>
#include <QSaveFile>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct TPuzzleGuardado {
    TTamanhoTabuleiro Tamanho;
    TNivelDificuldade Nivel;
    uint64_t Semente;
};

const char* const CNomesNiveis[] = {"facil", "medio", "dificil", "muito-dificil"};

std::string NomeDoFicheiro(const TPuzzleGuardado& APuzzle) {
    return std::to_string(LadoDoTabuleiro(APuzzle.Tamanho)) + "-" +
           CNomesNiveis[static_cast<int>(APuzzle.Nivel)] + "-" + std::to_string(APuzzle.Semente) +
           ".smd";
}

void PrintTo(const TPuzzleGuardado& APuzzle, std::ostream* ASaida) {
    *ASaida << NomeDoFicheiro(APuzzle);
}

// Set to 1 only by hand, to rewrite the kept files from the generator as it now is.
bool RegenerarFicheiros() {
    return qEnvironmentVariable("SOMADO_REGENERAR_FIXTURES") == QLatin1String("1");
}

class PuzzlesGuardados : public ::testing::TestWithParam<TPuzzleGuardado> {};

TEST_P(PuzzlesGuardados, SameSeedMakesTheSameFile) {
    const TPuzzleGuardado& guardado = GetParam();
    const QString caminho = QStringLiteral(SOMADO_PUZZLES_GUARDADOS "/") +
                            QString::fromStdString(NomeDoFicheiro(guardado));

    SemearAleatorio(guardado.Semente);
    const std::unique_ptr<TSomadoBoard> board = GerarPuzzle(guardado.Tamanho, guardado.Nivel, 0);
    ASSERT_NE(board, nullptr);
    const std::string obtido = TextoDoPuzzle(*board).toStdString();

    if (RegenerarFicheiros()) {
        QSaveFile novo(caminho);
        ASSERT_TRUE(novo.open(QIODevice::WriteOnly)) << caminho.toStdString();
        novo.write(obtido.data(), static_cast<qint64>(obtido.size()));
        ASSERT_TRUE(novo.commit()) << caminho.toStdString();
        return;
    }
    QFile ficheiro(caminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::ReadOnly)) << caminho.toStdString();
    EXPECT_EQ(obtido, ficheiro.readAll().toStdString());
}

using T = TTamanhoTabuleiro;
using N = TNivelDificuldade;

// Seeds that finish well within a second, so the whole table stays quick.
const TPuzzleGuardado CPuzzlesGuardados[] = {
    {T::tt6, N::ndFacil, 2},         {T::tt6, N::ndFacil, 3},
    {T::tt6, N::ndFacil, 4},         {T::tt6, N::ndMedio, 1},
    {T::tt6, N::ndMedio, 2},         {T::tt6, N::ndMedio, 3},
    {T::tt6, N::ndDificil, 2},       {T::tt6, N::ndDificil, 3},
    {T::tt6, N::ndDificil, 6},       {T::tt6, N::ndMuitoDificil, 1},
    {T::tt6, N::ndMuitoDificil, 2},  {T::tt6, N::ndMuitoDificil, 3},
    {T::tt9, N::ndFacil, 2},         {T::tt9, N::ndFacil, 3},
    {T::tt9, N::ndFacil, 5},         {T::tt9, N::ndMedio, 1},
    {T::tt9, N::ndMedio, 3},         {T::tt9, N::ndMedio, 6},
    {T::tt9, N::ndDificil, 3},       {T::tt9, N::ndDificil, 4},
    {T::tt9, N::ndDificil, 6},       {T::tt9, N::ndMuitoDificil, 2},
    {T::tt9, N::ndMuitoDificil, 3},  {T::tt9, N::ndMuitoDificil, 6},
    {T::tt12, N::ndFacil, 1},        {T::tt12, N::ndFacil, 3},
    {T::tt12, N::ndFacil, 6},        {T::tt12, N::ndMedio, 4},
    {T::tt12, N::ndMedio, 5},        {T::tt12, N::ndMedio, 6},
    {T::tt12, N::ndDificil, 3},      {T::tt12, N::ndDificil, 4},
    {T::tt12, N::ndDificil, 6},      {T::tt12, N::ndMuitoDificil, 1},
    {T::tt12, N::ndMuitoDificil, 2}, {T::tt12, N::ndMuitoDificil, 5},
    {T::tt15, N::ndFacil, 3},        {T::tt15, N::ndFacil, 4},
    {T::tt15, N::ndFacil, 6},        {T::tt15, N::ndMedio, 2},
    {T::tt15, N::ndMedio, 3},        {T::tt15, N::ndMedio, 4},
    {T::tt15, N::ndDificil, 1},      {T::tt15, N::ndDificil, 4},
    {T::tt15, N::ndDificil, 5},      {T::tt15, N::ndMuitoDificil, 3},
    {T::tt15, N::ndMuitoDificil, 4}, {T::tt15, N::ndMuitoDificil, 6},
    {T::tt16, N::ndDificil, 3},      {T::tt16, N::ndDificil, 5},
    {T::tt20, N::ndDificil, 3},      {T::tt20, N::ndDificil, 4},
    {T::tt25, N::ndDificil, 31},
};

std::string NomeDoCaso(const ::testing::TestParamInfo<TPuzzleGuardado>& AInfo) {
    std::string nome = NomeDoFicheiro(AInfo.param);
    nome.resize(nome.size() - 4);
    for (char& c : nome)
        if (c == '-') c = '_';
    return "N" + nome;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Sementes, PuzzlesGuardados, ::testing::ValuesIn(CPuzzlesGuardados),
                         NomeDoCaso);
