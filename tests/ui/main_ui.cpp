#include "ui/Arranque.h"

#include <gtest/gtest.h>

// The windows under test start exactly as the program's do: same fonts, translations and
// style sheet, so a test cannot see a window the user never gets.
int main(int argc, char** argv) {
#ifndef _WIN32
    // Qt for Windows has no offscreen platform: there the tests draw with the windows one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TAplicacaoSomado aplicacao(argc, argv);
    PrepararAplicacao(aplicacao);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
