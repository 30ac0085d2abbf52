// Small file helpers shared by the file tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <string>

inline void Escrever(const QString& ACaminho, const QByteArray& ABytes) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly | QIODevice::Truncate))
        << ACaminho.toStdString();
    ASSERT_EQ(ficheiro.write(ABytes), ABytes.size());
}

inline bool ComecaPor(const std::string& ATexto, const std::string& AInicio) {
    return ATexto.compare(0, AInicio.size(), AInicio) == 0;
}

// A file's bytes, or a text no file of a test holds when it cannot be opened: comparing it with
// the expected bytes then fails with a readable difference.
inline QByteArray ConteudoOuNaoAbre(const QString& ACaminho) {
    QFile ficheiro(ACaminho);
    return ficheiro.open(QIODevice::ReadOnly) ? ficheiro.readAll() : QByteArray("<não abre>");
}

// Everything in a folder, hidden and temporary files included: what a failed save left behind.
inline QStringList Nomes(const QString& APasta) {
    return QDir(APasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}
