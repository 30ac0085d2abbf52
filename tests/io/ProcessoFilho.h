// Runs a piece of a test in a child process, where it may lower its own limits or give up
// root without touching the rest of the test program, and where a hang can be cut short.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct TOpcoesFilho {
    // Seconds before the child is killed; a child that needs them has hung.
    int Prazo = 60;
    // When the tests run as root, the child becomes the user "nobody" first, so that
    // permission bits stop it as they stop a player.
    bool SemPrivilegios = false;
    // Largest file the child may write (RLIMIT_FSIZE), with SIGXFSZ ignored so that a write
    // past it fails with EFBIG instead of killing the child; 0 leaves the limit alone.
    long LimiteFicheiro = 0;
};

// What AAccao returned in the child, or nothing when the child hung or died.
std::optional<std::string> NoFilho(const std::function<std::string()>& AAccao,
                                   const TOpcoesFilho& AOpcoes = {});

// Windows has no fork(), no per-process file size limit and no "nobody": there NoFilho runs the
// piece in this process, and a test that needs a limit or fewer privileges skips, saying why.
#ifdef _WIN32
#define SOMADO_PRECISA_DE_LIMITES_NO_FILHO()                                                       \
    GTEST_SKIP() << "Windows has no fork(), no per-process file size limit (RLIMIT_FSIZE) "        \
                    "and no user \"nobody\": this case runs on Linux only"
#else
#define SOMADO_PRECISA_DE_LIMITES_NO_FILHO() static_cast<void>(0)
#endif

// The uid and gid of "nobody", used by SemPrivilegios.
inline constexpr unsigned CNinguem = 65534;
