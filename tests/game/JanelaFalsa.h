// A window for the game's flows: it records what the game asks of it.
#pragma once

#include "game/UnitSomadoJogo.h"

#include <QStringList>

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
};
