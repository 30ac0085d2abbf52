// libFuzzer target for the puzzle file reader: any bytes either give a board or the reader's
// own error; anything else (a crash, another exception, a sanitizer report, a hang) is a bug.
// The file reader's line-at-a-time path and the whole-list path must agree, and a message
// quotes only a short piece of the file, however long its lines. The same bytes are also read
// as a game kept for recovery.
#include "io/UnitSomadoFicheiro.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The board's text, or the error's message.
std::string Resultado(const std::function<std::unique_ptr<TSomadoBoard>()>& ALer) {
    try {
        const auto board = ALer();
        // A board that opened must also write back without trouble.
        return TextoDoPuzzle(*board).toStdString();
    } catch (const ESomadoError& e) {
        // The longest fixed text plus a quote of at most 40 characters, each at most
        // "<U+XXXXX>".
        if (std::strlen(e.what()) > 600) std::abort();
        return std::string("erro: ") + e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
    const QByteArray bytes(reinterpret_cast<const char*>(ADados), static_cast<qsizetype>(ATamanho));
    const std::string porLinhas = Resultado([&] { return LerPuzzleDoTexto(bytes); });
    const std::string porLista = Resultado([&] { return LerPuzzle(LinhasDoTexto(bytes)); });
    if (porLinhas != porLista) std::abort();
    // The game's own section after the board: any bytes give marks inside the nine digits and
    // a time in range, or nothing, and at most one warning for each.
    for (const int32_t lado : {6, 9, 25}) {
        const TEstadoDoJogo estado = LerEstadoDoTexto(bytes, lado);
        if (!estado.Notas.empty() && estado.Notas.size() != static_cast<size_t>(lado * lado))
            std::abort();
        for (const uint16_t notas : estado.Notas)
            if (notas & ~CTodasAsNotas) std::abort();
        if (estado.TempoMs < 0 || estado.TempoMs > CTempoMaximoMs) std::abort();
        if (estado.Avisos.size() > 2) std::abort();
    }
    // Whatever was taken from a file that opens is saved and read back whole, without a word.
    std::unique_ptr<TSomadoBoard> board;
    try {
        board = LerPuzzleDoTexto(bytes);
    } catch (const ESomadoError&) {
        return 0;
    }
    const int32_t lado = board->Size();
    const TEstadoDoJogo estado = LerEstadoDoTexto(bytes, lado);
    const TEstadoDoJogo deNovo = LerEstadoDoTexto(TextoDoJogo(*board, estado), lado);
    // Marks left out are saved as none.
    const std::vector<uint16_t> notas =
        estado.Notas.empty() ? std::vector<uint16_t>(static_cast<size_t>(lado) * lado)
                             : estado.Notas;
    if (deNovo.Notas != notas || deNovo.TempoMs != estado.TempoMs || !deNovo.Avisos.isEmpty())
        std::abort();

    // The same bytes as a game kept for recovery: the board as above, the state as the game
    // reader's plus at most the lost name's warning, and whatever file record it gave is
    // written and read back unchanged.
    TEstadoDoJogo guardado;
    TIdentidadeFicheiro ficheiro;
    const auto recuperado = LerJogoGuardadoDoTexto(bytes, guardado, ficheiro);
    if (TextoDoPuzzle(*recuperado) != TextoDoPuzzle(*board) || guardado.Notas != estado.Notas ||
        guardado.TempoMs != estado.TempoMs || guardado.Avisos.size() > estado.Avisos.size() + 1)
        std::abort();
    TEstadoDoJogo guardadoDeNovo;
    TIdentidadeFicheiro ficheiroDeNovo;
    LerJogoGuardadoDoTexto(TextoDoJogoGuardado(*board, guardado, ficheiro), guardadoDeNovo,
                           ficheiroDeNovo);
    if (!(ficheiroDeNovo == ficheiro) || !guardadoDeNovo.Avisos.isEmpty()) std::abort();
    return 0;
}
