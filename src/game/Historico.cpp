#include "game/Historico.h"

#include <utility>

void THistoricoJogadas::Limpar() {
    FDesfazer.clear();
    FRefazer.clear();
}

void THistoricoJogadas::Registar(TPassoHistorico APasso) {
    if (APasso.Mudancas.empty() && APasso.Notas.empty()) return;
    FDesfazer.push_back(std::move(APasso));
    FRefazer.clear();
}

namespace {

bool Mover(std::vector<TPassoHistorico>& ADe, std::vector<TPassoHistorico>& APara,
           TPassoHistorico& APasso) {
    if (ADe.empty()) return false;
    APasso = std::move(ADe.back());
    ADe.pop_back();
    APara.push_back(APasso);
    return true;
}

} // namespace

bool THistoricoJogadas::Desfazer(TPassoHistorico& APasso) {
    return Mover(FDesfazer, FRefazer, APasso);
}

bool THistoricoJogadas::Refazer(TPassoHistorico& APasso) {
    return Mover(FRefazer, FDesfazer, APasso);
}
