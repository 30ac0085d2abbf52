// The player's record, per board size and level: how many boards were finished, the best time
// and the median time. Only boards finished without "Dica" and without "Ver Solução" belong
// here; the game decides that before it calls RegistarFim.
//
// The record lives in a small text file in the user's data folder, written as every save is
// (GravacaoSegura). A file that cannot be read is never fatal: it is put aside under another
// name, the player is told, and the record starts again from nothing.
#pragma once

#include "model/UnitSomado.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>

// The sides the program offers, smallest first: the rows of the statistics window.
inline constexpr std::array<int32_t, 7> CLadosDasEstatisticas{6, 9, 12, 15, 16, 20, 25};
inline constexpr int32_t CNiveisDasEstatisticas = 4;

// Times kept per size and level. The median is taken over these, the most recent; the count
// and the best time cover every board ever finished. A thousand keeps the file at a few
// hundred kilobytes even if every combination is full.
inline constexpr qsizetype CTemposGuardados = 1000;
// A thousand hours, as the saved game's clock allows; a longer time is no time this program
// measured.
inline constexpr int64_t CTempoMaximoEstatisticasMs = 3600LL * 1000 * 1000;
// The largest file the reader looks at: the fullest possible file is about 300 KB.
inline constexpr qint64 CTamanhoMaximoEstatisticas = 1024 * 1024;

class TEstatisticas {
public:
    // MelhorMs and MedianaMs are 0 while Resolvidos is 0.
    struct TResumo {
        int32_t Resolvidos = 0;
        int64_t MelhorMs = 0;
        int64_t MedianaMs = 0;

        bool operator==(const TResumo&) const = default;
    };

    // "estatisticas.txt" in the user's data folder for this program (on Linux
    // ~/.local/share/Somado, on Windows %APPDATA%\Somado): the application's name must be set
    // first. The folder is made by Gravar, not here. Empty when the system names no such
    // folder.
    static QString CaminhoPredefinido();

    // Replaces the record with the file's. A missing file is an empty record (true, no
    // warning). A damaged one (not this format, binary, too large, a folder, a FIFO or a
    // device, unreadable) is renamed beside itself with ".danificado-" and the date and time,
    // the record starts empty, and AAviso says so in Portuguese (false). Never reads more than
    // CTamanhoMaximoEstatisticas, and never opens anything but a regular file.
    bool Carregar(const QString& ACaminho, QString& AAviso);
    // Writes the whole record, making the folder when it is missing. Raises ESomadoError, in
    // Portuguese, when it cannot; the old file then keeps its bytes.
    void Gravar(const QString& ACaminho) const;

    // One board finished in ATempoMs. True when that is the best time for the size and level
    // (the first finish is); a tie is not a new best. A size or level the program does not
    // offer, or a time outside 0 .. CTempoMaximoEstatisticasMs, is not recorded (false).
    bool RegistarFim(int32_t ALado, TNivelDificuldade ANivel, int64_t ATempoMs);
    // The median of an even number of times is the mean of the middle two, rounded to the
    // nearest millisecond, halves to the even one.
    TResumo Resumo(int32_t ALado, TNivelDificuldade ANivel) const;

    bool Vazia() const;
    void Limpar();

    // The file's bytes, and reading them back: false with the reason (a Portuguese phrase to
    // follow a colon) when they are not a record; the record is then left as it was.
    QByteArray Texto() const;
    bool LerTexto(const QByteArray& ABytes, QString& AMotivo);

private:
    struct TRegisto {
        int32_t Resolvidos = 0;
        int64_t MelhorMs = 0;
        // The most recent times, oldest first.
        std::deque<int64_t> Tempos;
    };
    // Position of the size and level in FRegistos; -1 when the program offers no such pair.
    static int Indice(int32_t ALado, TNivelDificuldade ANivel);

    std::array<TRegisto, CLadosDasEstatisticas.size() * CNiveisDasEstatisticas> FRegistos;
};
