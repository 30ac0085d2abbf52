// Small file helpers shared by the file tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

inline void Escrever(const QString& ACaminho, const QByteArray& ABytes) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(ficheiro.write(ABytes), ABytes.size());
}

inline bool ComecaPor(const std::string& ATexto, const std::string& AInicio) {
    return ATexto.compare(0, AInicio.size(), AInicio) == 0;
}
