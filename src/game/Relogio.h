// The play clock: the time spent on one board. It runs only while the game says it should
// (a board in play, not finished, the window not minimised), so it is told again after every
// change that may stop or start it.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class TRelogio {
public:
    // The clock's source, in milliseconds from any fixed point; none for a monotonic clock of
    // the process. The time already counted is kept.
    void DefinirFonte(std::function<int64_t()> AFonte);
    int64_t TempoMs() const;
    // Starts from AAcumuladoMs, standing until Acertar lets it run.
    void Repor(int64_t AAcumuladoMs);
    // Starts or stops the running stretch as ADeveCorrer asks.
    void Acertar(bool ADeveCorrer);

    // Minutes and seconds ("12:05"), with hours in front past the hour ("1:02:05").
    static QString Texto(int64_t AMilissegundos);

private:
    std::function<int64_t()> FFonte;
    int64_t FAcumuladoMs = 0;
    // Where the running stretch started, or -1 while the clock stands.
    int64_t FInicioTrechoMs = -1;
};
