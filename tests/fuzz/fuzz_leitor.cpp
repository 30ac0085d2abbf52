// libFuzzer target for the puzzle file reader: any bytes either give a board or the reader's
// own error; anything else (a crash, another exception, a sanitizer report, a hang) is a bug.
#include "io/UnitSomadoFicheiro.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
    const QByteArray bytes(reinterpret_cast<const char*>(ADados), static_cast<qsizetype>(ATamanho));
    try {
        const auto board = LerPuzzle(LinhasDoTexto(bytes));
        // A board that opened must also write back without trouble.
        (void)TextoDoPuzzle(*board);
    } catch (const ESomadoError&) {}
    return 0;
}
