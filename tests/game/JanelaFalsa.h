// A window for the game's flows: it records what the game tells and asks it, and plays the
// window's thread for the game's long work.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

class TJanelaFalsa : public IJanelaJogo {
public:
    // The game whose state the notifications are read from; the fixture sets it.
    const TJogo* Jogo = nullptr;

    // What the window shows, read again at every notification as the real window does.
    QStringList Informacao;
    QString LegendaVerSolucao = QStringLiteral("Ver Solução");
    QString LegendaTamanho;
    int32_t Row = 0, Col = 0;
    bool EmEspera = false, EmLote = false;
    // How often each thing was redone.
    int Configuracoes = 0, Repinturas = 0, Focos = 0, Esperas = 0, Lotes = 0;
    std::vector<uint32_t> Mudancas;
    // Every report shown while long work ran, for the progress lines.
    QStringList TodaAInformacao;

    void Mudou(uint32_t AMudancas) override {
        Mudancas.push_back(AMudancas);
        if (!Jogo) return;
        if (AMudancas & mGrelha) ++Configuracoes;
        if (AMudancas & (mTabuleiro | mCursor | mGrelha)) ++Repinturas;
        if (AMudancas & mFoco) ++Focos;
        Row = Jogo->Cursor().Row;
        Col = Jogo->Cursor().Col;
        if (AMudancas & mInformacao) {
            Informacao = Jogo->Informacao();
            if (Jogo->Ocupacao() != TOcupacao::Livre) TodaAInformacao << Informacao;
        }
        if (AMudancas & mLegendas) {
            LegendaVerSolucao = Jogo->LegendaVerSolucao();
            LegendaTamanho = Jogo->LegendaTamanho();
        }
        if (AMudancas & mOcupacao) {
            const bool espera = Jogo->Ocupacao() == TOcupacao::AGerar;
            const bool lote = Jogo->Ocupacao() == TOcupacao::EmLote;
            Esperas += espera && !EmEspera;
            Lotes += lote && !EmLote;
            EmEspera = espera;
            EmLote = lote;
        }
    }

    // The window's thread: what the workers hand over waits here until the test runs it.
    void NoCicloPrincipal(std::function<void()> AAccao) override {
        {
            std::lock_guard bloqueio(FMutex);
            FPendentes.push_back(std::move(AAccao));
        }
        FChegou.notify_all();
    }
    // What the user does each time the window's thread turns while long work runs.
    std::function<void()> DuranteEventos;
    int EventosProcessados = 0;
    // Runs what the workers hand over, as the window's event loop would, until the game's
    // long work has ended; false when it did not end within the time.
    bool EsperarTrabalho(std::chrono::seconds AMaximo = std::chrono::seconds(60)) {
        const auto limite = std::chrono::steady_clock::now() + AMaximo;
        while (Jogo && Jogo->Ocupacao() != TOcupacao::Livre) {
            ++EventosProcessados;
            if (DuranteEventos) DuranteEventos();
            if (std::chrono::steady_clock::now() > limite) {
                ADD_FAILURE() << "the long work did not end";
                return false;
            }
            // The loop turns now and then even when nothing arrives, as a window's does.
            std::function<void()> accao;
            {
                std::unique_lock bloqueio(FMutex);
                if (!FChegou.wait_for(bloqueio, std::chrono::milliseconds(15),
                                      [this] { return !FPendentes.empty(); }))
                    continue;
                accao = std::move(FPendentes.front());
                FPendentes.pop_front();
            }
            accao();
        }
        return true;
    }

    // Runs for a while what the workers hand over, as the loop under a modal dialog does.
    void CorrerPendentes(std::chrono::milliseconds ADuracao) {
        const auto limite = std::chrono::steady_clock::now() + ADuracao;
        for (;;) {
            std::function<void()> accao;
            {
                std::unique_lock bloqueio(FMutex);
                if (!FChegou.wait_until(bloqueio, limite, [this] { return !FPendentes.empty(); }))
                    return;
                accao = std::move(FPendentes.front());
                FPendentes.pop_front();
            }
            accao();
        }
    }

