// Writing whole files safely, whatever they hold (a puzzle, a PDF): the old file is replaced
// only once every new byte is on disk, and every failure is an ESomadoError that names the
// file (without its folder) and says why, in Portuguese.
#pragma once

#include "model/UnitSomado.h"

#include <QByteArray>
#include <QString>

// Writes a whole file through a temporary one that replaces the old file only when every byte
// is on disk; raises ESomadoError naming the file (without its folder) and saying why, in
// Portuguese. On failure the old file keeps its bytes and no temporary file stays behind.
// A symbolic link is followed; anything but a regular file (a device, a FIFO, a folder) is
// refused. The replaced file keeps its owner, group and permissions. Where the folder
// refuses new files but the file itself may be written, or where the file has other hard
// links, the file is rewritten in place, and the old bytes are written back if the new ones
// do not fit.
void GravarFicheiroInteiro(const QString& ACaminho, const QByteArray& ABytes);
// Raises, without writing anything, the ESomadoError that GravarFicheiroInteiro would raise
// before its first byte: for work that should fail before it starts rather than at its end.
void VerificarDestino(const QString& ACaminho);
// Creates a file that does not exist yet with the bytes: false, with nothing written, when
// the name is already taken (even by another program at the same moment).
bool CriarFicheiroNovo(const QString& ACaminho, const QByteArray& ABytes);

// Renames a file that cannot be read (or a folder, or a FIFO) beside itself, with
// ".danificado-" and the date and time, never over another name, so that nothing is lost:
// the new name, or empty when it could not be moved.
QString PorDeParteComData(const QString& ACaminho);

// Whether the file's name or its whole path is longer than most file systems take.
bool NomeDemasiadoComprido(const QString& ACaminho);

// Messages show only the file's name: the folder is known to the player and makes the text
// too long for a dialog. Control characters in the name are shown visibly.
QString NomeSemPasta(const QString& ACaminho);

// Text quoted in a message: control and other invisible characters shown as visible signs
// (NUL as U+2400), and at most AMaximo characters, the rest replaced by "…". A damaged
// file can hold a megabyte on one line, which the information box would take minutes to lay
// out, and a NUL would cut the message short.
inline constexpr qsizetype CCitacaoMaxima = 40;
QString TextoCitado(const QString& ATexto, qsizetype AMaximo = CCitacaoMaxima);
