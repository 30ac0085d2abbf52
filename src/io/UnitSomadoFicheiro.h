// Puzzle files (.smd): one board with the player's digits, as plain ASCII text with CR LF line
// ends. Every failure is reported as ESomadoError with a message fit to show to the player.
#pragma once

#include "model/UnitSomado.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One letter per cell kind in the TIPO section; a value outside the enumeration writes "?",
// which the reader refuses, so a damaged board can never be read back as a different one.
std::string LetraDoTipo(TCellType ATipo);
TCellType TipoDaLetra(const QString& ALetra);

// Optional sign, then ASCII decimal digits that fit 32 bits; nothing else, not even blanks.
int32_t TextoParaInteiro(const QString& ATexto);

// Value of "AChave=" anywhere in the header line: the digits right after the '='.
int32_t LerValorCabecalho(const QString& ALinha, const QString& AChave);

// Writing. The lines carry no line ends; TextoDoPuzzle gives the file's bytes.
QStringList LinhasDoPuzzle(const TSomadoBoard& ABoard);
QByteArray TextoDoPuzzle(const TSomadoBoard& ABoard);
// Replaces the file only once the whole text is on disk (GravarFicheiroInteiro); on failure
// the old file is untouched.
void GravarFicheiroPuzzle(const QString& ACaminho, const TSomadoBoard& ABoard);

// The largest file the reader looks at. The largest valid puzzle, 25 × 25 with every value
// at its widest ("-2147483648"), is 5 × 25 rows of 25 × 12 bytes plus a few short lines:
// under 38 KB, twice that in UTF-16. 1 MiB leaves room for anything an editor may add after
// the last row, yet keeps a wrong file (a film, a disk image, /dev/zero) from being read
// into memory.
inline constexpr qint64 CTamanhoMaximoFicheiro = 1024 * 1024;

// Reading. Files edited by hand may come back with a BOM, another encoding or other line
// ends, so the decoding is more lenient than the writer.
QStringList LinhasDoTexto(const QByteArray& ABytes);
std::unique_ptr<TSomadoBoard> LerPuzzle(const QStringList& ALinhas);
// The file's bytes straight to a board: lines are cut one at a time as the reader asks for
// them, so a file of a million empty lines costs no more memory than its text.
std::unique_ptr<TSomadoBoard> LerPuzzleDoTexto(const QByteArray& ABytes);
// Refuses, before reading, anything that is not a regular file or is larger than
// CTamanhoMaximoFicheiro; never reads more than that.
std::unique_ptr<TSomadoBoard> LerFicheiroPuzzle(const QString& ACaminho);

// What a game in progress keeps beside the board: the pencil marks (bit d set for candidate
// d, one entry per cell, row by row) and the time played. Written after the board's last
// line, where readers of the board stop reading, so any reader still opens the file.
struct TEstadoDoJogo {
    std::vector<uint16_t> Notas;
    int64_t TempoMs = 0;
};
inline constexpr uint16_t CTodasAsNotas = 0x3FE;
QStringList LinhasDoEstado(const TEstadoDoJogo& AEstado, int32_t ALado);
// The board's text followed by the game's own section.
QByteArray TextoDoJogo(const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado);

// A file as this program last read or wrote it, so that a later save can tell whether
// another program (or another copy of this one) changed it in between and would lose that
// change. Caminho is the canonical path; empty when there was no file.
struct TIdentidadeFicheiro {
    QString Caminho;
    qint64 Tamanho = 0;
    QDateTime Modificado;
    // A same-size write within the file system's clock tick keeps size and time: the content
    // tells it apart. Empty when the file was too large to keep reading, or no regular file.
    QByteArray Resumo;

    bool operator==(const TIdentidadeFicheiro&) const = default;
};
// Game files are a few kilobytes; anything much larger is not read again just to compare.
inline constexpr qint64 CMaximoParaResumo = 16 * 1024 * 1024;
// The file as it is now. A FIFO or a device is never read (that would block or never end):
// it gets no digest.
TIdentidadeFicheiro IdentidadeDoFicheiro(const QString& ACaminho);
// Whether the file at ACaminho is no longer the one AIdentidade recorded: its size or time
// differ or, when they agree, a kept digest does not. An empty identity, or a path that now
// leads to another file or to none, is no change: nothing read or written here would be lost.
bool AlteradoDesde(const TIdentidadeFicheiro& AIdentidade, const QString& ACaminho);

// Returns the identity of the file just written, its digest taken from the bytes written.
TIdentidadeFicheiro GravarFicheiroJogo(const QString& ACaminho, const TSomadoBoard& ABoard,
                                       const TEstadoDoJogo& AEstado);
// The game's section of a file whose board is ALado cells wide. The marks only help the
// player, so a missing or damaged section gives no marks and no time rather than losing the
// board: every row and the time line must be whole and in range, or none of it is taken.
TEstadoDoJogo LerEstadoDoTexto(const QByteArray& ABytes, int32_t ALado);
// Reads board and section from one read of the file, with LerFicheiroPuzzle's checks.
// AIdentidade, when given, receives the file as it was read (the digest of the very bytes
// read, size and time from the open file); it is left alone when the reading fails.
std::unique_ptr<TSomadoBoard> LerFicheiroJogo(const QString& ACaminho, TEstadoDoJogo& AEstado,
                                              TIdentidadeFicheiro* AIdentidade = nullptr);
