#include "game/Relogio.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

void TRelogio::DefinirFonte(std::function<int64_t()> AFonte) {
    if (!AFonte) {
        auto cronometro = std::make_shared<QElapsedTimer>();
        cronometro->start();
        AFonte = [cronometro] { return cronometro->elapsed(); };
    }
    const int64_t decorrido = TempoMs();
    const bool corria = FInicioTrechoMs >= 0;
    FFonte = std::move(AFonte);
    Repor(decorrido);
    Acertar(corria);
}

int64_t TRelogio::TempoMs() const {
    if (FInicioTrechoMs < 0 || !FFonte) return FAcumuladoMs;
    return FAcumuladoMs + std::max<int64_t>(0, FFonte() - FInicioTrechoMs);
}

void TRelogio::Repor(int64_t AAcumuladoMs) {
    FAcumuladoMs = AAcumuladoMs;
    FInicioTrechoMs = -1;
}

void TRelogio::Acertar(bool ADeveCorrer) {
    if (ADeveCorrer && FInicioTrechoMs < 0 && FFonte) {
        FInicioTrechoMs = FFonte();
    } else if (!ADeveCorrer && FInicioTrechoMs >= 0) {
        FAcumuladoMs = TempoMs();
        FInicioTrechoMs = -1;
    }
}

QString TRelogio::Texto(int64_t AMilissegundos) {
    const int64_t segundos = std::max<int64_t>(0, AMilissegundos) / 1000;
    const int64_t h = segundos / 3600, m = segundos / 60 % 60, s = segundos % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QChar(u'0'))
            .arg(s, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar(u'0'));
}
