#include "game/Trabalho.h"

TTrabalho::TTrabalho(const TGeradorDePuzzles& AGerador, TPedidoLote APedido,
                     TNoCicloPrincipal ANoCicloPrincipal, std::function<void()> AAoMudar)
    : FNoCicloPrincipal(std::move(ANoCicloPrincipal)), FAvisos(std::make_shared<TAvisos>()) {
    FAvisos->AoMudar = std::move(AAoMudar);
    FCronometro.start();
    FGeracao = std::make_unique<TGeracaoLote>(AGerador, std::move(APedido), [this] { Avisar(); });
    // A request with nothing to make ends at once, with no worker to say so.
    Avisar();
}

TTrabalho::~TTrabalho() {
    FAvisos->Vivo = false;
    FGeracao.reset();
}

void TTrabalho::Avisar() {
    if (FAvisos->Pendente.exchange(true)) return;
    FNoCicloPrincipal([avisos = FAvisos] {
        // Cleared before the work is looked at, so that a change from now on sends news again.
        avisos->Pendente.store(false);
        if (avisos->Vivo && avisos->AoMudar) avisos->AoMudar();
    });
}