    // Questions: the answers to give, in order, and the questions asked.
    std::deque<TResposta> Respostas;
    QStringList Perguntas;
    std::vector<bool> ComCancelar;
    // What another program does while a question is open.
    std::function<void()> DurantePergunta;
    TResposta Perguntar(const QString& ATexto, bool ACancelar) override {
        if (DurantePergunta) std::exchange(DurantePergunta, {})();
        Perguntas << ATexto;
        ComCancelar.push_back(ACancelar);
        if (Respostas.empty()) {
            ADD_FAILURE() << "unexpected question: " << ATexto.toStdString();
            return TResposta::Cancelar;
        }
        const TResposta resposta = Respostas.front();
        Respostas.pop_front();
        return resposta;
    }

    // File dialogs: the path chosen, or none for a cancelled dialog.
    std::optional<QString> FicheiroGuardar, FicheiroAbrir;
    int DialogosGuardar = 0, DialogosAbrir = 0;
    bool EscolherFicheiroParaGuardar(QString& ACaminho) override {
        ++DialogosGuardar;
        if (FicheiroGuardar) ACaminho = *FicheiroGuardar;
        return FicheiroGuardar.has_value();
    }
    bool EscolherFicheiroParaAbrir(QString& ACaminho) override {
        ++DialogosAbrir;
        if (FicheiroAbrir) ACaminho = *FicheiroAbrir;
        return FicheiroAbrir.has_value();
    }

    // The configuration dialog: what it was shown, and what the user does with it.
    std::optional<TConfiguracao> Mostrada;
    std::function<bool(TConfiguracao&)> Editar;
    bool EditarConfiguracao(TConfiguracao& AConfiguracao) override {
        Mostrada = AConfiguracao;
        return Editar ? Editar(AConfiguracao) : false;
    }

    // A close request; AoFechar plays the window's part (asking the game whether it may).
    int PedidosDeFecho = 0;
    std::function<void()> AoFechar;
    void Fechar() override {
        ++PedidosDeFecho;
        if (AoFechar) AoFechar();
    }

    std::optional<QString> FicheiroPdf, FicheiroLotePdf;
    QString NomeProposto;
    // What happens while the PDF dialog is open.
    std::function<void()> DuranteDialogoPdf;
    bool EscolherFicheiroPdf(QString& ACaminho) override {
        if (DuranteDialogoPdf) DuranteDialogoPdf();
        if (FicheiroPdf) ACaminho = *FicheiroPdf;
        return FicheiroPdf.has_value();
    }
    bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) override {
        NomeProposto = AProposto;
        if (FicheiroLotePdf) ACaminho = *FicheiroLotePdf;
        return FicheiroLotePdf.has_value();
    }

    // The print dialog: the boards it was shown, and what the player and the printer make of it.
    std::vector<TSomadoBoard> Impressos;
    TResultadoImpressao ResultadoImpressao;
    std::function<void()> DuranteImpressao;
    TResultadoImpressao Imprimir(const TSomadoBoard& ABoard) override {
        Impressos.push_back(ABoard);
        if (DuranteImpressao) DuranteImpressao();
        return ResultadoImpressao;
    }

    // The general error report: every message shown.
    QStringList Erros;
    void ReportarErro(const QString& AMensagem) override { Erros << AMensagem; }

    // Timed actions wait here, in order, until the test runs them (the time is not kept).
    std::deque<std::function<void()>> Adiadas;
    void Adiar(int32_t, std::function<void()> AAccao) override {
        Adiadas.push_back(std::move(AAccao));
    }
    void CorrerAdiadas() {
        while (!Adiadas.empty()) {
            auto accao = std::move(Adiadas.front());
            Adiadas.pop_front();
            accao();
        }
    }

private:
    std::mutex FMutex;
    std::condition_variable FChegou;
    std::deque<std::function<void()>> FPendentes;
};
