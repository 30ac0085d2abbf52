// Puzzle files (.smd): one board with the player's digits, as plain ASCII text with CR LF line
// ends. Every failure is reported as ESomadoError with a message fit to show to the player.
#pragma once

#include "model/UnitSomado.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>

// One letter per cell kind in the TIPO section; a value outside the enumeration writes "?",
// which the reader refuses, so a damaged board can never be read back as a different one.
std::string LetraDoTipo(TCellType ATipo);
TCellType TipoDaLetra(const QString& ALetra);

// Optional sign, then ASCII decimal digits that fit 32 bits; nothing else, not even blanks.
int32_t TextoParaInteiro(const QString& ATexto);

// Value of "AChave=" anywhere in the header line: the digits right after the '='.
int32_t LerValorCabecalho(const QString& ALinha, const QString& AChave);

// Messages show only the file's name: the folder is known to the player and makes the text
// too long for a dialog.
QString NomeSemPasta(const QString& ACaminho);

// Writing. The lines carry no line ends; TextoDoPuzzle gives the file's bytes.
QStringList LinhasDoPuzzle(const TSomadoBoard& ABoard);
QByteArray TextoDoPuzzle(const TSomadoBoard& ABoard);
// Replaces the file only once the whole text is on disk; on failure the old file is untouched.
void GravarFicheiroPuzzle(const QString& ACaminho, const TSomadoBoard& ABoard);

// Writes a whole file through a temporary one that replaces the old file only when complete;
// raises ESomadoError naming the file (without its folder) and saying why, in Portuguese.
void GravarFicheiroInteiro(const QString& ACaminho, const QByteArray& ABytes);

// Reading. Files edited by hand may come back with a BOM, another encoding or other line
// ends, so the decoding is more lenient than the writer.
QStringList LinhasDoTexto(const QByteArray& ABytes);
std::unique_ptr<TSomadoBoard> LerPuzzle(const QStringList& ALinhas);
std::unique_ptr<TSomadoBoard> LerFicheiroPuzzle(const QString& ACaminho);
