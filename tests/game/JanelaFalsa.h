// A window for the game's flows: it records what the game asks of it.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class TJanelaFalsa : public IJanelaJogo {
public:
    QStringList Informacao;
    QString LegendaVerSolucao = QStringLiteral("Ver Solução");
    QString LegendaTamanho;
    int32_t Row = 0, Col = 0;
    int Configuracoes = 0, Ajustes = 0, Repinturas = 0, Focos = 0;
    bool EmEspera = false;
    int Esperas = 0;

    void LimparInformacao() override { Informacao.clear(); }
    void AdicionarInformacao(const QString& ALinha) override { Informacao << ALinha; }
    void DefinirLegendaVerSolucao(const QString& ALegenda) override {
        LegendaVerSolucao = ALegenda;
    }
    void DefinirLegendaTamanho(const QString& ALegenda) override { LegendaTamanho = ALegenda; }
    void ConfigurarGrelha() override {
        ++Configuracoes;
        Row = Col = 0;
    }
    void AjustarTamanhoGrelha() override { ++Ajustes; }
    void RepintarGrelha() override { ++Repinturas; }
    void FocarGrelha() override { ++Focos; }
    void CelulaActual(int32_t& ARow, int32_t& ACol) const override {
        ARow = Row;
        ACol = Col;
    }
    void SeleccionarCelula(int32_t ARow, int32_t ACol) override {
        Row = ARow;
        Col = ACol;
    }
    void ComecarEspera() override {
        EmEspera = true;
        ++Esperas;
    }
    void TerminarEspera() override { EmEspera = false; }

    // Questions: the answers to give, in order, and the questions asked.
    std::deque<TResposta> Respostas;
    QStringList Perguntas;
    std::vector<bool> ComCancelar;
    TResposta Perguntar(const QString& ATexto, bool ACancelar) override {
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
    bool EscolherFicheiroPdf(QString& ACaminho) override {
        if (FicheiroPdf) ACaminho = *FicheiroPdf;
        return FicheiroPdf.has_value();
    }
    bool EscolherFicheiroLotePdf(const QString& AProposto, QString& ACaminho) override {
        NomeProposto = AProposto;
        if (FicheiroLotePdf) ACaminho = *FicheiroLotePdf;
        return FicheiroLotePdf.has_value();
    }
    bool EmLote = false;
    int Lotes = 0, EventosProcessados = 0;
    QStringList TodaAInformacao; // every line ever written, for the progress lines
    void ComecarLote() override {
        EmLote = true;
        ++Lotes;
    }
    void TerminarLote() override { EmLote = false; }
    // What the user does while the batch lets events through.
    std::function<void()> DuranteEventos;
    void ProcessarEventos() override {
        ++EventosProcessados;
        TodaAInformacao << Informacao;
        if (DuranteEventos) DuranteEventos();
    }

    // The general error report: every message shown.
    QStringList Erros;
    void ReportarErro(const QString& AMensagem) override { Erros << AMensagem; }
};
