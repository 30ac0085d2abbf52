// Qt's file dialog and the user's QtProject.conf: whatever that file is (missing, a FIFO, a
// huge file), the program's dialogs open and close without reading or writing it. Each case
// starts the application in a child process, with a configuration folder of its own.
#include "io/ProcessoFilho.h"
#include "ui/Arranque.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>

namespace {

// Starts the application as the program does, opens and closes a file dialog, and says
// "fechado" when done.
std::string AbrirEFecharDialogo(const QString& AConfiguracao) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(AConfiguracao));
    qputenv("HOME", QFile::encodeName(AConfiguracao));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char nome[] = "somado";
    char* argv[] = {nome, nullptr};
    TAplicacaoSomado aplicacao(argc, argv);
    PrepararAplicacao(aplicacao);
    {
        QFileDialog dialogo;
        dialogo.setOption(QFileDialog::DontUseNativeDialog);
        dialogo.setDirectory(AConfiguracao);
        dialogo.show();
        QApplication::processEvents();
        dialogo.close();
    }
    return "fechado";
}

struct TEstadoFicheiro {
    bool Existe;
    qint64 Tamanho;
    QDateTime Modificado;
    bool operator==(const TEstadoFicheiro&) const = default;
};

TEstadoFicheiro Estado(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    return {info.exists(), info.size(), info.lastModified()};
}

struct TCaso {
    const char* Nome;
    std::function<void(const QString&)> Preparar;
};

void PrintTo(const TCaso& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class uiHistoricoDialogos : public ::testing::TestWithParam<TCaso> {};

} // namespace

TEST_P(uiHistoricoDialogos, TheDialogNeitherHangsOnNorChangesTheUsersQtProjectConf) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString conf = pasta.filePath("QtProject.conf");
    GetParam().Preparar(conf);
    const TEstadoFicheiro antes = Estado(conf);
    TOpcoesFilho opcoes;
    opcoes.Prazo = 20;
    const auto resultado = NoFilho([&] { return AbrirEFecharDialogo(pasta.path()); }, opcoes);
    ASSERT_TRUE(resultado.has_value()) << "the program hung or died at its first dialog";
    EXPECT_EQ(*resultado, "fechado");
    EXPECT_TRUE(Estado(conf) == antes) << "QtProject.conf was written";
}

INSTANTIATE_TEST_SUITE_P(
    Conf, uiHistoricoDialogos,
    ::testing::Values(TCaso{"Missing", [](const QString&) {}},
                      TCaso{"Fifo",
                            [](const QString& ACaminho) {
                                ASSERT_EQ(::mkfifo(QFile::encodeName(ACaminho).constData(), 0600),
                                          0);
                            }},
                      TCaso{"Huge",
                            [](const QString& ACaminho) {
                                QFile ficheiro(ACaminho);
                                ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly));
                                QByteArray linhas = "[FileDialog]\n";
                                for (int i = 0; i < 100000; ++i)
                                    linhas += "chave" + QByteArray::number(i) + "=valor\n";
                                for (int i = 0; i < 10; ++i)
                                    ASSERT_EQ(ficheiro.write(linhas), linhas.size());
                            }}),
    [](const ::testing::TestParamInfo<TCaso>& AInfo) { return AInfo.param.Nome; });
#else
// On Windows Qt keeps the dialog's history in the registry, not in a file a FIFO or a huge file
// could stand in for.
TEST(uiHistoricoDialogos, TheDialogNeitherHangsOnNorChangesTheUsersQtProjectConf) {
    GTEST_SKIP() << "Qt's settings live in the registry on Windows: no QtProject.conf to attack";
}
#endif
