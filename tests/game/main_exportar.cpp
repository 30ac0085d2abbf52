#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>

// The export flows draw PDF pages, whose text needs a QGuiApplication.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacao(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), QStringLiteral("Open Sans"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
