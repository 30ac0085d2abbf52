// The documents as a reader sees them, through poppler's command-line tools. They are Linux
// programs: under Windows the wine smoke test reads the exported PDF with them from outside.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#ifdef _WIN32
#define SOMADO_PRECISA_DE_POPPLER()                                                                \
    GTEST_SKIP() << "reads the PDF with poppler's command-line tools, which Windows lacks "        \
                    "(the wine smoke test checks the exported PDF with them from outside)"
#else
#define SOMADO_PRECISA_DE_POPPLER() static_cast<void>(0)
#endif

// The program's standard output; a failure, with its standard error, when it cannot run or
// fails.
inline QString Executar(const QString& APrograma, const QStringList& AArgumentos) {
    QProcess processo;
    processo.start(APrograma, AArgumentos);
    if (!processo.waitForFinished(60000) || processo.exitCode() != 0) {
        ADD_FAILURE() << APrograma.toStdString()
                      << " failed: " << processo.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(processo.readAllStandardOutput());
}
