#include <QFont>
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The tests only paint into images; no display is needed, and none may be available.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    // Same mapping as the program's start-up: the board font is not installed on Linux.
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), QStringLiteral("Open Sans"));
    return RUN_ALL_TESTS();
}
