// Fixtures for the .smd tests: the 9 × 9 example file, a board pattern of any size whose text is
// written here without the writer, and comparisons with readable failure output.
//
// The suites are named "io..." so that `ctest -R io` picks out this folder's tests.
#pragma once

#include "io/UnitSomadoFicheiro.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

void PrintTo(const QString& ATexto, std::ostream* ASaida);
void PrintTo(const TSomadoCell& ACell, std::ostream* ASaida);

// Section order in the file.
enum TSeccao : int32_t { sTipo, sRightSum, sDownSum, sValue, sSolution };

// The 9 × 9 example exactly as the program writes it: 52 lines, each ending in CR LF.
QByteArray BytesDoExemplo();
// Its lines, cut apart without the code under test.
QStringList LinhasDoExemplo();
// The same board built cell by cell from small tables, not from the file.
TSomadoBoard TabuleiroDoExemplo();

// A playable pattern for any size with all three kinds of cell, multi-digit sums and the ends
// of every range the reader accepts.
TSomadoCell CelulaGerada(int32_t N, int32_t ARow, int32_t ACol);
TSomadoBoard TabuleiroGerado(int32_t N, TNivelDificuldade ANivel, int32_t AScore);
// The pattern's file lines with the given header line, trailer included.
QStringList LinhasGeradas(int32_t N, const QString& ACabecalho);
QString CabecalhoNormal(int32_t N, int32_t ANivel, int32_t AScore);

// Index of a section's title line, and of its row r, in an N × N file.
qsizetype LinhaDoTitulo(int32_t N, TSeccao ASeccao);
qsizetype LinhaDaFila(int32_t N, TSeccao ASeccao, int32_t ARow);

QStringList ComLinha(QStringList ALinhas, qsizetype AIndice, const QString& ANova);
QStringList PrimeirasLinhas(const QStringList& ALinhas, qsizetype AQuantas);
QByteArray JuntarLinhas(const QStringList& ALinhas, const char* AFimDeLinha);

// Size, level, score and every cell; the read board must also have no runs.
void EsperarMesmoTabuleiro(const TSomadoBoard& AEsperado, const TSomadoBoard& AObtido);

// The ESomadoError message the action throws, or "(sem erro)".
std::string MensagemDoErro(const std::function<void()>& AAcao);
