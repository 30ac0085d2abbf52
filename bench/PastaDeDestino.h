// The folder the tools write into. It is made before any long work, and what cannot be made
// is said in the words of the program's own saves (GravacaoSegura.h), so that a run fails at
// once rather than after minutes of generation.
#pragma once

#include <QDir>
#include <QString>

// Makes APasta and the folders above it that are missing; raises ESomadoError naming the
// folder and saying why, in Portuguese, when it cannot be made or a file stands in its place.
QDir CriarPastaDeDestino(const QString& APasta);
