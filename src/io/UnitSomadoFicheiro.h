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
    // One sentence for the player per part of a damaged section that was left out (the marks,
    // the time); empty when the section was whole, or when the file has none. Initialised
    // here so that a state built from marks and time alone needs no third value.
    QStringList Avisos{};
};
inline constexpr uint16_t CTodasAsNotas = 0x3FE;
// The longest time a file keeps: a thousand hours. Earlier versions of the program refuse a
// larger one, and with it the marks, so the writer never goes past it.
inline constexpr int64_t CTempoMaximoMs = 3600LL * 1000 * 1000;
// The time is held between 0 and CTempoMaximoMs, so that every reader takes it back.
QStringList LinhasDoEstado(const TEstadoDoJogo& AEstado, int32_t ALado);
// The board's text followed by the game's own section.
QByteArray TextoDoJogo(const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado);

// A file as this program last read or wrote it, so that a later save can tell whether
// another program (or another copy of this one) changed it in between and would lose that
// change. Caminho is the canonical path; empty when there was no file.
struct TIdentidadeFicheiro {
    QString Caminho;
    // The name the file was reached by, absolute and without "." or "..", its links left as
    // they are: another program may make the same name lead somewhere else.
    QString CaminhoDoNome;
    // The file itself, whatever its name (device and inode); 0 where the system gives none.
    quint64 Dispositivo = 0;
    quint64 NumeroDoFicheiro = 0;
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
// Whether saving to ACaminho would replace something other than the file AIdentidade
// recorded, as that file was. When ACaminho is the name the identity was taken by: it now
// leads to another file (a symbolic link put in its place or a link that was there removed,
// a folder on the way replaced, another file renamed over it, even one with the same bytes),
// or the file's size, time or kept digest differ. When ACaminho is another name of the same
// file (a link to it, another spelling): the file was replaced, or its size, time or digest
// differ. Any other path (saving elsewhere), nothing at all under the name (the file
// deleted: a save only adds one) or an empty identity is no change.
bool AlteradoDesde(const TIdentidadeFicheiro& AIdentidade, const QString& ACaminho);

// Returns the identity of the file just written, its digest taken from the bytes written.
TIdentidadeFicheiro GravarFicheiroJogo(const QString& ACaminho, const TSomadoBoard& ABoard,
                                       const TEstadoDoJogo& AEstado);
// The game's section of a file whose board is ALado cells wide. Never fails: the marks and
// the time only help the player, so each is taken only when whole and in range (every row
// of marks, right before the time line when there is one; a time from 0 to CTempoMaximoMs),
// and a part left out of a section that is there gets its sentence in Avisos. A file
// without the section (a puzzle, a game saved before marks) gives neither, and no warning.
TEstadoDoJogo LerEstadoDoTexto(const QByteArray& ABytes, int32_t ALado);
// A game kept while it is played, for a program that is killed: the game file's text, then
// the file the game belongs to, as it was when read or saved (AFicheiro; an empty identity
// for a game that has none). Every reader of game files opens it as the game it holds.
QByteArray TextoDoJogoGuardado(const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado,
                               const TIdentidadeFicheiro& AFicheiro);
// Reads a kept game with LerFicheiroJogo's checks (ESomadoError when the board cannot be read).
// A damaged record of the file it belonged to leaves AFicheiro empty, with its warning added
// to the state's Avisos: the game itself is whole.
std::unique_ptr<TSomadoBoard> LerJogoGuardado(const QString& ACaminho, TEstadoDoJogo& AEstado,
                                              TIdentidadeFicheiro& AFicheiro);
// The same from bytes already read (the fuzzer's entry).
std::unique_ptr<TSomadoBoard> LerJogoGuardadoDoTexto(const QByteArray& ABytes,
                                                     TEstadoDoJogo& AEstado,
                                                     TIdentidadeFicheiro& AFicheiro);

// Reads board and section from one read of the file, with LerFicheiroPuzzle's checks.
// AIdentidade, when given, receives the file as it was read (the digest of the very bytes
// read, size and time from the open file); it is left alone when the reading fails.
std::unique_ptr<TSomadoBoard> LerFicheiroJogo(const QString& ACaminho, TEstadoDoJogo& AEstado,
                                              TIdentidadeFicheiro* AIdentidade = nullptr);
