#include "ui/Arranque.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TAplicacaoSomado aplicacao(argc, argv);
    PrepararFontes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
